#include "training/training.h"

#include <gtest/gtest.h>

#include "store/record.h"
#include "support/temp_folder.h"

using namespace training;

TEST(TrainingBar, PercentIsRoundedDownAndCapped) {
  EXPECT_EQ(barPercent(75, 100), 75);
  EXPECT_EQ(barPercent(115, 100), 100);
  EXPECT_EQ(barPercent(2, 3), 66);
  EXPECT_EQ(barPercent(1e12, 1), 100);  // far beyond a 16-bit percentage
  EXPECT_EQ(barPercent(-10, 100), 0);
  EXPECT_EQ(barPercent(50, 0), 0);
  EXPECT_EQ(barPercent(50, -5), 0);
}

TEST(TrainingBar, SharesTheBottomEdgeOfItsBackground) {
  auto g = barGeometry(75, 300, 8400);
  EXPECT_EQ(g.height, 6300);
  EXPECT_EQ(g.top + g.height, 300 + 8400);
  auto full = barGeometry(100, 300, 8400);
  EXPECT_EQ(full.top, 300);
  auto empty = barGeometry(0, 300, 8401);
  EXPECT_EQ(empty.height, 0);
  EXPECT_EQ(empty.top, 8701);
  EXPECT_EQ(barGeometry(33, 0, 1000).height, 330);
  EXPECT_EQ(barGeometry(1, 0, 150).height, 1);  // 1.5 rounded down
}

TEST(TrainingEntryCheck, RefusalsInOrder) {
  EXPECT_EQ(countRefusal(""), "入力がまだのようです");
  EXPECT_EQ(countRefusal("0"), "０か文字が入力されたようです");
  EXPECT_EQ(countRefusal("abc"), "０か文字が入力されたようです");
  EXPECT_EQ(countRefusal("30001"), "入力は 30000以下でお願いします");
  EXPECT_FALSE(countRefusal("30000"));
  EXPECT_FALSE(countRefusal("-10"));
  EXPECT_FALSE(countRefusal(" 12回"));
}

TEST(TrainingFiles, TitlesAndLogsRoundTrip) {
  testing_support::TempFolder dir;
  std::vector<ExerciseTitle> titles = {{"腹筋", 50}, {"腕立て, 伏せ", 12.5}, {"", 30},
                                       {"背筋", 30}, {"ダンベル", 20},       {"もも上げ", 100}};
  std::string titleFile = dir.file("筋トレ題目.txt");
  writeTitles(titles, titleFile);
  std::string text = dir.readUtf8("筋トレ題目.txt");
  EXPECT_EQ(text.substr(0, text.find("\r\n\"ﾘｽﾄ3")), "\"ﾘｽﾄ1題目\",\"腹筋\",50\r\n\"ﾘｽﾄ2題目\",\"腕立て, 伏せ\",12.5");
  auto back = readTitles(titleFile);
  ASSERT_EQ(back.size(), 6u);
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(back[i].title, titles[i].title);
    EXPECT_EQ(back[i].target, titles[i].target);
  }

  std::string log = dir.file("筋トレ1.txt");
  appendEntry(log, {"2024/01/05", 30});
  appendEntry(log, {"2024/01/06", -10.5});
  EXPECT_EQ(dir.readUtf8("筋トレ1.txt"), "\"2024/01/05\",30\r\n\"2024/01/06\",-10.5\r\n");
  auto entries = readLog(log);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entryLine(entries[0]), "2024/01/05 _ 30");
  EXPECT_EQ(entryLine(entries[1]), "2024/01/06 _ -10.5");
  emptyLog(log);
  EXPECT_TRUE(dir.exists("筋トレ1.txt"));
  EXPECT_TRUE(readLog(log).empty());

  dir.writeCp932("short.txt", "\"ﾘｽﾄ1題目\",\"腹筋\",50\r\n");
  EXPECT_THROW(readTitles(dir.file("short.txt")), store::StoreError);
}

TEST(TrainingCaption, TwoSpacesOrUnderscore) {
  EXPECT_EQ(frameCaption("腹筋", 50), "腹筋  50");
  EXPECT_EQ(frameCaption("腹筋", 12.5, true), "腹筋 _ 12.5");
}
