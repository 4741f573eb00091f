#include "csv/weight_import.h"

#include <algorithm>
#include <cctype>

#include "csv/csv.h"
#include "records/weight_entry.h"
#include "store/cp932.h"
#include "store/numbers.h"
#include "words/messages.h"

namespace csv {
namespace {

constexpr float kHighestWeight = 999.9f;
const char* const kBadDate = words::kCsvBadDate;
const char* const kBadWeight = words::kCsvBadWeight;

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

std::string trimmedLower(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool startsWith(std::string_view s, std::string_view head) { return s.substr(0, head.size()) == head; }

bool isDateHeader(const std::string& h) {
  return h == words::kCsvDateHeader || h == words::kCsvDateTimeHeader || h == "date" || h == "datetime" ||
         h == "date time" || h == "timestamp";
}
bool isWeightHeader(const std::string& h) { return startsWith(h, words::kCsvWeightHeader) || startsWith(h, "weight"); }

struct Stamp {
  store::Date day;
  int seconds = 0;  // time of day; 0 when none is given
};

// "2026/12/01", "2026-12-01 07:30", "2026-12-01T07:30:15".
std::optional<Stamp> parseStamp(std::string_view text) {
  std::string t = trimmedLower(text);
  const size_t cut = t.find_first_of(" t");
  std::optional<store::Date> day = store::parseDate(t.substr(0, cut));
  if (!day) return std::nullopt;
  Stamp s{*day, 0};
  if (cut == std::string::npos) return s;
  std::string rest = trimmedLower(t.substr(cut + 1));
  if (rest.empty()) return s;
  int h = 0, m = 0, sec = 0;
  char extra = 0;
  const int got = std::sscanf(rest.c_str(), "%d:%d:%d%c", &h, &m, &sec, &extra);
  // Fractions of seconds and zone marks after the seconds do not matter here.
  if (got < 2 || h < 0 || h > 23 || m < 0 || m > 59 || sec < 0 || sec > 59) return std::nullopt;
  s.seconds = h * 3600 + m * 60 + (got >= 3 ? sec : 0);
  return s;
}

}  // namespace

WeightCsv readWeightCsv(std::string_view bytes, std::optional<store::Date> lastDay, store::Date today) {
  WeightCsv out;
  // The rows are read one at a time from the bytes as they stand: a file of millions of rows
  // costs its own size and the days it holds, never a copy of itself. In CP932 only the cells
  // read are decoded (the separators never occur inside a character).
  bool cp932 = false;
  if (!validUtf8(bytes)) {
    size_t lineEnds = 0;
    if (store::checkCp932(bytes, lineEnds)) {
      out.unusable = words::kCsvUnknownEncoding;
      return out;
    }
    cp932 = true;
  }
  const auto text = [cp932](const std::string& cell) { return cp932 ? store::checkedCp932ToUtf8(cell) : cell; };
  RowReader reader(bytes);
  Row row;
  int dateColumn = -1, weightColumn = -1;
  size_t columns = 0;
  if (reader.next(row)) {
    columns = row.size();
    for (size_t k = 0; k < row.size(); ++k) {
      const std::string h = trimmedLower(text(row[k]));
      if (dateColumn < 0 && isDateHeader(h)) dateColumn = static_cast<int>(k);
      if (weightColumn < 0 && isWeightHeader(h)) weightColumn = static_cast<int>(k);
    }
  }
  if (dateColumn < 0 || weightColumn < 0) {
    out.unusable = words::kCsvNoHeader;
    return out;
  }
  // A date or a weight never runs over lines: a quote left open there is that row's damage.
  reader.keepOnOneLine(static_cast<size_t>(dateColumn));
  reader.keepOnOneLine(static_cast<size_t>(weightColumn));

  // The first weighing of each day after the diary's last day.
  struct Candidate {
    int seconds;
    float kg;
  };
  std::map<store::Date, Candidate> days;
  const auto cellOf = [&row, &text](int column) {
    return static_cast<size_t>(column) < row.size() ? text(row[static_cast<size_t>(column)]) : std::string();
  };
  while (reader.next(row)) {
    ++out.dataRows;
    if (reader.quoteLeftOpen()) {
      ++out.refused[words::kCsvQuoteLeftOpen];
      continue;
    }
    // "2026/12/04,68,5": a decimal comma would read as 68.
    if (std::any_of(row.begin() + static_cast<std::ptrdiff_t>(std::min(columns, row.size())), row.end(),
                    [](const std::string& extra) { return !trimmedLower(extra).empty(); })) {
      ++out.refused[words::kCsvTooManyFields];
      continue;
    }
    const std::optional<Stamp> stamp = parseStamp(cellOf(dateColumn));
    if (!stamp) {
      ++out.refused[kBadDate];
      continue;
    }
    const std::string kgText = cellOf(weightColumn);
    const std::optional<double> kg = store::parseNumberField(kgText);
    if (!kg || trimmedLower(kgText).empty() || *kg <= 0 || *kg > kHighestWeight) {
      ++out.refused[kBadWeight];
      continue;
    }
    if (stamp->day > today) {
      ++out.refused[words::kCsvFutureDate];
      continue;
    }
    if (lastDay && stamp->day <= *lastDay) {
      ++out.alreadyInDiary;
      continue;
    }
    const Candidate c{stamp->seconds, static_cast<float>(*kg)};
    auto [it, first] = days.try_emplace(stamp->day, c);
    if (!first) {
      ++out.laterWeighings;
      if (c.seconds < it->second.seconds) it->second = c;  // earlier in the day; a tie keeps the first row
    }
  }
  out.rows.reserve(days.size());
  for (const auto& [day, c] : days) out.rows.push_back({day, c.kg});
  return out;
}

namespace {
// Calls `step(from, to)` for each two days with a weight in a row: the diary's last day and
// the first row, then the rows.
template <class Step>
void eachStep(const WeightCsv& csv, const records::WeightSeries& s, Step step) {
  std::optional<store::Date> last;
  if (s.WeightCount > 0) last = s.WeightDay.back();
  for (const WeightRow& r : csv.rows) {
    if (last) step(*last, r.day);
    last = r.day;
  }
}
}  // namespace

int missingDays(const WeightCsv& csv, const records::WeightSeries& s) {
  long long days = 0;
  eachStep(csv, s, [&days](store::Date from, store::Date to) { days += (to - from).count() - 1; });
  return static_cast<int>(std::min<long long>(days, 2147483647));
}

std::optional<Gap> longestGap(const WeightCsv& csv, const records::WeightSeries& s) {
  std::optional<Gap> longest;
  eachStep(csv, s, [&longest](store::Date from, store::Date to) {
    const Gap g{from, to};
    if (g.days() > 0 && (!longest || g.days() > longest->days())) longest = g;
  });
  return longest;
}

WeightAppend planWeightAppend(const WeightCsv& csv, const records::WeightSeries& s, bool fillGaps) {
  WeightAppend plan;
  int count = s.WeightCount;
  std::optional<store::Date> last;
  float lastKg = 0;
  if (count > 0) {
    last = s.WeightDay.back();
    lastKg = s.WeightKg.back();
  }
  for (size_t i = 0; i < csv.rows.size(); ++i) {
    const WeightRow& r = csv.rows[i];
    const int gap = last ? static_cast<int>((r.day - *last).count()) : 1;
    if (gap > 1 && !fillGaps) {
      // The entry's rule: a day after a gap goes in only with the gap filled.
      plan.afterGap = static_cast<int>(csv.rows.size() - i);
      break;
    }
    if (records::exceedsLimit(count, gap)) {
      plan.overLimit = static_cast<int>(csv.rows.size() - i);
      break;
    }
    std::vector<store::Record> added =
        last ? records::recordsForEntry(*last, lastKg, gap, store::formatDate(r.day), r.kg)
             : std::vector<store::Record>{store::Record().text(store::formatDate(r.day)).single(r.kg)};
    plan.records.insert(plan.records.end(), added.begin(), added.end());
    plan.filled += gap - 1;
    ++plan.imported;
    count += gap;
    last = r.day;
    lastKg = r.kg;
  }
  return plan;
}

std::string importCounts(const WeightCsv& csv, const WeightAppend& plan) {
  const int skipped = csv.alreadyInDiary + csv.laterWeighings;
  std::string text = words::kCsvSkipped + std::to_string(skipped);
  if (csv.alreadyInDiary > 0) text += words::kCsvAlreadyInDiary + std::to_string(csv.alreadyInDiary);
  if (csv.laterWeighings > 0) text += words::kCsvLaterWeighings + std::to_string(csv.laterWeighings);
  int refused = plan.afterGap + plan.overLimit;
  for (const auto& [why, n] : csv.refused) refused += n;
  text += words::kCsvRefused + std::to_string(refused);
  for (const auto& [why, n] : csv.refused) text += "\n  " + why + ": " + std::to_string(n);
  if (plan.afterGap > 0) text += words::kCsvAfterGap + std::to_string(plan.afterGap);
  if (plan.overLimit > 0) text += words::kCsvOverLimit + std::to_string(plan.overLimit);
  return text;
}

std::string importSummary(const WeightCsv& csv, const WeightAppend& plan) {
  return words::csvImported(plan.imported, plan.filled) + "\n\n" + importCounts(csv, plan);
}

}  // namespace csv
