#include "charts/other_charts.h"

#include <cmath>

#include "store/numbers.h"
#include "store/typed_number.h"

namespace charts {

namespace {

// The values are written as the chart is first read (a chart of years of records on a hidden page).
void writeColumn(form::Control& chart, const std::vector<float>& values) {
  if (values.empty()) return;
  chart.setChartValuesLater([values] {
    std::vector<form::ChartValue> column;
    column.reserve(values.size());
    for (size_t i = 0; i < values.size(); ++i)
      column.push_back({static_cast<int>(i) + 1, 1, store::shortestSingle(values[i])});
    return column;
  });
}

void prepare(form::Control& chart, size_t rows) {
  chart.setChartColumnCount(1);
  // Drawn anew from no rows: a row that gets no value now must not keep one from before.
  chart.setChartRowCount(0);
  chart.setChartRowCount(static_cast<int>(rows));
}

}  // namespace

DrawResult DrawIntradayChart(form::Control& chart, const std::vector<float>& kg, float maxWeight, float targetWeight) {
  prepare(chart, kg.size());
  if (kg.empty()) return DrawResult::Empty;
  if (kg.size() == 1) return DrawResult::OneRecord;
  writeColumn(chart, kg);
  chart.setAxisLimits(std::floor(static_cast<double>(targetWeight)), std::floor(maxWeight + 0.9));
  return DrawResult::Drawn;
}

DrawResult DrawBodyFatChart(form::Control& chart, const std::vector<float>& percent, float axisMax, float axisMin) {
  prepare(chart, percent.size());
  if (percent.empty()) return DrawResult::Empty;
  if (percent.size() == 1) return DrawResult::OneRecord;
  writeColumn(chart, percent);
  chart.setAxisLimits(axisMin, axisMax);
  return DrawResult::Drawn;
}

void DrawFatMassChart(form::Control& chart, const std::vector<float>& fatMassKg) {
  prepare(chart, fatMassKg.size());
  float hi = 0, lo = 999;
  for (float v : fatMassKg) {
    if (v > hi) hi = v;
    if (v < lo) lo = v;
  }
  writeColumn(chart, fatMassKg);
  // With no fat mass at all this asks for 999 below 0, which the chart ignores.
  chart.setAxisLimits(std::floor(lo), std::floor(hi));
}

DrawResult DrawStepChart(form::Control& chart, const std::vector<float>& steps, int axisMax, int axisMin) {
  prepare(chart, steps.size());
  if (steps.empty()) return DrawResult::Empty;
  writeColumn(chart, steps);
  chart.setAxisLimits(axisMin, axisMax);
  return DrawResult::Drawn;
}

std::optional<double> ReadNumberBox(std::string_view text) {
  if (text.find_first_not_of(" \t") == std::string_view::npos) return std::nullopt;
  auto v = store::parseNumberField(store::asciiNumberText(text));
  if (!v || !std::isfinite(*v)) return std::nullopt;
  return v;
}

bool StoreAxisLimit(profile::Profile& p, AxisBox box, double v) {
  switch (box) {
    case AxisBox::FatMax:
    case AxisBox::FatMin: {
      if (std::fabs(v) > 3.4e38) return false;
      (box == AxisBox::FatMax ? p.FatAxisMax : p.FatAxisMin) = static_cast<float>(v);
      return true;
    }
    case AxisBox::StepMax: {
      double r = store::roundHalfEven(v);
      if (r < -2147483648.0 || r > 2147483647.0) return false;
      p.StepAxisMax = static_cast<int32_t>(r);
      return true;
    }
    case AxisBox::StepMin: {
      double r = store::roundHalfEven(v);
      if (r < -32768.0 || r > 32767.0) return false;
      p.StepAxisMin = static_cast<int16_t>(r);
      return true;
    }
  }
  return false;
}

void SetOneLimit(form::Control& chart, bool isMax, double v, double otherFallback) {
  const auto& c = chart.chart();
  if (isMax)
    chart.setAxisLimits(c.axisMin.value_or(otherFallback), v);
  else
    chart.setAxisLimits(v, c.axisMax.value_or(otherFallback));
}

}  // namespace charts
