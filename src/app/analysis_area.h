#pragma once
// Analysis tables, ranking, milestones, running average and the weight chart.
#include <cstdint>
#include <vector>

#include "analysis/ranking.h"
#include "progress/milestones.h"
#include "progress/running_average.h"

namespace app {
class frmMain;
class StateDump;

// What each weight view was last built from. The views were built on the first `records` records
// of the log as it is now, so records appended since add their rows alone; -1: build it whole.
struct WeightViews {
  int tableRecords = -1;
  int tableMode = 0;
  int averageRecords = -1;
  progress::RunningAverageSums averageSums;
  int milestoneRecords = -1;
  progress::LossMilestones milestones;
  int rankingRecords = -1;
  float rankingStep = 0;
  std::vector<analysis::Band> bandCounts;  // in the bands' own order
  int chartRecords = -1;
  int chartPeriod = 0, chartRows = 0;
  float chartTarget = 0, chartFirstWeight = 0;
};

struct AnalysisArea {
  // Running average of the weight log; slots past WeightCount keep older values.
  std::vector<float> AverageWeight;
  float MaxAverageWeight = 0;
  float MinAverageWeight = 999.9f;
  // Double-click enlargement of the weight chart: 0 normal, 1 taller, 2 taller and wider.
  int16_t ChartEnlargeStep = 0;
  WeightViews views;
};

void SetUpGridHeaders(frmMain& m);
void ShowWeightTable(frmMain& m);
void ShowLossMilestones(frmMain& m);
void ShowRunningAverage(frmMain& m);
void ShowWeightRanking(frmMain& m);
void DrawWeightChart(frmMain& m);
// The views are built whole next time: the log changed other than by records appended.
void InvalidateWeightViews(frmMain& m);
void wireAnalysis(frmMain& m);
void dumpAnalysis(const frmMain& m, StateDump& d);

}  // namespace app
