// The pieces the weight entry updates one record at a time give what a pass over the whole log
// gives: band counts and their ranking, milestones, the running average.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <vector>

#include "analysis/band_counts.h"
#include "analysis/ranking.h"
#include "progress/milestones.h"
#include "progress/running_average.h"
#include "store/dates.h"

namespace {

// A log of `n` days drifting around `start` kg, in tenths and now and then with two decimals.
records::WeightSeries randomSeries(std::mt19937& rng, int n, double start) {
  records::WeightSeries s;
  std::uniform_int_distribution<int> drift(-8, 7), hundredths(0, 9), odd(0, 5);
  long tenths = static_cast<long>(start * 10);
  const store::Date first = store::makeDate(2021, 3, 1);
  for (int i = 0; i < n; ++i) {
    tenths = std::max(11L, tenths + drift(rng));
    double kg = tenths / 10.0;
    if (odd(rng) == 0) kg += hundredths(rng) / 100.0;
    const float f = static_cast<float>(kg);
    const store::Date d = first + std::chrono::days(i);
    s.WeightDate.push_back(store::formatDate(d));
    s.WeightDay.push_back(d);
    s.WeightKg.push_back(f);
    ++s.WeightCount;
    if (f > s.MaxWeight) s.MaxWeight = f;
    if (f < s.MinWeight) {
      s.MinWeight = f;
      s.MinWeightDate = d;
    }
  }
  return s;
}

// The first `n` records of `s`, extremes included.
records::WeightSeries prefix(const records::WeightSeries& s, int n) {
  records::WeightSeries p;
  for (int i = 0; i < n; ++i) {
    p.WeightDate.push_back(s.WeightDate[i]);
    p.WeightDay.push_back(s.WeightDay[i]);
    p.WeightKg.push_back(s.WeightKg[i]);
    ++p.WeightCount;
    if (s.WeightKg[i] > p.MaxWeight) p.MaxWeight = s.WeightKg[i];
    if (s.WeightKg[i] < p.MinWeight) {
      p.MinWeight = s.WeightKg[i];
      p.MinWeightDate = s.WeightDay[i];
    }
  }
  return p;
}

void expectSameBands(const std::vector<analysis::Band>& a, const std::vector<analysis::Band>& b) {
  ASSERT_EQ(a.size(), b.size());
  for (size_t k = 0; k < a.size(); ++k) {
    EXPECT_EQ(a[k].low, b[k].low) << k;
    EXPECT_EQ(a[k].count, b[k].count) << k;
  }
}

}  // namespace

TEST(WeightViews, BandsCountedOneWeightAtATimeRankAsTheWholeCount) {
  std::mt19937 rng(17);
  for (int round = 0; round < 40; ++round) {
    const records::WeightSeries s = randomSeries(rng, 20 + round * 9, 45 + round);
    for (float step : {0.5f, 1.0f}) {
      std::vector<analysis::Band> whole = analysis::makeBands(s.MinWeight, s.MaxWeight, step);
      std::vector<analysis::Band> counted = whole;
      analysis::countAndRank(whole, s.WeightKg, s.WeightCount, step);
      for (float kg : s.WeightKg) {
        // The band found is the first holding the weight, or none holds it.
        const int k = analysis::bandIndexOf(counted, step, kg);
        int first = -1;
        for (size_t j = 0; j < counted.size() && first < 0; ++j)
          if (analysis::bandHolds(counted[j].low, step, kg)) first = static_cast<int>(j);
        ASSERT_EQ(k, first) << kg;
        if (k >= 0) ++counted[k].count;
      }
      std::vector<analysis::Band> inOrder = analysis::makeBands(s.MinWeight, s.MaxWeight, step);
      ASSERT_TRUE(analysis::countsInBandOrder(inOrder, whole, step));
      expectSameBands(inOrder, counted);
      analysis::rankCounted(counted);
      expectSameBands(counted, whole);
    }
  }
  // Bands other than those ranked are refused.
  std::vector<analysis::Band> bands = analysis::makeBands(60, 62, 0.5f), other = analysis::makeBands(61, 63, 0.5f);
  EXPECT_FALSE(analysis::countsInBandOrder(bands, other, 0.5f));
  EXPECT_EQ(analysis::bandIndexOf(bands, 0.5f, 59.0f), -1);
  EXPECT_EQ(analysis::bandIndexOf(bands, 0.5f, 60.49f), -1);  // between two bands
  EXPECT_EQ(analysis::bandIndexOf(bands, 0.5f, 60.5f), 1);
}

TEST(WeightViews, MilestonesExtendedRecordByRecordAreTheWholeComputation) {
  std::mt19937 rng(29);
  for (int round = 0; round < 30; ++round) {
    // Mostly losing, so that milestones are reached and new lows keep coming.
    records::WeightSeries s = randomSeries(rng, 10 + round * 5, 90);
    progress::LossMilestones grown;
    for (int n = 1; n <= s.WeightCount; ++n) {
      const records::WeightSeries p = prefix(s, n);
      progress::extendLossMilestones(grown, p);
      const progress::LossMilestones whole = progress::computeLossMilestones(p);
      ASSERT_EQ(grown.rows.size(), whole.rows.size()) << n;
      EXPECT_EQ(grown.bestLoss, whole.bestLoss);
      EXPECT_EQ(grown.previousDays, whole.previousDays);
      for (size_t k = 0; k < whole.rows.size(); ++k) {
        EXPECT_EQ(grown.rows[k].reached, whole.rows[k].reached) << n << " " << k;
        EXPECT_EQ(grown.rows[k].label, whole.rows[k].label);
        EXPECT_EQ(grown.rows[k].date, whole.rows[k].date);
        EXPECT_EQ(grown.rows[k].sinceStart, whole.rows[k].sinceStart);
        EXPECT_EQ(grown.rows[k].sincePrevious, whole.rows[k].sincePrevious);
      }
    }
    // Fewer records than looked at (a deleted day) start over.
    progress::extendLossMilestones(grown, prefix(s, 3));
    EXPECT_EQ(grown.records, 3u);
    EXPECT_EQ(grown.rows.size(), progress::computeLossMilestones(prefix(s, 3)).rows.size());
  }
}

TEST(WeightViews, TheRunningAverageContinuedRowByRowIsTheWholePass) {
  std::mt19937 rng(41);
  const records::WeightSeries s = randomSeries(rng, 300, 75);
  const progress::RunningAverage whole = progress::computeRunningAverage(s.WeightKg, s.WeightCount);
  progress::RunningAverageSums sums;
  for (size_t i = 0; i < s.WeightKg.size(); ++i) {
    float average = 0;
    const progress::RunningAverageRow row = progress::addToRunningAverage(sums, s.WeightKg[i], average);
    EXPECT_EQ(average, whole.average[i]) << i;
    EXPECT_EQ(row, whole.rows[i]) << i;
  }
  EXPECT_EQ(sums.streak, whole.streak);
  EXPECT_EQ(sums.records, s.WeightKg.size());
}
