#pragma once
// The weight log 体重.txt: one weight per day, held in memory as the WeightSeries.
#include <optional>
#include <string>
#include <vector>

#include "store/dates.h"
#include "store/record.h"

namespace records {

inline constexpr const char* kWeightFile = "体重.txt";

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
// a weight out of range and a file far beyond the design limit of records.
void LoadWeightLog(WeightSeries& s);

}  // namespace records
