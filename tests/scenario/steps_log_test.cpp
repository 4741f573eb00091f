#include <gtest/gtest.h>

#include "support/drive.h"
#include "support/temp_folder.h"

using testing_support::runDrive;
using testing_support::TempFolder;

namespace {
const std::string kStart = "clock 2004/05/10 09:00:00\nstart\n";
const std::string kWalking =
    "lblTotal_Hosuu lblMax_Hosuu lblMin_Hosuu lblTotal_M lblMax_M lblMin_M lblTotalK shpBar10K shpBar100K "
    "shpBar1000K shpBar10B shpBar100B shpBar1000B lblSyuu10 lblSyuu100 lblSyuu1000";
}  // namespace

TEST(StepLog, TotalsOfThreeEntries) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r = runDrive(dir.path(), kStart +
                                    "settext txtDate 2004/05/08\nsettext txtInpHosuu 8000\nenter txtInpHosuu\n"
                                    "settext txtDate 2004/05/09\nsettext txtInpHosuu 12000\nenter txtInpHosuu\n"
                                    "answer No\nsettext txtInpHosuu 5000歩\nenter txtInpHosuu\n"
                                    "dump msgHosuList MSChart3 txtInpHosuu " +
                                    kWalking + "\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const auto& d = r.last();
  // Only the question about the day's second record, answered No: another record.
  ASSERT_EQ(d["dialogs"].size(), 1u);
  EXPECT_EQ(d["dialogs"][0]["answer"], "No");
  EXPECT_EQ(dir.readUtf8("歩数.txt"), "\"2004/05/08\",8000\r\n\"2004/05/09\",12000\r\n\"2004/05/09\",5000\r\n");
  EXPECT_EQ(d["state"]["StepCount"], 3);
  EXPECT_EQ(d["state"]["TotalSteps"], 25000);
  EXPECT_EQ(d["state"]["MaxSteps"], 12000);
  EXPECT_EQ(d["state"]["MinSteps"], 5000);
  const auto& c = d["controls"];
  EXPECT_EQ(c["msgHosuList"]["cells"][1], (nlohmann::json{"04/05/08", "8000歩"}));
  EXPECT_EQ(c["msgHosuList"]["cells"][3], (nlohmann::json{"04/05/09", "5000歩"}));
  EXPECT_EQ(c["msgHosuList"]["topRow"], 3);
  EXPECT_EQ(c["MSChart3"]["data"], (nlohmann::json{{"8000"}, {"12000"}, {"5000"}}));
  EXPECT_EQ(c["MSChart3"]["axisMin"], 0);
  EXPECT_EQ(c["MSChart3"]["axisMax"], 20000);
  EXPECT_EQ(c["txtInpHosuu"]["text"], "");
  // 0.7 m a step: 17.5 km in all.
  EXPECT_EQ(c["lblTotal_Hosuu"]["caption"], "25000");
  EXPECT_EQ(c["lblMax_Hosuu"]["caption"], "12000");
  EXPECT_EQ(c["lblMin_Hosuu"]["caption"], "5000");
  EXPECT_EQ(c["lblTotal_M"]["caption"], "17.5");
  EXPECT_EQ(c["lblMax_M"]["caption"], "8.4");
  EXPECT_EQ(c["lblMin_M"]["caption"], "3.5");
  EXPECT_EQ(c["lblTotalK"]["caption"], "合計距離数   17.5Km");
  EXPECT_EQ(c["lblSyuu10"]["caption"], "2周目");
  EXPECT_EQ(c["lblSyuu100"]["caption"], "1周目");
  EXPECT_EQ(c["lblSyuu1000"]["caption"], "1周目");
  EXPECT_EQ(c["shpBar10K"]["width"], c["shpBar10B"]["width"].get<int>() * 7 / 10);
}

TEST(StepLog, OneLargeRecordKeepsTheStartingMinimum) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r = runDrive(dir.path(), kStart + "settext txtInpHosuu 150000\nenter txtInpHosuu\ndump MSChart3\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const auto& d = r.last();
  EXPECT_EQ(d["state"]["MaxSteps"], 150000);
  EXPECT_EQ(d["state"]["MinSteps"], 100000);
  // One step record is drawn as one point, with no message.
  EXPECT_TRUE(d["dialogs"].empty());
  EXPECT_EQ(d["controls"]["MSChart3"]["rowCount"], 1);
  EXPECT_EQ(d["controls"]["MSChart3"]["data"], (nlohmann::json{{"150000"}}));
}

TEST(StepLog, NegativeCorrectionAcceptedZeroRefused) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("歩数.txt", "\"2004/05/08\",1000\r\n");
  auto r = runDrive(dir.path(), kStart +
                                    "settext txtInpHosuu -300\nenter txtInpHosuu\n"
                                    "settext txtInpHosuu 0\nenter txtInpHosuu\n"
                                    "settext txtInpHosuu abc\nenter txtInpHosuu\n"
                                    "settext txtInpHosuu \"\"\nenter txtInpHosuu\n"
                                    "settext txtInpHosuu 3e9\nenter txtInpHosuu\n"
                                    "dump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const auto& d = r.last();
  ASSERT_EQ(d["dialogs"].size(), 4u);
  EXPECT_EQ(d["dialogs"][0]["text"], "０か文字が入力されたようです");
  EXPECT_EQ(d["dialogs"][1]["text"], "０か文字が入力されたようです");
  EXPECT_EQ(d["dialogs"][2]["text"], "入力がまだのようです");
  EXPECT_EQ(d["dialogs"][3]["text"], "入力できる範囲を超えた数値です。");
  EXPECT_EQ(dir.readUtf8("歩数.txt"), "\"2004/05/08\",1000\r\n\"2004/05/10\",-300\r\n");
  EXPECT_EQ(d["state"]["TotalSteps"], 700);
  EXPECT_EQ(d["state"]["MinSteps"], -300);
}

TEST(StepLog, LapsOfTheLongWalk) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("歩数.txt", "\"2004/05/01\",1000000\r\n\"2004/05/02\",763600\r\n");
  auto r = runDrive(dir.path(), kStart + "dump " + kWalking + "\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const auto& c = r.last()["controls"];
  EXPECT_EQ(r.last()["state"]["TotalSteps"], 1763600);
  EXPECT_EQ(c["lblTotal_M"]["caption"], "1234.5");
  EXPECT_EQ(c["lblTotalK"]["caption"], "合計距離数   1234.5Km");
  EXPECT_EQ(c["lblSyuu1000"]["caption"], "2周目");
  EXPECT_EQ(c["lblSyuu100"]["caption"], "13周目");
  EXPECT_EQ(c["lblSyuu10"]["caption"], "124周目");
  auto share = [&](const char* bar, const char* frame) {
    return c[bar]["width"].get<double>() / c[frame]["width"].get<double>();
  };
  EXPECT_NEAR(share("shpBar1000K", "shpBar1000B"), 0.234, 0.001);
  EXPECT_NEAR(share("shpBar100K", "shpBar100B"), 0.34, 0.001);
  EXPECT_NEAR(share("shpBar10K", "shpBar10B"), 0.40, 0.001);
}

TEST(StepLog, ShortWalkAndNegativeTotalStayOnTheFirstLap) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("歩数.txt", "\"2004/05/01\",1000\r\n");
  auto r = runDrive(dir.path(), kStart + "dump " + kWalking + "\nsettext txtInpHosuu -3000\nenter txtInpHosuu\ndump " +
                                    kWalking + "\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  for (const auto& d : r.dumps) {
    const auto& c = d["controls"];
    for (const char* lap : {"lblSyuu10", "lblSyuu100", "lblSyuu1000"}) EXPECT_EQ(c[lap]["caption"], "1周目");
    for (const char* bar : {"shpBar10K", "shpBar100K", "shpBar1000K"}) EXPECT_EQ(c[bar]["width"], 0);
  }
  EXPECT_EQ(r.dumps[0]["controls"]["lblTotal_M"]["caption"], "0.7");
  EXPECT_EQ(r.last()["controls"]["lblTotal_Hosuu"]["caption"], "-2000");
  EXPECT_EQ(r.last()["controls"]["lblTotal_M"]["caption"], "-1.4");
}

TEST(StepLog, StepLengthBoxRefreshesDistancesAndSavesProfile) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("歩数.txt", "\"2004/05/01\",10000\r\n");
  auto r = runDrive(dir.path(), kStart +
                                    "settext txtIppo 0.8\nenter txtIppo\ndump lblTotal_M\n"
                                    "settext txtIppo 長い\nenter txtIppo\ndump lblTotal_M\n"
                                    "settext txtIppo 0\nenter txtIppo\ndump lblTotal_M lblSyuu10 shpBar10K\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(r.dumps[0]["controls"]["lblTotal_M"]["caption"], "8.0");
  EXPECT_EQ(r.dumps[0]["state"]["Profile"]["StepLength"], 0.8);
  EXPECT_TRUE(r.dumps[0]["dialogs"].empty());
  ASSERT_EQ(r.dumps[1]["dialogs"].size(), 1u);
  EXPECT_EQ(r.dumps[1]["dialogs"][0]["text"], "数値を入力してください。");
  EXPECT_EQ(r.dumps[1]["state"]["Profile"]["StepLength"], 0.8);
  EXPECT_EQ(r.dumps[2]["controls"]["lblTotal_M"]["caption"], "0.0");
  EXPECT_EQ(r.dumps[2]["controls"]["lblSyuu10"]["caption"], "1周目");
  EXPECT_EQ(r.dumps[2]["controls"]["shpBar10K"]["width"], 0);
  EXPECT_NE(dir.readUtf8("ﾌﾟﾗｲﾍﾞｰﾄ.txt").find("\"一歩換算\",0\r\n"), std::string::npos);
}

TEST(StepLog, LongLogLoadsWhole) {
  TempFolder dir;
  dir.writeMinimalDiary();
  std::string text;
  for (int i = 0; i < 1000; ++i) text += "\"2004/05/01\",100\r\n";
  dir.writeCp932("歩数.txt", text);
  auto r = runDrive(dir.path(), kStart + "dump lblTotal_Hosuu\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(r.last()["state"]["StepCount"], 1000);
  EXPECT_EQ(r.last()["controls"]["lblTotal_Hosuu"]["caption"], "100000");
}
