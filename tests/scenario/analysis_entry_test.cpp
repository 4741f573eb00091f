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

}  // namespace

// After a typed weight every analysis view shows the new record, and the chart's running
// average already includes it.
TEST(AnalysisAfterEntry, NewBestWeightUpdatesEveryView) {
  TempFolder dir;
  writeDiary(dir, kFirst, {"70"});
  auto r = runDrive(dir.path(),
                    "clock 2024/03/02 08:00:00\nstart\ndump\nfocus txtInpTaijyu\n"
                    "type txtInpTaijyu 68.9\nenter txtInpTaijyu\n"
                    "dump msgB1 msgB2 msgB3 msgB4 Label5(0) Label5(1) MSChart1\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json& d = r.last();
  ASSERT_GE(d["dialogs"].size(), 1u);
  EXPECT_EQ(d["dialogs"][0]["text"], "最高記録を 1.1Kg 更新しました  ");
  const json& c = d["controls"];
  EXPECT_EQ(c["msgB1"]["cells"][2], json({"1日目", dayText(kFirst, 1), "68.9Kg", "-1.1Kg"}));
  EXPECT_EQ(c["msgB2"]["cells"], json({{"区切り", "日付", "達成", "経過"},
                                       {"0.5Kg減", dayText(kFirst, 1), "1日後", "1日後"},
                                       {"1.0Kg減", dayText(kFirst, 1), "1日後", "0日後"}}));
  EXPECT_EQ(c["Label5(0)"]["caption"], "最高　1.1Kg減を達成してから　0日経過");
  EXPECT_EQ(c["msgB3"]["cells"][2], json({"1日目", "68.9Kg", "69.450Kg", "-550g"}));
  EXPECT_EQ(c["Label5(1)"]["caption"], "連続ﾏｲﾅｽ記録 1日間達成！");
  EXPECT_EQ(c["msgB4"]["rows"], 3);

  const json& chart = c["MSChart1"];
  EXPECT_EQ(chart["data"][1][0], "68.9");
  EXPECT_NEAR(std::stod(chart["data"][1][3].get<std::string>()), 69.45, 1e-4);
  EXPECT_EQ(chart["seriesVisible"], json({true, false, false, false}));
  EXPECT_EQ(chart["axisMax"], 70);
  EXPECT_EQ(d["state"]["AverageWeight"], json({70, 69.45}));
}

TEST(AnalysisAfterEntry, TenthRecordEnablesTheMovingAverage) {
  TempFolder dir;
  writeDiary(dir, kFirst, {"70", "69.9", "69.8", "69.7", "69.6", "69.5", "69.4", "69.3", "69.2"});
  auto r = runDrive(dir.path(),
                    "clock 2024/03/10 08:00:00\nstart\ntype txtInpTaijyu 69.1\nenter txtInpTaijyu\n"
                    "check Check4 1\ndump MSChart1 Check4\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json& d = r.last();
  for (const json& box : d["dialogs"]) EXPECT_NE(box["title"], "データ数不足");
  const json& chart = d["controls"]["MSChart1"];
  EXPECT_NEAR(std::stod(chart["data"][9][1].get<std::string>()), 69.55, 1e-4);
  EXPECT_EQ(chart["seriesVisible"], json({true, true, false, false}));
}
