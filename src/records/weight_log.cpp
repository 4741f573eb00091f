#include "records/weight_log.h"

#include "records/weight_entry.h"
#include "store/record.h"
#include "words/file_errors.h"
#include "words/messages.h"

namespace records {

bool IsLoadableWeight(float kg) { return kg > 0 && kg <= 999.9f; }

store::StoreError WeightRangeError(const std::string& fileName, int line, const std::string& field) {
  return store::StoreError(fileName, store::lineText(fileName, line) + words::weightOutOfRange(field));
}

void LoadWeightLog(WeightSeries& s) {
  s.WeightDate.clear();
  s.WeightDay.clear();
  s.WeightKg.clear();
  s.WeightCount = 0;
  s.FirstOutOfOrder.reset();
  store::RecordReader r(kWeightFile, store::RecordLimit{10 * kWeightLimit});
  while (!r.atEnd()) {
    std::string date = r.readText();
    // Every figure counts days between records: a date we cannot read must stop the load here,
    // naming the line, rather than turn into nonsense further on.
    std::optional<store::Date> day = store::parseDate(date);
    if (!day)
      throw store::StoreError(kWeightFile, store::lineText(kWeightFile, r.line()) + words::dateUnreadable(date));
    if (!s.FirstOutOfOrder && !s.WeightDay.empty() && *day <= s.WeightDay.back())
      s.FirstOutOfOrder = WeightSeries::OutOfOrder{r.line(), date, s.WeightDate.back()};
    float kg = r.readSingle();
    // Every figure and table is sized from the weights: only what the entry accepts is read.
    if (!IsLoadableWeight(kg)) throw WeightRangeError(kWeightFile, r.line(), r.lastNumberText());
    if (kg > s.MaxWeight) s.MaxWeight = kg;
    if (kg < s.MinWeight) {
      s.MinWeight = kg;
      s.MinWeightDate = day;
    }
    s.WeightDate.push_back(std::move(date));
    s.WeightDay.push_back(*day);
    s.WeightKg.push_back(kg);
    ++s.WeightCount;
  }
}

}  // namespace records
