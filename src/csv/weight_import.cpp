#include "csv/weight_import.h"

#include <algorithm>
#include <cctype>
#include <ctime>

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
// openScale's "fat", 体脂肪率, "Body Fat" (and "Body Fat (%)" …).
bool isFatHeader(const std::string& h) {
  return h == "fat" || startsWith(h, "body fat") || startsWith(h, words::kCsvFatHeader);
}

struct Stamp {
  store::Date day;
  int seconds = 0;  // time of day; 0 when none is given
};

// The zone after a time: "z" (UTC), "+09:00", "+0900", "-05"; seconds east of UTC. nullopt for
// none (local time already); false in `ok` for one that cannot be read.
std::optional<int> zoneOffset(std::string_view z, bool& ok) {
  ok = true;
  while (!z.empty() && z.front() == ' ') z.remove_prefix(1);
  if (z.empty()) return std::nullopt;
  if (z == "z" || z == "utc" || z == "gmt") return 0;
  ok = false;
  if (z.front() != '+' && z.front() != '-') return std::nullopt;
  const int sign = z.front() == '-' ? -1 : 1;
  z.remove_prefix(1);
  std::string digits;
  for (char c : z)
    if (c != ':') digits += c;
  if ((digits.size() != 2 && digits.size() != 4) ||
      !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  const int hours = std::stoi(digits.substr(0, 2)), minutes = digits.size() == 4 ? std::stoi(digits.substr(2)) : 0;
  if (hours > 14 || minutes > 59) return std::nullopt;
  ok = true;
  return sign * (hours * 3600 + minutes * 60);
}

// A stamp of another zone as the clock here shows it: a weighing at 22:30Z is the morning after
// in Japan.
Stamp toLocal(store::Date day, int seconds, int offset) {
  const long long utc = static_cast<long long>(day.time_since_epoch().count()) * 86400 + seconds - offset;
  const std::time_t t = static_cast<std::time_t>(utc);
  std::tm local{};
  if (!::localtime_r(&t, &local)) return {day, seconds};
  return {store::makeDate(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                          static_cast<unsigned>(local.tm_mday)),
          local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec};
}

// "2026/12/01", "2026-12-01 07:30", "2026-12-01T07:30:15", "2026-11-01T22:30:00Z",
// "2026-11-01T22:30:00.000+09:00".
std::optional<Stamp> parseStamp(std::string_view text) {
  std::string t = trimmedLower(text);
  const size_t cut = t.find_first_of(" t");
  std::optional<store::Date> day = store::parseDate(t.substr(0, cut));
  if (!day) return std::nullopt;
  Stamp s{*day, 0};
  if (cut == std::string::npos) return s;
  std::string rest = trimmedLower(t.substr(cut + 1));
  if (rest.empty()) return s;
  int h = 0, m = 0, sec = 0, used = 0;
  if (std::sscanf(rest.c_str(), "%d:%d%n", &h, &m, &used) < 2) return std::nullopt;
  std::string_view after = std::string_view(rest).substr(static_cast<size_t>(used));
  if (!after.empty() && after.front() == ':') {
    int more = 0;
    if (std::sscanf(after.data(), ":%d%n", &sec, &more) < 1) return std::nullopt;
    after.remove_prefix(static_cast<size_t>(more));
    // Fractions of seconds do not matter here.
    if (!after.empty() && after.front() == '.') {
      after.remove_prefix(1);
      while (!after.empty() && after.front() >= '0' && after.front() <= '9') after.remove_prefix(1);
    }
  }
  if (h < 0 || h > 23 || m < 0 || m > 59 || sec < 0 || sec > 59) return std::nullopt;
  s.seconds = h * 3600 + m * 60 + sec;
  bool ok = true;
  const std::optional<int> offset = zoneOffset(after, ok);
  // Anything else after the time ("JST", "am") is taken as the local time it always was.
  if (ok && offset) s = toLocal(s.day, s.seconds, *offset);
  return s;
}

}  // namespace

WeightCsv readWeightCsv(std::string_view bytes, std::optional<store::Date> lastDay, store::Date today) {
  WeightCsv out;
  // The rows are read one at a time from the bytes as they stand: a file of millions of rows
  // costs its own size and the days it holds, never a copy of itself. In CP932 only the cells
  // read are decoded (the separators never occur inside a character).
  const std::optional<bool> asCp932 = csv::readAsCp932(bytes);
  if (!asCp932) {
    out.unusable = words::kCsvUnknownEncoding;
    return out;
  }
  const bool cp932 = *asCp932;
  const auto text = [cp932](const std::string& cell) { return cp932 ? store::checkedCp932ToUtf8(cell) : cell; };
  RowReader reader(bytes);
  Row row;
  int dateColumn = -1, weightColumn = -1, fatColumn = -1;
  size_t columns = 0;
  if (reader.next(row)) {
    columns = row.size();
    for (size_t k = 0; k < row.size(); ++k) {
      const std::string h = trimmedLower(text(row[k]));
      if (dateColumn < 0 && isDateHeader(h)) dateColumn = static_cast<int>(k);
      if (weightColumn < 0 && isWeightHeader(h)) weightColumn = static_cast<int>(k);
      if (fatColumn < 0 && isFatHeader(h)) fatColumn = static_cast<int>(k);
    }
  }
  if (dateColumn < 0 || weightColumn < 0) {
    out.unusable = words::kCsvNoHeader;
    return out;
  }
  // A date or a weight never runs over lines: a quote left open there is that row's damage.
  reader.keepOnOneLine(static_cast<size_t>(dateColumn));
  reader.keepOnOneLine(static_cast<size_t>(weightColumn));
  if (fatColumn >= 0) reader.keepOnOneLine(static_cast<size_t>(fatColumn));
  out.hasFat = fatColumn >= 0;

  // The first weighing of each day after the diary's last day.
  struct Candidate {
    int seconds;
    float kg;
    std::optional<float> fat;
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
    // Body fat as the entry takes it; an empty cell is a weighing without it.
    std::optional<float> fat;
    if (fatColumn >= 0) {
      const std::string fatText = cellOf(fatColumn);
      if (!trimmedLower(fatText).empty()) {
        const std::optional<double> v = store::parseNumberField(fatText);
        if (!v || *v <= 0 || *v > 100) {
          ++out.refused[words::kCsvBadFat];
          continue;
        }
        fat = static_cast<float>(*v);
      }
    }
    if (stamp->day > today) {
      ++out.refused[words::kCsvFutureDate];
      continue;
    }
    if (lastDay && stamp->day <= *lastDay) {
      ++out.alreadyInDiary;
      continue;
    }
    const Candidate c{stamp->seconds, static_cast<float>(*kg), fat};
    auto [it, first] = days.try_emplace(stamp->day, c);
    if (!first) {
      ++out.laterWeighings;
      if (c.seconds < it->second.seconds) it->second = c;  // earlier in the day; a tie keeps the first row
    }
  }
  out.rows.reserve(days.size());
  for (const auto& [day, c] : days) out.rows.push_back({day, c.kg, c.fat});
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

WeightAppend planWeightAppend(const WeightCsv& csv, const records::WeightSeries& s, bool fillGaps,
                              std::optional<float> lastFat) {
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
    if (last && records::UnlikelyWeight(lastKg, r.kg)) ++plan.unlikely;
    if (r.fat) {
      if (lastFat && records::UnlikelyFat(*lastFat, *r.fat)) ++plan.unlikely;
      plan.fats.push_back(store::Record().text(store::formatDate(r.day)).single(*r.fat));
      lastFat = r.fat;
    }
    for (int k = 1; k < gap; ++k) plan.filledDates.push_back(store::formatDate(*last + std::chrono::days(k)));
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
  std::string text = words::csvImported(plan.imported, plan.filled);
  if (!plan.fats.empty()) text += words::csvFatsImported(static_cast<int>(plan.fats.size()));
  return text + "\n\n" + importCounts(csv, plan);
}

}  // namespace csv
