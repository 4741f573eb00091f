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

WeightCsv readWeightCsv(std::string_view bytes, std::optional<store::Date> lastDay) {
  WeightCsv out;
  std::string text(bytes);
  if (!validUtf8(text)) {
    try {
      text = store::cp932ToUtf8(bytes);
    } catch (const store::EncodingError&) {
      out.unusable = words::kCsvUnknownEncoding;
      return out;
    }
  }
  const std::vector<Row> rows = parse(text);
  int dateColumn = -1, weightColumn = -1;
  if (!rows.empty()) {
    for (size_t k = 0; k < rows[0].size(); ++k) {
      const std::string h = trimmedLower(rows[0][k]);
      if (dateColumn < 0 && isDateHeader(h)) dateColumn = static_cast<int>(k);
      if (weightColumn < 0 && isWeightHeader(h)) weightColumn = static_cast<int>(k);
    }
  }
  if (dateColumn < 0 || weightColumn < 0) {
    out.unusable = words::kCsvNoHeader;
    return out;
  }

  struct Candidate {
    Stamp stamp;
    float kg;
    size_t order;
  };
  std::vector<Candidate> found;
  for (size_t i = 1; i < rows.size(); ++i) {
    const Row& r = rows[i];
    const std::string dateText = static_cast<size_t>(dateColumn) < r.size() ? r[dateColumn] : "";
    const std::string kgText = static_cast<size_t>(weightColumn) < r.size() ? r[weightColumn] : "";
    const std::optional<Stamp> stamp = parseStamp(dateText);
    if (!stamp) {
      ++out.refused[kBadDate];
      continue;
    }
    const std::optional<double> kg = store::parseNumberField(kgText);
    if (!kg || trimmedLower(kgText).empty() || *kg <= 0 || *kg > kHighestWeight) {
      ++out.refused[kBadWeight];
      continue;
    }
    found.push_back({*stamp, static_cast<float>(*kg), i});
  }
  std::stable_sort(found.begin(), found.end(), [](const Candidate& a, const Candidate& b) {
    if (a.stamp.day != b.stamp.day) return a.stamp.day < b.stamp.day;
    if (a.stamp.seconds != b.stamp.seconds) return a.stamp.seconds < b.stamp.seconds;
    return a.order < b.order;
  });
  for (size_t i = 0; i < found.size(); ++i) {
    if (i > 0 && found[i].stamp.day == found[i - 1].stamp.day) {
      ++out.laterWeighings;
      continue;
    }
    if (lastDay && found[i].stamp.day <= *lastDay) {
      ++out.alreadyInDiary;
      continue;
    }
    out.rows.push_back({found[i].stamp.day, found[i].kg});
  }
  return out;
}

bool hasGaps(const WeightCsv& csv, const records::WeightSeries& s) {
  std::optional<store::Date> last;
  if (s.WeightCount > 0) last = s.WeightDay.back();
  for (const WeightRow& r : csv.rows) {
    if (last && (r.day - *last).count() > 1) return true;
    last = r.day;
  }
  return false;
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
