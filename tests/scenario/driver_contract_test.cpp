#include <gtest/gtest.h>

#include "support/drive.h"
#include "support/temp_folder.h"

using testing_support::runDrive;
using testing_support::TempFolder;

TEST(DriverContract, ScriptErrorsExitWithTwoAndNameTheLine) {
  TempFolder dir;
  dir.writeMinimalDiary();
  const char* bad[] = {"start\nfrobnicate cmdMain\n",
                       "start\nclick noSuchControl\n",
                       "click cmdMain\n",
                       "start\nscroll VScroll1 many\n",
                       "clock yesterday\n",
                       "answer Maybe\n"};
  for (const char* script : bad) {
    auto r = runDrive(dir.path(), script);
    EXPECT_EQ(r.exitCode, 2) << script;
    EXPECT_NE(r.stderrText.find("line"), std::string::npos) << r.stderrText;
  }
}

TEST(DriverContract, UnusedAnswersExitWithFour) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r = runDrive(dir.path(), "clock 2004/05/01 09:00:00\nstart\nanswer Yes\ninput たろう\ndump txtDate\n");
  EXPECT_EQ(r.exitCode, 4);
  ASSERT_EQ(r.dumps.size(), 1u);
}

TEST(DriverContract, CommentsBlankLinesNamedDumpsAndJsonText) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r = runDrive(dir.path(),
                    "# a comment\n\nclock 2004/05/01 09:00:00\nstart\n"
                    "settext txtPriData(0) \"  two\\nlines \\u00e9\"\n"
                    "settext txtPriData(1) plain text \n"
                    "dump txtPriData(0) txtPriData(1)\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const auto& c = r.last()["controls"];
  EXPECT_EQ(c.size(), 2u);
  EXPECT_EQ(c["txtPriData(0)"]["text"], "  two\nlines é");
  EXPECT_EQ(c["txtPriData(1)"]["text"], "plain text ");
  EXPECT_TRUE(r.last()["state"].contains("Profile"));
  EXPECT_EQ(r.last()["state"]["Profile"]["ProfileName"], "テスト");
  EXPECT_EQ(r.last()["state"]["Profile"]["TargetPeriod"], 100);
}

TEST(DriverContract, FullDumpCarriesEveryKindWithItsProperties) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r = runDrive(dir.path(), "clock 2004/05/01 09:00:00\nstart\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const auto& c = r.last()["controls"];
  EXPECT_TRUE(c["lblStDate"].contains("caption"));
  EXPECT_TRUE(c["lblStDate"].contains("visible"));
  EXPECT_TRUE(c["txtInpTaijyu"].contains("text"));
  EXPECT_TRUE(c["List5(1)"].contains("items"));
  EXPECT_EQ(c["List5(1)"]["listIndex"], -1);
  EXPECT_TRUE(c["msgB1"].contains("cells"));
  EXPECT_TRUE(c["msgB1"].contains("colWidths"));
  EXPECT_EQ(c["MSChart1"]["width"], 7590);
  EXPECT_EQ(c["MSChart1"]["height"], 5190);
  EXPECT_TRUE(c["shpTaiK"].contains("fillColor"));
  EXPECT_EQ(c["HScroll1"]["min"], 170);
  EXPECT_EQ(c["HScroll1"]["max"], 320);
  EXPECT_EQ(c["Check3"]["caption"], "体重推移");
  EXPECT_EQ(c["cmdMono(0)"]["backColor"].is_null() || c["cmdMono(0)"]["backColor"].is_string(), true);
}

TEST(DriverContract, ABoxWithoutItsAnswerEndsTheRunWithThree) {
  TempFolder dir;
  dir.writeMinimalDiary();
  // The new start opens with an OK/Cancel box: nothing queued for it.
  auto r = runDrive(dir.path(), "clock 2004/05/01 09:00:00\nstart\nclick cmdNew1\ndump txtDate\n");
  EXPECT_EQ(r.exitCode, 3);
  ASSERT_EQ(r.dumps.size(), 1u);
  EXPECT_EQ(r.last()["error"], "no answer queued");
  EXPECT_EQ(r.last()["dialog"]["buttons"], "OKCancel");
  EXPECT_EQ(r.last()["dialog"]["title"], "データ初期化");

  // An input answer queued for a message box is the wrong kind: also 3.
  r = runDrive(dir.path(), "clock 2004/05/01 09:00:00\nstart\ninput たろう\nclick cmdNew1\n");
  EXPECT_EQ(r.exitCode, 3);

  // Answered, the dialogue runs on; a cancelled input box is recorded with a null answer.
  r = runDrive(dir.path(), "clock 2004/05/01 09:00:00\nstart\nanswer OK\ninput-cancel\nclick cmdNew1\ndump txtDate\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const auto& boxes = r.dialogs(0);
  ASSERT_GE(boxes.size(), 2u);
  EXPECT_EQ(boxes[0]["answer"], "OK");
  EXPECT_EQ(boxes[1]["kind"], "input");
  EXPECT_TRUE(boxes[1]["answer"].is_null());
}
