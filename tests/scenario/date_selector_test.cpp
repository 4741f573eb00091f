#include <gtest/gtest.h>

#include "support/drive.h"
#include "support/temp_folder.h"

using nlohmann::json;
using testing_support::runDrive;
using testing_support::TempFolder;

namespace {

const char* const kSelector = "dump txtDate VScroll1 lblTai_Date lblShi_Date lblHosu_Date List8(0)\n";

void expectDay(const json& dump, const std::string& date) {
  const json& c = dump["controls"];
  EXPECT_EQ(c["txtDate"]["text"], date);
  EXPECT_EQ(c["lblTai_Date"]["caption"], date + "の体重");
  EXPECT_EQ(c["lblShi_Date"]["caption"], date + "の体脂肪率");
  EXPECT_EQ(c["lblHosu_Date"]["caption"], date + "の歩数");
}

}  // namespace

TEST(DateSelector, OneStepUpShowsAndLoadsYesterday) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("20240104.txt", "\"2024/01/04\"\r\n\"おにぎり\",180,\"朝\"\r\n");
  dir.writeCp932("日記20240104.txt", "昨日の日記\r\n");
  auto r = runDrive(dir.path(), std::string("clock 2024/01/05 09:00:00\nstart\n") + kSelector +
                                    "scroll VScroll1 364\n" + kSelector + "dump txtDiary Label9(15)\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  expectDay(r.dumps[0], "2024/01/05");
  EXPECT_EQ(r.dumps[0]["controls"]["List8(0)"]["items"], json::array());
  expectDay(r.dumps[1], "2024/01/04");
  EXPECT_EQ(r.dumps[1]["controls"]["VScroll1"]["value"], 364);
  EXPECT_EQ(r.dumps[1]["controls"]["List8(0)"]["items"], json({"おにぎり _ 180"}));
  EXPECT_EQ(r.last()["controls"]["txtDiary"]["text"], "昨日の日記\r\n");
  EXPECT_EQ(r.last()["controls"]["Label9(15)"]["caption"], "180");
  EXPECT_EQ(r.last()["state"]["IntakeTotal"], 180);
}

TEST(DateSelector, RangeEndsAtAYearBackAndAtTheReferenceDate) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r = runDrive(dir.path(), std::string("clock 2024/01/05 09:00:00\nstart\n") + "scroll VScroll1 0\n" + kSelector +
                                    "scroll VScroll1 -20\n" + kSelector + "scroll VScroll1 500\n" + kSelector);
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  expectDay(r.dumps[0], "2023/01/05");
  EXPECT_EQ(r.dumps[0]["controls"]["VScroll1"]["value"], 0);
  EXPECT_EQ(r.dumps[0]["controls"]["VScroll1"]["min"], 0);
  EXPECT_EQ(r.dumps[0]["controls"]["VScroll1"]["max"], 365);
  expectDay(r.dumps[1], "2023/01/05");
  expectDay(r.dumps[2], "2024/01/05");
}

TEST(DateSelector, LeapDayBeforeTheFirstOfMarch) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r = runDrive(dir.path(), std::string("clock 2004/03/01 09:00:00\nstart\nscroll VScroll1 364\n") + kSelector);
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  expectDay(r.last(), "2004/02/29");
}

TEST(DateSelector, TheDateCannotBeTyped) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r = runDrive(dir.path(),
                    std::string("clock 2024/01/05 09:00:00\nstart\ntype txtDate 1999\nenter txtDate\n") + kSelector);
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  expectDay(r.last(), "2024/01/05");
}

TEST(DateSelector, CountsBackFromTheReferenceDateMovedByTheCalendar) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r = runDrive(dir.path(), std::string("clock 2024/03/31 09:00:00\nstart\nclick cmdModori\n") + kSelector +
                                    "scroll VScroll1 364\n" + kSelector);
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(r.dumps[0]["state"]["ReferenceDate"], "2024/02/29");
  // Until it moves, the selector keeps the date it showed.
  expectDay(r.dumps[0], "2024/03/31");
  expectDay(r.dumps[1], "2024/02/28");
}
