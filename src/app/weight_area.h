#pragma once
// The weight entry, the progress summary and forecast, BMI and the obesity grade.
#include <string>
#include <vector>

namespace app {
class frmMain;
class StateDump;

struct WeightArea {
  float CurrentBmi = 0;
  float PointerBmi = 0;
  std::string GradeText;
  bool SliderSetByProgram = false;
  std::vector<float> WeightTrend;  // the smoothed daily weight, one per record
};

void LoadWeightLog(frmMain& m);
// Everything computed from the weight log, after any change of it (entry, correction, undo).
void RecomputeAfterWeightChange(frmMain& m);
// The same after one record appended to the file right after the last day: the series grows
// by it in memory and each view adds its row, giving what the whole recompute gives. False (and
// nothing done) when it does not apply; the caller then recomputes everything.
bool RecomputeAfterWeightAppend(frmMain& m, const std::string& date, float kg);
// Off: every entry recomputes everything, as the reference the tests and the benchmark compare
// the appending way with. On by default.
void SetIncrementalWeightEntry(bool on);
void ShowWeightProgress(frmMain& m);  // also runs the body-fat and walking summaries
// The smoothed trend of the weights and the day it reaches the target.
void ShowWeightTrend(frmMain& m);
void ShowObesityGrade(frmMain& m);
void SimulateBmi(frmMain& m);
void txtInpTaijyu_GotFocus(frmMain& m);
void txtInpTaijyu_KeyPress(frmMain& m, std::string& key);
void wireWeight(frmMain& m);
void dumpWeight(const frmMain& m, StateDump& d);

}  // namespace app
