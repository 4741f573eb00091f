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
const char* const kTitles = "\"買い物リスト\"\r\n\"やりたいこと\"\r\n\"欲しい物\"\r\n\"ひとこと日記\"\r\n";
const char* const kLists =
    "dump List5(1) List5(2) List5(3) List5(4) fraDaimoku(1) fraDaimoku(2) fraDaimoku(3) fraDaimoku(4)\n";

}  // namespace

TEST(MemoScenario, NotesAreAppendedAndDated) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r = runDrive(dir.path(), std::string(kStart) +
                                    "input X\nmouseup List5(2)\n"
                                    "settext txtDate 2024/01/05\ninput X\nmouseup List5(4)\n"
                                    "input 牛乳, 卵, パン\nmouseup List5(1)\n"
                                    "input-cancel\nmouseup List5(3)\ninput\nmouseup List5(3)\n" +
                                    kLists);
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const auto& asked = r.dialogs(1);
  ASSERT_EQ(asked.size(), 5u);
  EXPECT_EQ(asked[0]["prompt"], "ﾘｽﾄ 2 に登録する内容を入力して下さい");
  EXPECT_EQ(asked[0]["title"], "新規リスト登録");
  EXPECT_EQ(asked[0]["default"], "");
  EXPECT_EQ(asked[1]["prompt"], "ﾘｽﾄ 4 に登録する内容を入力して下さい");

  const json& c = r.last()["controls"];
  EXPECT_EQ(c["List5(2)"]["items"], json({"X"}));
  EXPECT_EQ(c["List5(4)"]["items"], json({"01/05 - X"}));
  EXPECT_EQ(c["List5(1)"]["items"], json({"牛乳, 卵, パン"}));
  EXPECT_EQ(c["List5(3)"]["items"], json::array());
  EXPECT_EQ(dir.readUtf8("ﾘｽﾄ2.txt"), "\"X\"\r\n");
  EXPECT_EQ(dir.readUtf8("ﾘｽﾄ4.txt"), "\"01/05 - X\"\r\n");
  EXPECT_EQ(dir.readUtf8("ﾘｽﾄ1.txt"), "\"牛乳, 卵, パン\"\r\n");
  EXPECT_EQ(dir.readBytes("ﾘｽﾄ3.txt"), "");
}

TEST(MemoScenario, DatedListFollowsTheSelectedDay) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r = runDrive(dir.path(), std::string(kStart) + "settext txtDate 2023/12/31\ninput 大掃除\nmouseup List5(4)\n" +
                                    "dump List5(4)\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(r.last()["controls"]["List5(4)"]["items"], json({"12/31 - 大掃除"}));
}

TEST(MemoScenario, RenamingRewritesAllFourTitles) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("ﾘｽﾄ3.txt", "\"A\"\r\n");
  auto r = runDrive(dir.path(), std::string(kStart) + "input 行きたい所\ndblclick fraDaimoku(3)\n" + kLists);
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const auto& asked = r.dialogs(1);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0]["prompt"], "ﾘｽﾄ 3 の題目を入力して下さい");
  EXPECT_EQ(asked[0]["title"], "題目変更");
  const json& c = r.last()["controls"];
  EXPECT_EQ(c["fraDaimoku(1)"]["caption"], "買い物リスト");
  EXPECT_EQ(c["fraDaimoku(3)"]["caption"], "行きたい所");
  EXPECT_EQ(c["List5(3)"]["items"], json({"A"}));
  EXPECT_EQ(dir.readUtf8("ﾘｽﾄ題目.txt"),
            "\"買い物リスト\"\r\n\"やりたいこと\"\r\n\"行きたい所\"\r\n\"ひとこと日記\"\r\n");
}

// Quotes and line breaks would not read back: refused before anything is written.
TEST(MemoScenario, QuotesLineBreaksAndCancelLeaveEverythingAsItWas) {
  TempFolder dir;
  dir.writeMinimalDiary();
  const std::string profile = dir.readBytes("ﾌﾟﾗｲﾍﾞｰﾄ.txt");
  auto r = runDrive(dir.path(), std::string(kStart) +
                                    "input \"say \\\"hi\\\"\"\nmouseup List5(1)\n"
                                    "input \"a\\\"b\"\ndblclick fraDaimoku(2)\n"
                                    "input \"two\\nlines\"\nmouseup List5(1)\n"
                                    "input \"two\\rlines\"\ndblclick fraDaimoku(2)\n"
                                    "input-cancel\ndblclick fraDaimoku(2)\ninput\ndblclick fraDaimoku(2)\n"
                                    "settext txtPriData(0) \"a\\nb\"\nclick cmdPHozon1\n" +
                                    kLists);
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  std::vector<std::string> refusals;
  for (const auto& d : r.dialogs(1))
    if (d["kind"] == "msgbox") refusals.push_back(d["text"]);
  ASSERT_EQ(refusals.size(), 5u);
  for (size_t i : {0, 1}) EXPECT_NE(refusals[i].find("\""), std::string::npos);
  for (size_t i : {2, 3}) EXPECT_EQ(refusals[i], "改行は使えません。一行で入力してください。");
  EXPECT_EQ(refusals[4], "名前に改行は使えません。一行で入力してください。");
  EXPECT_EQ(dir.readBytes("ﾌﾟﾗｲﾍﾞｰﾄ.txt"), profile);
  EXPECT_EQ(r.last()["controls"]["List5(1)"]["items"], json::array());
  EXPECT_EQ(r.last()["controls"]["fraDaimoku(2)"]["caption"], "やりたいこと");
  EXPECT_EQ(dir.readBytes("ﾘｽﾄ1.txt"), "");
  EXPECT_EQ(dir.readUtf8("ﾘｽﾄ題目.txt"), kTitles);
}

TEST(MemoScenario, RestartShowsTheSameNotesWithTheDatedListAtItsEnd) {
  TempFolder dir;
  dir.writeMinimalDiary();
  std::string script = std::string(kStart);
  for (int k = 1; k <= 3; ++k) {
    script += "input 項目" + std::to_string(k) + ", 詳細\nmouseup List5(1)\n";
    script += "input メモ" + std::to_string(k) + "\nmouseup List5(4)\n";
  }
  auto first = runDrive(dir.path(), script + kLists);
  ASSERT_EQ(first.exitCode, 0) << first.stderrText;
  auto second = runDrive(dir.path(), std::string(kStart) + kLists);
  ASSERT_EQ(second.exitCode, 0) << second.stderrText;
  const json& before = first.last()["controls"];
  const json& after = second.last()["controls"];
  EXPECT_EQ(after["List5(1)"]["items"], json({"項目1, 詳細", "項目2, 詳細", "項目3, 詳細"}));
  EXPECT_EQ(after["List5(4)"]["items"], json({"01/05 - メモ1", "01/05 - メモ2", "01/05 - メモ3"}));
  for (int i = 1; i <= 4; ++i) {
    std::string n = "List5(" + std::to_string(i) + ")";
    EXPECT_EQ(after[n]["items"], before[n]["items"]) << n;
  }
  EXPECT_EQ(after["List5(4)"]["topIndex"], 2);
  EXPECT_EQ(after["List5(1)"]["topIndex"], 0);  // only the dated list is scrolled at start-up
  EXPECT_EQ(after["fraDaimoku(4)"]["caption"], "ひとこと日記");
}

TEST(MemoScenario, SampleModeRefusesOnFocus) {
  TempFolder dir;
  dir.copySample();
  std::string before = dir.readBytes("ﾘｽﾄ2.txt");
  auto r = runDrive(dir.path(), std::string(kStart) + "click cmdMemo\ndump\nfocus List5(2)\nmouseup List5(2)\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  ASSERT_EQ(r.last()["state"]["SampleMode"], true);
  const auto& boxes = r.dialogs(2);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0]["title"], "サンプルモードでの制約");
  EXPECT_EQ(boxes[0]["icon"], "warning");
  EXPECT_EQ(r.last()["focus"], "cmdMain");
  EXPECT_EQ(dir.readBytes("ﾘｽﾄ2.txt"), before);
}

TEST(MemoScenario, OutsideSampleModeFocusDoesNothing) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r = runDrive(dir.path(), std::string(kStart) + "focus List5(2)\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_TRUE(r.dialogs(1).empty());
  EXPECT_EQ(r.last()["focus"], "List5(2)");
}

TEST(MemoScenario, FailedTitleWriteKeepsTheOldTitle) {
  TempFolder dir;
  dir.writeMinimalDiary();
  // The rewrite cannot rename its temporary over the file: nothing may change.
  store::failNthStep(store::IoStep::Rename, 1, EACCES);
  auto r = runDriveInProcess(dir.path(), std::string(kStart) + "input 行きたい所\ndblclick fraDaimoku(3)\n" + kLists);
  store::clearInjectedFailure();
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  ASSERT_EQ(r.dialogs(1).size(), 2u);
  EXPECT_EQ(r.dialogs(1)[1]["icon"], "error");
  EXPECT_EQ(r.last()["controls"]["fraDaimoku(3)"]["caption"], "欲しい物");
  EXPECT_EQ(dir.readUtf8("ﾘｽﾄ題目.txt"), kTitles);
}
