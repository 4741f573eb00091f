#pragma once
// Figures read from another program's files, planned into the diary's logs.
#include <optional>
#include <string>
#include <vector>

#include "csv/weight_import.h"
#include "import/day_figures.h"
#include "store/record.h"
#include "store/text_column.h"

namespace history {

// The weights as the weight CSV import sees its rows: only days after the diary's last day and
// not after today, every record counted once (a day taken, already in the diary, a later
// weighing or refused).
csv::WeightCsv asWeightCsv(const DayFigures& f, std::optional<store::Date> lastDay, store::Date today);

// Body fat or steps into a dated log: the log's records with the new days in date order. A day
// the log holds keeps its record; days after today are refused. With `unlikely`, a new day whose
// figure it finds too far from the day's before it in the log is counted (a typo?).
struct DatedPlan {
  std::vector<store::Record> records;  // the whole log as it will be
  int added = 0, kept = 0, future = 0, unlikely = 0;
};
DatedPlan planDated(const store::TextColumn& dates, const std::vector<float>& values, const Series& s,
                    store::Date today, bool (*unlikely)(double before, double now) = nullptr);

// The summary's lines of one kind: the days that went in, the records skipped and why.
std::string datedCounts(const char* kind, const DatedPlan& plan, const Series& s);

}  // namespace history
