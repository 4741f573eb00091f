#pragma once
// RFC 4180 text: fields separated by commas, quoted when they hold a comma, a quote or a line
// break (quotes doubled), CR LF after every row. Written in UTF-8 with a byte-order mark so
// spreadsheets in Japan read it as UTF-8.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace csv {

using Row = std::vector<std::string>;

inline constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string field(std::string_view text);
// A text from the diary as a cell: one a spreadsheet would take for a formula (it begins with
// =, +, -, @, a tab or a CR) gets a leading ' so that it stays the text it is. The numbers the
// export writes itself are not texts and go in as they are.
std::string textCell(std::string_view text);
// The BOM, then each row followed by CR LF.
std::string document(const std::vector<Row>& rows);
// Whether the bytes are well-formed UTF-8.
bool validUtf8(std::string_view s);
// How a CSV's cells are to be read: false for UTF-8, true for CP932, none when the bytes are neither.
std::optional<bool> readAsCp932(std::string_view bytes);

// Reads a document one row at a time, keeping nothing of it but the row: an optional BOM, rows
// ended by CR LF, LF or CR, quoted fields with doubled quotes and line breaks inside. A quote
// opens a quoted field only at the field's start (after blanks); elsewhere it is part of the
// text. Empty lines are no rows. The bytes are read as they are: in UTF-8 or CP932 the separators and quotes
// never occur inside a character.
class RowReader {
 public:
  explicit RowReader(std::string_view text);
  // Quoted fields of this column never run over lines (a date, a weight): one still open at its
  // line's end leaves the row with quoteLeftOpen(), and the next row starts on the next line.
  void keepOnOneLine(size_t column);
  // The next row into `row`; false at the end of the text.
  bool next(Row& row);
  // The row read last had a quote that never closed: in a column kept on one line, or anywhere
  // when the text ended before it closed (the reading then goes on at the line after the one
  // where it opened).
  bool quoteLeftOpen() const { return leftOpen_; }

 private:
  // Moves past one line end at pos_ (CR LF, LF or CR).
  void skipLineEnd();
  // Position just after the line end that follows `from`, or the end of the text.
  size_t afterLineEnd(size_t from) const;
  bool onOneLine(size_t column) const;

  std::string_view text_;
  size_t pos_ = 0;
  bool leftOpen_ = false;
  std::vector<size_t> oneLine_;
};

// Reads a whole document (RowReader); a row whose quote never closed keeps what was read of it.
std::vector<Row> parse(std::string_view text);

}  // namespace csv
