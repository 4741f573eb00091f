#include <gtest/gtest.h>

#include "progress/weight_progress.h"

namespace {

store::Date day(int y, unsigned m, unsigned d) { return store::makeDate(y, m, d); }

records::WeightSeries series(store::Date first, std::vector<float> kg, int step = 1) {
  records::WeightSeries s;
  for (size_t i = 0; i < kg.size(); ++i) {
    store::Date d = first + std::chrono::days(static_cast<int>(i) * step);
    s.WeightDate.push_back(store::formatDate(d));
    s.WeightDay.push_back(d);
    s.WeightKg.push_back(kg[i]);
    if (kg[i] < s.MinWeight) {
      s.MinWeight = kg[i];
      s.MinWeightDate = d;
    }
  }
  s.WeightCount = static_cast<int>(kg.size());
  return s;
}

}  // namespace

TEST(ProgressParts, ChangeMarksAndTotals) {
  EXPECT_EQ(progress::changeMark(-0.1), "増");
  EXPECT_EQ(progress::changeMark(0), "同");
  EXPECT_EQ(progress::changeMark(0.1), "減");
  progress::LossGain t = progress::lossAndGain({70.0f, 69.0f, 69.5f, 68.0f});
  EXPECT_FLOAT_EQ(t.loss, 2.5f);
  EXPECT_FLOAT_EQ(t.gain, -0.5f);
  // After a blank (0) weight in a hand-edited file there is nothing to compare with: the step
  // down to the blank counts, the step up from it does not.
  progress::LossGain skip = progress::lossAndGain({70.0f, 0.0f, 69.0f, 68.0f});
  EXPECT_FLOAT_EQ(skip.loss, 70.0f + 1.0f);
  EXPECT_FLOAT_EQ(skip.gain, 0.0f);
}

TEST(ProgressParts, PercentagesAreWholeAndLimited) {
  EXPECT_EQ(progress::clampedPercent(41.0, 100.0), 41);
  EXPECT_EQ(progress::clampedPercent(2.0, 3.0), 66);  // rounded down
  EXPECT_EQ(progress::clampedPercent(120.0, 100.0), 100);
  EXPECT_EQ(progress::clampedPercent(-2.5f, 10.0f), 0);
  EXPECT_EQ(progress::clampedPercent(2.5f, 10.0f), 25);
  EXPECT_FALSE(progress::clampedPercent(5.0, 0.0));
  EXPECT_FALSE(progress::clampedPercent(2.5f, 0.0f));
}

TEST(ProgressForecast, DaysAndDateOrWhyNot) {
  // 2.5 kg in 41 days, 7.5 kg to go: 123 days on.
  EXPECT_EQ(progress::forecastText(2.5f, 41, 67.5f, 60, day(2004, 6, 11)), "123日後 ( 2004/10/12 )");
  // A half day goes to the even count: 2.5 days is 2, 3.5 days is 4 (0.25 kg a day).
  EXPECT_EQ(progress::forecastText(2.0f, 8, 60.625f, 60, day(2004, 6, 11)), "2日後 ( 2004/06/13 )");
  EXPECT_EQ(progress::forecastText(2.0f, 8, 60.875f, 60, day(2004, 6, 11)), "4日後 ( 2004/06/15 )");
  // Below the target there is no day ahead to forecast; reaching it today is day 0.
  EXPECT_EQ(progress::forecastText(10.0f, 10, 59.0f, 60, day(2004, 6, 11)), "－");
  EXPECT_EQ(progress::forecastText(10.0f, 10, 60.0f, 60, day(2004, 6, 11)), "0日後 ( 2004/06/11 )");
  EXPECT_EQ(progress::forecastText(0, 10, 70, 60, day(2004, 6, 11)), "初日のまんま。予想不能");
  EXPECT_EQ(progress::forecastText(-1, 10, 71, 60, day(2004, 6, 11)), "初日より増。予想不能");
  // First and last record on one date: no rate, no forecast, and no "inf".
  EXPECT_EQ(progress::forecastText(1, 0, 69, 60, day(2004, 6, 11)), "");
  // 0.1 kg in 700 days with 40 kg to go is 280000 days: more than a day count can hold.
  EXPECT_EQ(progress::forecastText(0.1f, 700, 100, 60, day(2004, 6, 11)), progress::kForecastTooFar);
  // Within the count but past the calendar's last year.
  EXPECT_EQ(progress::forecastText(1, 1, 30000, 60, day(9990, 1, 1)), progress::kForecastTooFar);
}

TEST(ProgressSummary, FortyOneDaysExample) {
  records::WeightSeries s = series(day(2004, 5, 1), {70.0f, 67.5f}, 41);
  progress::WeightProgress p = progress::computeWeightProgress(s, {170, 60, 100, day(2004, 6, 11)});
  EXPECT_EQ(p.stDate, "2004/05/01");
  EXPECT_EQ(p.nowDate, "2004/06/11");
  EXPECT_EQ(p.dateSa, "41");
  EXPECT_EQ(p.daysElapsed, "41日経過");
  EXPECT_EQ(p.stTaijyu, "70.0");
  EXPECT_EQ(p.nowTaijyu, "67.5");
  EXPECT_EQ(p.taijyuSa, "2.5");
  EXPECT_EQ(p.taijyuZou, "Kg減");
  EXPECT_EQ(p.taiZougen, "2.5Kg減");
  EXPECT_EQ(p.periodPercent, 41);
  EXPECT_EQ(p.targetPercent, 25);
  EXPECT_EQ(p.stBmi, "24.2");
  EXPECT_EQ(p.nowBmi, "23.4");
  EXPECT_EQ(p.bmiSa, "0.8");
  EXPECT_EQ(p.bmiZou, "減");
  EXPECT_EQ(p.lossGain, "2.5Kg減     0.0Kg増");
  EXPECT_EQ(p.daysLeft, "残り 99日");  // counts records, not days
  EXPECT_EQ(p.kgLeft, "7.5Kg");
  EXPECT_EQ(p.targetLeft, "目標  60Kgまで残り 7.5Kg");
  EXPECT_EQ(p.obesity, "6.2%");  // 67.5 against 63.58
  EXPECT_EQ(p.weightText, "67.5");
  EXPECT_EQ(p.heightText, "1.7");
  EXPECT_EQ(p.todayWeight, "67.5");
  EXPECT_EQ(p.forecast, "123日後 ( 2004/10/12 )");
  EXPECT_EQ(p.best, "67.5 Kg ( 2004/06/11 )");
}

TEST(ProgressSummary, ZeroDivisorsLeaveOnlyTheirFiguresBlank) {
  records::WeightSeries s = series(day(2004, 5, 1), {60.0f, 61.0f});
  progress::WeightProgress p = progress::computeWeightProgress(s, {0, 60, 0, day(2004, 5, 10)});
  EXPECT_FALSE(p.periodPercent);
  EXPECT_FALSE(p.targetPercent);
  EXPECT_EQ(p.stBmi, "");
  EXPECT_EQ(p.nowBmi, "");
  EXPECT_EQ(p.bmiSa, "");
  EXPECT_EQ(p.bmiZou, "");
  EXPECT_EQ(p.obesity, "");
  EXPECT_EQ(p.heightText, "0");
  // Everything else is still there.
  EXPECT_EQ(p.taiZougen, "1.0Kg増");
  EXPECT_EQ(p.daysLeft, "残り -1日");
  EXPECT_EQ(p.forecast, "初日より増。予想不能");
  EXPECT_FALSE(p.todayWeight);
}

TEST(ProgressSummary, OneRecordLeavesForecastAndBestUntouched) {
  records::WeightSeries s = series(day(2004, 5, 1), {65.3f});
  progress::WeightProgress p = progress::computeWeightProgress(s, {168.5f, 60, 100, day(2004, 5, 1)});
  EXPECT_EQ(p.dateSa, "0");
  EXPECT_EQ(p.taiZougen, "0.0Kg同");
  EXPECT_EQ(p.bmiZou, "同");
  EXPECT_EQ(p.periodPercent, 0);
  EXPECT_FALSE(p.forecast);
  EXPECT_FALSE(p.best);
  EXPECT_EQ(p.heightText, "1.685");
}
