#include <gtest/gtest.h>

#include <string>

#include "support/drive.h"
#include "support/temp_folder.h"

using testing_support::runDrive;
using testing_support::TempFolder;

namespace {

const char* kWeights = "\"2024/03/01\",70\r\n\"2024/03/05\",68\r\n\"2024/03/10\",65\r\n";

const char* kStart = "clock 2024/03/15 09:00:00\nstart\nclick cmdSettei\n";

const char* kProfileChanged = "データを更新しました";

void expectUpdatedBox(const nlohmann::json& boxes) {
  ASSERT_EQ(boxes.size(), 1u) << boxes;
  EXPECT_EQ(boxes[0]["text"], kProfileChanged);
  EXPECT_EQ(boxes[0]["title"], "データ更新");
  EXPECT_EQ(boxes[0]["icon"], "information");
  EXPECT_EQ(boxes[0]["buttons"], "OK");
}

}  // namespace

TEST(ProfileChange, NameOnlyRewritesTheFileWithTheOtherValuesKept) {
  TempFolder dir;
  dir.writeMinimalDiary();
  std::string expected = dir.readUtf8("ﾌﾟﾗｲﾍﾞｰﾄ.txt");
  expected.replace(expected.find("テスト"), std::string("テスト").size(), "花子");
  auto r = runDrive(dir.path(), std::string(kStart) + "dump\nsettext txtPriData(0) 花子\nclick cmdPHozon1\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  expectUpdatedBox(r.dialogs(1));
  EXPECT_EQ(dir.readUtf8("ﾌﾟﾗｲﾍﾞｰﾄ.txt"), expected);
  EXPECT_EQ(r.last()["state"]["Profile"]["ProfileName"], "花子");
}

TEST(ProfileChange, TargetWeightMovesTheProgressFiguresAtOnce) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("体重.txt", kWeights);
  auto r = runDrive(dir.path(), std::string(kStart) + "dump Label9(12) MSChart1\nsettext txtPriData(2) 62\n" +
                                    "click cmdPHozon1\ndump Label9(12) MSChart1\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  expectUpdatedBox(r.dialogs(1));
  EXPECT_EQ(r.dumps[0]["controls"]["Label9(12)"]["caption"], "5.0Kg");
  EXPECT_EQ(r.dumps[1]["controls"]["Label9(12)"]["caption"], "3.0Kg");
  EXPECT_EQ(r.last()["state"]["Profile"]["TargetWeight"], 62);
  // The chart is drawn again from the new profile.
  EXPECT_NE(r.dumps[0]["controls"]["MSChart1"]["data"], r.dumps[1]["controls"]["MSChart1"]["data"]);
}

TEST(ProfileChange, TargetRateSwapsTheCalendarMarkAtOnce) {
  TempFolder dir;
  dir.writeMinimalDiary();
  // March 2024 begins on a Friday (cell 5): the 1st and 2nd green, the 3rd red.
  dir.writeCp932("2024年03月.txt",
                 "0,0,0,0,0,1,1\r\n2,0,0,0,0,0,0\r\n0,0,0,0,0,0,0\r\n0,0,0,0,0,0,0\r\n"
                 "0,0,0,0,0,0,0\r\n0,0\r\n");
  auto r = runDrive(dir.path(), std::string(kStart) + "dump Image4(1)\nsettext txtPriData(4) 66\nclick cmdPHozon1\n" +
                                    "dump Image4(1)\nsettext txtPriData(4) 70\nclick cmdPHozon1\ndump Image4(1)\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(r.dumps[0]["controls"]["Image4(1)"]["visible"], false);
  EXPECT_EQ(r.dumps[1]["controls"]["Image4(1)"]["visible"], true);
  EXPECT_EQ(r.dumps[2]["controls"]["Image4(1)"]["visible"], false);
}

TEST(ProfileChange, HeightChangesTheBmiAndTheBoxKeepsWhatWasTyped) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("体重.txt", kWeights);
  auto r = runDrive(dir.path(), std::string(kStart) + "dump lblNowBmi\nsettext txtPriData(1) 180cm\n" +
                                    "click cmdPHozon1\ndump lblNowBmi txtPriData(1)\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  expectUpdatedBox(r.dialogs(1));
  EXPECT_EQ(r.last()["state"]["Profile"]["ProfileHeight"], 180);
  EXPECT_EQ(r.last()["controls"]["txtPriData(1)"]["text"], "180cm");
  // 65 kg: 22.5 at 170 cm, 20.1 at 180 cm.
  EXPECT_EQ(r.dumps[0]["controls"]["lblNowBmi"]["caption"], "22.5");
  EXPECT_EQ(r.dumps[1]["controls"]["lblNowBmi"]["caption"], "20.1");
  EXPECT_NE(r.dumps[0]["state"]["CurrentBmi"], r.dumps[1]["state"]["CurrentBmi"]);
}

TEST(ProfileChange, ValuesTheProfileCannotHoldAreRefusedAndNothingIsSaved) {
  const char* edits[] = {"settext txtPriData(0) た\"ろう\n", "settext txtPriData(1) 0\n",
                         "settext txtPriData(1) abc\n",      "settext txtPriData(3) 0\n",
                         "settext txtPriData(3) 40000\n",    "settext txtPriData(5) 32768\n"};
  for (const char* edit : edits) {
    TempFolder dir;
    dir.writeMinimalDiary();
    const std::string before = dir.readBytes("ﾌﾟﾗｲﾍﾞｰﾄ.txt");
    auto r = runDrive(dir.path(), std::string(kStart) + "dump\n" + edit + "click cmdPHozon1\ndump\n");
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    const auto& boxes = r.dialogs(1);
    ASSERT_EQ(boxes.size(), 1u) << edit;
    EXPECT_EQ(boxes[0]["title"], "登録情報異常") << edit;
    EXPECT_EQ(boxes[0]["icon"], "warning") << edit;
    EXPECT_EQ(dir.readBytes("ﾌﾟﾗｲﾍﾞｰﾄ.txt"), before) << edit;
    EXPECT_EQ(r.dumps[1]["state"]["Profile"], r.dumps[0]["state"]["Profile"]) << edit;
  }
}

TEST(ProfileChange, SampleModeStaysOnUntilTheNextStart) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("ﾌﾟﾗｲﾍﾞｰﾄ.txt",
                 "\"氏名\",\"Ｑ＆Ｚ\"\r\n\"身長\",168.5\r\n\"目標体重\",65\r\n\"目標期間\",150\r\n\"目標達成率\",70\r\n"
                 "\"目標ｶﾛﾘｰ\",2000\r\n\"体脂肪率Ｙ軸MAX\",30\r\n\"体脂肪率Ｙ軸MIN\",10\r\n\"歩数Ｙ軸MAX\",20000\r\n"
                 "\"歩数Ｙ軸MIN\",0\r\n\"一歩換算\",0.7\r\n");
  auto r = runDrive(dir.path(), std::string(kStart) + "click cmdPHozon1\ndump\nsettext txtPriData(0) 花子\n" +
                                    "click cmdPHozon1\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  expectUpdatedBox(r.dialogs(0));
  EXPECT_EQ(r.dumps[0]["state"]["SampleMode"], true);
  EXPECT_EQ(r.dumps[1]["state"]["SampleMode"], true);
  EXPECT_EQ(r.dumps[1]["state"]["Profile"]["ProfileName"], "花子");
}
