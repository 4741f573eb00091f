#include <gtest/gtest.h>

#include "diary/calorie_items.h"
#include "store/record.h"
#include "support/temp_folder.h"

using namespace diary;
using testing_support::TempFolder;

TEST(CalorieEntry, CaloriesAndNameReadBackOutOfTheEntryText) {
  struct Case {
    const char* name;
    int calories;
  } cases[] = {{"ごはん", 240}, {"ジョギング 30分", 0}, {"おから", -15}, {"  ", 32767}, {"X", -32768}};
  for (const auto& c : cases) {
    std::string entry = CalorieItemEntry(c.name, c.calories);
    EXPECT_EQ(entry, std::string(c.name) + " _ " + std::to_string(c.calories));
    EXPECT_EQ(entryCalories(entry), c.calories) << entry;
    EXPECT_EQ(entryName(entry), c.name) << entry;
  }
}

TEST(CalorieEntry, ANameHoldingTheLowLineStillReadsItsOwnCalories) {
  // Only a hand-edited file can hold such a name; the number at the end is still the calories.
  std::string entry = CalorieItemEntry("A_B _ 7", 120);
  EXPECT_EQ(entryCalories(entry), 120);
  EXPECT_EQ(entryName(entry), "A_B _ 7");
}

TEST(CalorieEntry, TextWithoutCaloriesGivesNothing) {
  for (const char* text : {"", "ごはん", "ごはん _ ", "ごはん _ abc", "ごはん _ 99999", "ごはん_120"})
    EXPECT_FALSE(entryCalories(text).has_value()) << text;
}

TEST(CalorieEntry, NamesThatWouldBreakTheFileOrTheReadingAreRefused) {
  EXPECT_FALSE(itemNameProblem("カレーライス").has_value());
  EXPECT_FALSE(itemNameProblem("  ").has_value());
  EXPECT_FALSE(itemNameProblem("ﾊﾟﾝ, ﾊﾞﾀｰ").has_value());
  for (const char* bad : {"5\"ｲﾝﾁ", "A_B", "＿ok_", "ケーキ🍰"}) {
    auto problem = itemNameProblem(bad);
    ASSERT_TRUE(problem.has_value()) << bad;
    EXPECT_FALSE(problem->empty());
  }
  EXPECT_NE(itemNameProblem("ケーキ🍰")->find("🍰"), std::string::npos);
}

TEST(CalorieEntry, CalorieAnswerIsItsLeadingNumberRoundedHalfToEven) {
  EXPECT_EQ(caloriesFromAnswer("120"), 120);
  EXPECT_EQ(caloriesFromAnswer("12.5"), 12);
  EXPECT_EQ(caloriesFromAnswer("13.5"), 14);
  EXPECT_EQ(caloriesFromAnswer("abc"), 0);
  EXPECT_EQ(caloriesFromAnswer(" 250kcal"), 250);
  EXPECT_EQ(caloriesFromAnswer("-40"), -40);
  EXPECT_EQ(caloriesFromAnswer("32767"), 32767);
  EXPECT_EQ(caloriesFromAnswer("-32768"), -32768);
  EXPECT_FALSE(caloriesFromAnswer("32768").has_value());
  EXPECT_FALSE(caloriesFromAnswer("32767.5").has_value());
  EXPECT_FALSE(caloriesFromAnswer("-32769").has_value());
  EXPECT_FALSE(caloriesFromAnswer("123456789012345678901234567890").has_value());
}

TEST(CalorieEntry, ListKeysNameTheThreeListsOnly) {
  for (int i = 0; i < kItemLists; ++i) EXPECT_EQ(itemListOfKey(itemListKey(i)), i);
  EXPECT_EQ(itemListKey(0), "ﾘｽﾄ1");
  EXPECT_FALSE(itemListOfKey("ﾘｽﾄ4").has_value());
  EXPECT_FALSE(itemListOfKey("リスト1").has_value());
}

TEST(CalorieItemsFile, ItemsComeBackInFileOrderWithTheirLists) {
  TempFolder dir;
  const std::string file = dir.file("ｶﾛﾘｰ.txt");
  dir.writeCp932("ｶﾛﾘｰ.txt", "\"ﾘｽﾄ1\",\"ごはん\",240\r\n\"ﾘｽﾄ3\",\"散歩\",100\r\n\"ﾘｽﾄ2\",\"牛乳\",-5\r\n");
  appendCalorieItem(0, "パン", 12, file);
  auto items = readCalorieItems(file);
  ASSERT_EQ(items.size(), 4u);
  EXPECT_EQ(items[0].list, 0);
  EXPECT_EQ(items[0].entry, "ごはん _ 240");
  EXPECT_EQ(items[1].list, 2);
  EXPECT_EQ(items[2].list, 1);
  EXPECT_EQ(items[2].entry, "牛乳 _ -5");
  EXPECT_EQ(items[3].list, 0);
  EXPECT_EQ(items[3].entry, "パン _ 12");
  const std::string text = dir.readUtf8("ｶﾛﾘｰ.txt");
  EXPECT_TRUE(text.ends_with("-5\r\n\"ﾘｽﾄ1\",\"パン\",12\r\n")) << text;
}

TEST(CalorieItemsFile, EmptyFileGivesNoItemsAndDamageIsAnError) {
  TempFolder dir;
  dir.writeCp932("ｶﾛﾘｰ.txt", "");
  EXPECT_TRUE(readCalorieItems(dir.file("ｶﾛﾘｰ.txt")).empty());
  dir.writeCp932("ｶﾛﾘｰ.txt", "\"ﾘｽﾄ1\",\"ごはん\",240\r\n\"ﾘｽﾄ9\",\"謎\",1\r\n");
  EXPECT_THROW(readCalorieItems(dir.file("ｶﾛﾘｰ.txt")), store::StoreError);
  dir.writeCp932("ｶﾛﾘｰ.txt", "\"ﾘｽﾄ1\",\"ごはん\",abc\r\n");
  EXPECT_THROW(readCalorieItems(dir.file("ｶﾛﾘｰ.txt")), store::StoreError);
  EXPECT_THROW(readCalorieItems(dir.file("ない.txt")), store::StoreError);
}
