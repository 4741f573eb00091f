#include <gtest/gtest.h>

#include "support/drive.h"
#include "support/temp_folder.h"

using nlohmann::json;
using testing_support::runDrive;
using testing_support::TempFolder;

namespace {
const char* const kStart = "clock 2026/12/07 09:00:00\nstart\n";
}  // namespace

// An input method types １５８．５ by default; every box that takes a number reads it, and the
// files keep ASCII numbers.
TEST(TypedNumbers, FullWidthDigitsAreReadInEveryKindOfBox) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r = runDrive(dir.path(), std::string(kStart) +
                                    "settext txtInpTaijyu ６２．５\nenter txtInpTaijyu\n"
                                    "settext txtInpShibou ２５．５\nenter txtInpShibou\n"
                                    "settext txtInpHosuu ８０００\nenter txtInpHosuu\n"
                                    "answer No\nsettext txtInpHosuu －５００\nenter txtInpHosuu\n"
                                    "settext txtInpRenTai ６２．０\nenter txtInpRenTai\n"
                                    "settext txtKin(1) 　３０\nenter txtKin(1)\n"
                                    "input ４０\ndblclick lblTotal(1)\n"
                                    "settext txtY2max ３５\nenter txtY2max\n"
                                    "settext txtIppo ０．８\nenter txtIppo\n"
                                    "input ご飯\ninput ２４０\nclick cmdAsa\n"
                                    "settext txtPriData(2) ５８．５\nclick cmdPHozon1\n"
                                    "dump List8(0)\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  for (const auto& box : r.last()["dialogs"]) {
    if (box["kind"] == "msgbox") {
      EXPECT_NE(box["icon"], "error") << box;
    }
  }
  EXPECT_EQ(dir.readUtf8("体重.txt"), "\"2026/12/07\",62.5\r\n");
  EXPECT_EQ(dir.readUtf8("体脂肪率.txt"), "\"2026/12/07\",25.5\r\n");
  EXPECT_EQ(dir.readUtf8("歩数.txt"), "\"2026/12/07\",8000\r\n\"2026/12/07\",-500\r\n");
  EXPECT_NE(dir.readUtf8("連続体重.txt").find(",62\r\n"), std::string::npos);
  EXPECT_EQ(dir.readUtf8("筋トレ1.txt"), "\"2026/12/07\",30\r\n");
  EXPECT_NE(dir.readUtf8("筋トレ題目.txt").find("\"ﾘｽﾄ1題目\",\"腹筋\",40\r\n"), std::string::npos);
  const json& state = r.last()["state"];
  EXPECT_EQ(state["Profile"]["FatAxisMax"], 35);
  EXPECT_EQ(state["Profile"]["StepLength"], 0.8);
  EXPECT_EQ(state["Profile"]["TargetWeight"], 58.5);
  EXPECT_EQ(state["IntakeTotal"], 240);
  EXPECT_NE(dir.readUtf8("ﾌﾟﾗｲﾍﾞｰﾄ.txt").find("\"目標体重\",58.5\r\n"), std::string::npos);
}

// A target weight must be a weight; and a target the diary already passed has no forecast day.
TEST(TypedNumbers, TargetWeightAboveZeroAndNoForecastIntoThePast) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("体重.txt", "\"2026/12/01\",58\r\n\"2026/12/02\",57.5\r\n\"2026/12/03\",57\r\n");
  auto r = runDrive(dir.path(), std::string(kStart) +
                                    "dump Label9(13)\n"
                                    "settext txtPriData(2) 0\nclick cmdPHozon1\n"
                                    "settext txtPriData(2) -5\nclick cmdPHozon1\ndump\n"
                                    "answer OK\ninput たろう\ninput １７０\ninput 0\ninput -5\ninput ５５\ninput 30\n"
                                    "input 70\ninput 2000\nanswer OK\nclick cmdNew1\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  // Target 60 lies above the start weight: no day count runs backwards.
  EXPECT_EQ(r.dumps[0]["controls"]["Label9(13)"]["caption"], "－");

  const json& refused = r.dialogs(1);
  ASSERT_EQ(refused.size(), 2u);
  for (const auto& box : refused) {
    EXPECT_EQ(box["text"], "目標体重は 0 より大きい数値で入力してください。");
    EXPECT_EQ(box["icon"], "warning");
  }
  EXPECT_EQ(r.dumps[1]["state"]["Profile"]["TargetWeight"], 60);
  EXPECT_NE(dir.readUtf8("ﾌﾟﾗｲﾍﾞｰﾄ.txt").find("\"目標体重\",55\r\n"), std::string::npos);

  // The new start asks again after 0 and -5, and reads the full-width answers.
  std::vector<std::string> texts;
  for (const auto& box : r.dialogs(2))
    if (box["kind"] == "msgbox" && box["title"] == "登録情報異常") texts.push_back(box["text"]);
  EXPECT_EQ(texts, std::vector<std::string>(2, "目標体重は 0 より大きい数値で入力してください。"));
  EXPECT_EQ(r.last()["state"]["Profile"]["ProfileHeight"], 170);
  EXPECT_EQ(r.last()["state"]["Profile"]["TargetWeight"], 55);
}
