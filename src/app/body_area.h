#pragma once
// Body fat, steps, intra-day weighings, their summaries and charts.
#include <string>
#include <vector>

#include "records/body_fat.h"
#include "records/intraday.h"
#include "records/steps.h"

namespace app {
class frmMain;
class StateDump;

// The three series with their counts (FatCount, FatMassCount, StepCount, IntradayCount) and the
// walking totals (TotalSteps, MaxSteps, MinSteps) under the names the rest of the window uses.
struct BodyArea : records::BodyFatSeries, records::StepSeries, records::IntradaySeries {
  std::vector<int> FatMassRecord;  // the body-fat record of each fat mass, for its date
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
