#include "records/weight_log.h"

#include "store/record.h"

namespace records {

void LoadWeightLog(WeightSeries& s) {
  s.WeightDate.clear();
  s.WeightKg.clear();
  s.WeightCount = 0;
  store::RecordReader r(kWeightFile);
  while (!r.atEnd()) {
    std::string date = r.readText();
    float kg = r.readSingle();
    if (kg > s.MaxWeight) s.MaxWeight = kg;
    if (kg < s.MinWeight) {
      s.MinWeight = kg;
      s.MinWeightDate = store::parseDate(date);
    }
    s.WeightDate.push_back(std::move(date));
    s.WeightKg.push_back(kg);
    ++s.WeightCount;
  }
}

}  // namespace records
