#pragma once
// RFC 4180 text: fields separated by commas, quoted when they hold a comma, a quote or a line
// break (quotes doubled), CR LF after every row. Written in UTF-8 with a byte-order mark so
// spreadsheets in Japan read it as UTF-8.
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
// Reads a document: an optional BOM, rows ended by CR LF, LF or CR, quoted fields with
// doubled quotes and line breaks inside. A last line without line end still counts; empty
// lines are dropped.
std::vector<Row> parse(std::string_view text);

}  // namespace csv
