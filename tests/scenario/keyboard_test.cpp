// The keyboard through the driver's `key` command: the date keys move the date selector through
// its own change handler, the shortcuts press the buttons they stand for, and the lists take
// entries and lose them without the mouse.
#include <gtest/gtest.h>

#include <cmath>

#include "support/drive.h"
#include "support/temp_folder.h"
#include "weight_diary.h"

using nlohmann::json;
using testing_support::runDrive;
using testing_support::TempFolder;

namespace {

const char* const kDate = "dump txtDate VScroll1 lblTai_Date\n";

std::string dateOf(const json& dump) { return dump["controls"]["txtDate"]["text"]; }

}  // namespace

TEST(Keyboard, DateKeysMoveTheSelectorAsItsArrowsDo) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("20240330.txt", "\"2024/03/30\"\r\n\"おにぎり\",180,\"朝\"\r\n");
  // Today is 2024/03/31; Up is the up arrow: one day earlier.
  auto r = runDrive(dir.path(), std::string("clock 2024/03/31 09:00:00\nstart\n") + "key txtDate Up\n" + kDate +
                                    "dump List8(0)\n" + "key txtDate Down\n" + kDate +
                                    // At the bottom end Down goes no further.
                                    "key txtDate Down\n" + kDate +
                                    // A month back from the 31st lands on the month's last day.
                                    "key VScroll1 PageUp\n" + kDate + "key txtDate PageUp\n" + kDate +
                                    "key txtDate PageDown\n" + kDate + "key txtDate Home\n" + kDate);
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(dateOf(r.dumps[0]), "2024/03/30");
  EXPECT_EQ(r.dumps[0]["controls"]["VScroll1"]["value"], 364);
  EXPECT_EQ(r.dumps[0]["controls"]["lblTai_Date"]["caption"], "2024/03/30の体重");
  EXPECT_EQ(r.dumps[1]["controls"]["List8(0)"]["items"], json({"おにぎり _ 180"})) << "the day's diary is loaded";
  EXPECT_EQ(dateOf(r.dumps[2]), "2024/03/31");
  EXPECT_EQ(dateOf(r.dumps[3]), "2024/03/31");
  EXPECT_EQ(r.dumps[3]["controls"]["VScroll1"]["value"], 365);
  EXPECT_EQ(dateOf(r.dumps[4]), "2024/02/29");
  EXPECT_EQ(r.dumps[4]["focus"], "VScroll1");
  EXPECT_EQ(dateOf(r.dumps[5]), "2024/01/29");
  EXPECT_EQ(dateOf(r.dumps[6]), "2024/02/29");
  EXPECT_EQ(dateOf(r.dumps[7]), "2024/03/31");
  EXPECT_EQ(r.dumps[7]["focus"], "txtDate");
}

TEST(Keyboard, DateKeysStopAtAYearBackAndHomeFollowsTheClockAfterTheCalendarMoved) {
  TempFolder dir;
  dir.writeMinimalDiary();
  std::string script = "clock 2024/03/31 09:00:00\nstart\nscroll VScroll1 5\n";
  for (int i = 0; i < 14; ++i) script += "key txtDate PageUp\n";
  script += kDate;
  script += "key txtDate Up\n";
  script += kDate;
  // The calendar moves the reference a month back; today is then past the selector's end.
  script += "click cmdModori\nkey txtDate Home\n";
  script += kDate;
  auto r = runDrive(dir.path(), script);
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(dateOf(r.dumps[0]), "2023/04/01");
  EXPECT_EQ(r.dumps[0]["controls"]["VScroll1"]["value"], 0);
  EXPECT_EQ(dateOf(r.dumps[1]), "2023/04/01");
  EXPECT_EQ(r.dumps[2]["controls"]["VScroll1"]["value"], 365);
  EXPECT_EQ(dateOf(r.dumps[2]), "2024/02/29");
}

TEST(Keyboard, ShortcutsPressTheButtonsTheyStandFor) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r = runDrive(dir.path(),
                    "clock 2024/03/31 09:00:00\nstart\n"
                    "key cmdMain Alt+3\ndump fraShibou fraMain\n"
                    "key txtInpShibou Alt+0\ndump fraSettei\n"
                    "key cmdSettei Alt+1\ndump fraMain\n"
                    "key cmdMain F1\ndump\n"
                    // Ctrl+S saves only on the diary page.
                    "key cmdMain Ctrl+S\ndump\n"
                    "key cmdMain Alt+7\nsettext txtDiary よく歩いた\nkey txtDiary Ctrl+S\ndump fraDiary\n"
                    "key txtDiary Ctrl+Q\ndump\n"
                    "key cmdMain Alt+2\ndump fraTaijyu\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_TRUE(r.dumps[0]["controls"]["fraShibou"]["visible"]);
  EXPECT_FALSE(r.dumps[0]["controls"]["fraMain"]["visible"]);
  EXPECT_TRUE(r.dumps[1]["controls"]["fraSettei"]["visible"]);
  EXPECT_TRUE(r.dumps[2]["controls"]["fraMain"]["visible"]);
  EXPECT_EQ(r.dialogs(3), json::parse(R"([{"kind":"help","file":"ZorvelHelp.html"}])"));
  EXPECT_EQ(r.dialogs(4), json::array());
  ASSERT_EQ(r.dialogs(5).size(), 1u);
  EXPECT_EQ(r.dialogs(5)[0]["text"], "保存しました");
  EXPECT_NE(dir.readUtf8("日記20240331.txt").find("よく歩いた"), std::string::npos);
  EXPECT_TRUE(r.dumps[6]["ended"]);
  // Once quit, keys are ignored.
  EXPECT_FALSE(r.dumps[7]["controls"]["fraTaijyu"]["visible"]);
}

TEST(Keyboard, ListsTakeAndLoseEntriesAndCalendarDaysAreMarkedWithSpace) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("ｶﾛﾘｰ.txt", "\"ﾘｽﾄ1\",\"おにぎり\",180\r\n\"ﾘｽﾄ2\",\"お茶\",0\r\n\"ﾘｽﾄ3\",\"散歩\",100\r\n");
  auto r = runDrive(dir.path(),
                    "clock 2024/03/31 09:00:00\nstart\nkey cmdMain Alt+7\n"
                    // Enter on a registered food asks which meal.
                    "select List10(0) 0\ninput 2\nkey List10(0) Enter\n"
                    "select List10(0) 0\ninput-cancel\nkey List10(0) Enter\n"
                    "select List10(0) 0\ninput 4\nkey List10(0) Enter\n"
                    // An exercise goes to the exercise list without a question.
                    "select List10(2) 0\nkey List10(2) Enter\n"
                    "dump List8(0) List8(1) List9 Label9(15) Label9(16)\n"
                    "select List8(1) 0\nkey List8(1) Delete\n"
                    "dump List8(1) Label9(15)\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json& added = r.dumps[0];
  ASSERT_EQ(added["dialogs"].size(), 4u);
  EXPECT_EQ(added["dialogs"][0]["title"], "食事の選択");
  EXPECT_EQ(added["dialogs"][0]["prompt"], "どの食事に追加しますか？\r\n\r\n1: 朝　2: 昼　3: 夜");
  EXPECT_EQ(added["dialogs"][3]["text"], "1、2、3 のどれかを入力してください。");
  EXPECT_EQ(added["controls"]["List8(0)"]["items"], json::array());
  EXPECT_EQ(added["controls"]["List8(1)"]["items"], json({"おにぎり _ 180"}));
  EXPECT_EQ(added["controls"]["List9"]["items"], json({"散歩 _ 100"}));
  EXPECT_EQ(added["controls"]["Label9(15)"]["caption"], "180");
  EXPECT_EQ(added["controls"]["Label9(16)"]["caption"], "100");
  EXPECT_EQ(r.dumps[1]["controls"]["List8(1)"]["items"], json::array());
  EXPECT_EQ(r.dumps[1]["controls"]["Label9(15)"]["caption"], "0");
}

TEST(Keyboard, SpaceMarksTheFocusedCalendarDayAndUnknownKeysAreRefused) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r = runDrive(dir.path(),
                    "clock 2024/03/31 09:00:00\nstart\nclick cmdMono(10)\ndump cmdMono(10)\n"
                    "key cmdMono(10) Space\ndump cmdMono(10)\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  // The click and the key do the same, whatever a click does to the day.
  EXPECT_NE(r.dumps[0]["controls"]["cmdMono(10)"]["backColor"], r.dumps[1]["controls"]["cmdMono(10)"]["backColor"]);
  EXPECT_EQ(r.dumps[1]["focus"], "cmdMono(10)");

  auto bad = runDrive(dir.path(), "start\nkey cmdMain Ctrl+X\n");
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_NE(bad.stderrText.find("unknown key: Ctrl+X"), std::string::npos);
}

TEST(WeightTrendScenario, ForecastLineAndTrendBoxBesideTheFourViews) {
  TempFolder dir;
  weight_diary::writeDiary(dir, "170", "60", "100");
  std::vector<float> kg;
  // Twenty days of a steady half-kilogram a day down from 80.
  for (int i = 0; i < 20; ++i) kg.push_back(80.0f - 0.5f * i);
  weight_diary::writeWeights(dir, store::makeDate(2024, 3, 1), kg);
  auto r = runDrive(dir.path(),
                    "clock 2024/03/20 09:00:00\nstart\ndump lblTrend_Yosou lblTrend_Shuu Check7\n"
                    "click Check7\ndump Check3 Check6 Check7 MSChart1\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json& trend = r.dumps[0]["state"]["WeightTrend"];
  ASSERT_EQ(trend.size(), 20u);
  EXPECT_EQ(trend[0], 80);
  EXPECT_FLOAT_EQ(trend[1].get<float>(), 79.95f);
  // The forecast is the trend carried on at its slope of the last fourteen days.
  const double slope = (trend[19].get<double>() - trend[5].get<double>()) / 14;
  const int days = static_cast<int>(std::ceil((60 - trend[19].get<double>()) / slope - 1e-9));
  const std::string date = store::formatDate(store::makeDate(2024, 3, 20) + std::chrono::days(days));
  EXPECT_EQ(r.dumps[0]["controls"]["lblTrend_Yosou"]["caption"],
            "トレンドによる予想: " + std::to_string(days) + "日後 (" + date + ")");
  // Beside it, the same slope as a week's change, to one decimal.
  char perWeek[16];
  std::snprintf(perWeek, sizeof perWeek, "%.1f", slope * 7);
  EXPECT_EQ(r.dumps[0]["controls"]["lblTrend_Shuu"]["caption"], std::string("トレンド: 週 ") + perWeek + "Kg");
  EXPECT_EQ(r.dumps[0]["controls"]["Check7"]["caption"], "トレンド");
  // The trend box leaves the four views and the chart model as they were.
  EXPECT_EQ(r.dumps[1]["controls"]["Check7"]["value"], 1);
  EXPECT_EQ(r.dumps[1]["controls"]["Check3"]["value"], 1);
  EXPECT_EQ(r.dumps[1]["controls"]["MSChart1"]["columnCount"], 4);
  EXPECT_EQ(r.dumps[1]["controls"]["MSChart1"]["seriesVisible"], json({true, false, false, false}));
}

TEST(WeightTrendScenario, NoWeeklyChangeBeforeFourteenDays) {
  TempFolder dir;
  weight_diary::writeDiary(dir, "170", "60", "100");
  weight_diary::writeWeights(dir, store::makeDate(2024, 3, 1), std::vector<float>(13, 70));
  auto r = runDrive(dir.path(),
                    "clock 2024/03/20 09:00:00\nstart\ndump lblTrend_Shuu\n"
                    "settext txtDate 2024/03/14\nsettext txtInpTaijyu 69\nenter txtInpTaijyu\n"
                    "dump lblTrend_Shuu\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(r.dumps[0]["controls"]["lblTrend_Shuu"]["caption"], "");
  EXPECT_EQ(r.dumps[1]["controls"]["lblTrend_Shuu"]["caption"], "トレンド: 週 -0.1Kg");
}
