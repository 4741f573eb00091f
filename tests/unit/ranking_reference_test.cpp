// The weight ranking's band search and ordering against the band-by-band count and exchange
// sort they replaced, kept here as the reference, on random diaries of every shape.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "analysis/ranking.h"

namespace {

void referenceCountAndRank(std::vector<analysis::Band>& bands, const std::vector<float>& weights, int count,
                           float step) {
  const size_t records = std::min(static_cast<size_t>(std::max(0, count)), weights.size());
  for (size_t i = 0; i < records; ++i) {
    for (analysis::Band& b : bands) {
      if (analysis::bandHolds(b.low, step, weights[i])) {
        ++b.count;
        break;
      }
    }
  }
  for (size_t k = 0; k + 1 < bands.size(); ++k)
    for (size_t j = k + 1; j < bands.size(); ++j)
      if (bands[k].count < bands[j].count) std::swap(bands[k], bands[j]);
}

float typed(int hundredths) {
  return std::stof(std::to_string(hundredths / 100) + "." + std::to_string(hundredths / 10 % 10) +
                   std::to_string(hundredths % 10));
}

struct Diary {
  std::string kind;
  std::vector<float> kg;
  int count;
};

// A diary of `n` days: a slow walk, a scatter over 30-999 kg, or a few weights repeated.
Diary randomDiary(std::mt19937& rng, int kind, int n) {
  Diary d{kind == 0 ? "walk" : kind == 1 ? "wide" : "repeats", {}, n};
  int walk = 6000 + static_cast<int>(rng() % 3000) * 10;
  std::vector<int> few;
  for (int i = 0; i < 4; ++i) few.push_back(5000 + static_cast<int>(rng() % 400) * 10);
  for (int i = 0; i < n; ++i) {
    int h;
    if (kind == 0) {
      walk += (static_cast<int>(rng() % 9) - 4) * 10;
      walk = std::clamp(walk, 3000, 99990);
      h = walk + ((rng() % 10 == 0) ? static_cast<int>(rng() % 10) : 0);  // now and then two decimals
    } else if (kind == 1) {
      h = 3000 + static_cast<int>(rng() % 9700) * 10;
    } else {
      h = few[rng() % few.size()];
    }
    d.kg.push_back(typed(h));
  }
  // The count shown may be short of the log, or beyond it.
  const int r = static_cast<int>(rng() % 10);
  if (r == 0) d.count = n / 2;
  if (r == 1) d.count = n + 5;
  return d;
}

}  // namespace

TEST(RankingFastPath, SameBandsAndOrderAsTheExchangeSortOnRandomDiaries) {
  std::mt19937 rng(1685);
  int diaries = 0;
  for (int round = 0; round < 400; ++round) {
    const int kind = round % 40 == 0 ? 1 : round % 2 == 0 ? 0 : 2;
    const int n = kind == 1 ? 730 : 1 + static_cast<int>(rng() % 730);
    Diary d = randomDiary(rng, kind, n);
    float minKg = d.kg.front(), maxKg = d.kg.front();
    for (float w : d.kg) minKg = std::min(minKg, w), maxKg = std::max(maxKg, w);
    // Now and then a weight outside every band, as a log edited behind the program's back gives.
    if (round % 7 == 3) d.kg.push_back(maxKg + 5.0f);
    for (float step : {0.5f, 1.0f}) {
      auto fast = analysis::makeBands(minKg, maxKg, step);
      auto ref = fast;
      ASSERT_FALSE(fast.empty());
      analysis::countAndRank(fast, d.kg, d.count, step);
      referenceCountAndRank(ref, d.kg, d.count, step);
      ASSERT_EQ(fast.size(), ref.size());
      for (size_t k = 0; k < fast.size(); ++k) {
        ASSERT_EQ(fast[k].low, ref[k].low) << d.kind << " diary " << round << " step " << step << " place " << k;
        ASSERT_EQ(fast[k].count, ref[k].count) << d.kind << " diary " << round << " step " << step << " place " << k;
      }
      const auto rows = analysis::rankingRows(fast, step), refRows = analysis::rankingRows(ref, step);
      ASSERT_EQ(rows.size(), refRows.size());
      for (size_t k = 0; k < rows.size(); ++k) {
        EXPECT_EQ(rows[k].range, refRows[k].range);
        EXPECT_EQ(rows[k].gap, refRows[k].gap);
      }
      ++diaries;
    }
  }
  EXPECT_EQ(diaries, 800);
}

TEST(RankingFastPath, EqualCountsKeepTheExchangeOrder) {
  // Counts 1, 1, 2 by band: the exchange puts the 2 first and the two 1s the other way round.
  auto bands = analysis::makeBands(60.0f, 61.4f, 0.5f);
  analysis::countAndRank(bands, {60.1f, 60.6f, 61.2f, 61.3f}, 4, 0.5f);
  std::vector<std::pair<float, int>> got;
  for (const auto& b : bands) got.emplace_back(b.low, b.count);
  EXPECT_EQ(got, (std::vector<std::pair<float, int>>{{61.0f, 2}, {60.5f, 1}, {60.0f, 1}, {61.5f, 0}, {62.0f, 0}}));
}
