#include "csv/csv.h"

#include <algorithm>

#include "store/cp932.h"

namespace csv {

std::string field(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

std::string textCell(std::string_view text) {
  if (!text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos)
    return "'" + std::string(text);
  return std::string(text);
}

std::string document(const std::vector<Row>& rows) {
  std::string out(kBom);
  for (const Row& row : rows) {
    for (size_t i = 0; i < row.size(); ++i) {
      if (i) out += ',';
      out += field(row[i]);
    }
    out += "\r\n";
  }
  return out;
}

RowReader::RowReader(std::string_view text) : text_(text) {
  if (text_.substr(0, kBom.size()) == kBom) text_.remove_prefix(kBom.size());
}

void RowReader::keepOnOneLine(size_t column) { oneLine_.push_back(column); }

bool RowReader::onOneLine(size_t column) const {
  return std::find(oneLine_.begin(), oneLine_.end(), column) != oneLine_.end();
}

void RowReader::skipLineEnd() {
  if (pos_ < text_.size() && text_[pos_] == '\r') {
    ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
  } else if (pos_ < text_.size() && text_[pos_] == '\n') {
    ++pos_;
  }
}

size_t RowReader::afterLineEnd(size_t from) const {
  size_t p = text_.find_first_of("\r\n", from);
  if (p == std::string_view::npos) return text_.size();
  if (text_[p] == '\r' && p + 1 < text_.size() && text_[p + 1] == '\n') ++p;
  return p + 1;
}

bool RowReader::next(Row& row) {
  const std::string_view t = text_;
  const size_t e = t.size();
  constexpr size_t npos = std::string_view::npos;
  while (pos_ < e) {
    row.clear();
    leftOpen_ = false;
    for (bool more = true; more;) {
      std::string cell;
      // Blanks before an opening quote are no part of the field (`a, "b"`).
      size_t start = pos_;
      while (start < e && (t[start] == ' ' || t[start] == '\t')) ++start;
      if (start < e && t[start] == '"') {
        const size_t opened = start;
        size_t p = opened + 1;
        for (;;) {
          const size_t q = t.find_first_of(onOneLine(row.size()) ? std::string_view("\"\r\n") : "\"", p);
          if (q == npos || t[q] != '"') {
            // Never closed: the row ends with what stands on the quote's line, and the next row
            // starts on the line after it.
            leftOpen_ = true;
            const size_t lineEnd = std::min(t.find_first_of("\r\n", opened), e);
            row.emplace_back(t.substr(opened + 1, lineEnd - opened - 1));
            pos_ = afterLineEnd(opened);
            return true;
          }
          if (q + 1 < e && t[q + 1] == '"') {  // a doubled quote
            cell.append(t.substr(p, q + 1 - p));
            p = q + 2;
            continue;
          }
          cell.append(t.substr(p, q - p));
          p = q + 1;
          break;
        }
        // Anything between the closing quote and the separator is kept too.
        const size_t end = std::min(t.find_first_of(",\r\n", p), e);
        cell.append(t.substr(p, end - p));
        pos_ = end;
      } else {
        const size_t end = std::min(t.find_first_of(",\r\n", pos_), e);
        cell.assign(t.substr(pos_, end - pos_));
        pos_ = end;
      }
      row.push_back(std::move(cell));
      if (pos_ < e && t[pos_] == ',') {
        // A comma last in the text still ends a field: the empty one after it.
        if (++pos_ == e) {
          row.emplace_back();
          more = false;
        }
      } else {
        skipLineEnd();
        more = false;
      }
    }
    if (!(row.size() == 1 && row[0].empty())) return true;
  }
  return false;
}

std::vector<Row> parse(std::string_view text) {
  std::vector<Row> rows;
  RowReader reader(text);
  for (Row row; reader.next(row);) rows.push_back(row);
  return rows;
}

// Lead and continuation bytes only: enough to tell UTF-8 from CP932.
bool validUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    const size_t n = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    for (size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += n;
  }
  return true;
}

std::optional<bool> readAsCp932(std::string_view bytes) {
  if (validUtf8(bytes)) return false;
  size_t lineEnds = 0;
  if (store::checkCp932(bytes, lineEnds)) return std::nullopt;
  return true;
}

}  // namespace csv
