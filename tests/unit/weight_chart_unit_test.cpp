#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "charts/weight_chart.h"

TEST(WeightChartAxis, TopRoundsUpFromATenthAbove) {
  EXPECT_EQ(charts::weightAxisTop(70.0f), 70);
  EXPECT_EQ(charts::weightAxisTop(70.05f), 70);
  EXPECT_EQ(charts::weightAxisTop(70.1f), 71);
  EXPECT_EQ(charts::weightAxisTop(0.0f), 0);
  // Every typed weight with one decimal: a whole number stays, anything above goes up.
  for (int tenths = 300; tenths < 2000; ++tenths) {
    const float w = std::stof(std::to_string(tenths / 10) + "." + std::to_string(tenths % 10));
    EXPECT_EQ(charts::weightAxisTop(w), tenths / 10 + (tenths % 10 ? 1 : 0)) << w;
  }
  EXPECT_EQ(charts::weightAxisBottom(60.9f), 60);
  EXPECT_EQ(charts::weightAxisBottom(-0.5f), -1);
}

TEST(WeightChartAxis, DoubleClicksCycleThroughTwoEnlargements) {
  int step = 0;
  charts::ChartSize s = charts::kWeightChartNormal;
  s = charts::enlargeWeightChart(step, s);
  EXPECT_EQ(step, 1);
  EXPECT_EQ(s.width, 7590);
  EXPECT_EQ(s.height, 7200);
  s = charts::enlargeWeightChart(step, s);
  EXPECT_EQ(step, 2);
  EXPECT_EQ(s.width, 11415);
  EXPECT_EQ(s.height, 7200);
  s = charts::enlargeWeightChart(step, s);
  EXPECT_EQ(step, 0);
  EXPECT_EQ(s.width, 7590);
  EXPECT_EQ(s.height, 5190);
}

TEST(WeightChartCells, RowsFollowTheTargetPeriod) {
  const std::vector<float> w = {70.0f, 69.0f, 68.0f, 67.0f};
  const std::vector<float> avg = {70.0f, 69.5f, 69.0f, 68.5f};
  EXPECT_TRUE(charts::weightChartCells(w, 0, avg, 60.0f, 10).empty());
  EXPECT_TRUE(charts::weightChartCells(w, 4, avg, 60.0f, 0).empty());
  EXPECT_TRUE(charts::weightChartCells(w, 4, avg, 60.0f, -3).empty());

  const auto cells = charts::weightChartCells(w, 4, avg, 60.0f, 2);
  int maxRow = 0, progress = 0;
  for (const auto& c : cells) {
    maxRow = std::max(maxRow, c.row);
    if (c.column == charts::kProgressLine) ++progress;
    EXPECT_NE(c.column, charts::kMovingAverage);
  }
  EXPECT_EQ(maxRow, 2);
  EXPECT_EQ(progress, 2);
  // Progress line over two rows from 70 to 60: 70, then one step (5 kg) above the target.
  EXPECT_EQ(cells.back().column, charts::kProgressLine);
  EXPECT_EQ(cells.back().text, "65");

  // A running average shorter than the weights (not yet computed) is simply not drawn.
  for (const auto& c : charts::weightChartCells(w, 4, {}, 60.0f, 10)) EXPECT_NE(c.column, charts::kRunningAverage);
}
