#include <gtest/gtest.h>

#include "support/drive.h"
#include "support/temp_folder.h"

using nlohmann::json;
using testing_support::runDrive;
using testing_support::TempFolder;

namespace {

// VScroll1's value for a day of December 2026 when the clock says 2026/12/07.
std::string day(int d) { return "scroll VScroll1 " + std::to_string(365 - (7 - d)) + "\n"; }
std::string entry(const char* box, int d, const char* value) {
  return day(d) + "settext " + box + " " + value + "\nenter " + box + "\n";
}

}  // namespace

// Whatever order the days are typed in, the body-fat and step logs stay in date order, and the
// main page's current figures are the latest day's.
TEST(DateOrder, EarlierEntriesGoInTheirPlace) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("体重.txt", "\"2026/12/03\",60\r\n");
  auto r = runDrive(dir.path(), "clock 2026/12/07 09:00:00\nstart\n" + entry("txtInpShibou", 5, "25") +
                                    entry("txtInpShibou", 7, "24") + entry("txtInpShibou", 3, "26") + "answer No\n" +
                                    entry("txtInpShibou", 5, "25.5") + entry("txtInpHosuu", 7, "8000") +
                                    entry("txtInpHosuu", 3, "5000") +
                                    "dump lblStShibou lblNowShibou lblShibou_Sa msgShiList msgHosuList MSChart2\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(dir.readUtf8("体脂肪率.txt"),
            "\"2026/12/03\",26\r\n\"2026/12/05\",25\r\n\"2026/12/05\",25.5\r\n\"2026/12/07\",24\r\n");
  EXPECT_EQ(dir.readUtf8("歩数.txt"), "\"2026/12/03\",5000\r\n\"2026/12/07\",8000\r\n");
  const json& c = r.last()["controls"];
  EXPECT_EQ(c["lblStShibou"]["caption"], "26.0");
  EXPECT_EQ(c["lblNowShibou"]["caption"], "24.0");
  EXPECT_EQ(c["lblShibou_Sa"]["caption"], "2.0");
  EXPECT_EQ(c["msgShiList"]["cells"][1][0], "26/12/03");
  EXPECT_EQ(c["msgShiList"]["cells"][4][0], "26/12/07");
  EXPECT_EQ(c["msgHosuList"]["cells"][1][0], "26/12/03");
  EXPECT_EQ(c["MSChart2"]["data"][0][0], "26");
  EXPECT_EQ(r.last()["state"]["StepValue"], json({5000, 8000}));
}

// A log a hand edit left out of order loads as it is; an earlier day goes after the last record
// not later than it, a later one at the end.
TEST(DateOrder, HandOrderIsKept) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("歩数.txt", "\"2026/12/06\",1\r\n\"2026/12/02\",2\r\n");
  auto r = runDrive(dir.path(), "clock 2026/12/07 09:00:00\nstart\ndump\n" + entry("txtInpHosuu", 1, "3") +
                                    entry("txtInpHosuu", 4, "4") + "dump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(r.dumps[0]["state"]["StepValue"], json({1, 2}));
  EXPECT_EQ(dir.readUtf8("歩数.txt"),
            "\"2026/12/01\",3\r\n\"2026/12/06\",1\r\n\"2026/12/02\",2\r\n\"2026/12/04\",4\r\n");
}

// Today's cell of the lazy calendar carries a frame, and no other cell does.
TEST(DateOrder, TodaysCalendarCellIsFramed) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r = runDrive(dir.path(), "clock 2026/12/07 09:00:00\nstart\ndump\nclick cmdModori\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json& shown = r.dumps[0];
  ASSERT_TRUE(shown["state"]["TodayCell"].is_number());
  const int today = shown["state"]["TodayCell"];
  EXPECT_EQ(shown["controls"]["cmdMono(" + std::to_string(today) + ")"]["caption"], "7");
  int framed = 0;
  for (int i = 0; i < 37; ++i)
    if (shown["controls"]["cmdMono(" + std::to_string(i) + ")"].value("outlined", false)) ++framed;
  EXPECT_EQ(framed, 1);
  // November holds no today.
  EXPECT_TRUE(r.dumps[1]["state"]["TodayCell"].is_null());
  for (int i = 0; i < 37; ++i)
    EXPECT_FALSE(r.dumps[1]["controls"]["cmdMono(" + std::to_string(i) + ")"].contains("outlined"));
}
