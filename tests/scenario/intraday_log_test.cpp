#include <gtest/gtest.h>

#include "support/drive.h"
#include "support/temp_folder.h"

using testing_support::runDrive;
using testing_support::TempFolder;

TEST(IntradayLog, StampedWithTheClockNotTheSelectedDate) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("体重.txt", "\"2004/05/01\",70.3\r\n\"2004/05/02\",69.8\r\n");
  auto r = runDrive(dir.path(),
                    "clock 2004/05/10 09:00:00\nstart\n"
                    "settext txtDate 2004/05/03\nclock 2004/05/10 07:05:09\n"
                    "settext txtInpRenTai 65.25\nenter txtInpRenTai\ndump MSChart5\n"
                    "settext txtInpRenTai 66\nenter txtInpRenTai\n"
                    "settext txtInpRenTai 64.9\nenter txtInpRenTai\n"
                    "dump msgTaiList MSChart5 txtInpRenTai\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  ASSERT_EQ(r.dumps[0]["dialogs"].size(), 1u);
  EXPECT_EQ(r.dumps[0]["dialogs"][0]["text"], "体重グラフは２回目から表示されます");
  EXPECT_EQ(r.dumps[0]["dialogs"][0]["icon"], "none");
  EXPECT_EQ(r.dumps[0]["controls"]["MSChart5"]["data"], (nlohmann::json{{""}}));

  // Two weighings within one second carry the same stamp.
  EXPECT_EQ(dir.readUtf8("連続体重.txt"),
            "\"2004/05/10\",\"07:05:09\",65.25\r\n\"2004/05/10\",\"07:05:09\",66\r\n"
            "\"2004/05/10\",\"07:05:09\",64.9\r\n");
  const auto& d = r.last();
  EXPECT_TRUE(d["dialogs"].empty());
  EXPECT_EQ(d["state"]["IntradayCount"], 3);
  const auto& cells = d["controls"]["msgTaiList"]["cells"];
  ASSERT_EQ(cells.size(), 4u);
  EXPECT_EQ(cells[1], (nlohmann::json{"04/05/10", "07:05:09", "65.3Kg"}));
  EXPECT_EQ(cells[3], (nlohmann::json{"04/05/10", "07:05:09", "64.9Kg"}));
  EXPECT_EQ(d["controls"]["msgTaiList"]["topRow"], 3);
  // The axis follows the daily log's highest weight and the target, not the weighings.
  const auto& chart = d["controls"]["MSChart5"];
  EXPECT_EQ(chart["data"], (nlohmann::json{{"65.25"}, {"66"}, {"64.9"}}));
  EXPECT_EQ(chart["axisMin"], 60);
  EXPECT_EQ(chart["axisMax"], 71);
  EXPECT_EQ(d["controls"]["txtInpRenTai"]["text"], "");
}

TEST(IntradayLog, EntryRefusals) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r = runDrive(dir.path(),
                    "clock 2004/05/10 09:00:00\nstart\n"
                    "enter txtInpRenTai\n"
                    "settext txtInpRenTai 0\nenter txtInpRenTai\n"
                    "settext txtInpRenTai Kg\nenter txtInpRenTai\n"
                    "settext txtInpRenTai -65\nenter txtInpRenTai\n"
                    "dump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const auto& dialogs = r.last()["dialogs"];
  ASSERT_EQ(dialogs.size(), 4u);
  EXPECT_EQ(dialogs[0]["text"], "入力がまだのようです");
  for (int i = 1; i < 4; ++i) EXPECT_EQ(dialogs[i]["text"], "０以下か文字が入力されたようです");
  EXPECT_EQ(dir.readUtf8("連続体重.txt"), "");
}

TEST(IntradayLog, LongLogLoadsWhole) {
  TempFolder dir;
  dir.writeMinimalDiary();
  std::string text;
  for (int i = 0; i < 3200; ++i) text += "\"2004/05/01\",\"7:5:3\",65.5\r\n";
  dir.writeCp932("連続体重.txt", text);
  auto r = runDrive(dir.path(), "clock 2004/05/10 09:00:00\nstart\ndump msgTaiList\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(r.last()["state"]["IntradayCount"], 3200);
  EXPECT_EQ(r.last()["controls"]["msgTaiList"]["cells"][3200], (nlohmann::json{"04/05/01", "07:05:03", "65.5Kg"}));
}
