#include <gtest/gtest.h>

#include "progress/body_progress.h"

using progress::SummariseBodyFat;
using progress::SummariseWalking;

TEST(BodyFatSummary, DifferenceOfTheShownFigures) {
  struct Case {
    std::vector<float> percent;
    const char *first, *latest, *difference;
  };
  const Case cases[] = {
      {{25.3f, 24.0f, 23.8f}, "25.3", "23.8", "1.5"},
      {{20.0f}, "20.0", "20.0", "0.0"},
      // One decimal, never the residue of the subtraction (0.200000000000003).
      {{23.1f, 22.9f}, "23.1", "22.9", "0.2"},
      {{21.0f, 22.5f}, "21.0", "22.5", "-1.5"},
      // Rounded first: 23.46 shows as 23.5 and the difference is of the shown figures.
      {{23.46f, 23.04f}, "23.5", "23.0", "0.5"},
  };
  for (const Case& c : cases) {
    auto s = SummariseBodyFat(c.percent);
    EXPECT_EQ(s.first, c.first);
    EXPECT_EQ(s.latest, c.latest);
    EXPECT_EQ(s.difference, c.difference) << c.first << " - " << c.latest;
  }
}

TEST(WalkingSummary, LapsOnTheThreeCourses) {
  auto w = SummariseWalking(1763600, 20000, 3000, 0.7f, {9000, 9000, 9000});
  EXPECT_EQ(w.totalSteps, "1763600");
  EXPECT_EQ(w.maxSteps, "20000");
  EXPECT_EQ(w.minSteps, "3000");
  EXPECT_EQ(w.totalKm, "1234.5");
  EXPECT_EQ(w.maxKm, "14.0");
  EXPECT_EQ(w.minKm, "2.1");
  EXPECT_EQ(w.totalCaption, "合計距離数   1234.5Km");
  ASSERT_EQ(w.laps[0].courseKm, 1000);
  EXPECT_EQ(w.laps[0].lapLabel, "2周目");
  EXPECT_EQ(w.laps[0].barWidth, 2106);  // 23.4 %
  EXPECT_EQ(w.laps[1].lapLabel, "13周目");
  EXPECT_EQ(w.laps[1].barWidth, 3060);  // 34 %
  EXPECT_EQ(w.laps[2].lapLabel, "124周目");
  EXPECT_EQ(w.laps[2].barWidth, 3600);  // 40 %
}

TEST(WalkingSummary, FramesOfDifferentWidthsAndWholeLaps) {
  // Exactly 100 km: a new lap of the 10 and 100 km courses has just begun.
  auto w = SummariseWalking(200000, 10000, 100, 0.5f, {5000, 4000, 3000});
  EXPECT_EQ(w.laps[0].barWidth, 500);
  EXPECT_EQ(w.laps[0].lapLabel, "1周目");
  EXPECT_EQ(w.laps[1].barWidth, 0);
  EXPECT_EQ(w.laps[1].lapLabel, "2周目");
  EXPECT_EQ(w.laps[2].barWidth, 0);
  EXPECT_EQ(w.laps[2].lapLabel, "11周目");
}

TEST(WalkingSummary, NoLapBeforeTheFirstKilometre) {
  struct Case {
    double total;
    float stepLength;
    const char* totalKm;
  };
  // Below 1 km, no step length, and a total that corrections took below zero.
  for (const Case& c : {Case{1000, 0.7f, "0.7"}, Case{50000, 0.0f, "0.0"}, Case{-3000, 0.7f, "-2.1"}}) {
    auto w = SummariseWalking(c.total, 1000, 100, c.stepLength, {9000, 9000, 9000});
    EXPECT_EQ(w.totalKm, c.totalKm);
    for (const auto& lap : w.laps) {
      EXPECT_EQ(lap.lapLabel, "1周目") << c.total;
      EXPECT_EQ(lap.barWidth, 0) << c.total;
    }
  }
  // The first whole kilometre moves only the 10 km bar, by a tenth.
  auto w = SummariseWalking(1400, 1000, 100, 0.7f, {9000, 9000, 9000});
  EXPECT_EQ(w.totalKm, "1.0");
  EXPECT_EQ(w.laps[0].barWidth, 9);
  EXPECT_EQ(w.laps[1].barWidth, 90);
  EXPECT_EQ(w.laps[2].barWidth, 900);
}
