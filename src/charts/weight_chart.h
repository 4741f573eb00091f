#pragma once
// The weight chart's data table: four series over the rows of the target period, and the
// vertical-axis limits and enlargement sizes of the chart.
#include <optional>
#include <string>
#include <vector>

#include "form/control.h"

namespace charts {

enum WeightSeriesColumn { kDailyWeight = 1, kMovingAverage = 2, kProgressLine = 3, kRunningAverage = 4 };

using ChartCell = form::ChartValue;

// The cells to write, in order: for every row of the target period the daily weight, the
// running average and (from the tenth record on) the mean of the last ten weights while records
// last, and the progress line from the first weight down towards the target on every row.
// Records past the target period are not charted unless `rows` reaches further (0: the period);
// a period below 1 gives no cell. A record marked in `filled` (a day filled with the last weight)
// gets no daily weight: the line passes it.
std::vector<ChartCell> weightChartCells(const std::vector<float>& weights, int count, const std::vector<float>& average,
                                        float targetWeight, int targetPeriod, int rows = 0,
                                        const std::vector<bool>& filled = {});

// The spans of days the chart can show, in the order of their option buttons; it opens with the
// target period.
enum class WeightSpan { FourWeeks, ThreeMonths, TargetPeriod, Everything };
inline constexpr int kWeightSpanCount = 4;
// The rows charted: the target period's, and for the other spans every record's too.
int weightChartRows(WeightSpan span, int records, int targetPeriod);
// The first and last row in view: the last four weeks or three months up to the last record
// (from the first row while the diary is younger than that), or every record from the first to
// the last; nullopt: every row (the target period).
struct RowWindow {
  int first, last;
};
std::optional<RowWindow> weightChartWindow(WeightSpan span, int records);
// The cells of record i's own row (i below the record count) without the progress line, as
// weightChartCells gives them; appended to `cells`.
void addRecordChartCells(std::vector<ChartCell>& cells, const std::vector<float>& weights,
                         const std::vector<float>& average, size_t i, bool filled = false);

// Int(maxWeight + 0.9) in single precision: 70.0 and 70.05 give 70, 70.1 gives 71.
int weightAxisTop(float maxWeight);
// Int(targetWeight).
int weightAxisBottom(float targetWeight);

struct ChartSize {
  int width = 0, height = 0;
};
inline constexpr ChartSize kWeightChartNormal{7590, 5190};

// One double-click: the size after it, moving `step` through 0 → 1 → 2 → 0.
ChartSize enlargeWeightChart(int& step, ChartSize current);

}  // namespace charts
