#pragma once
// Body fat, steps, intra-day weighings, their summaries and charts.
#include <string>
#include <vector>

namespace app {
class frmMain;
class StateDump;

struct BodyPart {
  int FatCount = 0;
  int FatMassCount = 0;
  int StepCount = 0;
  int IntradayCount = 0;
  // Walking totals.
  double TotalSteps = 0;
  int MaxSteps = 0;
  int MinSteps = 100000;
};

void LoadIntradayWeightLog(frmMain& m);
void LoadBodyFatLog(frmMain& m);
void LoadStepLog(frmMain& m);
void ShowBodyFatProgress(frmMain& m);
void ShowWalkingProgress(frmMain& m);
void DrawIntradayWeightChart(frmMain& m);
void DrawBodyFatCharts(frmMain& m);
void DrawStepChart(frmMain& m);
void wireBody(frmMain& m);
void dumpBody(const frmMain& m, StateDump& d);

}  // namespace app
