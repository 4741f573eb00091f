#include <gtest/gtest.h>

#include "support/drive.h"
#include "support/temp_folder.h"

using testing_support::runDrive;
using testing_support::TempFolder;

namespace {
const std::string kStart = "clock 2004/05/10 09:00:00\nstart\n";

void writeTwoDays(const TempFolder& dir) {
  dir.writeCp932("体重.txt", "\"2004/05/01\",68\r\n\"2004/05/02\",70\r\n");
  // 30% of 68 = 20.4 kg, 31.14...% of 70 = 21.8 kg.
  dir.writeCp932("体脂肪率.txt", "\"2004/05/01\",30\r\n\"2004/05/02\",31.14286\r\n");
  dir.writeCp932("歩数.txt", "\"2004/05/01\",8000\r\n\"2004/05/02\",9000\r\n");
}
}  // namespace

TEST(OtherCharts, FatMassAxisRunsFromWholeLowestToWholeHighest) {
  TempFolder dir;
  dir.writeMinimalDiary();
  writeTwoDays(dir);
  dir.writeCp932("連続体重.txt", "\"2004/05/02\",\"06:00:00\",68\r\n\"2004/05/02\",\"18:00:00\",69\r\n");
  auto r = runDrive(dir.path(), kStart + "dump MSChart2 MSChart3 MSChart4 MSChart5\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const auto& c = r.last()["controls"];
  EXPECT_EQ(c["MSChart4"]["data"], (nlohmann::json{{"20.4"}, {"21.8"}}));
  EXPECT_EQ(c["MSChart4"]["axisMin"], 20);
  EXPECT_EQ(c["MSChart4"]["axisMax"], 21);
  EXPECT_EQ(c["MSChart2"]["rowCount"], 2);
  // Each record stands on its day (and time), and every chart names what it shows.
  const double may1 = 12539;  // 2004/05/01 in days since 1970/01/01
  for (const char* chart : {"MSChart2", "MSChart3", "MSChart4"})
    EXPECT_EQ(c[chart]["rowDays"], (nlohmann::json{may1, may1 + 1})) << chart;
  EXPECT_EQ(c["MSChart5"]["rowDays"], (nlohmann::json{may1 + 1.25, may1 + 1.75}));
  EXPECT_EQ(c["MSChart2"]["seriesNames"], nlohmann::json({"体脂肪率"}));
  EXPECT_EQ(c["MSChart5"]["seriesNames"], nlohmann::json({"体重"}));
}

TEST(OtherCharts, Check2SwitchesToTheFatMassView) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r = runDrive(dir.path(), kStart +
                                    "dump Check2 fraSuii\nclick Check2\ndump Check2 fraSuii\n"
                                    "click Check2\ndump Check2 fraSuii\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  for (size_t i : {0u, 2u}) {
    EXPECT_EQ(r.dumps[i]["controls"]["Check2"]["caption"], "脂肪量換算表示へ");
    EXPECT_EQ(r.dumps[i]["controls"]["Check2"]["value"], 0);
    EXPECT_EQ(r.dumps[i]["controls"]["fraSuii"]["visible"], false);
  }
  EXPECT_EQ(r.dumps[1]["controls"]["Check2"]["caption"], "体脂肪率表示へ");
  EXPECT_EQ(r.dumps[1]["controls"]["fraSuii"]["visible"], true);
}

TEST(OtherCharts, AxisBoxesApplyOnEnterAndSaveTheProfile) {
  TempFolder dir;
  dir.writeMinimalDiary();
  writeTwoDays(dir);
  auto r = runDrive(dir.path(), kStart +
                                    "type txtY2max 8\ndump MSChart2\n"
                                    "settext txtY2max 28\nenter txtY2max\n"
                                    "settext txtY2min 12.5\nenter txtY2min\n"
                                    "settext txtY3max 1000.5\nenter txtY3max\n"
                                    "settext txtY3min 100\nenter txtY3min\n"
                                    "dump MSChart2 MSChart3\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  // Typing alone changes nothing.
  EXPECT_EQ(r.dumps[0]["controls"]["MSChart2"]["axisMax"], 30);
  EXPECT_EQ(r.dumps[0]["state"]["Profile"]["FatAxisMax"], 30);

  const auto& d = r.last();
  EXPECT_TRUE(d["dialogs"].empty());
  EXPECT_EQ(d["controls"]["MSChart2"]["axisMax"], 28);
  EXPECT_EQ(d["controls"]["MSChart2"]["axisMin"], 12.5);
  // The chart takes the number as typed; the profile keeps it whole.
  EXPECT_EQ(d["controls"]["MSChart3"]["axisMax"], 1000.5);
  EXPECT_EQ(d["controls"]["MSChart3"]["axisMin"], 100);
  const auto& p = d["state"]["Profile"];
  EXPECT_EQ(p["FatAxisMax"], 28);
  EXPECT_EQ(p["FatAxisMin"], 12.5);
  EXPECT_EQ(p["StepAxisMax"], 1000);
  EXPECT_EQ(p["StepAxisMin"], 100);
  const std::string file = dir.readUtf8("ﾌﾟﾗｲﾍﾞｰﾄ.txt");
  EXPECT_NE(file.find("\"体脂肪率Ｙ軸MAX\",28\r\n\"体脂肪率Ｙ軸MIN\",12.5\r\n\"歩数Ｙ軸MAX\",1000\r\n"
                      "\"歩数Ｙ軸MIN\",100\r\n"),
            std::string::npos)
      << file;
}

TEST(OtherCharts, AxisBoxRefusesWhatIsNoNumber) {
  TempFolder dir;
  dir.writeMinimalDiary();
  writeTwoDays(dir);
  const std::string before = dir.readBytes("ﾌﾟﾗｲﾍﾞｰﾄ.txt");
  auto r = runDrive(dir.path(), kStart +
                                    "settext txtY2max abc\nenter txtY2max\n"
                                    "settext txtY3min \nenter txtY3min\n"
                                    "settext txtY3min 40000\nenter txtY3min\n"
                                    "dump MSChart2 MSChart3\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const auto& d = r.last();
  ASSERT_EQ(d["dialogs"].size(), 3u);
  EXPECT_EQ(d["dialogs"][0]["text"], "数値を入力してください。");
  EXPECT_EQ(d["dialogs"][1]["text"], "数値を入力してください。");
  EXPECT_EQ(d["dialogs"][2]["text"], "歩数グラフの下限は -32768 から 32767 までの数値で入力してください。");
  EXPECT_EQ(d["controls"]["MSChart2"]["axisMax"], 30);
  EXPECT_EQ(d["controls"]["MSChart3"]["axisMin"], 0);
  EXPECT_EQ(d["state"]["Profile"]["FatAxisMax"], 30);
  EXPECT_EQ(d["state"]["Profile"]["StepAxisMin"], 0);
  EXPECT_EQ(dir.readBytes("ﾌﾟﾗｲﾍﾞｰﾄ.txt"), before);
}
