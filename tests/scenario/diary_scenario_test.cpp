#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "store/files.h"
#include "support/drive.h"
#include "support/temp_folder.h"

using nlohmann::json;
using testing_support::runDrive;
using testing_support::runDriveInProcess;
using testing_support::TempFolder;

namespace {

const char* const kStart = "clock 2024/01/05 09:00:00\nstart\ndump\n";
const char* const kDay = "dump List8(0) List8(1) List8(2) List9 Label9(15) Label9(16) Label9(17) Label9(22) txtDiary\n";
const char* const kItems = "\"ﾘｽﾄ1\",\"ごはん\",240\r\n\"ﾘｽﾄ3\",\"散歩\",100\r\n\"ﾘｽﾄ2\",\"牛乳\",130\r\n";

// A minimal diary whose profile asks for `calories` a day.
void prepare(TempFolder& dir, int calories) {
  dir.writeMinimalDiary();
  dir.writeCp932("ﾌﾟﾗｲﾍﾞｰﾄ.txt",
                 "\"氏名\",\"テスト\"\r\n\"身長\",170\r\n\"目標体重\",60\r\n\"目標期間\",100\r\n"
                 "\"目標達成率\",70\r\n\"目標ｶﾛﾘｰ\"," +
                     std::to_string(calories) +
                     "\r\n\"体脂肪率Ｙ軸MAX\",30\r\n\"体脂肪率Ｙ軸MIN\",10\r\n"
                     "\"歩数Ｙ軸MAX\",20000\r\n\"歩数Ｙ軸MIN\",0\r\n\"一歩換算\",0.7\r\n");
}

json items(const json& dump, const std::string& list) { return dump["controls"][list]["items"]; }
std::string caption(const json& dump, const std::string& label) { return dump["controls"][label]["caption"]; }

}  // namespace

TEST(DiaryScenario, BalanceOfTheDayAgainstTheTarget) {
  TempFolder dir;
  prepare(dir, 2000);
  auto r = runDrive(dir.path(), std::string(kStart) +
                                    "input A\ninput 300\nclick cmdAsa\ninput B\ninput 200\nclick cmdAsa\n"
                                    "input C\ninput 150\nclick cmdUndo\n" +
                                    kDay + "dump Label16(3)\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json& d = r.dumps[1];
  EXPECT_EQ(items(d, "List8(0)"), json({"A _ 300", "B _ 200"}));
  EXPECT_EQ(items(d, "List9"), json({"C _ 150"}));
  EXPECT_EQ(caption(d, "Label9(15)"), "500");
  EXPECT_EQ(caption(d, "Label9(16)"), "150");
  EXPECT_EQ(caption(d, "Label9(17)"), "350");
  EXPECT_EQ(caption(d, "Label9(22)"), "-1650");
  EXPECT_EQ(d["state"]["IntakeTotal"], 500);
  EXPECT_EQ(d["state"]["ExerciseTotal"], 150);
  // Below the target the heading of the difference is shown in red.
  EXPECT_EQ(r.last()["controls"]["Label16(3)"]["foreColor"], "#FF0000");

  const json& asked = r.dialogs(1);
  ASSERT_EQ(asked.size(), 6u);
  EXPECT_EQ(asked[0]["prompt"], "朝に食した品目を入力してください");
  EXPECT_EQ(asked[0]["title"], "品目入力");
  EXPECT_EQ(asked[1]["prompt"], "カロリー数を入力してださい(半角英数で)\r\n\r\n（必ずしも入力する必要はありません）");
  EXPECT_EQ(asked[1]["title"], "カロリー入力");
  EXPECT_EQ(asked[4]["prompt"], "実施した運動名を入力してください");
  EXPECT_EQ(asked[4]["title"], "運動入力");
}

TEST(DiaryScenario, PlusSignOnlyAboveTheTarget) {
  TempFolder dir;
  prepare(dir, 0);
  auto r = runDrive(dir.path(), std::string(kStart) + kDay +
                                    "input A\ninput 350\nclick cmdHiru\ndump Label9(22) Label16(3)\n"
                                    "input B\ninput 350\nclick cmdUndo\ndump Label9(22) Label9(17)\n"
                                    "input C\ninput 1\nclick cmdUndo\ndump Label9(22)\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(caption(r.dumps[1], "Label9(22)"), "0");
  EXPECT_EQ(caption(r.dumps[2], "Label9(22)"), "+350");
  EXPECT_EQ(r.dumps[2]["controls"]["Label16(3)"]["foreColor"], nullptr);
  EXPECT_EQ(caption(r.dumps[3], "Label9(22)"), "0");
  EXPECT_EQ(caption(r.dumps[3], "Label9(17)"), "0");
  EXPECT_EQ(caption(r.dumps[4], "Label9(22)"), "-1");
}

TEST(DiaryScenario, DirectEntryCancelledOrWithoutCalories) {
  TempFolder dir;
  prepare(dir, 1800);
  auto r =
      runDrive(dir.path(), std::string(kStart) +
                               "input-cancel\nclick cmdYoru\ninput\nclick cmdYoru\n"
                               "input 水\ninput-cancel\nclick cmdYoru\ninput お茶\ninput\nclick cmdYoru\n"
                               "input パン\ninput 12.5\nclick cmdYoru\ninput ケーキ\ninput 13.5個\nclick cmdYoru\n" +
                               kDay);
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(items(r.last(), "List8(2)"), json({"水 _ 0", "お茶 _ 0", "パン _ 12", "ケーキ _ 14"}));
  EXPECT_EQ(r.last()["state"]["IntakeTotal"], 26);
}

TEST(DiaryScenario, DropRulesOfTheRegisteredLists) {
  TempFolder dir;
  prepare(dir, 1800);
  dir.writeCp932("ｶﾛﾘｰ.txt", kItems);
  auto r = runDrive(dir.path(), std::string(kStart) +
                                    "drag List10(1) 0 List8(1)\n"  // drink on noon: added
                                    "drag List10(0) 0 List8(2)\n"  // food on evening: added
                                    "drag List10(2) 0 List8(0)\n"  // exercise on a meal: nothing
                                    "drag List10(0) 0 List9\n"     // food on exercise: nothing
                                    "drag List10(1) 0 List9\n"     // drink on exercise: nothing
                                    "drag List10(2) 0 List9\n" +   // exercise on exercise: added
                                    kDay +
                                    "dump List10(0) List10(1) List10(2)\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json& d = r.dumps[1];
  EXPECT_EQ(items(d, "List8(0)"), json::array());
  EXPECT_EQ(items(d, "List8(1)"), json({"牛乳 _ 130"}));
  EXPECT_EQ(items(d, "List8(2)"), json({"ごはん _ 240"}));
  EXPECT_EQ(items(d, "List9"), json({"散歩 _ 100"}));
  EXPECT_EQ(caption(d, "Label9(15)"), "370");
  EXPECT_EQ(caption(d, "Label9(16)"), "100");
  EXPECT_EQ(d["state"]["DragSourceList"], 2);
  // The registered lists are only read.
  EXPECT_EQ(items(r.last(), "List10(0)"), json({"ごはん _ 240"}));
  EXPECT_EQ(items(r.last(), "List10(2)"), json({"散歩 _ 100"}));
}

TEST(DiaryScenario, DropOrDeleteWithoutASelectedEntryDoesNothing) {
  TempFolder dir;
  prepare(dir, 1800);
  dir.writeCp932("ｶﾛﾘｰ.txt", kItems);
  auto r = runDrive(dir.path(), std::string(kStart) +
                                    "drag List8(0) 0 List8(1)\n"  // no registered list clicked yet
                                    "dump\n"
                                    "drag List10(0) 5 List8(0)\n"  // no such entry: nothing selected
                                    "dblclick List8(0)\ndblclick List9\n" +
                                    kDay);
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(r.dumps[1]["state"]["DragSourceList"], nullptr);
  EXPECT_EQ(items(r.last(), "List8(0)"), json::array());
  EXPECT_EQ(items(r.last(), "List8(1)"), json::array());
  EXPECT_EQ(r.last()["state"]["DragSourceList"], 0);
  EXPECT_EQ(r.last()["dialogs"], json::array());
}

TEST(DiaryScenario, DeletingAnEntrySubtractsItsCalories) {
  TempFolder dir;
  prepare(dir, 1800);
  dir.writeCp932("ｶﾛﾘｰ.txt", kItems);
  auto r = runDrive(dir.path(), std::string(kStart) +
                                    "drag List10(0) 0 List8(0)\ndrag List10(1) 0 List8(0)\ndrag List10(0) 0 List8(0)\n"
                                    "drag List10(2) 0 List9\n"
                                    "select List8(0) 1\ndblclick List8(0)\nselect List9 0\ndblclick List9\n" +
                                    kDay);
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(items(r.last(), "List8(0)"), json({"ごはん _ 240", "ごはん _ 240"}));
  EXPECT_EQ(items(r.last(), "List9"), json::array());
  EXPECT_EQ(caption(r.last(), "Label9(15)"), "480");
  EXPECT_EQ(caption(r.last(), "Label9(16)"), "0");
  EXPECT_EQ(caption(r.last(), "Label9(22)"), "-1320");
  EXPECT_EQ(r.last()["state"]["IntakeTotal"], 480);
  // Nothing reaches the files until the day is saved.
  EXPECT_FALSE(dir.exists("20240105.txt"));
}

TEST(DiaryScenario, SavingWritesTheDayFileAndCommentFileOfTheDate) {
  TempFolder dir;
  prepare(dir, 1800);
  auto r = runDrive(dir.path(), std::string(kStart) +
                                    "input ごはん\ninput 240\nclick cmdAsa\ninput 野菜炒め\ninput 300\nclick cmdYoru\n"
                                    "input パン\ninput 150\nclick cmdAsa\ninput 水泳\ninput\nclick cmdUndo\n"
                                    "settext txtDiary 今日は泳いだ\nclick cmdHozon\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(r.last()["dialogs"].back(),
            json::parse(R"({"kind":"msgbox","title":"保存終了","text":"保存しました","icon":"information",)"
                        R"("buttons":"OK","answer":"OK","auto":true})"));
  EXPECT_EQ(dir.readUtf8("20240105.txt"),
            "\"2024/01/05\"\r\n\"ごはん\",240,\"朝\"\r\n\"パン\",150,\"朝\"\r\n\"野菜炒め\",300,\"夕\"\r\n"
            "\"水泳\",0,\"運動\"\r\n");
  EXPECT_EQ(dir.readUtf8("日記20240105.txt"), "今日は泳いだ\r\n");

  // A later run finds every entry in its list and place, and the comment with its line end.
  auto again = runDrive(dir.path(), std::string(kStart) + kDay + "click cmdHozon\n");
  ASSERT_EQ(again.exitCode, 0) << again.stderrText;
  const json& d = again.dumps[1];
  EXPECT_EQ(items(d, "List8(0)"), json({"ごはん _ 240", "パン _ 150"}));
  EXPECT_EQ(items(d, "List8(1)"), json::array());
  EXPECT_EQ(items(d, "List8(2)"), json({"野菜炒め _ 300"}));
  EXPECT_EQ(items(d, "List9"), json({"水泳 _ 0"}));
  EXPECT_EQ(caption(d, "Label9(15)"), "690");
  EXPECT_EQ(caption(d, "Label9(22)"), "-1110");
  EXPECT_EQ(d["controls"]["txtDiary"]["text"], "今日は泳いだ\r\n");
  // Saving the reloaded comment again stores an empty second line.
  EXPECT_EQ(dir.readUtf8("日記20240105.txt"), "今日は泳いだ\r\n\r\n");
  EXPECT_EQ(dir.readUtf8("20240105.txt"),
            "\"2024/01/05\"\r\n\"ごはん\",240,\"朝\"\r\n\"パン\",150,\"朝\"\r\n\"野菜炒め\",300,\"夕\"\r\n"
            "\"水泳\",0,\"運動\"\r\n");
}

TEST(DiaryScenario, DayFileWithAnUnknownSectionWordOrDamageLoadsWhatItCan) {
  TempFolder dir;
  prepare(dir, 1800);
  dir.writeCp932("20240105.txt",
                 "\"2024/01/05\"\r\n\"A\",100,\"朝\"\r\n\"おやつ\",300,\"間食\"\r\n\"B\",50,\"運動\"\r\n"
                 "\"C\",abc,\"夕\"\r\n\"D\",70,\"夕\"\r\n");
  dir.writeCp932("日記20240105.txt", "一行目\r\n\r\n三行目");
  auto r = runDrive(dir.path(), std::string(kStart) + kDay);
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(items(r.last(), "List8(0)"), json({"A _ 100"}));
  EXPECT_EQ(items(r.last(), "List8(2)"), json::array());
  EXPECT_EQ(items(r.last(), "List9"), json({"B _ 50"}));
  EXPECT_EQ(caption(r.last(), "Label9(17)"), "50");
  EXPECT_EQ(r.last()["controls"]["txtDiary"]["text"], "一行目\r\n\r\n三行目\r\n");
  // The damage is said once, naming the file and the line.
  ASSERT_EQ(r.dialogs(0).size(), 1u) << r.dialogs(0);
  EXPECT_EQ(r.dialogs(0)[0]["icon"], "warning");
  EXPECT_NE(r.dialogs(0)[0]["text"].get<std::string>().find("「20240105.txt」の 5 行目"), std::string::npos)
      << r.dialogs(0)[0];
}

// A record of a section the diary does not know stays invisible and uncounted, and the save
// writes it back after the day's entries: nothing asked, nothing copied, nothing lost.
TEST(DiaryScenario, ARecordOfAnUnknownSectionIsKeptWhenTheDayIsSaved) {
  TempFolder dir;
  prepare(dir, 1800);
  dir.writeCp932("20240105.txt",
                 "\"2024/01/05\"\r\n\"A\",100,\"朝\"\r\n\"夜食のラーメン\",600,\"夜\"\r\n\"B\",50,\"運動\"\r\n");
  const std::string saved =
      "\"2024/01/05\"\r\n\"A\",100,\"朝\"\r\n\"C\",20,\"朝\"\r\n\"B\",50,\"運動\"\r\n\"夜食のラーメン\",600,\"夜\"\r\n";
  auto r = runDrive(dir.path(), std::string(kStart) + "input C\ninput 20\nclick cmdAsa\nclick cmdHozon\n" + kDay);
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_TRUE(r.dialogs(0).empty()) << r.dialogs(0);
  EXPECT_EQ(r.dialogs(1).back()["text"], "保存しました");
  EXPECT_EQ(items(r.last(), "List8(0)"), json({"A _ 100", "C _ 20"}));
  EXPECT_EQ(caption(r.last(), "Label9(15)"), "120");
  EXPECT_EQ(dir.readUtf8("20240105.txt"), saved);
  EXPECT_FALSE(dir.exists("20240105.txt.bak"));
}

TEST(DiaryScenario, AnUnsavedDayIsNeverLeftUnasked) {
  TempFolder dir;
  prepare(dir, 1800);
  const std::string unsaved = "input A\ninput 300\nclick cmdAsa\nsettext txtDiary メモ\n";
  auto r = runDrive(dir.path(), std::string(kStart) + unsaved +
                                    // Cancel: the selector shows the day again, nothing is lost.
                                    "answer Cancel\nscroll VScroll1 364\n" + kDay + "dump VScroll1 txtDate\n" +
                                    // No: the day goes unsaved; coming back asks nothing.
                                    "answer No\nscroll VScroll1 364\nscroll VScroll1 365\n" + kDay + unsaved +
                                    // Yes: saved as the save button does, then on to the other day.
                                    "answer Yes\nscroll VScroll1 364\ndump txtDate\nscroll VScroll1 365\n" + kDay +
                                    // Quitting asks too; Cancel keeps the program running.
                                    "settext txtDiary 追記\nanswer Cancel\nquit\ndump\nanswer No\nquit\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;

  const auto& cancelled = r.dialogs(1);
  ASSERT_EQ(cancelled.size(), 3u);  // the item's two inputs, then the question
  EXPECT_EQ(cancelled[2]["text"], "01/05の日記は保存されていません。保存しますか？");
  EXPECT_EQ(cancelled[2]["title"], "今度こそ勝利をげっちゅー！");
  EXPECT_EQ(cancelled[2]["icon"], "question");
  EXPECT_EQ(cancelled[2]["buttons"], "YesNoCancel");
  EXPECT_FALSE(cancelled[2].contains("default"));  // Yes, the first button
  EXPECT_EQ(items(r.dumps[1], "List8(0)"), json({"A _ 300"}));
  EXPECT_EQ(r.dumps[1]["controls"]["txtDiary"]["text"], "メモ");
  EXPECT_EQ(r.dumps[2]["controls"]["VScroll1"]["value"], 365);
  EXPECT_EQ(r.dumps[2]["controls"]["txtDate"]["text"], "2024/01/05");

  EXPECT_EQ(r.dialogs(3).size(), 1u);  // one question for the way out, none for the way back
  EXPECT_EQ(items(r.dumps[3], "List8(0)"), json::array());
  EXPECT_EQ(r.dumps[3]["state"]["IntakeTotal"], 0);

  const auto& saved = r.dialogs(4);
  ASSERT_EQ(saved.size(), 4u);  // the item's two inputs, the question, the save's own box
  EXPECT_EQ(saved[3]["title"], "保存終了");
  EXPECT_EQ(r.dumps[4]["controls"]["txtDate"]["text"], "2024/01/04");
  EXPECT_EQ(r.dialogs(5).size(), 0u);  // the saved day is left without a question
  EXPECT_EQ(items(r.dumps[5], "List8(0)"), json({"A _ 300"}));
  EXPECT_EQ(r.dumps[5]["controls"]["txtDiary"]["text"], "メモ\r\n");
  EXPECT_EQ(dir.readUtf8("日記20240105.txt"), "メモ\r\n");  // quitting with No kept the saved day

  EXPECT_FALSE(r.dumps[6]["ended"]);
  EXPECT_EQ(r.dumps[6]["dialogs"][0]["text"], "01/05の日記は保存されていません。保存しますか？");
  EXPECT_TRUE(r.dumps[7]["ended"]);
}

TEST(DiaryScenario, NamesAndCaloriesThatCannotBeStoredAreRefused) {
  TempFolder dir;
  prepare(dir, 1800);
  auto r = runDrive(dir.path(), std::string(kStart) +
                                    "input \"5\\\"ｹｰｷ\"\nclick cmdAsa\n"
                                    "input A_B\nclick cmdUndo\n"
                                    "input 水\ninput 40000\nclick cmdHiru\n"
                                    "input 大盛り\ninput 30000\nclick cmdAsa\n"
                                    "input 特盛り\ninput 3000\nclick cmdAsa\n"  // the total would pass 32767
                                    "input 呼吸\ninput -3000\nclick cmdUndo\n"  // so would the balance
                                    "input お茶_熱い\nclick Command2(1)\n"
                                    "input ｺｰﾗ\ninput -40000\nclick Command2(1)\n" +
                                    kDay + "dump List10(1)\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json& shown = r.dialogs(1);
  std::vector<std::string> warnings;
  for (const auto& box : shown)
    if (box["kind"] == "msgbox") {
      EXPECT_EQ(box["icon"], "warning");
      warnings.push_back(box["text"]);
    }
  EXPECT_EQ(warnings.size(), 7u);
  EXPECT_EQ(items(r.dumps[1], "List8(0)"), json({"大盛り _ 30000"}));
  EXPECT_EQ(items(r.dumps[1], "List8(1)"), json::array());
  EXPECT_EQ(items(r.dumps[1], "List9"), json::array());
  EXPECT_EQ(r.dumps[1]["state"]["IntakeTotal"], 30000);
  EXPECT_EQ(items(r.last(), "List10(1)"), json::array());
  EXPECT_EQ(dir.readBytes("ｶﾛﾘｰ.txt"), "");
}

TEST(DiaryScenario, CommentWithACharacterTheFileCannotHoldIsRefused) {
  TempFolder dir;
  prepare(dir, 1800);
  auto r = runDrive(dir.path(), std::string(kStart) + "settext txtDiary 楽しい🎉\nclick cmdHozon\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  ASSERT_EQ(r.last()["dialogs"].size(), 1u);
  EXPECT_NE(r.last()["dialogs"][0]["text"].get<std::string>().find("🎉"), std::string::npos);
  EXPECT_FALSE(dir.exists("20240105.txt"));
  EXPECT_FALSE(dir.exists("日記20240105.txt"));
}

TEST(DiaryScenario, SaveThatCannotWriteShowsAnErrorInsteadOfSuccess) {
  TempFolder dir;
  prepare(dir, 1800);
  // The day file's temporary cannot be renamed over it: nothing may be written.
  store::failNthStep(store::IoStep::Rename, 1, ENOSPC);
  auto r =
      runDriveInProcess(dir.path(), std::string(kStart) + "input A\ninput 1\nclick cmdAsa\nclick cmdHozon\ndump\n");
  store::clearInjectedFailure();
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_FALSE(dir.exists("20240105.txt"));
  const json& shown = r.last()["dialogs"].back();
  EXPECT_EQ(shown["kind"], "msgbox");
  EXPECT_EQ(shown["icon"], "error");
  EXPECT_NE(shown["text"].get<std::string>().find("20240105.txt"), std::string::npos);
  EXPECT_FALSE(dir.exists("日記20240105.txt"));
}

TEST(DiaryScenario, WeightEntryKeepsTheDifferenceOfTheDayShown) {
  TempFolder dir;
  prepare(dir, 2000);
  auto r = runDrive(dir.path(), std::string(kStart) +
                                    "input A\ninput 300\nclick cmdAsa\n"
                                    "type txtInpTaijyu 65.3\nenter txtInpTaijyu\ndump Label9(22)\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(caption(r.last(), "Label9(22)"), "-1700");
}
