#include "records/weight_log.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "records/weight_entry.h"
#include "store/record.h"
#include "support/temp_folder.h"

using testing_support::InFolder;
using testing_support::TempFolder;

namespace {

store::Date day(int y, unsigned m, unsigned d) { return store::makeDate(y, m, d); }

}  // namespace

TEST(WeightLogLoad, ReadsEveryRecordWithExtremesAndTheEarliestLowestDate) {
  TempFolder dir;
  dir.writeCp932("体重.txt",
                 "\"2004/05/01\",70\r\n\"2004/05/02\",68.5\r\n\"2004/05/03\",999.9\r\n\"2004/05/04\",68.5\r\n");
  InFolder in(dir);
  records::WeightSeries s;
  records::LoadWeightLog(s);
  ASSERT_EQ(s.WeightCount, 4);
  EXPECT_EQ(s.WeightDate[3], "2004/05/04");
  EXPECT_EQ(s.WeightDay[1], day(2004, 5, 2));
  EXPECT_FLOAT_EQ(s.WeightKg[2], 999.9f);  // the heaviest a file may hold
  EXPECT_FLOAT_EQ(s.MinWeight, 68.5f);
  EXPECT_EQ(s.MinWeightDate, day(2004, 5, 2));  // the first of the two equal lowest weights
  EXPECT_FLOAT_EQ(s.MaxWeight, 999.9f);
}

TEST(WeightLogLoad, ReloadKeepsExtremesAndLoadsAnyLength) {
  TempFolder dir;
  std::string text;
  store::Date d = day(2001, 1, 1);
  for (int i = 0; i < 1000; ++i) text += "\"" + store::formatDate(d + std::chrono::days(i)) + "\",80\r\n";
  dir.writeCp932("体重.txt", text);
  InFolder in(dir);
  records::WeightSeries s;
  s.MinWeight = 50;  // as left by an earlier load of a longer log
  s.MaxWeight = 90;
  records::LoadWeightLog(s);
  EXPECT_EQ(s.WeightCount, 1000);
  EXPECT_EQ(s.WeightKg.size(), 1000u);
  EXPECT_EQ(s.WeightDate.back(), store::formatDate(d + std::chrono::days(999)));
  EXPECT_FLOAT_EQ(s.MinWeight, 50);
  EXPECT_FLOAT_EQ(s.MaxWeight, 90);
}

TEST(WeightLogLoad, DateThatIsNoDateStopsTheLoadNamingTheLine) {
  TempFolder dir;
  dir.writeCp932("体重.txt", "\"2004/05/01\",70\r\n\"きのう\",69\r\n");
  InFolder in(dir);
  records::WeightSeries s;
  try {
    records::LoadWeightLog(s);
    FAIL() << "no error";
  } catch (const store::StoreError& e) {
    std::string what = e.what();
    EXPECT_NE(what.find("体重.txt"), std::string::npos) << what;
    EXPECT_NE(what.find("2 行目"), std::string::npos) << what;
  }
}

TEST(WeightEntryRules, FillersCarryTheLastWeightOverMonthAndYearEnds) {
  auto recs = records::recordsForEntry(day(2003, 12, 30), 65.3f, 4, "2004/01/03", 64.9f);
  ASSERT_EQ(recs.size(), 4u);
  EXPECT_EQ(recs[0].line(), "\"2003/12/31\",65.3");
  EXPECT_EQ(recs[1].line(), "\"2004/01/01\",65.3");
  EXPECT_EQ(recs[2].line(), "\"2004/01/02\",65.3");
  EXPECT_EQ(recs[3].line(), "\"2004/01/03\",64.9");
  // The next day needs no filler.
  auto one = records::recordsForEntry(day(2004, 2, 28), 60, 1, "2004/02/29", 59.5f);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].line(), "\"2004/02/29\",59.5");
}

TEST(WeightEntryRules, GapQuestionNamesTheMissingDaysAndTheLastWeight) {
  std::string q = records::gapFillQuestion(day(2004, 2, 27), day(2004, 3, 2), 65.3f);
  EXPECT_EQ(q,
            "2004/02/28～2004/03/01までのデータが保存されていません\n"
            "最終日のデータ (65.3Kg)でうめておきますか？\n\n"
            "『はい』をクリックすると自動的に65.3Kgでうめます\n"
            "自分で保存し直す場合は『いいえ』をクリックしてください");
}

TEST(WeightEntryRules, BestRecordMessages) {
  EXPECT_EQ(records::bestRecordMessage(64.8f, 65.3f), "最高記録を 0.5Kg 更新しました  ");
  EXPECT_EQ(records::bestRecordMessage(65.3f, 65.3f), "最高記録と並びました  ");
  EXPECT_FALSE(records::bestRecordMessage(65.4f, 65.3f));
  // Less than a twentieth beaten still shows as a record, rounded.
  EXPECT_EQ(records::bestRecordMessage(65.26f, 65.3f), "最高記録を 0.0Kg 更新しました  ");
}

TEST(WeightEntryRules, LimitIsAHundredYearsOfDays) {
  EXPECT_FALSE(records::exceedsLimit(36599, 1));
  EXPECT_TRUE(records::exceedsLimit(36600, 1));
  EXPECT_FALSE(records::exceedsLimit(36570, 30));
  EXPECT_TRUE(records::exceedsLimit(36570, 31));
  EXPECT_NE(records::notAfterLastMessage("2004/05/03").find("すでに登録済みの日付(2004/05/03)以前の日付"),
            std::string::npos);
}
