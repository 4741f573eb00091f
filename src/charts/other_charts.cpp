#include "charts/other_charts.h"

#include <cmath>

#include "store/dates.h"
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

void prepare(form::Control& chart, size_t rows, form::Control::RowDaysMaker days) {
  chart.setChartColumnCount(1);
  // Drawn anew from no rows: a row that gets no value now must not keep one from before.
  chart.setChartRowCount(0);
  chart.setChartRowCount(static_cast<int>(rows));
  chart.setChartRowDaysLater(days ? std::move(days) : [] { return std::vector<double>(); });
}

// "hh:mm:ss" (or "hh:mm") as the part of a day.
std::optional<double> dayPart(std::string_view time) {
  int parts[3] = {0, 0, 0};
  size_t n = 0;
  for (size_t i = 0; i < time.size(); ++i) {
    if (time[i] == ':') {
      if (++n > 2) return std::nullopt;
    } else if (time[i] >= '0' && time[i] <= '9') {
      parts[n] = parts[n] * 10 + (time[i] - '0');
      if (parts[n] > 59) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
  if (n == 0 || parts[0] > 23) return std::nullopt;
  return (parts[0] * 3600 + parts[1] * 60 + parts[2]) / 86400.0;
}

}  // namespace

std::optional<double> dayNumber(std::string_view date, std::string_view time) {
  const std::optional<store::Date> day = store::parseDate(date);
  if (!day) return std::nullopt;
  double at = static_cast<double>(day->time_since_epoch().count());
  if (!time.empty()) {
    const std::optional<double> part = dayPart(time);
    if (!part) return std::nullopt;
    at += *part;
  }
  return at;
}

form::Control::RowDaysMaker recordDays(store::TextColumn dates, store::TextColumn times) {
  return [dates = std::move(dates), times = std::move(times)] {
    std::vector<double> days;
    days.reserve(dates.size());
    for (size_t i = 0; i < dates.size(); ++i) {
      const std::optional<double> at = dayNumber(dates[i], i < times.size() ? times[i] : std::string_view());
      if (!at || (!days.empty() && *at < days.back())) return std::vector<double>();
      days.push_back(*at);
    }
    return days;
  };
}

DrawResult DrawIntradayChart(form::Control& chart, const std::vector<float>& kg, float maxWeight, float targetWeight,
                             form::Control::RowDaysMaker days) {
  prepare(chart, kg.size(), std::move(days));
  if (kg.empty()) return DrawResult::Empty;
  if (kg.size() == 1) return DrawResult::OneRecord;
  writeColumn(chart, kg);
  chart.setAxisLimits(std::floor(static_cast<double>(targetWeight)), std::floor(maxWeight + 0.9));
  return DrawResult::Drawn;
}

DrawResult DrawBodyFatChart(form::Control& chart, const std::vector<float>& percent, float axisMax, float axisMin,
                            form::Control::RowDaysMaker days) {
  prepare(chart, percent.size(), std::move(days));
  if (percent.empty()) return DrawResult::Empty;
  if (percent.size() == 1) return DrawResult::OneRecord;
  writeColumn(chart, percent);
  chart.setAxisLimits(axisMin, axisMax);
  return DrawResult::Drawn;
}

void DrawFatMassChart(form::Control& chart, const std::vector<float>& fatMassKg, form::Control::RowDaysMaker days) {
  prepare(chart, fatMassKg.size(), std::move(days));
  float hi = 0, lo = 999;
  for (float v : fatMassKg) {
    if (v > hi) hi = v;
    if (v < lo) lo = v;
  }
  writeColumn(chart, fatMassKg);
  // With no fat mass at all this asks for 999 below 0, which the chart ignores.
  chart.setAxisLimits(std::floor(lo), std::floor(hi));
}

DrawResult DrawStepChart(form::Control& chart, const std::vector<float>& steps, int axisMax, int axisMin,
                         form::Control::RowDaysMaker days) {
  prepare(chart, steps.size(), std::move(days));
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
