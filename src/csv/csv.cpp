#include "csv/csv.h"

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

std::vector<Row> parse(std::string_view text) {
  if (text.substr(0, kBom.size()) == kBom) text.remove_prefix(kBom.size());
  std::vector<Row> rows;
  Row row;
  std::string cell;
  bool quoted = false, anyField = false;
  auto endField = [&] {
    row.push_back(std::move(cell));
    cell.clear();
    anyField = true;
  };
  auto endRow = [&] {
    if (anyField || !cell.empty()) endField();
    if (!(row.size() == 1 && row[0].empty()) && !row.empty()) rows.push_back(std::move(row));
    row.clear();
    anyField = false;
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        cell += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        cell += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      endField();
    } else if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      endRow();
    } else {
      cell += c;
    }
  }
  endRow();
  return rows;
}

}  // namespace csv
