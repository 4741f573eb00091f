#include "progress/weight_trend.h"

#include <gtest/gtest.h>

using progress::trendForecast;
using progress::trendForecastText;
using progress::weightTrend;

TEST(WeightTrend, StartsAtTheFirstWeightAndMovesATenthOfTheWayEachDay) {
  const std::vector<float> kg = {70, 80, 80, 60, 99};
  const auto t = weightTrend(kg, 4);
  ASSERT_EQ(t.size(), 4u) << "only the counted weights";
  EXPECT_FLOAT_EQ(t[0], 70);
  EXPECT_FLOAT_EQ(t[1], 71);
  EXPECT_FLOAT_EQ(t[2], 71.9f);
  EXPECT_FLOAT_EQ(t[3], 71.9f + 0.1f * (60 - 71.9f));
  EXPECT_TRUE(weightTrend(kg, 0).empty());
  EXPECT_EQ(weightTrend(kg, 99).size(), kg.size()) << "a count beyond the series reads no further";
  // A steady weight is its own trend.
  for (float v : weightTrend(std::vector<float>(30, 65.5f), 30)) EXPECT_FLOAT_EQ(v, 65.5f);
}

TEST(WeightTrend, ForecastCarriesTheLastFourteenDaysSlopeToTheTarget) {
  const store::Date last = store::makeDate(2024, 1, 15);
  // Half a kilogram a day down: 80.0 … 73.0 over fifteen values; 3 kg to go is 6 days.
  std::vector<float> down;
  for (int i = 0; i < 15; ++i) down.push_back(80.0f - 0.5f * i);
  auto f = trendForecast(down, 70, last);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->days, 6);
  EXPECT_EQ(store::formatDate(f->day), "2024/01/21");
  EXPECT_EQ(trendForecastText(f), "トレンドによる予想: 6日後 (2024/01/21)");
  // A part of a day still to go is a whole day more.
  EXPECT_EQ(trendForecast(down, 70.2f, last)->days, 6);
  EXPECT_EQ(trendForecast(down, 69.9f, last)->days, 7);
  // Only the last fourteen days count: a steep start is forgotten.
  std::vector<float> early = down;
  early.insert(early.begin(), {95.0f, 90.0f});
  EXPECT_EQ(trendForecast(early, 70, last)->days, 6);

  // A target above, with a rising trend, is reached too.
  std::vector<float> up;
  for (int i = 0; i < 15; ++i) up.push_back(50.0f + 0.25f * i);
  EXPECT_EQ(trendForecast(up, 55, last)->days, 6);
}

TEST(WeightTrend, NoForecastWithoutATrendTowardsTheTarget) {
  const store::Date last = store::makeDate(2024, 1, 15);
  std::vector<float> down;
  for (int i = 0; i < 15; ++i) down.push_back(80.0f - 0.5f * i);
  EXPECT_FALSE(trendForecast(down, 75, last)) << "already below the target";
  EXPECT_FALSE(trendForecast(down, 73, last)) << "on the target";
  EXPECT_FALSE(trendForecast(std::vector<float>(down.begin() + 1, down.end()), 70, last)) << "fewer than 15 days";
  EXPECT_FALSE(trendForecast(std::vector<float>(20, 70.0f), 60, last)) << "flat";
  std::vector<float> up(down.rbegin(), down.rend());
  EXPECT_FALSE(trendForecast(up, 60, last)) << "moving away";
  EXPECT_EQ(trendForecastText(std::nullopt), "");
}
