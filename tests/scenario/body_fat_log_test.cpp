#include <gtest/gtest.h>

#include "support/drive.h"
#include "support/temp_folder.h"

using testing_support::runDrive;
using testing_support::TempFolder;

namespace {

const std::string kStart = "clock 2004/05/10 09:00:00\nstart\n";

// The message boxes of a dump as (title, text) pairs.
std::vector<std::pair<std::string, std::string>> boxes(const nlohmann::json& dump) {
  std::vector<std::pair<std::string, std::string>> out;
  for (const auto& d : dump["dialogs"]) out.emplace_back(d["title"], d["text"]);
  return out;
}

}  // namespace

TEST(BodyFatLog, FatMassRowsFollowTheBodyFatRecords) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("体重.txt", "\"2004/05/01\",70\r\n\"2004/05/02\",69\r\n\"2004/05/03\",68.5\r\n");
  // A day before the first weight, then two matched days, then the second entry of a day.
  dir.writeCp932("体脂肪率.txt",
                 "\"2004/04/30\",25\r\n\"2004/05/01\",20\r\n\"2004/05/02\",20\r\n\"2004/05/02\",19.5\r\n");
  auto r = runDrive(dir.path(), kStart + "dump msgShiList msgSuiList\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const auto& s = r.last()["state"];
  EXPECT_EQ(s["FatCount"], 4);
  // The record of 04/30 finds no weight; 05/01 (index 1) searches from weight slot 1 and so misses
  // its weight at slot 0; 05/02 (index 2) starts at slot 2, past its weight at slot 1.
  EXPECT_EQ(s["FatMassCount"], 0);
  const auto& shi = r.last()["controls"]["msgShiList"]["cells"];
  ASSERT_EQ(shi.size(), 5u);
  EXPECT_EQ(shi[1], (nlohmann::json{"04/04/30", "25.0%"}));
  EXPECT_EQ(shi[4], (nlohmann::json{"04/05/02", "19.5%"}));
  EXPECT_EQ(r.last()["controls"]["msgSuiList"]["rows"], 1);
}

TEST(BodyFatLog, FatMassTableFromTheFirstMatchedDayOn) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("体重.txt", "\"2004/05/01\",70\r\n\"2004/05/02\",69\r\n\"2004/05/03\",68\r\n");
  auto r = runDrive(dir.path(), kStart +
                                    "settext txtDate 2004/05/01\nsettext txtInpShibou 20.0\nenter txtInpShibou\n"
                                    "dump\n"
                                    "settext txtDate 2004/05/02\nsettext txtInpShibou 20\nenter txtInpShibou\n"
                                    "answer No\nsettext txtInpShibou 19.6\nenter txtInpShibou\n"
                                    "dump msgShiList msgSuiList txtInpShibou MSChart2 MSChart4 lblStShibou "
                                    "lblNowShibou lblShibou_Sa\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  // One record: the chart asks for a second day; nothing was drawn.
  ASSERT_EQ(boxes(r.dumps[0]).size(), 1u);
  EXPECT_EQ(boxes(r.dumps[0])[0].second, "体脂肪率グラフは２日目から表示されます");
  EXPECT_EQ(r.dumps[0]["dialogs"][0]["icon"], "none");
  EXPECT_EQ(r.dumps[0]["state"]["FatCount"], 1);
  EXPECT_EQ(r.dumps[0]["controls"]["lblShibou_Sa"]["caption"], "0.0");

  const auto& d = r.last();
  // Only the question about the day's second record, answered No: another record.
  ASSERT_EQ(d["dialogs"].size(), 1u);
  EXPECT_EQ(d["dialogs"][0]["answer"], "No");
  EXPECT_EQ(dir.readUtf8("体脂肪率.txt"), "\"2004/05/01\",20\r\n\"2004/05/02\",20\r\n\"2004/05/02\",19.6\r\n");
  EXPECT_EQ(d["state"]["FatMassCount"], 2);
  EXPECT_EQ(d["state"]["FatMassKg"], (nlohmann::json{14, 13.8}));
  const auto& sui = d["controls"]["msgSuiList"]["cells"];
  // The third record (05/02 again) searches from weight slot 2 on and finds no weight.
  ASSERT_EQ(sui.size(), 3u);
  EXPECT_EQ(sui[1], (nlohmann::json{"2004/05/01", "70.0Kg", "20.0%", "14.0Kg", "", ""}));
  EXPECT_EQ(sui[2], (nlohmann::json{"2004/05/02", "69.0Kg", "20.0%", "13.8Kg", "-0.2Kg", "-0.2Kg"}));
  EXPECT_EQ(d["controls"]["msgShiList"]["topRow"], 3);
  EXPECT_EQ(d["controls"]["msgSuiList"]["topRow"], 2);
  EXPECT_EQ(d["controls"]["txtInpShibou"]["text"], "");

  const auto& chart2 = d["controls"]["MSChart2"];
  EXPECT_EQ(chart2["data"], (nlohmann::json{{"20"}, {"20"}, {"19.6"}}));
  EXPECT_EQ(chart2["axisMin"], 10);
  EXPECT_EQ(chart2["axisMax"], 30);
  EXPECT_EQ(d["controls"]["MSChart4"]["data"], (nlohmann::json{{"14"}, {"13.8"}}));
  EXPECT_EQ(d["controls"]["MSChart4"]["axisMin"], 13);
  EXPECT_EQ(d["controls"]["MSChart4"]["axisMax"], 14);

  EXPECT_EQ(d["controls"]["lblStShibou"]["caption"], "20.0");
  EXPECT_EQ(d["controls"]["lblNowShibou"]["caption"], "19.6");
  EXPECT_EQ(d["controls"]["lblShibou_Sa"]["caption"], "0.4");
}

TEST(BodyFatLog, UnmatchedRecordLeavesItsRowEmpty) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("体重.txt", "\"2004/05/01\",70\r\n\"2004/05/02\",69\r\n\"2004/05/03\",68\r\n");
  dir.writeCp932("体脂肪率.txt", "\"2004/05/01\",20\r\n\"2004/06/01\",21\r\n\"2004/05/03\",20.4\r\n");
  auto r = runDrive(dir.path(), kStart + "dump msgSuiList\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const auto& sui = r.last()["controls"]["msgSuiList"]["cells"];
  ASSERT_EQ(sui.size(), 4u);
  EXPECT_EQ(sui[2], (nlohmann::json{"", "", "", "", "", ""}));
  EXPECT_EQ(sui[3][0], "2004/05/03");
  EXPECT_EQ(sui[3][3], "13.9Kg");
  EXPECT_EQ(sui[3][4], "-0.1Kg");
}

TEST(BodyFatLog, EntryRefusals) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r = runDrive(dir.path(), kStart +
                                    "enter txtInpShibou\n"
                                    "settext txtInpShibou 0\nenter txtInpShibou\n"
                                    "settext txtInpShibou abc\nenter txtInpShibou\n"
                                    "settext txtInpShibou -3\nenter txtInpShibou\n"
                                    "settext txtInpShibou 1e39\nenter txtInpShibou\n"
                                    "dump txtInpShibou\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  auto b = boxes(r.last());
  ASSERT_EQ(b.size(), 5u);
  EXPECT_EQ(b[0], std::make_pair(std::string("メッセージ"), std::string("入力がまだのようです")));
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(b[i].second, "０以下か文字が入力されたようです");
  EXPECT_EQ(b[4].second, "入力できる範囲を超えた数値です。");
  for (const auto& d : r.last()["dialogs"]) EXPECT_EQ(d["icon"], "error");
  EXPECT_EQ(dir.readUtf8("体脂肪率.txt"), "");
  EXPECT_EQ(r.last()["controls"]["txtInpShibou"]["text"], "1e39");
}

TEST(BodyFatLog, SampleModeRefusesEveryKey) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("ﾌﾟﾗｲﾍﾞｰﾄ.txt",
                 "\"氏名\",\"Ｑ＆Ｚ\"\r\n\"身長\",168.5\r\n\"目標体重\",65\r\n\"目標期間\",150\r\n"
                 "\"目標達成率\",70\r\n\"目標ｶﾛﾘｰ\",2000\r\n\"体脂肪率Ｙ軸MAX\",30\r\n\"体脂肪率Ｙ軸MIN\",10\r\n"
                 "\"歩数Ｙ軸MAX\",20000\r\n\"歩数Ｙ軸MIN\",0\r\n\"一歩換算\",0.7\r\n");
  auto r = runDrive(dir.path(), kStart + "type txtInpShibou 2\nenter txtInpShibou\ndump txtInpShibou\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  auto b = boxes(r.last());
  ASSERT_EQ(b.size(), 2u);
  for (const auto& [title, text] : b) EXPECT_EQ(title, "サンプルモードでの制約");
  EXPECT_EQ(r.last()["controls"]["txtInpShibou"]["text"], "");
  EXPECT_EQ(dir.readUtf8("体脂肪率.txt"), "");
}

TEST(BodyFatLog, LongLogLoadsWhole) {
  TempFolder dir;
  dir.writeMinimalDiary();
  std::string text;
  for (int i = 0; i < 800; ++i) text += "\"2004/05/01\"," + std::to_string(20 + i % 5) + "\r\n";
  dir.writeCp932("体脂肪率.txt", text);
  auto r = runDrive(dir.path(), kStart + "dump msgShiList\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(r.last()["state"]["FatCount"], 800);
  EXPECT_EQ(r.last()["controls"]["msgShiList"]["rows"], 801);
  EXPECT_EQ(r.last()["controls"]["msgShiList"]["topRow"], 800);
}

TEST(BodyFatLog, SelectedDayIsStoredAsTheWeightLogWritesIt) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("体重.txt", "\"2004/05/01\",70\r\n\"2004/05/02\",69\r\n");
  auto r = runDrive(dir.path(), kStart +
                                    "settext txtDate 2004/5/1\nsettext txtInpShibou 20\nenter txtInpShibou\n"
                                    "settext txtDate \"2004\\\"05\"\nsettext txtInpShibou 21\nenter txtInpShibou\n"
                                    "settext txtInpHosuu 5000\nenter txtInpHosuu\n"
                                    "dump txtInpShibou\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  // The loosely written day matches its weight; the one that is no date is refused.
  EXPECT_EQ(dir.readUtf8("体脂肪率.txt"), "\"2004/05/01\",20\r\n");
  EXPECT_EQ(dir.readUtf8("歩数.txt"), "");
  EXPECT_EQ(r.last()["state"]["FatMassKg"], (nlohmann::json{14}));
  const auto& d = r.last()["dialogs"];
  ASSERT_EQ(d.size(), 3u);
  EXPECT_EQ(d[1]["text"],
            "日付「2004\"05」が読めません。2026/12/07 の形で入力するか、日付の選択で日を選んでください。");
  EXPECT_EQ(d[2]["text"],
            "日付「2004\"05」が読めません。2026/12/07 の形で入力するか、日付の選択で日を選んでください。");
  EXPECT_EQ(r.last()["controls"]["txtInpShibou"]["text"], "21");
}
