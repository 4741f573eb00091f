#include "charts/weight_chart.h"

#include <algorithm>
#include <cmath>

#include "store/numbers.h"

namespace charts {

void addRecordChartCells(std::vector<ChartCell>& cells, const std::vector<float>& weights,
                         const std::vector<float>& average, size_t i, bool filled) {
  const int row = static_cast<int>(i) + 1;
  if (!filled) cells.push_back({row, kDailyWeight, store::shortestSingle(weights[i])});
  if (i < average.size()) cells.push_back({row, kRunningAverage, store::shortestSingle(average[i])});
  if (i >= 9) {
    float sum = 0;
    for (size_t j = i - 9; j <= i; ++j) sum += weights[j];
    cells.push_back({row, kMovingAverage, store::shortestSingle(sum / 10.0f)});
  }
}

std::vector<ChartCell> weightChartCells(const std::vector<float>& weights, int count, const std::vector<float>& average,
                                        float targetWeight, int targetPeriod, int rows,
                                        const std::vector<bool>& filled) {
  std::vector<ChartCell> cells;
  const size_t n = std::min(static_cast<size_t>(std::max(0, count)), weights.size());
  if (n == 0 || targetPeriod < 1) return cells;
  const size_t charted = static_cast<size_t>(std::max(rows, targetPeriod));
  const float slope = (weights[0] - targetWeight) / static_cast<float>(targetPeriod);
  float progress = weights[0];
  for (size_t i = 0; i < charted; ++i) {
    const int row = static_cast<int>(i) + 1;
    if (i < n) addRecordChartCells(cells, weights, average, i, i < filled.size() && filled[i]);
    if (i < static_cast<size_t>(targetPeriod)) cells.push_back({row, kProgressLine, store::shortestSingle(progress)});
    progress -= slope;
  }
  return cells;
}

int weightChartRows(WeightSpan span, int records, int targetPeriod) {
  return span == WeightSpan::TargetPeriod ? targetPeriod : std::max(targetPeriod, records);
}

std::optional<RowWindow> weightChartWindow(WeightSpan span, int records) {
  if (span == WeightSpan::Everything) return RowWindow{1, std::max(records, 2)};
  const int days = span == WeightSpan::FourWeeks ? 28 : span == WeightSpan::ThreeMonths ? 91 : 0;
  if (days == 0) return std::nullopt;
  const int last = std::max(records, days);
  return RowWindow{last - days + 1, last};
}

namespace {

// Floor to a whole number, kept within int for a hand-edited file with absurd weights.
int floorToInt(float v) {
  if (std::isnan(v)) return 0;
  return static_cast<int>(std::clamp(std::floor(static_cast<double>(v)), -1e9, 1e9));
}

}  // namespace

int weightAxisTop(float maxWeight) {
  const float top = maxWeight + 0.9f;  // single precision: 70.1f + 0.9f rounds to 71
  return floorToInt(top);
}

int weightAxisBottom(float targetWeight) { return floorToInt(targetWeight); }

ChartSize enlargeWeightChart(int& step, ChartSize current) {
  switch (step) {
    case 0: step = 1; return {current.width, 7200};
    case 1: step = 2; return {11415, current.height};
    default: step = 0; return kWeightChartNormal;
  }
}

}  // namespace charts
