#pragma once
// The weight log 体重.txt: one weight per day, held in memory as the WeightSeries.
#include <optional>
#include <string>
#include <vector>

#include "store/dates.h"
#include "store/files.h"
#include "store/folder_files.h"
#include "store/record.h"

namespace records {

inline constexpr const char* kWeightFile = "体重.txt";
inline constexpr const char* kFilledFile = store::kFilledDaysFile;

struct WeightSeries {
  std::vector<std::string> WeightDate;  // date field exactly as read
  std::vector<store::Date> WeightDay;   // the same dates, parsed
  std::vector<float> WeightKg;
  int WeightCount = 0;
  float MinWeight = 999.9f;
  std::optional<store::Date> MinWeightDate;
  float MaxWeight = 0;
  // The first record whose date is not after the one before it (two programs at once, or a
  // hand edit): shown once at start-up, read all the same.
  struct OutOfOrder {
    int line = 0;
    std::string date, previous;
  };
  std::optional<OutOfOrder> FirstOutOfOrder;
  // Records the gap question filled with the last weight (補完.txt); empty when none was.
  std::vector<bool> WeightFilled;
  bool isFilled(size_t i) const { return i < WeightFilled.size() && WeightFilled[i]; }

  // The extremes as at start-up and after a new start, before the first load.
  void resetExtremes() {
    MinWeight = 999.9f;
    MinWeightDate.reset();
    MaxWeight = 0;
  }
};

// A weight the loaders accept: 0 < kg <= 999.9, the entry's own range.
bool IsLoadableWeight(float kg);
// The damaged-record error for a weight outside that range.
store::StoreError WeightRangeError(const std::string& fileName, int line, const std::string& field);

// Reads 体重.txt into the series; the extremes are only lowered or raised, never reset here.
// Throws store::StoreError on a missing or damaged file, a date field that is no date among it,
// a weight out of range and a file longer than the log's limit of records.
void LoadWeightLog(WeightSeries& s);

// Appends `records` to the weight log; with `filledDates` (the days among them that fill a gap)
// those go into 補完.txt, `fats` into the body-fat log and `others` (other logs written whole) in
// the same step of the store's journal.
void AppendWeights(const std::vector<store::Record>& records, const std::vector<std::string>& filledDates,
                   const std::vector<store::Record>& fats = {}, const std::vector<store::FileContent>& others = {});
// Rewrites the weight log as `records` and 補完.txt as `filledDates` (removed when empty and
// there was one), as one step.
void RewriteWeights(const std::vector<store::Record>& records, const std::vector<std::string>& filledDates);
// The dates 補完.txt lists, as stored; empty without the file.
std::vector<std::string> FilledDates(const WeightSeries& s);

}  // namespace records
