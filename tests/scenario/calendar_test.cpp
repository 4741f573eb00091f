#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/drive.h"
#include "support/temp_folder.h"

using testing_support::runDrive;
using testing_support::TempFolder;

namespace {

std::string startOn(const std::string& date) { return "clock " + date + " 09:00:00\nstart\n"; }

const char* kUnmarkedMonth =
    "0,0,0,0,0,0,0\r\n0,0,0,0,0,0,0\r\n0,0,0,0,0,0,0\r\n0,0,0,0,0,0,0\r\n0,0,0,0,0,0,0\r\n0,0\r\n";

// Day captions of the 37 cells, "" for a hidden one.
std::vector<std::string> shownDays(const nlohmann::json& controls) {
  std::vector<std::string> out;
  for (int i = 0; i < 37; ++i) {
    const auto& cell = controls["cmdMono(" + std::to_string(i) + ")"];
    out.push_back(cell["visible"].get<bool>() ? cell["caption"].get<std::string>() : "");
  }
  return out;
}

std::vector<std::string> expectedDays(int firstCell, int days) {
  std::vector<std::string> out(37);
  for (int d = 1; d <= days; ++d) out[firstCell + d - 1] = std::to_string(d);
  return out;
}

}  // namespace

TEST(LazyCalendar, MonthsStartingOnSundayAndSaturday) {
  TempFolder dir;
  dir.writeMinimalDiary();
  // September 2024 begins on a Sunday; June 2024 and March 2025 (31 days) on a Saturday.
  std::vector<nlohmann::json> dumps;
  for (const char* today : {"2024/09/10", "2024/06/10", "2025/03/31"}) {
    auto run = runDrive(dir.path(), startOn(today) + "dump\n");
    ASSERT_EQ(run.exitCode, 0) << run.stderrText;
    dumps.push_back(run.last());
  }
  EXPECT_EQ(shownDays(dumps[0]["controls"]), expectedDays(0, 30));
  EXPECT_EQ(shownDays(dumps[1]["controls"]), expectedDays(6, 30));
  EXPECT_EQ(shownDays(dumps[2]["controls"]), expectedDays(6, 31));
  EXPECT_EQ(dumps[0]["controls"]["Label1"]["caption"], "2024年09月");
  EXPECT_EQ(dumps[0]["state"]["CalendarFileName"], "2024年09月.txt");
  EXPECT_EQ(dumps[2]["controls"]["Label1"]["caption"], "2025年03月");
  const char* weekdays[] = {"日", "月", "火", "水", "木", "金", "土"};
  for (int i = 0; i < 7; ++i)
    EXPECT_EQ(dumps[0]["controls"]["Command1(" + std::to_string(i) + ")"]["caption"], weekdays[i]);
  // Nothing marked: the rate shows 0.0 and the sulky mark (target 70).
  const auto& c = dumps[0]["controls"];
  EXPECT_EQ(c["Label2(0)"]["caption"], "0");
  EXPECT_EQ(c["Label2(1)"]["caption"], "0");
  EXPECT_EQ(c["Label2(2)"]["caption"], "0.0");
  EXPECT_EQ(c["Label2(3)"]["caption"], "%");
  EXPECT_EQ(c["Image4(1)"]["visible"], false);
  EXPECT_FALSE(dir.exists("2024年09月.txt"));  // a month never clicked has no file
}

TEST(LazyCalendar, ThreeClicksCycleBackToUnmarkedAndEveryClickSaves) {
  TempFolder dir;
  dir.writeMinimalDiary();
  // March 2024 begins on a Friday: cell 5 is the 1st, cell 9 the 5th.
  std::string script = startOn("2024/03/15");
  for (int i = 0; i < 3; ++i) script += "click cmdMono(9)\ndump cmdMono(9)\n";
  // Cell 0 lies before the 1st and is hidden: a click there can mark nothing.
  script += "click cmdMono(0)\ndump cmdMono(0)\n";
  auto r = runDrive(dir.path(), script);
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(r.dumps[3]["controls"]["cmdMono(0)"]["visible"], false);
  EXPECT_TRUE(r.dumps[3]["controls"]["cmdMono(0)"]["backColor"].is_null());
  EXPECT_EQ(r.dumps[3]["state"]["DayMarks"], std::vector<int>(37, 0));
  const char* colours[] = {"#C0FFC0", "#FFC0C0"};
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(r.dumps[i]["controls"]["cmdMono(9)"]["backColor"], colours[i]) << i;
    EXPECT_EQ(r.dumps[i]["state"]["DayMarks"][9], i + 1);
  }
  EXPECT_TRUE(r.dumps[2]["controls"]["cmdMono(9)"]["backColor"].is_null());
  EXPECT_EQ(r.dumps[2]["state"]["DayMarks"][9], 0);
  EXPECT_EQ(dir.readUtf8("2024年03月.txt"), kUnmarkedMonth);
  for (const auto& d : r.dumps) EXPECT_TRUE(d["dialogs"].empty()) << d["dialogs"];
}

TEST(LazyCalendar, RateAndMarkAgainstTargets70And66) {
  for (auto [target, smiling] : {std::pair{"70", false}, {"66", true}}) {
    TempFolder dir;
    dir.writeMinimalDiary();
    std::string profile = dir.readUtf8("ﾌﾟﾗｲﾍﾞｰﾄ.txt");
    profile.replace(profile.find("\"目標達成率\",70"), std::string("\"目標達成率\",70").size(),
                    std::string("\"目標達成率\",") + target);
    dir.writeCp932("ﾌﾟﾗｲﾍﾞｰﾄ.txt", profile);
    auto r = runDrive(dir.path(), startOn("2024/03/15") +
                                      "click cmdMono(5)\nclick cmdMono(6)\nclick cmdMono(7)\nclick cmdMono(7)\n"
                                      "dump Label2(0) Label2(1) Label2(2) Image4(0) Image4(1) cmdMono(7)\n");
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    const auto& c = r.last()["controls"];
    EXPECT_EQ(c["Label2(0)"]["caption"], "2");
    EXPECT_EQ(c["Label2(1)"]["caption"], "1");
    EXPECT_EQ(c["Label2(2)"]["caption"], "66.7");
    EXPECT_EQ(c["Image4(0)"]["visible"], true);
    EXPECT_EQ(c["Image4(1)"]["visible"], smiling) << target;
    EXPECT_EQ(c["cmdMono(7)"]["backColor"], "#FFC0C0");
    EXPECT_NEAR(r.last()["state"]["AchievementRate"].get<double>(), 2.0 / 3.0, 1e-6);
    EXPECT_EQ(dir.readUtf8("2024年03月.txt"),
              "0,0,0,0,0,1,1\r\n2,0,0,0,0,0,0\r\n0,0,0,0,0,0,0\r\n0,0,0,0,0,0,0\r\n0,0,0,0,0,0,0\r\n0,0\r\n");
  }
}

TEST(LazyCalendar, MonthButtonsKeepTheDayWhereTheMonthHasIt) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("2024年02月.txt", "0,0,0,0,1,1,2\r\n");
  auto r = runDrive(dir.path(), startOn("2024/01/31") +
                                    "click cmdOkuri\ndump Label1 Label2(0) Label2(1)\nclick cmdModori\ndump Label1\n"
                                    "click cmdModori\ndump Label1\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(r.dumps[0]["state"]["ReferenceDate"], "2024/02/29");
  EXPECT_EQ(r.dumps[0]["controls"]["Label1"]["caption"], "2024年02月");
  EXPECT_EQ(r.dumps[0]["state"]["CalendarFileName"], "2024年02月.txt");
  EXPECT_EQ(r.dumps[0]["controls"]["Label2(0)"]["caption"], "2");
  EXPECT_EQ(r.dumps[0]["controls"]["Label2(1)"]["caption"], "1");
  EXPECT_EQ(r.dumps[1]["state"]["ReferenceDate"], "2024/01/29");
  EXPECT_EQ(r.dumps[1]["controls"]["Label1"]["caption"], "2024年01月");
  EXPECT_EQ(r.dumps[1]["state"]["DayMarks"], std::vector<int>(37, 0));
  EXPECT_EQ(r.dumps[2]["state"]["ReferenceDate"], "2023/12/29");
  EXPECT_EQ(r.dumps[2]["controls"]["Label1"]["caption"], "2023年12月");
}

TEST(LazyCalendar, Cell28IsHiddenOutsideAShortFebruary) {
  TempFolder dir;
  dir.writeMinimalDiary();
  // January 2015 fills cell 28; February 2015 begins on a Sunday and ends in cell 27.
  auto r = runDrive(dir.path(), startOn("2015/01/20") + "dump cmdMono(28)\nclick cmdOkuri\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(r.dumps[0]["controls"]["cmdMono(28)"]["visible"], true);
  EXPECT_EQ(shownDays(r.dumps[1]["controls"]), expectedDays(0, 28));
}

TEST(LazyCalendar, DamagedOrHandEditedFilesLoadSilently) {
  TempFolder dir;
  dir.writeMinimalDiary();
  // A mark only a hand edit can give shows black; the damage stops the reading silently.
  dir.writeCp932("2024年03月.txt", "0,0,0,0,0,5,1\r\n2,x,1\r\n");
  auto r = runDrive(dir.path(), startOn("2024/03/15") + "dump cmdMono(5) cmdMono(6) cmdMono(7) cmdMono(9) Label2(0)\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const auto& d = r.last();
  EXPECT_TRUE(d["dialogs"].empty()) << d["dialogs"];
  EXPECT_EQ(d["controls"]["cmdMono(5)"]["backColor"], "#000000");
  EXPECT_EQ(d["controls"]["cmdMono(6)"]["backColor"], "#C0FFC0");
  EXPECT_EQ(d["controls"]["cmdMono(7)"]["backColor"], "#FFC0C0");
  EXPECT_TRUE(d["controls"]["cmdMono(9)"]["backColor"].is_null());
  EXPECT_EQ(d["controls"]["Label2(0)"]["caption"], "1");
}

TEST(LazyCalendar, AMonthThatCannotBeWrittenKeepsItsMark) {
  TempFolder dir;
  dir.writeMinimalDiary();
  // A folder in the month file's place can be neither read nor replaced: the click is refused.
  std::filesystem::create_directory(dir.file("2024年03月.txt"));
  auto r = runDrive(dir.path(), startOn("2024/03/15") + "click cmdMono(9)\ndump cmdMono(9) Label2(0) Label2(2)\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const auto& boxes = r.last()["dialogs"];
  ASSERT_EQ(boxes.size(), 1u) << boxes;
  EXPECT_EQ(boxes[0]["icon"], "warning");
  EXPECT_NE(boxes[0]["text"].get<std::string>().find(
                "を読み込めませんでした。ファイルではなくフォルダーです（Is a directory）。"),
            std::string::npos);
  EXPECT_NE(boxes[0]["text"].get<std::string>().find("2024年03月.txt"), std::string::npos) << boxes[0];
  const auto& c = r.last()["controls"];
  EXPECT_TRUE(c["cmdMono(9)"]["backColor"].is_null());
  EXPECT_EQ(c["Label2(0)"]["caption"], "0");
  EXPECT_EQ(c["Label2(2)"]["caption"], "0.0");
  EXPECT_EQ(r.last()["state"]["DayMarks"][9], 0);
}
