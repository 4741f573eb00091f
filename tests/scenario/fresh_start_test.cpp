#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/drive.h"
#include "support/temp_folder.h"

using nlohmann::json;
using testing_support::runDrive;
using testing_support::TempFolder;

namespace {

const char* const kClock = "clock 2026/12/07 09:00:00\n";
const char* const kNewStart =
    "click cmdSettei\nanswer OK\ninput たろう\ninput 170\ninput 60\ninput 90\ninput 70\ninput 2000\nanswer OK\n"
    "click cmdNew1\n";

}  // namespace

// After a new start nothing of the thrown-away diary may show: memory and screen must be what a
// start-up on the emptied folder gives, control by control.
TEST(FreshStart, NewStartOnTheSampleEqualsAStartUpOnWhatItLeft) {
  TempFolder dir;
  dir.copySample();
  auto r = runDrive(dir.path(), std::string(kClock) + "start\ndump\n" + kNewStart + "dump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json& after = r.last();
  EXPECT_FALSE(after["state"]["SampleMode"]);
  EXPECT_EQ(after["state"]["Profile"]["ProfileName"], "たろう");

  // The sample's days, comments and months went aside whole; the rest stays at the top.
  TempFolder sample;
  sample.copySample();
  auto digits = [](const std::string& s, size_t from, size_t n) {
    return s.size() >= from + n && std::all_of(s.begin() + from, s.begin() + from + n, ::isdigit);
  };
  auto diaryFile = [&](const std::string& name) {
    const size_t at = name.rfind("日記", 0) == 0 ? std::string("日記").size() : 0;
    if (name.size() == at + 12 && digits(name, at, 8) && name.substr(at + 8) == ".txt") return true;
    return digits(name, 0, 4) && name.substr(4, 3) == "年" && digits(name, 7, 2) && name.substr(9) == "月.txt";
  };
  int asideCount = 0;
  for (const auto& name : sample.list()) {
    if (diaryFile(name)) {
      EXPECT_FALSE(dir.exists(name)) << name;
      EXPECT_EQ(dir.readBytes(std::string("サンプル/") + name), sample.readBytes(name)) << name;
      ++asideCount;
    } else {
      EXPECT_TRUE(dir.exists(name)) << name;
    }
  }
  EXPECT_EQ(asideCount, 13);
  EXPECT_EQ(dir.readBytes("ｶﾛﾘｰ.txt"), sample.readBytes("ｶﾛﾘｰ.txt"));

  TempFolder copy;
  for (const auto& name : dir.list())
    if (name != "サンプル") copy.writeBytes(name, dir.readBytes(name));
  auto fresh = runDrive(copy.path(), std::string(kClock) + "start\ndump\n");
  ASSERT_EQ(fresh.exitCode, 0) << fresh.stderrText;
  const json& started = fresh.last();

  // Both leave the focus in the weight box, for the first weight.
  EXPECT_EQ(after["focus"], "txtInpTaijyu");
  EXPECT_EQ(started["focus"], "txtInpTaijyu");
  // The only allowed difference: the folder's own path, which differs between the two folders.
  for (const auto& [name, control] : started["controls"].items())
    if (name != "lblDataFolder") {
      EXPECT_EQ(after["controls"][name], control) << name;
    }
  for (const auto& [name, value] : started["state"].items())
    if (name != "DataFolder") {
      EXPECT_EQ(after["state"][name], value) << name;
    }

  // What used to survive the new start: the sample's body fat, steps, period and totals.
  const json& before = r.dumps.front()["controls"];
  const json& c = after["controls"];
  for (const char* label : {"lblStShibou", "lblNowShibou", "lblKikanT", "lblTaiT", "lblTotalK", "Label6(2)"}) {
    EXPECT_NE(before[label]["caption"], "") << label;
    EXPECT_NE(c[label]["caption"], before[label]["caption"]) << label;
  }
  EXPECT_GT(r.dumps.front()["state"]["FatCount"], 0);
  EXPECT_EQ(after["state"]["FatCount"], 0);
  EXPECT_EQ(after["state"]["StepCount"], 0);
  EXPECT_EQ(after["state"]["IntakeTotal"], 0);
  EXPECT_EQ(c["MSChart2"]["rowCount"], 0);
  EXPECT_EQ(c["msgShiList"]["rows"], 1);
}

// A new start on the user's own diary keeps their day files and other months where they are.
TEST(FreshStart, NewStartOnOwnDiaryKeepsItsDaysInPlace) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("20261201.txt", "\"2026/12/01\"\r\n\"朝\",\"ごはん _ 240\"\r\n");
  dir.writeCp932("2026年11月.txt", "1\r\n");
  auto r = runDrive(dir.path(), std::string(kClock) + "start\n" + kNewStart + "dump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_TRUE(dir.exists("20261201.txt"));
  EXPECT_EQ(dir.readUtf8("2026年11月.txt"), "1\r\n");
  EXPECT_FALSE(dir.exists("サンプル"));
}

// After each kind of correction, deletion, replacement and undo, every control and figure is what
// a start-up on the files as they then are shows: nothing computed from a record that changed
// may stay (the best-loss caption once stayed after its weight was corrected).
TEST(FreshStart, EveryCorrectionDeletionReplacementAndUndoEqualsAStartUp) {
  const std::string week = "\"2026/12/01\",58.6\r\n\"2026/12/02\",58.5\r\n\"2026/12/03\",58.3\r\n";
  const std::pair<const char*, std::string> cases[] = {
      {"体重 typo corrected", "input 58.4\nmenu msgB1 4 修正\n"},
      {"the only day a loss was reached deleted", "answer OK\nmenu msgB1 4 削除\n"},
      {"a deletion taken back", "answer OK\nmenu msgB1 4 削除\nanswer Yes\nkey cmdMain Ctrl+Z\n"},
      {"every weight deleted",
       "answer OK\nmenu msgB1 4 削除\nanswer OK\nmenu msgB1 3 削除\nanswer OK\n"
       "menu msgB1 2 削除\nanswer OK\nmenu msgB1 1 削除\n"},
      {"body fat replaced", "answer Yes\nsettext txtInpShibou 22\nenter txtInpShibou\n"},
      {"body fat corrected and deleted", "input 26\nmenu msgShiList 1 修正\nanswer OK\nmenu msgShiList 2 削除\n"},
      {"steps replaced and deleted",
       "answer Yes\nsettext txtInpHosuu 9000\nenter txtInpHosuu\nanswer OK\n"
       "menu msgHosuList 1 削除\n"},
      {"steps corrected, taken back", "input 7000\nmenu msgHosuList 1 修正\nanswer Yes\nkey cmdMain Ctrl+Z\n"},
      {"weighings corrected and deleted", "input 62.5\nmenu msgTaiList 2 修正\nanswer OK\nmenu msgTaiList 1 削除\n"},
      {"training corrected and deleted", "input 25\nmenu lstKin(1) 0 修正\nanswer OK\nmenu lstKin(1) 1 削除\n"},
      {"memo corrected and deleted", "input 牛乳\nmenu List5(2) 0 修正\nanswer OK\nmenu List5(2) 1 削除\n"},
      {"registered items corrected and deleted",
       "input りんご\ninput 120\nmenu List10(0) 0 修正\nanswer OK\n"
       "menu List10(0) 1 削除\n"},
      {"checklist replaced and deleted", "click Check1(2)\nanswer Yes\nclick Command3\nanswer OK\nmenu List6 0 削除\n"},
  };
  for (const auto& [what, script] : cases) {
    SCOPED_TRACE(what);
    TempFolder dir;
    dir.writeMinimalDiary();
    dir.writeCp932("体重.txt",
                   week + (std::string(what).find("typo") != std::string::npos ? "\"2026/12/04\",5.84\r\n"
                                                                               : "\"2026/12/04\",58.1\r\n"));
    dir.writeCp932("体脂肪率.txt", "\"2026/12/05\",25\r\n\"2026/12/06\",24.5\r\n\"2026/12/07\",24\r\n");
    dir.writeCp932("歩数.txt", "\"2026/12/05\",5000\r\n\"2026/12/07\",8000\r\n");
    dir.writeCp932("連続体重.txt", "\"2026/12/06\",\"07:00:00\",62\r\n\"2026/12/07\",\"21:00:00\",63\r\n");
    dir.writeCp932("筋トレ1.txt", "\"2026/12/06\",30\r\n\"2026/12/07\",20\r\n");
    dir.writeCp932("ﾘｽﾄ2.txt", "\"買い物\"\r\n\"水\"\r\n");
    dir.writeCp932("ｶﾛﾘｰ.txt", "\"ﾘｽﾄ1\",\"ご飯\",235\r\n\"ﾘｽﾄ1\",\"パン\",158\r\n");
    dir.writeCp932("栄養.txt",
                   "\"2026/12/06\",\"●\",\"×\",\"●\",\"×\",\"×\",\"×\",\"×\",\"×\",\"●\",\"●\",\"●\"\r\n"
                   "\"2026/12/07\",\"●\",\"●\",\"×\",\"×\",\"×\",\"×\",\"×\",\"×\",\"×\",\"×\",\"×\"\r\n");
    auto r = runDrive(dir.path(), std::string(kClock) + "start\n" + script + "dump\n");
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    auto fresh = runDrive(dir.path(), std::string(kClock) + "start\ndump\n");
    ASSERT_EQ(fresh.exitCode, 0) << fresh.stderrText;
    const json& after = r.last();
    const json& started = fresh.last();
    // What the user chose stays chosen: the focus, the row or item acted on, and the day's ticks
    // of the checklist (kept after a save, as typed text is).
    for (const auto& [name, control] : started["controls"].items()) {
      json shown = after["controls"][name];
      if (shown.contains("listIndex")) shown["listIndex"] = control["listIndex"];
      if (name.rfind("Check1(", 0) == 0) shown["value"] = control["value"];
      EXPECT_EQ(shown, control) << name;
    }
    for (const auto& [name, value] : started["state"].items())
      if (name != "UndoDepth") {
        EXPECT_EQ(after["state"][name], value) << name;
      }
  }
}
