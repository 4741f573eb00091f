#pragma once
// The smoothed trend of the daily weight and the day it would reach the target.
#include <optional>
#include <string>
#include <vector>

#include "store/dates.h"

namespace progress {

// How much of each new weight enters the trend; the rest is the trend of the day before.
inline constexpr float kTrendSmoothing = 0.1f;
// The days over which the trend's slope is measured for the forecast.
inline constexpr int kTrendSlopeDays = 14;

// The exponentially smoothed trend of the first `count` weights: it starts at the first weight,
// then each day moves by kTrendSmoothing of the way to that day's weight.
std::vector<float> weightTrend(const std::vector<float>& kg, int count);

struct TrendForecast {
  int days = 0;     // days after the last record
  store::Date day;  // the date of the last record plus `days`
};
// When the trend keeps its slope of the last kTrendSlopeDays days: the day it reaches the target.
// None with too few days, a flat trend, a trend moving away from the target, or one already there.
std::optional<TrendForecast> trendForecast(const std::vector<float>& trend, float targetWeight, store::Date lastDay);

// "トレンドによる予想: N日後 (YYYY/MM/DD)", or "" without a forecast.
std::string trendForecastText(const std::optional<TrendForecast>& f);

// The trend's change in a week, from its slope over the last kTrendSlopeDays days (over all of
// them while there are fewer): "トレンド: 週 -0.4Kg"; "" with fewer than that many weights.
std::string trendPerWeekText(const std::vector<float>& trend);

}  // namespace progress
