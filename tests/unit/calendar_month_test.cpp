#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "calendar/lazy_calendar.h"
#include "support/temp_folder.h"

using testing_support::TempFolder;

namespace {

// The days shown in the 37 cells, 0 for a cell outside the month.
std::vector<int> daysByCell(const calendar::MonthLayout& l) {
  std::vector<int> out;
  for (int i = 0; i < calendar::kCellCount; ++i) out.push_back(l.dayInCell(i));
  return out;
}

}  // namespace

TEST(CalendarMonthLayout, FirstDaySitsUnderItsWeekdayAndTheDaysRunOn) {
  // September 2024 begins on a Sunday, June 2024 on a Saturday, March 2024 on a Friday.
  EXPECT_EQ(calendar::layoutMonth(2024, 9).firstCell, 0);
  EXPECT_EQ(calendar::layoutMonth(2024, 6).firstCell, 6);
  EXPECT_EQ(calendar::layoutMonth(2024, 3).firstCell, 5);

  // A 31-day month that begins on a Saturday fills the grid to its last cell.
  const auto march2025 = calendar::layoutMonth(2025, 3);
  ASSERT_EQ(march2025.firstCell, 6);
  ASSERT_EQ(march2025.days, 31);
  EXPECT_EQ(march2025.dayInCell(36), 31);
  EXPECT_EQ(march2025.dayInCell(5), 0);

  for (auto [y, m] : {std::pair{2024, 2u}, {2023, 2u}, {2024, 12u}, {2000, 2u}, {1900, 2u}}) {
    const auto l = calendar::layoutMonth(y, m);
    const auto days = daysByCell(l);
    int expected = 1;
    for (int i = 0; i < calendar::kCellCount; ++i) {
      if (i < l.firstCell || expected > l.days) {
        EXPECT_EQ(days[i], 0) << y << "/" << m << " cell " << i;
      } else {
        EXPECT_EQ(days[i], expected++) << y << "/" << m << " cell " << i;
      }
    }
    EXPECT_EQ(expected - 1, l.days) << y << "/" << m;
  }
  EXPECT_EQ(calendar::layoutMonth(2024, 2).days, 29);
  EXPECT_EQ(calendar::layoutMonth(1900, 2).days, 28);
  EXPECT_EQ(calendar::layoutMonth(2000, 2).days, 29);
}

TEST(CalendarMonthLayout, ShortFebruaryFromSundayLeavesCell28Outside) {
  // February 2015 begins on a Sunday and has 28 days: the only month whose cell 28 is empty.
  const auto l = calendar::layoutMonth(2015, 2);
  ASSERT_EQ(l.firstCell, 0);
  EXPECT_EQ(l.dayInCell(27), 28);
  EXPECT_EQ(l.dayInCell(28), 0);
  // Every other month of a long stretch reaches cell 28.
  for (int y = 2000; y < 2040; ++y)
    for (unsigned m = 1; m <= 12; ++m) {
      const auto month = calendar::layoutMonth(y, m);
      if (month.firstCell == 0 && month.days == 28) continue;
      EXPECT_NE(month.dayInCell(28), 0) << y << "/" << m;
      for (int cell = 6; cell <= 27; ++cell) EXPECT_NE(month.dayInCell(cell), 0) << y << "/" << m;
    }
}

TEST(CalendarMonthFile, NamesCarryFourDigitYearAndTwoDigitMonth) {
  EXPECT_EQ(calendar::monthCaption(2024, 3), "2024年03月");
  EXPECT_EQ(calendar::monthFileName(2024, 12), "2024年12月.txt");
  EXPECT_EQ(calendar::monthFileName(987, 1), "0987年01月.txt");
}

TEST(CalendarMonthFile, WritesSixLinesAndReadsThemBack) {
  TempFolder dir;
  std::vector<int> marks(calendar::kCellCount, 0);
  marks[4] = 1;
  marks[5] = 2;
  marks[35] = 2;
  marks[36] = 1;
  const std::string file = dir.file("2024年03月.txt");
  calendar::writeMonthMarks(file, marks);
  EXPECT_EQ(dir.readBytes("2024年03月.txt"),
            "0,0,0,0,1,2,0\r\n0,0,0,0,0,0,0\r\n0,0,0,0,0,0,0\r\n0,0,0,0,0,0,0\r\n0,0,0,0,0,0,0\r\n2,1\r\n");
  EXPECT_EQ(calendar::readMonthMarks(file), marks);
}

TEST(CalendarMonthFile, ReadingIsSilentAndKeepsWhatCameBeforeTheDamage) {
  TempFolder dir;
  const std::vector<int> none(calendar::kCellCount, 0);
  EXPECT_EQ(calendar::readMonthMarks(dir.file("missing.txt")), none);

  dir.writeBytes("empty.txt", "");
  EXPECT_EQ(calendar::readMonthMarks(dir.file("empty.txt")), none);

  // Line breaks do not matter; a short file leaves the rest unmarked.
  dir.writeBytes("short.txt", "1,2\r\n0,1\r\n");
  std::vector<int> expected = none;
  expected[0] = 1, expected[1] = 2, expected[3] = 1;
  EXPECT_EQ(calendar::readMonthMarks(dir.file("short.txt")), expected);

  dir.writeBytes("damaged.txt", "2,1,x,1,1\r\n");
  expected = none;
  expected[0] = 2, expected[1] = 1;
  EXPECT_EQ(calendar::readMonthMarks(dir.file("damaged.txt")), expected);

  // Bytes that are not CP932 at all, and a folder where the file should be.
  dir.writeBytes("garbage.txt", "\x81\x81\x81\xff\xff");
  EXPECT_EQ(calendar::readMonthMarks(dir.file("garbage.txt")), none);
  std::filesystem::create_directory(dir.file("folder.txt"));
  EXPECT_EQ(calendar::readMonthMarks(dir.file("folder.txt")), none);
}

TEST(CalendarMarks, CycleAndColours) {
  EXPECT_EQ(calendar::nextMark(0), 1);
  EXPECT_EQ(calendar::nextMark(1), 2);
  EXPECT_EQ(calendar::nextMark(2), 0);
  EXPECT_EQ(calendar::nextMark(7), 0);  // a hand-edited mark goes back to none

  EXPECT_EQ(calendar::loadedMarkColour(0), std::nullopt);
  EXPECT_EQ(calendar::loadedMarkColour(1), 0xC0FFC0u);
  EXPECT_EQ(calendar::loadedMarkColour(2), 0xFFC0C0u);
  EXPECT_EQ(calendar::loadedMarkColour(5), 0x000000u);
  EXPECT_EQ(calendar::clickedMarkColour(-1), std::nullopt);
  EXPECT_EQ(calendar::clickedMarkColour(2), 0xFFC0C0u);
}

TEST(CalendarAchievement, RateAgainstTheTarget) {
  std::vector<int> marks(calendar::kCellCount, 0);
  // Cell 36 lies outside most months; whatever the file holds there still counts.
  marks[3] = 1, marks[36] = 1, marks[20] = 2;

  auto a = calendar::achievementOf(marks, 70);
  EXPECT_EQ(a.good, 2);
  EXPECT_EQ(a.bad, 1);
  EXPECT_FLOAT_EQ(a.rate, 2.0f / 3.0f);
  EXPECT_EQ(a.rateText, "66.7");
  EXPECT_FALSE(a.smiling);
  EXPECT_TRUE(calendar::achievementOf(marks, 66).smiling);

  // Exactly on the target keeps the smile.
  marks[21] = 2;
  EXPECT_EQ(calendar::achievementOf(marks, 50).rateText, "50.0");
  EXPECT_TRUE(calendar::achievementOf(marks, 50).smiling);

  const std::vector<int> none(calendar::kCellCount, 0);
  auto empty = calendar::achievementOf(none, 70);
  EXPECT_EQ(empty.rate, 0);
  EXPECT_EQ(empty.rateText, "0.0");
  EXPECT_FALSE(empty.smiling);
  EXPECT_TRUE(calendar::achievementOf(none, 0).smiling);
  EXPECT_TRUE(calendar::achievementOf(none, -5).smiling);

  // Hand-edited marks other than 1 and 2 count for neither side.
  std::vector<int> odd(calendar::kCellCount, 0);
  odd[7] = 3, odd[8] = 1;
  EXPECT_EQ(calendar::achievementOf(odd, 100).rateText, "100.0");
}
