#pragma once
// Analysis tables, ranking, milestones, running average and the weight chart.
#include <cstdint>
#include <vector>

namespace app {
class frmMain;
class StateDump;

struct AnalysisArea {
  // Running average of the weight log; slots past WeightCount keep older values.
  std::vector<float> AverageWeight;
  float MaxAverageWeight = 0;
  float MinAverageWeight = 999.9f;
  // Double-click enlargement of the weight chart: 0 normal, 1 taller, 2 taller and wider.
  int16_t ChartEnlargeStep = 0;
};

void SetUpGridHeaders(frmMain& m);
void ShowWeightTable(frmMain& m);
void ShowLossMilestones(frmMain& m);
void ShowRunningAverage(frmMain& m);
void ShowWeightRanking(frmMain& m);
void DrawWeightChart(frmMain& m);
void wireAnalysis(frmMain& m);
void dumpAnalysis(const frmMain& m, StateDump& d);

}  // namespace app
