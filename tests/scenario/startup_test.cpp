#include <gtest/gtest.h>

#include "support/drive.h"
#include "support/temp_folder.h"

using testing_support::runDrive;
using testing_support::TempFolder;

namespace {
const char* kPages[] = {"fraMain", "fraTaijyu", "fraShibou", "fraManpo",   "fraKintore",
                        "fraEiyo", "fraDiary",  "fraMemo",   "fraBunseki", "fraSettei"};
}

TEST(Startup, DateSelectorDayLabelsFocusAndPages) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r =
      runDrive(dir.path(), "clock 2004/05/01 09:00:00\nstart\ndump\nclick cmdManpo\nkey txtInpHosuu Alt+1\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  // A day starts with its weight: start-up and Alt+1 lead to the weight box.
  EXPECT_EQ(r.last()["focus"], "txtInpTaijyu");
  r.dumps.pop_back();
  const auto& c = r.last()["controls"];
  EXPECT_EQ(c["txtDate"]["text"], "2004/05/01");
  EXPECT_EQ(c["VScroll1"]["value"], 365);
  EXPECT_EQ(c["lblTai_Date"]["caption"], "2004/05/01の体重");
  EXPECT_EQ(c["lblShi_Date"]["caption"], "2004/05/01の体脂肪率");
  EXPECT_EQ(c["lblHosu_Date"]["caption"], "2004/05/01の歩数");
  for (const char* page : kPages) EXPECT_EQ(c[page]["visible"], std::string(page) == "fraMain") << page;
  EXPECT_EQ(r.last()["focus"], "txtInpTaijyu");
  EXPECT_EQ(r.last()["state"]["ReferenceDate"], "2004/05/01");
  EXPECT_EQ(r.last()["state"]["Loading"], false);
  EXPECT_EQ(r.last()["state"]["SampleMode"], false);
  EXPECT_EQ(r.last()["ended"], false);

  // The sample offers no entry box: the focus stays on the page button.
  TempFolder sample;
  sample.copySample();
  auto s =
      runDrive(sample.path(), "clock 2026/12/08 09:00:00\nstart\ndump\nclick cmdManpo\nkey cmdManpo Alt+1\ndump\n");
  ASSERT_EQ(s.exitCode, 0) << s.stderrText;
  EXPECT_EQ(s.dumps[0]["focus"], "cmdMain");
  EXPECT_EQ(s.dumps[1]["focus"], "cmdMain");
}

TEST(Startup, TourOffShowsNoBoxAndLeavesTheSettingsFileAlone) {
  TempFolder dir;
  dir.writeMinimalDiary("テスト", 0);
  // A blank inside the record: any rewrite would show as a changed file.
  dir.writeCp932("設定.txt", "\"ヘルプツアー\", 0\r\n");
  auto r = runDrive(dir.path(), "clock 2004/05/01 09:00:00\nstart\ndump chkHelp\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_TRUE(r.dialogs(0).empty()) << r.dialogs(0).dump();
  EXPECT_EQ(r.last()["controls"]["chkHelp"]["value"], 0);
  EXPECT_EQ(r.last()["state"]["HelpTourOn"], 0);
  EXPECT_EQ(dir.readUtf8("設定.txt"), "\"ヘルプツアー\", 0\r\n");
}

TEST(Startup, TourOnChecksTheBoxWithoutRewritingTheFile) {
  TempFolder dir;
  dir.writeMinimalDiary("テスト", 1);
  dir.writeCp932("設定.txt", "\"ヘルプツアー\", 1\r\n");
  auto r = runDrive(dir.path(), "clock 2004/05/01 09:00:00\nstart\ndump chkHelp\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(r.last()["controls"]["chkHelp"]["value"], 1);
  EXPECT_EQ(r.last()["state"]["HelpTourOn"], 1);
  EXPECT_EQ(dir.readUtf8("設定.txt"), "\"ヘルプツアー\", 1\r\n");
  // The only box is the main page's tour text, after the window is up.
  const auto& boxes = r.dialogs(0);
  ASSERT_EQ(boxes.size(), 1u) << boxes.dump();
  EXPECT_EQ(boxes[0]["title"], "ヘルプツアー");
  EXPECT_EQ(boxes[0]["icon"], "information");
}

TEST(Startup, SampleModeFollowsTheProfile) {
  TempFolder dir;
  dir.writeMinimalDiary("Ｑ＆Ｚ");
  std::string sample =
      "\"氏名\",\"Ｑ＆Ｚ\"\r\n\"身長\",168.5\r\n\"目標体重\",65\r\n\"目標期間\",150\r\n\"目標達成率\",70\r\n"
      "\"目標ｶﾛﾘｰ\",2000\r\n\"体脂肪率Ｙ軸MAX\",40\r\n\"体脂肪率Ｙ軸MIN\",5\r\n\"歩数Ｙ軸MAX\",30000\r\n"
      "\"歩数Ｙ軸MIN\",0\r\n\"一歩換算\",0.65\r\n";
  dir.writeCp932("ﾌﾟﾗｲﾍﾞｰﾄ.txt", sample);
  auto r = runDrive(dir.path(), "clock 2004/05/01 09:00:00\nstart\ndump txtDate\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(r.last()["state"]["SampleMode"], true);

  std::string taller = sample;
  taller.replace(taller.find("168.5"), 5, "168.6");
  dir.writeCp932("ﾌﾟﾗｲﾍﾞｰﾄ.txt", taller);
  r = runDrive(dir.path(), "clock 2004/05/01 09:00:00\nstart\ndump txtDate\n");
  EXPECT_EQ(r.last()["state"]["SampleMode"], false);
}

TEST(Startup, InputErrorsShowOneBoxNamingTheFileAndEnd) {
  struct Case {
    const char* file;
    const char* content;  // nullptr: remove the file
  } cases[] = {{"ﾌﾟﾗｲﾍﾞｰﾄ.txt", nullptr},
               {"設定.txt", nullptr},
               {"ﾌﾟﾗｲﾍﾞｰﾄ.txt", "\"氏名\",\"テスト\"\r\n\"身長\",170\r\n"},
               {"体重.txt", "\"2004/05/01\",abc\r\n"}};
  for (const auto& c : cases) {
    TempFolder dir;
    dir.writeMinimalDiary();
    if (c.content)
      dir.writeCp932(c.file, c.content);
    else
      std::remove(dir.file(c.file).c_str());
    auto r = runDrive(dir.path(), "clock 2004/05/01 09:00:00\nstart\nclick cmdSettei\ndump txtDate\n");
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    const auto& boxes = r.dialogs(0);
    ASSERT_EQ(boxes.size(), 1u) << c.file << " " << boxes.dump();
    EXPECT_EQ(boxes[0]["icon"], "error");
    EXPECT_NE(boxes[0]["text"].get<std::string>().find(c.file), std::string::npos) << boxes[0]["text"];
    EXPECT_EQ(r.last()["ended"], true);
  }
}

TEST(Startup, QuitEndsTheProgramAndLaterEventsAreIgnored) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r = runDrive(dir.path(),
                    "clock 2004/05/01 09:00:00\nstart\nquit\nclick cmdSettei\nscroll VScroll1 300\n"
                    "dump fraMain fraSettei VScroll1\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(r.last()["ended"], true);
  EXPECT_EQ(r.last()["controls"]["fraMain"]["visible"], true);
  EXPECT_EQ(r.last()["controls"]["fraSettei"]["visible"], false);
  EXPECT_EQ(r.last()["controls"]["VScroll1"]["value"], 365);
}
