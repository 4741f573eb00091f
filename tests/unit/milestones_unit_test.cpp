#include <gtest/gtest.h>

#include <random>

#include "analysis/decimal_kg.h"
#include "progress/milestones.h"
#include "progress/running_average.h"

namespace {

records::WeightSeries series(const std::vector<std::string>& dates, const std::vector<float>& kg) {
  records::WeightSeries s;
  s.WeightDate = dates;
  s.WeightKg = kg;
  s.WeightCount = static_cast<int>(kg.size());
  for (size_t i = 0; i < kg.size(); ++i) {
    if (kg[i] > s.MaxWeight) s.MaxWeight = kg[i];
    if (kg[i] < s.MinWeight) s.MinWeight = kg[i], s.MinWeightDate = store::parseDate(dates[i]);
  }
  return s;
}

}  // namespace

TEST(MilestoneArithmetic, LabelsCarryOneDecimal) {
  EXPECT_EQ(progress::milestoneLabel(1), "0.5Kg減");
  EXPECT_EQ(progress::milestoneLabel(2), "1.0Kg減");
  EXPECT_EQ(progress::milestoneLabel(3), "1.5Kg減");
  EXPECT_EQ(progress::milestoneLabel(20), "10.0Kg減");
}

TEST(MilestoneArithmetic, RowCountFollowsTheRoundedBestLoss) {
  const std::vector<std::string> d = {"2024/01/30", "2024/01/31", "2024/02/01"};
  // 0.44 rounds to 0.4: none. 0.45 rounds to 0.5: one row, never reached.
  EXPECT_TRUE(progress::computeLossMilestones(series({d[0], d[1]}, {70.0f, 69.56f})).rows.empty());
  auto rounded = progress::computeLossMilestones(series({d[0], d[1]}, {70.0f, 69.55f}));
  ASSERT_EQ(rounded.rows.size(), 1u);
  EXPECT_FALSE(rounded.rows[0].reached);
  EXPECT_DOUBLE_EQ(rounded.bestLoss, 0.45);

  // Across a month end, and a gain afterwards leaves the milestones where they were.
  auto ms = progress::computeLossMilestones(series(d, {80.0f, 78.0f, 79.9f}));
  ASSERT_EQ(ms.rows.size(), 4u);
  for (const auto& row : ms.rows) {
    EXPECT_TRUE(row.reached);
    EXPECT_EQ(row.date, "2024/01/31");
    EXPECT_EQ(row.sinceStart, "1日後");
  }
  EXPECT_EQ(ms.rows[0].sincePrevious, "1日後");
  EXPECT_EQ(ms.rows[3].sincePrevious, "0日後");
  EXPECT_EQ(progress::bestLossLine(series(d, {80.0f, 78.0f, 79.9f}), ms.bestLoss),
            "最高　2.0Kg減を達成してから　1日経過");
}

// Each milestone is reached by the first record whose decimal loss comes to it, also when the
// loss lands exactly on it or a hair short (weights in tenths and hundredths, mostly falling).
TEST(MilestoneArithmetic, EachMilestoneIsReachedByTheFirstRecordToComeToIt) {
  std::mt19937 rng(5);
  for (int round = 0; round < 300; ++round) {
    std::vector<std::string> dates;
    std::vector<float> kg;
    int hundredths = 7000 + static_cast<int>(rng() % 3000);
    for (int i = 0; i < 60; ++i) {
      dates.push_back(store::formatDate(store::makeDate(2024, 1, 1) + std::chrono::days(i)));
      kg.push_back(static_cast<float>(hundredths) / 100);
      hundredths -= static_cast<int>(rng() % 5 == 0 ? rng() % 7 * 10 : rng() % 40) - 15;
    }
    const auto ms = progress::computeLossMilestones(series(dates, kg));
    for (size_t k = 1; k <= ms.rows.size(); ++k) {
      size_t first = kg.size();
      for (size_t i = 0; i < kg.size() && first == kg.size(); ++i)
        if (!(static_cast<double>(k) * 0.5 > analysis::decimalDifference(kg[0], kg[i]))) first = i;
      ASSERT_EQ(ms.rows[k - 1].reached, first < kg.size()) << round << " " << k;
      if (first < kg.size()) {
        EXPECT_EQ(ms.rows[k - 1].date, dates[first]) << round << " " << k;
      }
    }
  }
}

TEST(MilestoneArithmetic, UnreadableDatesLeaveDayCountsBlank) {
  auto s = series({"2024/01/30", "ある日"}, {70.0f, 69.0f});
  auto ms = progress::computeLossMilestones(s);
  ASSERT_EQ(ms.rows.size(), 2u);
  EXPECT_EQ(ms.rows[0].date, "ある日");
  EXPECT_EQ(ms.rows[0].sinceStart, "");
  EXPECT_FALSE(progress::bestLossLine(s, ms.bestLoss).has_value());
}

TEST(RunningAverageArithmetic, StreakCountsDaysSinceTheLastRise) {
  auto ra = progress::computeRunningAverage({70.0f, 71.0f, 70.0f, 69.0f, 71.0f, 68.0f}, 6);
  ASSERT_EQ(ra.average.size(), 6u);
  EXPECT_FLOAT_EQ(ra.average[1], 70.5f);
  EXPECT_FLOAT_EQ(ra.average[5], 419.0f / 6);
  // Changes: +500, -166.7, -333.3, +200, -366.7: the streak restarts after the rise on day 4.
  EXPECT_EQ(ra.rows[1][3], "+500g");
  EXPECT_EQ(ra.rows[2][3], "-167g");
  EXPECT_EQ(ra.rows[3][3], "-333g");
  EXPECT_EQ(ra.rows[4][3], "+200g");
  EXPECT_EQ(ra.rows[5][2], "69.833Kg");
  EXPECT_EQ(ra.streak, 1);
  EXPECT_EQ(progress::streakLine(ra.streak), "連続ﾏｲﾅｽ記録 1日間達成！");
  EXPECT_EQ(progress::streakLine(0), "平均を上回ってしまいました...");
  EXPECT_TRUE(progress::computeRunningAverage({70.0f}, 0).rows.empty());
}
