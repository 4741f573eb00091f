#include <gtest/gtest.h>

#include <cerrno>

#include "store/files.h"
#include "support/drive.h"
#include "support/temp_folder.h"

using nlohmann::json;
using testing_support::runDrive;
using testing_support::runDriveInProcess;
using testing_support::TempFolder;

namespace {

const char* const kStart = "clock 2026/12/07 09:00:00\nstart\n";
const char* const kWeights = "\"2026/12/01\",70\r\n\"2026/12/02\",69.5\r\n\"2026/12/03\",629\r\n\"2026/12/04\",69\r\n";
const char* const kCorrected =
    "\"2026/12/01\",70\r\n\"2026/12/02\",69.5\r\n\"2026/12/03\",69.2\r\n\"2026/12/04\",69\r\n";

// Every control of a dump but the boxes, for comparing two windows.
json controlsOf(const json& dump) { return dump["controls"]; }

}  // namespace

// A slip in the middle of the weight log is corrected from the analysis table, and every figure
// then is what a diary typed correctly shows; the last day can be deleted, a middle one not; and
// both steps can be taken back.
TEST(Corrections, WeightsFollowEverywhereAndComeBack) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("体重.txt", kWeights);
  auto r = runDrive(dir.path(), std::string(kStart) +
                                    "input 69.2\nmenu msgB1 3 修正\ndump\n"
                                    "menu msgB1 3 削除\n"  // the day before the last is a middle day too
                                    "answer OK\nmenu msgB1 4 削除\ndump\n"
                                    "answer Yes\nmenu msgB1 1 元に戻す\ndump\n"
                                    "answer Yes\nmenu msgB1 1 元に戻す\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;

  const json& asked = r.dialogs(0);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0]["title"], "記録の修正");
  EXPECT_EQ(asked[0]["prompt"], "2026/12/03 の体重を修正します（Kg）");
  EXPECT_EQ(asked[0]["default"], "629");
  EXPECT_EQ(r.dumps[0]["state"]["UndoDepth"], 1);

  // As if typed that way: a start-up on the corrected file shows the same window.
  TempFolder typed;
  typed.writeMinimalDiary();
  typed.writeCp932("体重.txt", kCorrected);
  auto fresh = runDrive(typed.path(), std::string(kStart) + "dump\n");
  ASSERT_EQ(fresh.exitCode, 0) << fresh.stderrText;
  const json typedControls = controlsOf(fresh.last());
  for (const auto& [name, control] : typedControls.items())
    if (name != "lblDataFolder") {
      EXPECT_EQ(r.dumps[0]["controls"][name], control) << name;
    }
  EXPECT_EQ(r.dumps[0]["state"]["MaxWeight"], 70);

  const json& deletions = r.dialogs(1);
  ASSERT_EQ(deletions.size(), 2u);
  EXPECT_EQ(deletions[0]["text"], "途中の日の記録は削除できません。値を修正してください。");
  EXPECT_EQ(deletions[1]["text"], "2026/12/04 の体重 69.0Kg を削除します。よろしいですか？");
  EXPECT_EQ(deletions[1]["icon"], "warning");
  EXPECT_EQ(deletions[1]["default"], "Cancel");
  EXPECT_EQ(r.dumps[1]["state"]["WeightCount"], 3);
  EXPECT_EQ(r.dumps[1]["state"]["UndoDepth"], 2);

  EXPECT_EQ(r.dialogs(2)[0]["text"], "直前の操作（2026/12/04 の体重 69.0Kg の削除）を取り消します。よろしいですか？");
  EXPECT_EQ(r.dialogs(2)[0]["buttons"], "YesNo");
  EXPECT_EQ(r.dumps[2]["state"]["WeightCount"], 4);
  EXPECT_EQ(r.dialogs(3)[0]["text"], "直前の操作（2026/12/03 の体重 629.0Kg の修正）を取り消します。よろしいですか？");
  EXPECT_EQ(r.dumps[3]["state"]["UndoDepth"], 0);
  EXPECT_EQ(dir.readUtf8("体重.txt"), kWeights);
}

// Body fat for a day that has a record asks whether to replace it; corrections and deletions of
// the body logs rewrite their file; sample mode refuses them like entries.
TEST(Corrections, BodyLogsReplaceCorrectAndDelete) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("体脂肪率.txt", "\"2026/12/06\",25\r\n\"2026/12/07\",24\r\n");
  dir.writeCp932("歩数.txt", "\"2026/12/06\",5000\r\n\"2026/12/07\",8000\r\n");
  dir.writeCp932("連続体重.txt", "\"2026/12/07\",\"07:00:00\",62\r\n\"2026/12/07\",\"21:00:00\",63\r\n");
  const std::string fat = "settext txtInpShibou 23\nenter txtInpShibou\n";
  auto r = runDrive(dir.path(), std::string(kStart) + "answer Cancel\n" + fat + "dump txtInpShibou\n" + "answer No\n" +
                                    fat + "answer Yes\nsettext txtInpShibou 22\nenter txtInpShibou\ndump\n" +
                                    "input 7000\nmenu msgHosuList 1 修正\n"
                                    "answer OK\nmenu msgHosuList 2 削除\n"
                                    "input 62.5\nmenu msgTaiList 2 修正\n"
                                    "answer OK\nmenu msgTaiList 1 削除\ndump\nanswer OK\nmenu msgTaiList 1 削除\n"
                                    "dump msgTaiList\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json& cancelled = r.dialogs(0);
  ASSERT_EQ(cancelled.size(), 1u);
  EXPECT_EQ(cancelled[0]["text"], "12/07の記録はすでにあります。置き換えますか？");
  EXPECT_EQ(cancelled[0]["buttons"], "YesNoCancel");
  EXPECT_EQ(r.dumps[0]["controls"]["txtInpShibou"]["text"], "23");
  // No added a second record for the day, Yes then replaced the day's last one.
  EXPECT_EQ(dir.readUtf8("体脂肪率.txt"), "\"2026/12/06\",25\r\n\"2026/12/07\",24\r\n\"2026/12/07\",22\r\n");
  EXPECT_EQ(r.dumps[1]["controls"]["lblNowShibou"]["caption"], "22.0");
  EXPECT_EQ(dir.readUtf8("歩数.txt"), "\"2026/12/06\",7000\r\n");
  EXPECT_EQ(r.dumps[2]["state"]["TotalSteps"], 7000);
  EXPECT_EQ(r.dumps[2]["controls"]["msgTaiList"]["cells"][1], json({"26/12/07", "21:00:00", "62.5Kg"}));
  EXPECT_EQ(r.dumps[2]["controls"]["msgTaiList"]["rows"], 2);
  EXPECT_EQ(dir.readUtf8("連続体重.txt"), "");  // the last weighing deleted leaves no row behind
  EXPECT_EQ(r.dumps[3]["controls"]["msgTaiList"]["rows"], 1);
  EXPECT_EQ(r.dumps[2]["state"]["UndoDepth"], 6);

  TempFolder sample;
  sample.copySample();
  const std::string before = sample.readBytes("体重.txt");
  auto s = runDrive(sample.path(), std::string(kStart) + "menu msgB1 1 修正\nmenu msgShiList 1 削除\ndump\n");
  ASSERT_EQ(s.exitCode, 0) << s.stderrText;
  int refusals = 0;
  for (const auto& box : s.last()["dialogs"]) refusals += box["title"] == "サンプルモードでの制約";
  EXPECT_EQ(refusals, 2);
  EXPECT_EQ(sample.readBytes("体重.txt"), before);
}

// A rewrite that fails changes nothing: not the file, not the window, not the undo steps.
TEST(Corrections, FailedRewriteLeavesEverythingAsItWas) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("体重.txt", kWeights);
  store::failNthStep(store::IoStep::Rename, 1, EACCES, 1000);
  auto r = runDriveInProcess(dir.path(), std::string(kStart) + "dump\ninput 69.2\nmenu msgB1 3 修正\ndump\n");
  store::clearInjectedFailure();
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  ASSERT_EQ(r.dialogs(1).size(), 2u);
  EXPECT_EQ(r.dialogs(1)[1]["icon"], "error");
  EXPECT_EQ(dir.readUtf8("体重.txt"), kWeights);
  EXPECT_EQ(controlsOf(r.dumps[1]), controlsOf(r.dumps[0]));
  EXPECT_EQ(r.dumps[1]["state"]["UndoDepth"], 0);
}

// The lists of the notes and diary pages: training counts and memo notes are corrected and
// deleted, a repeated checklist day asks, a checklist day and registered items go through the
// menu or F2 and Delete, and the last steps come back with Ctrl+Z, newest first.
TEST(Corrections, NotesAndDiaryListsAndTheirUndo) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r = runDrive(
      dir.path(),
      std::string(kStart) +
          "settext txtKin(1) 30\nenter txtKin(1)\nsettext txtKin(1) 20\nenter txtKin(1)\n"
          "input 25\nmenu lstKin(1) 0 修正\nanswer OK\nselect lstKin(1) 1\nkey lstKin(1) Delete\n"
          "settext txtKin(6) 40\nenter txtKin(6)\ninput 45\nmenu lstKin(6) 0 修正\n"
          "input 買い物\nmouseup List5(4)\ninput 牛乳\nmenu List5(4) 0 修正\ndump\n"
          "click Check1(0)\nclick Command3\nclick Check1(1)\nanswer Cancel\nclick Command3\n"
          "answer No\nclick Command3\nclick Check1(2)\nanswer Yes\nclick Command3\n"
          "answer OK\nmenu List6 0 削除\n"
          "input りんご\ninput 120\nclick Command2(0)\ninput みかん\ninput 80\nselect List10(0) 0\nkey List10(0) F2\n"
          "dump\nanswer OK\nselect List10(0) 0\nkey List10(0) Delete\nclick cmdMono(9)\ndump\n"
          "answer Yes\nkey cmdMain Ctrl+Z\nanswer Yes\nkey cmdMain Ctrl+Z\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;

  const json& notes = r.dumps[0];
  EXPECT_EQ(notes["controls"]["lstKin(1)"]["items"].size(), 1u);
  EXPECT_EQ(notes["state"]["TrainingTotal"][0], 25);
  EXPECT_EQ(notes["state"]["TrainingTotal"][5], 45);                  // the last exercise is reloaded too
  EXPECT_EQ(notes["controls"]["List5(4)"]["items"], json({"牛乳"}));  // the last list
  EXPECT_EQ(notes["state"]["UndoDepth"], 8);

  // Cancel stored nothing, No added a second record, Yes replaced that one; the first went by the menu.
  const json& asked = r.dialogs(1);
  EXPECT_EQ(asked[0]["text"], "12/07の記録はすでにあります。置き換えますか？");
  auto record = [](int ticked) {
    std::string line = "\"2026/12/07\"";
    for (int g = 0; g < 11; ++g) line += g < ticked ? ",\"●\"" : ",\"×\"";
    return line + "\r\n";
  };
  EXPECT_EQ(dir.readUtf8("栄養.txt"), record(3));
  const json& diary = r.dumps[1];
  EXPECT_EQ(diary["controls"]["List6"]["items"].size(), 1u);
  EXPECT_EQ(diary["controls"]["List10(0)"]["items"], json({"みかん _ 80"}));
  bool askedName = false;
  for (const auto& box : asked)
    askedName = askedName || (box.value("prompt", "") == "登録項目「りんご _ 120」の名称を修正します" &&
                              box.value("default", "") == "りんご");
  EXPECT_TRUE(askedName);

  const json& removed = r.dumps[2];
  EXPECT_EQ(removed["controls"]["List10(0)"]["items"], json::array());
  EXPECT_EQ(r.dialogs(2)[0]["text"], "登録項目「みかん _ 80」 を削除します。よろしいですか？");
  EXPECT_NE(removed["controls"]["cmdMono(9)"], diary["controls"]["cmdMono(9)"]);

  const json& undone = r.dumps[3];
  EXPECT_EQ(r.dialogs(3)[1]["text"], "直前の操作（登録項目「みかん _ 80」 の削除）を取り消します。よろしいですか？");
  EXPECT_EQ(undone["controls"]["List10(0)"]["items"], json({"みかん _ 80"}));
  EXPECT_EQ(undone["controls"]["cmdMono(9)"], diary["controls"]["cmdMono(9)"]);
  EXPECT_EQ(dir.readUtf8("ﾘｽﾄ4.txt"), "\"牛乳\"\r\n");
}

// A new start is no step to take back, and nothing before it can be taken back either.
TEST(Corrections, NewStartEmptiesTheUndoSteps) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r = runDrive(dir.path(), std::string(kStart) +
                                    "settext txtInpTaijyu 70\nenter txtInpTaijyu\ndump\n"
                                    "click cmdSettei\nanswer OK\ninput たろう\ninput 170\ninput 60\ninput 90\n"
                                    "input 70\ninput 2000\nanswer OK\nclick cmdNew1\nkey cmdMain Ctrl+Z\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(r.dumps[0]["state"]["UndoDepth"], 1);
  EXPECT_EQ(r.last()["state"]["UndoDepth"], 0);
  EXPECT_EQ(r.last()["dialogs"].back()["text"], "取り消せる操作はありません。");
}
