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
