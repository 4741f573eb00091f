#include <gtest/gtest.h>

#include "support/drive.h"
#include "support/temp_folder.h"

using nlohmann::json;
using testing_support::runDrive;
using testing_support::TempFolder;

namespace {
const char* const kStart = "clock 2024/01/05 09:00:00\nstart\ndump\n";
const char* const kLists = "dump List10(0) List10(1) List10(2)\n";
}  // namespace

TEST(CalorieItems, RegisteringAnItemAppendsItToTheFileAndItsList) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("ｶﾛﾘｰ.txt", "\"ﾘｽﾄ1\",\"ごはん\",240\r\n");
  auto r = runDrive(dir.path(), std::string(kStart) +
                                    "input A\ninput 120\nclick Command2(0)\n"
                                    "input 牛乳\ninput 12.5\nclick Command2(1)\n"
                                    "input 散歩\ninput 13.5\nclick Command2(2)\n"
                                    "input 水\ninput なし\nclick Command2(1)\n" +
                                    kLists);
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json& asked = r.dialogs(1);
  ASSERT_EQ(asked.size(), 8u);
  EXPECT_EQ(asked[0]["prompt"], "食べ物リストに登録する名称を入力してください");
  EXPECT_EQ(asked[0]["title"], "名称入力");
  EXPECT_EQ(asked[0]["default"], "");
  EXPECT_EQ(asked[1]["prompt"], "カロリー数を入力してださい(半角英数で)");
  EXPECT_EQ(asked[1]["title"], "カロリー入力");
  EXPECT_EQ(asked[2]["prompt"], "飲み物リストに登録する名称を入力してください");
  EXPECT_EQ(asked[4]["prompt"], "運動リストに登録する名称を入力してください");

  const json& c = r.last()["controls"];
  EXPECT_EQ(c["List10(0)"]["items"], json({"ごはん _ 240", "A _ 120"}));
  EXPECT_EQ(c["List10(0)"]["topIndex"], 1);
  EXPECT_EQ(c["List10(1)"]["items"], json({"牛乳 _ 12", "水 _ 0"}));
  EXPECT_EQ(c["List10(2)"]["items"], json({"散歩 _ 14"}));
  EXPECT_EQ(dir.readUtf8("ｶﾛﾘｰ.txt"),
            "\"ﾘｽﾄ1\",\"ごはん\",240\r\n\"ﾘｽﾄ1\",\"A\",120\r\n\"ﾘｽﾄ2\",\"牛乳\",12\r\n\"ﾘｽﾄ3\",\"散歩\",14\r\n"
            "\"ﾘｽﾄ2\",\"水\",0\r\n");

  // A later run shows the same entries in the same order.
  auto again = runDrive(dir.path(), std::string(kStart) + kLists);
  ASSERT_EQ(again.exitCode, 0) << again.stderrText;
  for (const char* list : {"List10(0)", "List10(1)", "List10(2)"})
    EXPECT_EQ(again.last()["controls"][list]["items"], c[list]["items"]) << list;
}

TEST(CalorieItems, CancelOrEmptyAnswerAddsNothing) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r = runDrive(dir.path(), std::string(kStart) +
                                    "input-cancel\nclick Command2(0)\ninput\nclick Command2(0)\n"
                                    "input A\ninput-cancel\nclick Command2(0)\ninput A\ninput\nclick Command2(2)\n" +
                                    kLists);
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(r.last()["controls"]["List10(0)"]["items"], json::array());
  EXPECT_EQ(r.last()["controls"]["List10(2)"]["items"], json::array());
  EXPECT_EQ(dir.readBytes("ｶﾛﾘｰ.txt"), "");
}

TEST(CalorieItems, EmptyFileGivesThreeEmptyListsAndADamagedOneStopsStartUp) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r = runDrive(dir.path(), std::string(kStart) + kLists);
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  for (const char* list : {"List10(0)", "List10(1)", "List10(2)"})
    EXPECT_EQ(r.last()["controls"][list]["items"], json::array());
  EXPECT_EQ(r.last()["state"]["DragSourceList"], nullptr);

  dir.writeCp932("ｶﾛﾘｰ.txt", "\"ﾘｽﾄ1\",\"ごはん\",240\r\n\"ﾘｽﾄ7\",\"謎\",1\r\n");
  auto damaged = runDrive(dir.path(), kStart);
  ASSERT_EQ(damaged.exitCode, 0) << damaged.stderrText;
  EXPECT_TRUE(damaged.last()["ended"]);
  ASSERT_EQ(damaged.dialogs(0).size(), 1u);
  EXPECT_NE(damaged.dialogs(0)[0]["text"].get<std::string>().find("ｶﾛﾘｰ.txt"), std::string::npos);
}

TEST(CalorieItems, SampleModeRefusesTheRegisteredListsAndTheComment) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("ﾌﾟﾗｲﾍﾞｰﾄ.txt",
                 "\"氏名\",\"Ｑ＆Ｚ\"\r\n\"身長\",168.5\r\n\"目標体重\",65\r\n\"目標期間\",150\r\n"
                 "\"目標達成率\",70\r\n\"目標ｶﾛﾘｰ\",2000\r\n\"体脂肪率Ｙ軸MAX\",30\r\n"
                 "\"体脂肪率Ｙ軸MIN\",10\r\n\"歩数Ｙ軸MAX\",20000\r\n\"歩数Ｙ軸MIN\",0\r\n"
                 "\"一歩換算\",0.7\r\n");
  auto r = runDrive(dir.path(), std::string(kStart) + "focus List10(1)\ndump\nfocus txtDiary\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  ASSERT_TRUE(r.dumps[0]["state"]["SampleMode"]);
  for (size_t i : {1u, 2u}) {
    const json& shown = r.dialogs(i);
    ASSERT_EQ(shown.size(), 1u) << i;
    EXPECT_EQ(shown[0]["title"], "サンプルモードでの制約");
    EXPECT_EQ(shown[0]["icon"], "warning");
    EXPECT_EQ(shown[0]["text"],
              "現在はサンプルモードになっています。\n\n設定ボタンで開く画面でご自分のダイエットデータにしてからお試しく"
              "ださい。"
              "\n\n");
    EXPECT_EQ(r.dumps[i]["focus"], "cmdMain");
  }
}

TEST(CalorieItems, OutsideSampleModeFocusIsFree) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r = runDrive(dir.path(), std::string(kStart) + "focus List10(0)\nfocus txtDiary\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(r.last()["dialogs"], json::array());
  EXPECT_EQ(r.last()["focus"], "txtDiary");
}
