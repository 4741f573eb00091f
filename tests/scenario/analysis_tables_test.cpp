#include <gtest/gtest.h>

#include "scenario/analysis_weights.h"
#include "support/drive.h"
#include "support/temp_folder.h"

using analysis_test::dayText;
using analysis_test::writeDiary;
using nlohmann::json;
using testing_support::runDrive;
using testing_support::TempFolder;

namespace {

const store::Date kFirst = store::makeDate(2024, 3, 1);
const char* kStart = "clock 2024/12/31 09:00:00\nstart\n";

std::vector<std::string> column(const json& grid, int col) {
  std::vector<std::string> out;
  for (size_t r = 1; r < grid["cells"].size(); ++r) out.push_back(grid["cells"][r][col]);
  return out;
}

}  // namespace

TEST(AnalysisTables, EveryTableGetsItsHeaderRowAtStartUp) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r = runDrive(
      dir.path(), std::string(kStart) + "dump msgB1 msgB2 msgB3 msgB4 msgTaiList msgShiList msgSuiList msgHosuList\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json& c = r.last()["controls"];
  const std::vector<std::pair<const char*, json>> expected = {
      {"msgB1", {{"日数", "日付", "体重", "初日差"}, {1150, 1500, 1165, 1160}}},
      {"msgB2", {{"区切り", "日付", "達成", "経過"}, {1150, 1500, 1165, 1160}}},
      {"msgB3", {{"日数", "体重", "平均体重", "差"}, {1150, 1150, 1520, 1150}}},
      {"msgB4", {{"順位", "体重範囲", "累積", "差"}, {1150, 2000, 910, 910}}},
      {"msgTaiList", {{"日付", "時間", "体重"}, {1190, 1050, 1020}}},
      {"msgShiList", {{"日付", "体脂肪率"}, {1190, 1025}}},
      {"msgSuiList",
       {{"日付", "体重", "体脂肪率", "脂肪換算値", "初日増減", "前日増減"}, {1490, 1120, 1200, 1400, 1200, 1200}}},
      {"msgHosuList", {{"日付", "歩数"}, {1190, 1170}}},
  };
  for (const auto& [name, e] : expected) {
    SCOPED_TRACE(name);
    const json& g = c[name];
    EXPECT_EQ(g["rows"], 1);
    EXPECT_EQ(g["cols"], e[0].size());
    EXPECT_EQ(g["cells"][0], e[0]);
    EXPECT_EQ(g["colWidths"], e[1]);
  }
  // No record: the tables keep their header alone and the difference heading its set-up text.
  EXPECT_EQ(c["msgB1"]["cells"][0][3], "初日差");
}

TEST(AnalysisTables, WeightTableShowsBothDifferenceModes) {
  TempFolder dir;
  writeDiary(dir, kFirst, {"65", "64.6", "64.6", "65.1"});
  auto r = runDrive(dir.path(), std::string(kStart) + "dump msgB1\nclick Option1(1)\ndump msgB1 Option1(0)\n" +
                                    "click Option1(0)\ndump msgB1\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json& before = r.dumps[0]["controls"]["msgB1"];
  EXPECT_EQ(before["rows"], 5);
  EXPECT_EQ(before["cells"][0][3], "前日差");
  EXPECT_EQ(before["cells"][1], json({"0日目", dayText(kFirst, 0), "65.0Kg", "±0.0Kg"}));
  EXPECT_EQ(before["cells"][4], json({"3日目", dayText(kFirst, 3), "65.1Kg", "+0.5Kg"}));
  EXPECT_EQ(column(before, 3), (std::vector<std::string>{"±0.0Kg", "-0.4Kg", "±0.0Kg", "+0.5Kg"}));
  EXPECT_EQ(before["topRow"], 4);

  const json& firstDay = r.dumps[1]["controls"];
  EXPECT_EQ(firstDay["Option1(0)"]["value"], 0);
  EXPECT_EQ(firstDay["msgB1"]["cells"][0][3], "初日差");
  EXPECT_EQ(column(firstDay["msgB1"], 3), (std::vector<std::string>{"±0.0Kg", "-0.4Kg", "-0.4Kg", "+0.1Kg"}));

  EXPECT_EQ(r.dumps[2]["controls"]["msgB1"], before);
}

TEST(AnalysisTables, HalfTenthDifferencesRoundUpward) {
  TempFolder dir;
  // 60.0 - 60.45 and 64.1 - 64.55 are -0.45; 60.45 - 60.0 and 64.55 - 64.1 are +0.45.
  writeDiary(dir, kFirst, {"60.45", "60", "60.45", "64.1", "64.55", "64.1"});
  auto r = runDrive(dir.path(), std::string(kStart) + "dump msgB1\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json& g = r.last()["controls"]["msgB1"];
  EXPECT_EQ(column(g, 2), (std::vector<std::string>{"60.5Kg", "60.0Kg", "60.5Kg", "64.1Kg", "64.6Kg", "64.1Kg"}));
  EXPECT_EQ(column(g, 3), (std::vector<std::string>{"±0.0Kg", "-0.4Kg", "+0.5Kg", "+3.7Kg", "+0.5Kg", "-0.4Kg"}));
}

TEST(AnalysisRanking, HalfKiloBandsCountedAndRanked) {
  TempFolder dir;
  // Lowest 60.3, highest 62.0: bands 60.0 to 63.0 in half kilos (n = 6).
  writeDiary(dir, kFirst, {"62", "61.6", "61.7", "60.3", "60.4", "61"});
  auto r =
      runDrive(dir.path(), std::string(kStart) + "dump msgB4 fraB4 Option2(1)\nclick Option2(0)\ndump msgB4 fraB4\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json& half = r.dumps[0]["controls"];
  EXPECT_EQ(half["Option2(1)"]["value"], 1);
  EXPECT_EQ(half["fraB4"]["caption"], "体重推移累積番付 < 0.5Kg刻み >");
  // Counts 60.0:2 60.5:0 61.0:1 61.5:2 62.0:1, ranked by exchange.
  const json expectedHalf = {{"順位", "体重範囲", "累積", "差"},
                             {"1位", "60.0～60.4Kg", "2回", ""},
                             {"2位", "61.5～61.9Kg", "2回", "0回"},
                             {"3位", "61.0～61.4Kg", "1回", "1回"},
                             {"4位", "62.0～62.4Kg", "1回", "0回"}};
  EXPECT_EQ(half["msgB4"]["cells"], expectedHalf);

  const json& whole = r.dumps[1]["controls"];
  EXPECT_EQ(whole["fraB4"]["caption"], "体重推移累積番付 < 1.0Kg刻み >");
  const json expectedWhole = {{"順位", "体重範囲", "累積", "差"},
                              {"1位", "61.0～61.9Kg", "3回", ""},
                              {"2位", "60.0～60.9Kg", "2回", "1回"},
                              {"3位", "62.0～62.9Kg", "1回", "1回"}};
  EXPECT_EQ(whole["msgB4"]["cells"], expectedWhole);
}

TEST(AnalysisRanking, EqualCountsKeepTheExchangeOrder) {
  TempFolder dir;
  // Counts 2, 3, 2, 3 for the bands 60.0, 60.5, 61.0, 61.5.
  writeDiary(dir, kFirst, {"60", "60.5", "61", "61.5", "60.2", "60.7", "61.3", "61.8", "60.9", "61.9"});
  auto r = runDrive(dir.path(), std::string(kStart) + "dump msgB4\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json expected = {{"順位", "体重範囲", "累積", "差"},
                         {"1位", "60.5～60.9Kg", "3回", ""},
                         {"2位", "61.5～61.9Kg", "3回", "0回"},
                         {"3位", "61.0～61.4Kg", "2回", "1回"},
                         {"4位", "60.0～60.4Kg", "2回", "0回"}};
  EXPECT_EQ(r.last()["controls"]["msgB4"]["cells"], expected);
}

TEST(AnalysisRanking, WeightBetweenTwoHalfKiloBandsIsNotCounted) {
  TempFolder dir;
  writeDiary(dir, kFirst, {"60.49", "60", "61"});
  auto r = runDrive(dir.path(), std::string(kStart) + "dump msgB4\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json expected = {
      {"順位", "体重範囲", "累積", "差"}, {"1位", "60.0～60.4Kg", "1回", ""}, {"2位", "61.0～61.4Kg", "1回", "0回"}};
  EXPECT_EQ(r.last()["controls"]["msgB4"]["cells"], expected);
}
