#pragma once
// The weight entry, the progress summary and forecast, BMI and the obesity grade.
#include <string>

namespace app {
class frmMain;
class StateDump;

struct WeightArea {
  float CurrentBmi = 0;
  float PointerBmi = 0;
  std::string GradeText;
  bool SliderSetByProgram = false;
};

void LoadWeightLog(frmMain& m);
// Everything computed from the weight log, after any change of it (entry, correction, undo).
void RecomputeAfterWeightChange(frmMain& m);
void ShowWeightProgress(frmMain& m);  // also runs the body-fat and walking summaries
void ShowObesityGrade(frmMain& m);
void SimulateBmi(frmMain& m);
void txtInpTaijyu_GotFocus(frmMain& m);
void txtInpTaijyu_KeyPress(frmMain& m, std::string& key);
void wireWeight(frmMain& m);
void dumpWeight(const frmMain& m, StateDump& d);

}  // namespace app
