#include "nutrition/nutrition.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "store/record.h"
#include "support/temp_folder.h"

using namespace nutrition;

namespace {

NutritionRecord record(const std::string& date, std::initializer_list<int> tickedGroups) {
  NutritionRecord r{date, {}};
  r.marks.fill(kNotTicked);
  for (int g : tickedGroups) r.marks[g - 1] = kTicked;
  return r;
}

// `n` records, group 1 ticked in the first `ticked` of them.
std::vector<NutritionRecord> groupOneTicked(int n, int ticked) {
  std::vector<NutritionRecord> v;
  for (int i = 0; i < n; ++i) v.push_back(i < ticked ? record("2024/01/01", {1}) : record("2024/01/01", {}));
  return v;
}

}  // namespace

TEST(NutritionAnalysis, LastTenAgainstAllRecords) {
  std::vector<NutritionRecord> v;
  for (int i = 0; i < 2; ++i) v.push_back(record("2024/01/01", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
  for (int i = 0; i < 10; ++i) v.push_back(record("2024/01/02", {}));

  auto recent = analyse(v, false);
  ASSERT_TRUE(recent);
  EXPECT_EQ(recent->included, 10);
  for (float p : recent->percent) EXPECT_EQ(percentText(p), "0.0%");

  auto all = analyse(v, true);
  ASSERT_TRUE(all);
  EXPECT_EQ(all->included, 12);
  for (float p : all->percent) EXPECT_EQ(percentText(p), "16.7%");

  // Three records: both views agree.
  std::vector<NutritionRecord> few(v.begin() + 1, v.begin() + 4);
  EXPECT_EQ(analyse(few, false)->percent, analyse(few, true)->percent);
  EXPECT_FALSE(analyse({}, true));
}

TEST(NutritionAnalysis, ThresholdsAreInclusiveBelow) {
  struct Case {
    int ticked;
    const char* text;
    form::Color colour;
    bool deficient;
  } cases[] = {{0, "0.0%", 0xFF0000, true},   {3, "30.0%", 0xFF0000, true},  {4, "40.0%", 0xFFFF00, false},
               {7, "70.0%", 0xFFFF00, false}, {8, "80.0%", 0x0000FF, false}, {10, "100.0%", 0x0000FF, false}};
  for (const auto& c : cases) {
    float p = analyse(groupOneTicked(10, c.ticked), false)->percent[0];
    EXPECT_EQ(percentText(p), c.text) << c.ticked;
    EXPECT_EQ(barColour(p), c.colour) << c.ticked;
    EXPECT_EQ(isDeficient(p), c.deficient) << c.ticked;
  }
  EXPECT_EQ(barWidth(3600, 100.0f), 3600);
  EXPECT_EQ(barWidth(3600, 0.0f), 0);
  EXPECT_EQ(barWidth(3000, analyse(groupOneTicked(3, 1), true)->percent[0]), 999);  // rounded down
}

TEST(NutritionAnalysis, OnlyTheExactMarkCounts) {
  auto v = groupOneTicked(2, 2);
  v[1].marks[0] = "○";  // a hand-edited mark
  EXPECT_EQ(analyse(v, true)->ticks[0], 1);
}

TEST(NutritionLog, HistoryLineAndFileRoundTrip) {
  EXPECT_EQ(historyLine(record("2024/01/05", {1, 3})), "01/05-●×●××××××××");

  testing_support::TempFolder dir;
  std::string file = dir.file("栄養.txt");
  std::array<bool, kGroupCount> ticked{};
  ticked[0] = ticked[10] = true;
  appendNutritionRecord("2024/01/05", ticked, file);
  appendNutritionRecord("2024/01/05", {}, file);
  EXPECT_EQ(dir.readUtf8("栄養.txt"),
            "\"2024/01/05\",\"●\",\"×\",\"×\",\"×\",\"×\",\"×\",\"×\",\"×\",\"×\",\"×\",\"●\"\r\n"
            "\"2024/01/05\",\"×\",\"×\",\"×\",\"×\",\"×\",\"×\",\"×\",\"×\",\"×\",\"×\",\"×\"\r\n");
  auto back = readNutritionLog(file);
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(historyLine(back[0]), "01/05-●×××××××××●");
  EXPECT_EQ(analyse(back, false)->ticks[10], 1);
  EXPECT_THROW(readNutritionLog(dir.file("無い.txt")), store::StoreError);
}

TEST(NutritionAdvice, FishLineUsesAnIdeographicSpace) {
  const auto& lines = adviceLines();
  EXPECT_EQ(lines[3], "【魚】\u3000肉と同様");
  for (size_t g = 0; g < lines.size(); ++g) {
    if (g != 3) {
      EXPECT_EQ(lines[g].substr(std::string("【乳】").size(), 2), "  ") << g;
    }
  }
}
