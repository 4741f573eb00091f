#include "app/part_weight.h"

#include "app/frmMain.h"

namespace app {

void LoadWeightLog(frmMain& m) { records::LoadWeightLog(m.Weight); }
void ShowWeightProgress(frmMain&) {}
void ShowObesityGrade(frmMain&) {}
void SimulateBmi(frmMain&) {}
void wireWeight(frmMain&) {}

void dumpWeight(const frmMain&, StateDump&) {}

}  // namespace app
