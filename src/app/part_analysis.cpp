#include "app/part_analysis.h"

#include "app/frmMain.h"

namespace app {

void SetUpGridHeaders(frmMain&) {}
void ShowWeightTable(frmMain&) {}
void ShowLossMilestones(frmMain&) {}
void ShowRunningAverage(frmMain&) {}
void ShowWeightRanking(frmMain&) {}
void DrawWeightChart(frmMain&) {}
void wireAnalysis(frmMain&) {}

void dumpAnalysis(const frmMain&, StateDump&) {}

}  // namespace app
