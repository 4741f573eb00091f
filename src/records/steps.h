#pragma once
// The step log 歩数.txt with the three walking totals.
#include <string>
#include <vector>

#include "store/text_column.h"

namespace records {

inline constexpr const char* kStepFile = "歩数.txt";

struct StepSeries {
  store::TextColumn StepDate;  // date field exactly as read
  std::vector<float> StepValue;
  int StepCount = 0;
  // Walking totals over the whole file. MinSteps starts at 100000, so a log whose every day
  // is above that keeps 100000.
  double TotalSteps = 0;
  int MaxSteps = 0;
  int MinSteps = 100000;
};

// Reads the file and computes the totals. Throws store::StoreError.
StepSeries ReadStepLog();

// The cells of msgHosuList's row for record i.
std::vector<std::string> StepListCells(const StepSeries& s, int i);

// Whole steps: rounded to nearest, halves to even, held inside the 32-bit range so that a
// hand-edited file cannot overflow the totals.
int WholeSteps(double v);

}  // namespace records
