#include <gtest/gtest.h>
#include <unistd.h>

#include "diary/day_diary.h"
#include "support/temp_folder.h"

using namespace diary;
using testing_support::InFolder;
using testing_support::TempFolder;

namespace {}  // namespace

TEST(DayDiaryFiles, NamesComeFromTheEightDigitsOfTheDate) {
  EXPECT_EQ(dayFileName("2024/01/05"), "20240105.txt");
  EXPECT_EQ(commentFileName("2024/01/05"), "日記20240105.txt");
  EXPECT_EQ(dayFileName("2004/2/9"), "20040209.txt");
}

TEST(CalorieBalanceFigures, DifferenceCarriesAPlusOnlyAboveZero) {
  EXPECT_EQ(differenceText(350), "+350");
  EXPECT_EQ(differenceText(0), "0");
  EXPECT_EQ(differenceText(-1650), "-1650");
  CalorieBalance b{500, 150, 2000};
  EXPECT_EQ(b.balance(), 350);
  EXPECT_EQ(b.difference(), -1650);
}

TEST(CalorieBalanceFigures, EveryFigureMustFitSixteenBits) {
  EXPECT_TRUE((CalorieBalance{32767, 0, 0}.fits()));
  EXPECT_FALSE((CalorieBalance{32768, 0, 0}.totalsFit()));
  EXPECT_FALSE((CalorieBalance{0, -32769, 0}.totalsFit()));
  EXPECT_FALSE((CalorieBalance{30000, -3000, 0}.totalsFit()));  // balance 33000
  EXPECT_TRUE((CalorieBalance{-31000, 0, 2000}.totalsFit()));
  EXPECT_FALSE((CalorieBalance{-31000, 0, 2000}.fits()));  // difference -33000
}

TEST(DayDiaryFiles, SplitLinesKeepsThePieceAfterTheLastLineEnd) {
  EXPECT_EQ(splitLines("a"), (std::vector<std::string>{"a"}));
  EXPECT_EQ(splitLines("a\r\n"), (std::vector<std::string>{"a", ""}));
  EXPECT_EQ(splitLines("a\nb\rc\r\nd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(splitLines(""), (std::vector<std::string>{""}));
}

TEST(DayDiaryFiles, SavedDayReadsBackListByListInOrder) {
  TempFolder dir;
  InFolder in(dir);
  DayLists lists;
  lists[0] = {"ごはん _ 240", "みそ汁 _ 60"};
  lists[2] = {"カレー, 大盛り _ 900"};
  lists[3] = {"散歩 _ 100", "階段 _ -5"};
  writeDayDiary("2024/01/05", lists, "よく歩いた\r\n夜は控えめ");
  EXPECT_EQ(dir.readUtf8("20240105.txt"),
            "\"2024/01/05\"\r\n\"ごはん\",240,\"朝\"\r\n\"みそ汁\",60,\"朝\"\r\n\"カレー, 大盛り\",900,\"夕\"\r\n"
            "\"散歩\",100,\"運動\"\r\n\"階段\",-5,\"運動\"\r\n");
  EXPECT_EQ(dir.readUtf8("日記20240105.txt"), "よく歩いた\r\n夜は控えめ\r\n");

  DayDiary day = readDayDiary("2024/01/05");
  EXPECT_EQ(day.lists, lists);
  EXPECT_EQ(day.intake, 1200);
  EXPECT_EQ(day.exercise, 95);
  EXPECT_EQ(day.comment, "よく歩いた\r\n夜は控えめ\r\n");
}

TEST(DayDiaryFiles, CommentLineEndsAreStoredAsCrLf) {
  TempFolder dir;
  InFolder in(dir);
  writeDayDiary("2024/01/05", {}, "一行目\n二行目\r三行目");
  EXPECT_EQ(dir.readUtf8("日記20240105.txt"), "一行目\r\n二行目\r\n三行目\r\n");
  writeDayDiary("2024/01/05", {}, "");
  EXPECT_EQ(dir.readBytes("日記20240105.txt"), "\r\n");
  EXPECT_EQ(dir.readUtf8("20240105.txt"), "\"2024/01/05\"\r\n");
  EXPECT_EQ(readDayDiary("2024/01/05").comment, "\r\n");
}

TEST(DayDiaryFiles, MissingFilesGiveAnEmptyDay) {
  TempFolder dir;
  InFolder in(dir);
  DayDiary day = readDayDiary("2024/01/05");
  for (const auto& list : day.lists) EXPECT_TRUE(list.empty());
  EXPECT_EQ(day.intake, 0);
  EXPECT_EQ(day.exercise, 0);
  EXPECT_EQ(day.comment, "");
}

TEST(DayDiaryFiles, ReadingStopsAtDamageAndKeepsWhatCameBefore) {
  TempFolder dir;
  InFolder in(dir);
  const std::string head = "\"2024/01/05\"\r\n\"A\",300,\"朝\"\r\n\"謎\",5,\"おやつ\"\r\n\"B\",200,\"昼\"\r\n";
  struct Case {
    const char* what;
    std::string tail;
  } cases[] = {
      {"a calorie field that is not a number", "\"C\",abc,\"夕\"\r\n\"D\",1,\"夕\"\r\n"},
      {"a record cut short", "\"C\",10\r\n"},
      {"calories beyond 16 bits", "\"C\",40000,\"夕\"\r\n\"D\",1,\"夕\"\r\n"},
      {"a total beyond 16 bits", "\"C\",32300,\"夕\"\r\n\"D\",1,\"夕\"\r\n"},
  };
  for (const auto& c : cases) {
    dir.writeCp932("20240105.txt", head + c.tail);
    DayDiary day = readDayDiary("2024/01/05");
    EXPECT_EQ(day.lists[0], (std::vector<std::string>{"A _ 300"})) << c.what;
    EXPECT_EQ(day.lists[1], (std::vector<std::string>{"B _ 200"})) << c.what;
    EXPECT_TRUE(day.lists[2].empty()) << c.what;
    EXPECT_EQ(day.intake, 500) << c.what;
  }
}

TEST(DayDiaryFiles, UndecodableBytesEndTheReadingOfEitherFile) {
  TempFolder dir;
  InFolder in(dir);
  dir.writeCp932("20240105.txt", "\"2024/01/05\"\r\n\"A\",300,\"朝\"\r\n");
  dir.writeBytes("20240105.txt", dir.readBytes("20240105.txt") + "\"\x81\",1,\"\x81\"\r\n");
  dir.writeCp932("日記20240105.txt", "読める行\r\n");
  dir.writeBytes("日記20240105.txt", dir.readBytes("日記20240105.txt") + "\x81 x\r\n後ろ\r\n");
  DayDiary day = readDayDiary("2024/01/05");
  EXPECT_EQ(day.lists[0], (std::vector<std::string>{"A _ 300"}));
  EXPECT_EQ(day.intake, 300);
  EXPECT_EQ(day.comment, "読める行\r\n");
}
