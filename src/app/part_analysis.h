#pragma once
// Analysis tables, ranking, milestones, running average and the weight chart.
#include <vector>

namespace app {
class frmMain;
class StateDump;

struct AnalysisPart {
  std::vector<float> AverageWeight;
  float MaxAverageWeight = 0;
  float MinAverageWeight = 999.9f;
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
