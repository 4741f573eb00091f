#pragma once
// Weights from a spreadsheet or a scale app's CSV into the weight log, by the weight entry's
// rules: only days after the diary's last day, gaps filled with the last weight on request,
// never beyond the log's limit.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/weight_log.h"
#include "store/dates.h"
#include "store/record.h"

namespace csv {

struct WeightRow {
  store::Date day;
  float kg = 0;
  std::optional<float> fat;  // body fat in percent, when the file has it for the weighing
};

struct WeightCsv {
  std::vector<WeightRow> rows;         // one per day, in date order, only days after the last day up to today
  int dataRows = 0;                    // rows after the header: each one is a day of `rows` or counted below
  int alreadyInDiary = 0;              // rows of days the diary holds already
  int laterWeighings = 0;              // rows after the first weighing of their day
  std::map<std::string, int> refused;  // why, e.g. "日付が読めない行" -> 3
  bool hasFat = false;                 // the header names a body-fat column (fat, 体脂肪率, Body Fat)
  // Set when the file is no weight table at all (no header with a date and a weight column).
  std::optional<std::string> unusable;
};

// Reads a CSV in UTF-8 (with or without BOM) or CP932, one row at a time. The header row names
// the columns: a date column (日付, date, dateTime …) and a weight column (体重…, weight …); any
// others are ignored. Dates are Y/M/D or Y-M-D, optionally followed by a time. A row is refused
// when its date or weight cannot be read, its date is after `today`, a quote in it never
// closes, or it has more fields than the header (a decimal comma without quotes).
WeightCsv readWeightCsv(std::string_view bytes, std::optional<store::Date> lastDay, store::Date today);

// Days without a weight between the diary's last day and the rows, and among the rows.
int missingDays(const WeightCsv& csv, const records::WeightSeries& s);
// The longest such run of days, between the two days with a weight around it.
struct Gap {
  store::Date before, after;
  int days() const { return static_cast<int>((after - before).count()) - 1; }
};
std::optional<Gap> longestGap(const WeightCsv& csv, const records::WeightSeries& s);
// Longer runs are not filled with the last weight: the import is refused instead.
inline constexpr int kLongestFilledGap = 365;

struct WeightAppend {
  std::vector<store::Record> records;    // what to append to the weight log
  std::vector<std::string> filledDates;  // the days among them that fill a gap
  std::vector<store::Record> fats;       // what to append to the body-fat log
  int imported = 0;
  int filled = 0;
  int afterGap = 0;   // rows not taken because their gap was not to be filled
  int overLimit = 0;  // rows not taken because the log would pass its limit
  int unlikely = 0;   // rows taken whose weight is far from the one before it (a typo?)
};
// `lastFat`: the body fat measured last before the rows, for the question about typos.
WeightAppend planWeightAppend(const WeightCsv& csv, const records::WeightSeries& s, bool fillGaps,
                              std::optional<float> lastFat = std::nullopt);

// The summary box's text: how many days went in, then importCounts.
std::string importSummary(const WeightCsv& csv, const WeightAppend& plan);
// The rows skipped and refused, with the reasons.
std::string importCounts(const WeightCsv& csv, const WeightAppend& plan);

}  // namespace csv
