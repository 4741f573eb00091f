#include "import/scale_csv.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <initializer_list>

#include "csv/csv.h"
#include "store/cp932.h"
#include "store/numbers.h"
#include "words/import_messages.h"
#include "words/messages.h"

namespace history {
namespace {

void replaceAll(std::string& s, std::string_view from, std::string_view to) {
  for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
    s.replace(at, from.size(), to);
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

enum class Column { Other, Date, Weight, Fat, Steps };

struct Header {
  Column column = Column::Other;
  double factor = 1;  // to kg for a weight in lb
};

void halfWidth(std::string& text) {
  for (const auto& [wide, narrow] : words::kWideForms) replaceAll(text, wide, narrow);
}

// "体重（kg）", "Weight [lb]", "体脂肪率%", " Date " …
Header headerOf(std::string text) {
  halfWidth(text);
  replaceAll(text, "[", "(");
  replaceAll(text, "]", ")");
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::string_view name = trimmed(text), unit;
  if (const size_t open = name.find('('); open != std::string_view::npos && name.back() == ')') {
    unit = trimmed(name.substr(open + 1, name.size() - open - 2));
    name = trimmed(name.substr(0, open));
  } else {
    for (std::string_view u : {"kg", "lbs", "lb", "%"})
      if (name.size() > u.size() && name.ends_with(u)) {
        unit = u;
        name = trimmed(name.substr(0, name.size() - u.size()));
        break;
      }
  }
  const auto any = [name](std::initializer_list<std::string_view> names) {
    for (std::string_view n : names)
      if (name == n) return true;
    return false;
  };
  if (unit.empty() && any({words::kMeasuredDayHeader, words::kMeasuredAtHeader, words::kCsvDateHeader,
                           words::kCsvDateTimeHeader, "date", "datetime", "date time", "timestamp"}))
    return {Column::Date};
  if (any({words::kCsvWeightHeader, "weight", "body weight"})) {
    if (unit.empty()) return {Column::Weight};
    if (const std::optional<double> f = kgPerUnit(unit)) return {Column::Weight, *f};
    return {};
  }
  if (any({words::kFatHeader, words::kFatShortHeader, "body fat", "bodyfat", "body fat percentage", "fat"}) &&
      (unit.empty() || unit == "%"))
    return {Column::Fat};
  if (any({words::kStepsHeader, "steps", "step count"}) &&
      (unit.empty() || unit == words::kStepsUnit || unit == "steps"))
    return {Column::Steps};
  return {};
}

struct Stamp {
  store::Date day;
  int seconds = 0;
};

// Digits at `p`: the number, moving `p` past them; nullopt when there are none or too many.
std::optional<int> digits(std::string_view& p, size_t most) {
  size_t n = 0;
  long long v = 0;  // one digit more than `most` fits: that is how too many are told
  while (n < p.size() && n < most + 1 && std::isdigit(static_cast<unsigned char>(p[n]))) v = v * 10 + (p[n++] - '0');
  if (n == 0 || n > most) return std::nullopt;
  p.remove_prefix(n);
  return static_cast<int>(v);
}

bool skip(std::string_view& p, char c) {
  if (p.empty() || p.front() != c) return false;
  p.remove_prefix(1);
  return true;
}

// The local day and time of an instant given in UTC.
Stamp localOf(store::Date utcDay, long long utcSeconds) {
  const std::time_t t = static_cast<std::time_t>(utcDay.time_since_epoch().count()) * 86400 + utcSeconds;
  std::tm local{};
  if (!localtime_r(&t, &local)) return {utcDay, 0};
  return {store::makeDate(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                          static_cast<unsigned>(local.tm_mday)),
          local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec};
}

std::optional<Stamp> parseWhen(std::string text) {
  replaceAll(text, words::kYearMark, "/");
  replaceAll(text, words::kMonthMark, "/");
  replaceAll(text, words::kDayMark, "");
  std::string_view p = trimmed(text);
  const size_t cut = p.find_first_of(" Tt");
  const std::optional<store::Date> day = store::parseDate(p.substr(0, cut));
  if (!day) return std::nullopt;
  if (cut == std::string_view::npos) return Stamp{*day, 0};
  p = trimmed(p.substr(cut + 1));
  if (p.empty()) return Stamp{*day, 0};
  const std::optional<int> h = digits(p, 2);
  if (!h || !skip(p, ':')) return std::nullopt;
  const std::optional<int> m = digits(p, 2);
  std::optional<int> s = 0;
  if (skip(p, ':')) s = digits(p, 2);
  if (!m || !s || *h > 23 || *m > 59 || *s > 60) return std::nullopt;
  if (skip(p, '.') && !digits(p, 9)) return std::nullopt;
  const int seconds = *h * 3600 + *m * 60 + *s;
  p = trimmed(p);
  if (p.empty()) return Stamp{*day, seconds};
  if (p == "Z" || p == "z") return localOf(*day, seconds);
  const char sign = p.front();
  if (sign != '+' && sign != '-') return std::nullopt;
  p.remove_prefix(1);
  const std::optional<int> zh = digits(p, 2);
  skip(p, ':');
  const std::optional<int> zm = p.empty() ? 0 : digits(p, 2);
  if (!zh || !zm || !p.empty() || *zh > 14 || *zm > 59) return std::nullopt;
  const int offset = (*zh * 3600 + *zm * 60) * (sign == '-' ? -1 : 1);
  return localOf(*day, seconds - offset);
}

// A figure of a cell: nullopt when the cell holds none ("", "-"), a bad value as NaN.
std::optional<double> figureOf(std::string cell, bool steps) {
  halfWidth(cell);
  std::string_view t = trimmed(cell);
  if (t.empty() || t == "-" || t == "--") return std::nullopt;
  std::string text(t);
  if (steps) replaceAll(text, ",", "");  // "12,345" in quotes
  const std::optional<double> v = store::parseNumberField(text);
  return v ? *v : std::nan("");
}

// The file's header: its columns by kind, the first of each kind counting, read from `reader`
// with the file's encoding told by readAsCp932 (the error when there is none).
struct Layout {
  const char* error = nullptr;
  bool cp932 = false;
  std::vector<Header> columns;
  int dateColumn = -1;
  bool figures = false;  // a column of weight, body fat or steps
};

Layout layoutOf(std::string_view bytes, csv::RowReader& reader) {
  Layout l;
  // A BOM says UTF-8 whatever follows.
  const std::optional<bool> asCp932 = bytes.starts_with(csv::kBom) ? false : csv::readAsCp932(bytes);
  if (!asCp932) {
    l.error = words::kCsvUnknownEncoding;
    return l;
  }
  l.cp932 = *asCp932;
  csv::Row row;
  if (reader.next(row))
    for (size_t k = 0; k < row.size(); ++k) {
      Header h = headerOf(l.cp932 ? store::checkedCp932ToUtf8(row[k]) : row[k]);
      for (const Header& before : l.columns)
        if (before.column == h.column) h.column = Column::Other;
      if (h.column == Column::Date) l.dateColumn = static_cast<int>(k);
      l.figures = l.figures || (h.column != Column::Other && h.column != Column::Date);
      l.columns.push_back(h);
    }
  return l;
}

}  // namespace

bool namesSteps(std::string_view bytes) {
  csv::RowReader reader(bytes);
  const Layout l = layoutOf(bytes, reader);
  return std::any_of(l.columns.begin(), l.columns.end(), [](const Header& h) { return h.column == Column::Steps; });
}

DayFigures readScaleCsv(std::string_view bytes) {
  DayFigures out;
  csv::RowReader reader(bytes);
  const Layout layout = layoutOf(bytes, reader);
  if (layout.error) {
    out.error = layout.error;
    return out;
  }
  const std::vector<Header>& columns = layout.columns;
  const int dateColumn = layout.dateColumn;
  if (dateColumn < 0 || !layout.figures) {
    out.error = words::kFiguresCsvNoHeader;
    return out;
  }
  // Only the cells read are decoded; in CP932 the separators never occur inside a character.
  const auto text = [cp932 = layout.cp932](const std::string& cell) {
    return cp932 ? store::checkedCp932ToUtf8(cell) : cell;
  };
  for (size_t k = 0; k < columns.size(); ++k)
    if (columns[k].column != Column::Other) reader.keepOnOneLine(k);

  csv::Row row;
  Collector collect;
  while (reader.next(row)) {
    if (reader.quoteLeftOpen()) {
      ++out.rowsSkipped[Skip::BadRow];
      continue;
    }
    bool extra = false;  // "2026/11/01,68,5": a decimal comma
    for (size_t k = columns.size(); k < row.size(); ++k) extra = extra || !trimmed(row[k]).empty();
    if (extra) {
      ++out.rowsSkipped[Skip::BadRow];
      continue;
    }
    const auto cell = [&](size_t k) { return k < row.size() ? text(row[k]) : std::string(); };
    const std::optional<Stamp> when = parseWhen(cell(static_cast<size_t>(dateColumn)));
    if (!when) {
      ++out.rowsSkipped[Skip::BadDate];
      continue;
    }
    for (size_t k = 0; k < columns.size(); ++k) {
      const Column c = columns[k].column;
      if (c == Column::Other || c == Column::Date) continue;
      const std::optional<double> v = figureOf(cell(k), c == Column::Steps);
      if (!v || (c == Column::Steps && *v == 0)) continue;
      Series& series = c == Column::Weight ? out.weight : c == Column::Fat ? out.fat : out.steps;
      ++series.records;
      const double figure = c == Column::Steps ? std::round(*v) : oneDecimal(*v * columns[k].factor);
      const double highest = c == Column::Weight ? kHighestKg : c == Column::Fat ? 100.0 : kHighestSteps;
      if (std::isnan(*v) || figure <= 0 || figure > highest) {
        ++series.skipped[Skip::BadValue];
        continue;
      }
      if (c == Column::Weight) collect.weight(when->day, when->seconds, figure);
      if (c == Column::Fat) collect.fat(when->day, when->seconds, figure);
      if (c == Column::Steps) collect.stepsTotal(when->day, figure);
    }
  }
  collect.finish(out);
  return out;
}

}  // namespace history
