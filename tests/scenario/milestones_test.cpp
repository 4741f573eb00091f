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

testing_support::DriveResult startWith(const TempFolder& dir, const std::vector<std::string>& weights) {
  writeDiary(dir, kFirst, weights);
  return runDrive(dir.path(), "clock 2024/12/31 09:00:00\nstart\ndump msgB2 msgB3 Label5(0) Label5(1)\n");
}

json header() { return {"区切り", "日付", "達成", "経過"}; }

}  // namespace

TEST(LossMilestones, OneRecordReachingTwoMilestones) {
  TempFolder dir;
  auto r = startWith(dir, {"70", "68.9"});
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json& c = r.last()["controls"];
  const json expected = {
      header(), {"0.5Kg減", dayText(kFirst, 1), "1日後", "1日後"}, {"1.0Kg減", dayText(kFirst, 1), "1日後", "0日後"}};
  EXPECT_EQ(c["msgB2"]["cells"], expected);
  EXPECT_EQ(c["msgB2"]["topRow"], 2);
  EXPECT_EQ(c["Label5(0)"]["caption"], "最高　1.1Kg減を達成してから　0日経過");
}

TEST(LossMilestones, EachMilestoneDatedAtTheFirstDayItWasReached) {
  TempFolder dir;
  // Best loss 1.7: three milestones; the lowest weight lies one day before the latest record.
  auto r = startWith(dir, {"70", "69.5", "69.6", "68.9", "68.3", "68.5"});
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json& c = r.last()["controls"];
  const json expected = {header(),
                         {"0.5Kg減", dayText(kFirst, 1), "1日後", "1日後"},
                         {"1.0Kg減", dayText(kFirst, 3), "3日後", "2日後"},
                         {"1.5Kg減", dayText(kFirst, 4), "4日後", "1日後"}};
  EXPECT_EQ(c["msgB2"]["cells"], expected);
  EXPECT_EQ(c["Label5(0)"]["caption"], "最高　1.7Kg減を達成してから　1日経過");
}

TEST(LossMilestones, LaterGainDoesNotMoveAReachedMilestone) {
  TempFolder dir;
  auto r = startWith(dir, {"70", "69.4", "70.2", "69"});
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json expected = {
      header(), {"0.5Kg減", dayText(kFirst, 1), "1日後", "1日後"}, {"1.0Kg減", dayText(kFirst, 3), "3日後", "2日後"}};
  EXPECT_EQ(r.last()["controls"]["msgB2"]["cells"], expected);
}

TEST(LossMilestones, SmallLossesAndRoundedLosses) {
  {
    SCOPED_TRACE("loss below 0.45: header only, best-loss line untouched");
    TempFolder dir;
    auto r = startWith(dir, {"70", "69.6"});
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    EXPECT_EQ(r.last()["controls"]["msgB2"]["rows"], 1);
    EXPECT_EQ(r.last()["controls"]["Label5(0)"]["caption"], "");
  }
  {
    SCOPED_TRACE("0.96 rounds to 1.0: the second milestone row stays empty");
    TempFolder dir;
    auto r = startWith(dir, {"70", "69.04"});
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    const json expected = {header(), {"0.5Kg減", dayText(kFirst, 1), "1日後", "1日後"}, {"", "", "", ""}};
    EXPECT_EQ(r.last()["controls"]["msgB2"]["cells"], expected);
    EXPECT_EQ(r.last()["controls"]["Label5(0)"]["caption"], "最高　1.0Kg減を達成してから　0日経過");
  }
  {
    SCOPED_TRACE("a half kilo lost across 64 kg still counts");
    TempFolder dir;
    auto r = startWith(dir, {"64.2", "63.7"});
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    const json expected = {header(), {"0.5Kg減", dayText(kFirst, 1), "1日後", "1日後"}};
    EXPECT_EQ(r.last()["controls"]["msgB2"]["cells"], expected);
  }
}

TEST(RunningAverage, FallingThenFlatAverageMakesAStreak) {
  TempFolder dir;
  auto r = startWith(dir, {"70", "69", "69.5"});
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json& c = r.last()["controls"];
  const json expected = {{"日数", "体重", "平均体重", "差"},
                         {"0日目", "70.0Kg", "70.000Kg", "0g"},
                         {"1日目", "69.0Kg", "69.500Kg", "-500g"},
                         {"2日目", "69.5Kg", "69.500Kg", "±0g"}};
  EXPECT_EQ(c["msgB3"]["cells"], expected);
  EXPECT_EQ(c["msgB3"]["topRow"], 3);
  EXPECT_EQ(c["Label5(1)"]["caption"], "連続ﾏｲﾅｽ記録 2日間達成！");
  const json& s = r.last()["state"];
  EXPECT_EQ(s["AverageWeight"], json({70, 69.5, 69.5}));
  EXPECT_EQ(s["MaxAverageWeight"], 70);
  EXPECT_EQ(s["MinAverageWeight"], 69.5);
}

TEST(RunningAverage, RiseEndsTheStreak) {
  TempFolder dir;
  auto r = startWith(dir, {"70", "69", "71"});
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json& c = r.last()["controls"];
  EXPECT_EQ(c["msgB3"]["cells"][3], json({"2日目", "71.0Kg", "70.000Kg", "+500g"}));
  EXPECT_EQ(c["Label5(1)"]["caption"], "平均を上回ってしまいました...");
}

TEST(RunningAverage, SingleRecordLeavesTheStreakLineAlone) {
  TempFolder dir;
  auto r = startWith(dir, {"70"});
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json& c = r.last()["controls"];
  EXPECT_EQ(c["msgB3"]["cells"], json({{"日数", "体重", "平均体重", "差"}, {"0日目", "70.0Kg", "70.000Kg", "0g"}}));
  EXPECT_EQ(c["Label5(1)"]["caption"], "");
  EXPECT_EQ(c["msgB2"]["rows"], 1);
  EXPECT_EQ(r.last()["state"]["AverageWeight"], json({70}));
}
