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
};

struct WeightCsv {
  std::vector<WeightRow> rows;         // one per day, in date order, only days after the last day
  int alreadyInDiary = 0;              // rows of days the diary holds already
  int laterWeighings = 0;              // rows after the first weighing of their day
  std::map<std::string, int> refused;  // why, e.g. "日付が読めない行" -> 3
  // Set when the file is no weight table at all (no header with a date and a weight column).
  std::optional<std::string> unusable;
};

// Reads a CSV in UTF-8 (with or without BOM) or CP932. The header row names the columns:
// a date column (日付, date, dateTime …) and a weight column (体重…, weight …); any others are
// ignored. Dates are Y/M/D or Y-M-D, optionally followed by a time.
WeightCsv readWeightCsv(std::string_view bytes, std::optional<store::Date> lastDay);

// True when a day is missing between the diary's last day and the rows, or among the rows.
bool hasGaps(const WeightCsv& csv, const records::WeightSeries& s);

struct WeightAppend {
  std::vector<store::Record> records;  // what to append to the weight log
  int imported = 0;
  int filled = 0;
  int afterGap = 0;   // rows not taken because their gap was not to be filled
  int overLimit = 0;  // rows not taken because the log would pass its limit
};
WeightAppend planWeightAppend(const WeightCsv& csv, const records::WeightSeries& s, bool fillGaps);

// The summary box's text: how many days went in, then importCounts.
std::string importSummary(const WeightCsv& csv, const WeightAppend& plan);
// The rows skipped and refused, with the reasons.
std::string importCounts(const WeightCsv& csv, const WeightAppend& plan);

}  // namespace csv
