#include "records/steps.h"

#include <algorithm>

#include "records/body_fat.h"
#include "store/numbers.h"
#include "store/record.h"

namespace records {

int WholeSteps(double v) {
  double r = std::clamp(store::roundHalfEven(v), -2147483648.0, 2147483647.0);
  return static_cast<int>(r);
}

StepSeries ReadStepLog() {
  StepSeries s;
  store::RecordReader r(kStepFile, store::kDailyLogLimit);
  s.StepDate.reserve(r.recordsHint());
  s.StepValue.reserve(r.recordsHint());
  while (!r.atEnd()) {
    s.StepDate.read(r);
    float steps = r.readSingle();
    if (steps > s.MaxSteps) s.MaxSteps = WholeSteps(steps);
    if (steps < s.MinSteps) s.MinSteps = WholeSteps(steps);
    s.TotalSteps = store::roundHalfEven(static_cast<double>(steps) + s.TotalSteps);
    s.StepValue.push_back(steps);
    ++s.StepCount;
  }
  return s;
}

std::vector<std::string> StepListCells(const StepSeries& s, int i) {
  return {ListDate(s.StepDate[i]), store::shortestSingle(s.StepValue[i]) + "歩"};
}

}  // namespace records
