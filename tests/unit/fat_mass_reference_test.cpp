// The fat-mass matching by sorted dates against the scan from each record's own slot it
// replaced, on logs with missing, repeated and shuffled dates.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "records/body_fat.h"

namespace {

// The slot each body-fat record takes its weight from, by the scan, or -1.
std::vector<int> referenceSlots(const records::BodyFatSeries& s, const records::WeightSeries& w) {
  std::vector<int> slots;
  for (int i = 0; i < s.FatCount; ++i) {
    int j = i;
    while (j < w.WeightCount && w.WeightDate[j] != s.FatDate[i]) ++j;
    slots.push_back(j >= w.WeightCount ? -1 : j);
  }
  return slots;
}

std::string dayText(int d) { return "2026/" + std::to_string(10 + d / 28) + "/" + std::to_string(10 + d % 28); }

// One random pair of logs, the body-fat dates in date order when `inOrder` (a log kept by the
// program), checked against the scan.
void checkRandomLogs(std::mt19937& rng, int round, bool inOrder) {
  records::WeightSeries w;
  records::BodyFatSeries s;
  const int days = 1 + static_cast<int>(rng() % 60);
  for (int i = 0; i < days; ++i) {
    // Mostly in order; sometimes a day repeated or out of place.
    const int d = rng() % 5 == 0 ? static_cast<int>(rng() % days) : i;
    w.WeightDate.push_back(dayText(d));
    w.WeightKg.push_back(60.0f + static_cast<float>(rng() % 200) / 10);
  }
  w.WeightCount = days - static_cast<int>(rng() % 3 == 0 ? rng() % days : 0);
  const int fats = static_cast<int>(rng() % 70);
  std::vector<std::pair<std::string, float>> fat;  // drawn as the first of these tests always drew them
  for (int i = 0; i < fats; ++i) {
    std::string day = dayText(static_cast<int>(rng() % (days + 10)));
    fat.emplace_back(std::move(day), 15.0f + static_cast<float>(rng() % 100) / 10);
  }
  if (inOrder) std::stable_sort(fat.begin(), fat.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [day, percent] : fat) {
    s.FatDate.push_back(day);
    s.FatPercent.push_back(percent);
  }
  s.FatCount = fats;
  const std::vector<int> slots = referenceSlots(s, w);
  const auto rows = records::ComputeFatMass(s, w);
  std::vector<int> found;
  for (const auto& r : rows) {
    ASSERT_EQ(r.weightKg, w.WeightKg[slots[r.record]]) << "round " << round << " record " << r.record;
    EXPECT_EQ(r.fatMassKg, s.FatPercent[r.record] / 100 * r.weightKg);
    found.push_back(r.record);
  }
  std::vector<int> expected;
  for (int i = 0; i < fats; ++i)
    if (slots[i] >= 0) expected.push_back(i);
  ASSERT_EQ(found, expected) << "round " << round;
  EXPECT_EQ(s.FatMassCount, static_cast<int>(expected.size()));
}

}  // namespace

TEST(FatMassFastPath, EveryRecordFindsTheSameWeightAsTheScan) {
  std::mt19937 rng(731);
  for (int round = 0; round < 300; ++round) checkRandomLogs(rng, round, false);
}

TEST(FatMassFastPath, RecordsInDateOrderFindTheSameWeightAsTheScan) {
  std::mt19937 rng(732);
  for (int round = 0; round < 300; ++round) checkRandomLogs(rng, round, true);
}
