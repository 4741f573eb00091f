#include "app/part_body.h"

#include "app/frmMain.h"

namespace app {

void LoadIntradayWeightLog(frmMain&) {}
void LoadBodyFatLog(frmMain&) {}
void LoadStepLog(frmMain&) {}
void ShowBodyFatProgress(frmMain&) {}
void ShowWalkingProgress(frmMain&) {}
void DrawIntradayWeightChart(frmMain&) {}
void DrawBodyFatCharts(frmMain&) {}
void DrawStepChart(frmMain&) {}
void wireBody(frmMain&) {}

void dumpBody(const frmMain&, StateDump&) {}

}  // namespace app
