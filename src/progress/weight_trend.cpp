#include "progress/weight_trend.h"

#include <cmath>
#include <limits>

#include "store/numbers.h"
#include "words/messages.h"

namespace progress {

std::vector<float> weightTrend(const std::vector<float>& kg, int count) {
  std::vector<float> trend;
  const size_t n = std::min(kg.size(), static_cast<size_t>(std::max(0, count)));
  trend.reserve(n);
  for (size_t i = 0; i < n; ++i)
    trend.push_back(i == 0 ? kg[0] : trend.back() + kTrendSmoothing * (kg[i] - trend.back()));
  return trend;
}

std::optional<TrendForecast> trendForecast(const std::vector<float>& trend, float targetWeight, store::Date lastDay) {
  if (trend.size() <= static_cast<size_t>(kTrendSlopeDays)) return std::nullopt;
  const double now = trend.back();
  const double slope = (now - trend[trend.size() - 1 - kTrendSlopeDays]) / kTrendSlopeDays;  // kg per day
  const double left = targetWeight - now;
  // Only a trend that moves towards a target not yet reached gives a day.
  if (left == 0 || slope == 0 || (left > 0) != (slope > 0)) return std::nullopt;
  const double days = std::ceil(left / slope - 1e-9);
  // Farther than any calendar date we can write is no forecast either.
  if (!(days <= 100000)) return std::nullopt;
  TrendForecast f;
  f.days = static_cast<int>(days);
  f.day = lastDay + std::chrono::days(f.days);
  return f;
}

std::string trendPerWeekText(const std::vector<float>& trend) {
  if (trend.size() < static_cast<size_t>(kTrendSlopeDays)) return "";
  const size_t span = std::min(static_cast<size_t>(kTrendSlopeDays), trend.size() - 1);
  const double perWeek = (static_cast<double>(trend.back()) - trend[trend.size() - 1 - span]) / span * 7;
  const double tenths = std::round(perWeek * 10) / 10;
  if (tenths == 0) return std::string(words::kTrendPerWeek) + "±0.0Kg";
  return words::kTrendPerWeek + std::string(tenths > 0 ? "+" : "") + store::formatNumber(tenths, "0.0Kg");
}

std::string trendForecastText(const std::optional<TrendForecast>& f) {
  if (!f) return "";
  return words::kTrendForecast + std::to_string(f->days) + words::kDaysLater + " (" + store::formatDate(f->day) + ")";
}

}  // namespace progress
