#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "analysis/decimal_kg.h"
#include "analysis/ranking.h"
#include "analysis/weight_table.h"

namespace {

// Every weight with one decimal between 30.0 and 199.9, as the log holds them.
std::vector<std::pair<int, float>> oneDecimalWeights() {
  std::vector<std::pair<int, float>> out;
  for (int tenths = 300; tenths < 2000; ++tenths)
    out.emplace_back(tenths, std::stof(std::to_string(tenths / 10) + "." + std::to_string(tenths % 10)));
  return out;
}

}  // namespace

TEST(DecimalKg, DifferencesAndRoundingWorkOnTheDecimalValues) {
  EXPECT_EQ(analysis::roundTenthUp(-0.45), -0.4);
  EXPECT_EQ(analysis::roundTenthUp(0.45), 0.5);
  EXPECT_EQ(analysis::roundTenthUp(-0.44), -0.4);
  EXPECT_EQ(analysis::roundTenthUp(-0.46), -0.5);
  EXPECT_EQ(analysis::roundTenthUp(1.25), 1.3);
  // Across the binary steps at 64 and 128 the difference of two typed weights stays exact.
  const auto weights = oneDecimalWeights();
  for (size_t i = 0; i + 5 < weights.size(); i += 7) {
    const auto [ta, a] = weights[i + 5];
    const auto [tb, b] = weights[i];
    EXPECT_EQ(analysis::decimalDifference(a, b) * 10, ta - tb) << a << " - " << b;
  }
  EXPECT_EQ(analysis::decimalDifference(64.2f, 63.7f), 0.5);
  EXPECT_EQ(analysis::formatSingle(60.45f, "0.0Kg"), "60.5Kg");
  EXPECT_EQ(analysis::formatSingle(-0.35f, "0.0Kg"), "-0.4Kg");
}

TEST(WeightBands, BoundsFollowTheLowestAndHighestWeight) {
  std::vector<float> lows;
  for (const auto& b : analysis::makeBands(60.3f, 62.0f, 0.5f)) lows.push_back(b.low);
  EXPECT_EQ(lows, (std::vector<float>{60.0f, 60.5f, 61.0f, 61.5f, 62.0f, 62.5f, 63.0f}));
  lows.clear();
  for (const auto& b : analysis::makeBands(60.3f, 62.0f, 1.0f)) lows.push_back(b.low);
  EXPECT_EQ(lows, (std::vector<float>{60.0f, 61.0f, 62.0f, 63.0f}));
  // One weight: two bands, the second always empty.
  EXPECT_EQ(analysis::makeBands(65.3f, 65.3f, 1.0f).size(), 2u);
  // A damaged log with a weight of tons gives no ranking rather than millions of bands.
  EXPECT_TRUE(analysis::makeBands(60.0f, 5.0e7f, 0.5f).empty());
}

TEST(WeightBands, EveryOneDecimalWeightFallsInExactlyOneBand) {
  for (float step : {0.5f, 1.0f}) {
    const auto bands = analysis::makeBands(30.0f, 199.9f, step);
    for (const auto& [tenths, w] : oneDecimalWeights()) {
      int holders = 0;
      float holder = 0;
      for (const auto& b : bands)
        if (analysis::bandHolds(b.low, step, w)) ++holders, holder = b.low;
      ASSERT_EQ(holders, 1) << w << " step " << step;
      const int bandTenths = static_cast<int>(std::lround(holder * 10));
      EXPECT_TRUE(bandTenths <= tenths && tenths < bandTenths + std::lround(step * 10)) << w;
    }
  }
}

TEST(WeightBands, TwoDecimalWeightsBetweenBandsAreNotHeld) {
  EXPECT_FALSE(analysis::bandHolds(60.0f, 0.5f, 60.49f));
  EXPECT_FALSE(analysis::bandHolds(60.5f, 0.5f, 60.49f));
  EXPECT_TRUE(analysis::bandHolds(60.0f, 0.5f, 60.48f));
  EXPECT_FALSE(analysis::bandHolds(60.0f, 1.0f, 60.99f));
}

TEST(WeightBands, RankingByExchangeAndItsRows) {
  // Counts 2, 3, 2, 3 ascending: ranked second, fourth, third, first band.
  auto bands = analysis::makeBands(60.0f, 61.9f, 0.5f);
  analysis::countAndRank(bands, {60.0f, 60.5f, 61.0f, 61.5f, 60.2f, 60.7f, 61.3f, 61.8f, 60.9f, 61.9f}, 10, 0.5f);
  std::vector<float> order;
  std::vector<int> counts;
  for (const auto& b : bands) order.push_back(b.low), counts.push_back(b.count);
  EXPECT_EQ(order, (std::vector<float>{60.5f, 61.5f, 61.0f, 60.0f, 62.0f}));
  EXPECT_EQ(counts, (std::vector<int>{3, 3, 2, 2, 0}));

  const auto rows = analysis::rankingRows(bands, 0.5f);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].rank, "1位");
  EXPECT_EQ(rows[0].range, "60.5～60.9Kg");
  EXPECT_FALSE(rows[0].gap.has_value());
  EXPECT_EQ(rows[1].gap, "0回");
  EXPECT_EQ(rows[2].gap, "1回");
  EXPECT_EQ(rows[3].range, "60.0～60.4Kg");
  EXPECT_EQ(analysis::rankingRows(analysis::makeBands(60.0f, 60.0f, 1.0f), 1.0f).size(), 0u);
}

TEST(WeightTable, RowsInBothModes) {
  records::WeightSeries s;
  s.WeightDate = {"2024/03/01", "2024/03/02", "2024/03/03"};
  s.WeightKg = {65.0f, 64.55f, 65.0f};
  s.WeightCount = 3;
  auto prev = analysis::weightTableRows(s, analysis::DiffMode::PreviousDay);
  ASSERT_EQ(prev.size(), 3u);
  EXPECT_EQ(prev[0], (analysis::TableRow{"0日目", "2024/03/01", "65.0Kg", "±0.0Kg"}));
  EXPECT_EQ(prev[1][3], "-0.4Kg");
  EXPECT_EQ(prev[2][3], "+0.5Kg");
  auto first = analysis::weightTableRows(s, analysis::DiffMode::FirstDay);
  EXPECT_EQ(first[2][3], "±0.0Kg");
  EXPECT_STREQ(analysis::diffHeader(analysis::DiffMode::PreviousDay), "前日差");
  EXPECT_STREQ(analysis::diffHeader(analysis::DiffMode::FirstDay), "初日差");
  // A count larger than the slots held reads only what is there.
  s.WeightCount = 9;
  EXPECT_EQ(analysis::weightTableRows(s, analysis::DiffMode::PreviousDay).size(), 3u);
}
