#pragma once
// A diary filled to the design limits (two years of days), for benchmarks and manual tests of
// how the program copes with the largest folder it is meant to hold.
#include <string>
#include <vector>

#include "diary_generator.h"

namespace diarygen {

inline constexpr int kLimitDays = 730;
inline constexpr int kLimitIntraday = 3001;
inline constexpr int kLimitFatAndSteps = 731;
inline constexpr int kLimitNutrition = 730;
inline constexpr int kLimitDiaryDays = 365;
inline constexpr int kLimitCalendarMonths = 24;
inline constexpr int kLimitTrainingCounts = 1000;
inline constexpr int kLimitMemoNotes = 500;
inline constexpr int kLimitCalorieItems = 300;

// The last day of the generated logs; a run "today" on the day after sees a full diary.
inline const Date kLimitLastDay = store::makeDate(2026, 12, 6);
inline Date limitFirstDay() { return addDays(kLimitLastDay, -(kLimitDays - 1)); }

inline void writeLimitsData() {
  Rng rng(730);
  const Date first = limitFirstDay();

  writeProfile({"限界テスト", 175, 68, 730, 70, 2200, 35, 15, 20000, 0, 0.75f});
  writeSettings(0);

  std::vector<DatedValue> weights, fats, steps;
  std::vector<Weighing> weighings;
  std::vector<NutritionDay> nutrition;
  for (int i = 0; i < kLimitDays; ++i) {
    const Date d = addDays(first, i);
    // Down fast at first, then a long slow slope with a plateau in the middle.
    const double trend = 86.0 - 9.0 * (1.0 - std::exp(-i / 150.0)) - (i > 400 ? 0.006 * (i - 400) : 0.0);
    const float kg = oneDecimal(trend + rng.tenths(4));
    weights.push_back({d, kg});
    fats.push_back({d, oneDecimal(31.0 - 0.012 * i + rng.tenths(5))});
    steps.push_back({d, static_cast<float>(rng.range(2000, 16000))});
    // Four weighings every day, a fifth on the first days until the limit is reached.
    const int perDay = i < kLimitIntraday - 4 * kLimitDays ? 5 : 4;
    for (int k = 0; k < perDay; ++k)
      weighings.push_back(
          {{d, 6 + 4 * k, rng.range(0, 59), rng.range(0, 59)}, oneDecimalDouble(kg + rng.range(0, 12) / 10.0)});
    NutritionDay n{d, {}};
    for (auto& eaten : n.eaten) eaten = rng.chance(600);
    nutrition.push_back(n);
  }
  // A second measurement on the last day brings body fat and steps to their limit.
  fats.push_back({kLimitLastDay, oneDecimal(fats.back().value + 0.3)});
  steps.push_back({kLimitLastDay, 1200});
  writeDatedValues("体重.txt", weights);
  writeDatedValues("体脂肪率.txt", fats);
  writeDatedValues("歩数.txt", steps);
  writeIntradayWeights(weighings);
  writeNutrition(nutrition);

  writeTrainingTitles({{{"腹筋", 30000},
                        {"背筋", 20000},
                        {"腕立て伏せ", 15000},
                        {"スクワット", 40000},
                        {"ダンベル", 10000},
                        {"踏み台昇降", 60000}}});
  for (int e = 1; e <= 6; ++e) {
    std::vector<TrainingCount> counts;
    for (int k = 0; k < kLimitTrainingCounts; ++k)
      counts.push_back({addDays(first, k * kLimitDays / kLimitTrainingCounts), double(rng.range(5, 80))});
    writeTrainingLog(e, counts);
  }

  writeMemoTitles({"メモ一", "メモ二", "メモ三", "日付つきメモ"});
  for (int list = 1; list <= 4; ++list) {
    std::vector<std::string> notes;
    for (int k = 1; k <= kLimitMemoNotes; ++k) {
      std::string note =
          "メモ" + std::to_string(list) + "の" + std::to_string(k) + "件目、長めの文章で一覧の幅を確かめる";
      if (list == 4) {
        const Date d = addDays(first, k * kLimitDays / kLimitMemoNotes);
        note = store::formatDate(d).substr(5) + " - " + note;
      }
      notes.push_back(note);
    }
    writeMemoList(list, notes);
  }

  std::vector<CalorieItem> items;
  static const char* const kKind[3] = {"食品", "飲み物", "運動"};
  for (int k = 0; k < kLimitCalorieItems; ++k) {
    const int category = k % 3;
    items.push_back(
        {category, std::string(kKind[category]) + std::to_string(k / 3 + 1), static_cast<int16_t>(rng.range(0, 900))});
  }
  writeCalorieItems(items);

  for (int k = 0; k < kLimitDiaryDays; ++k) {
    const Date d = addDays(kLimitLastDay, -k);
    std::vector<DiaryEntry> entries;
    for (const char* section : {"朝", "昼", "夕", "運動"})
      for (int n = rng.range(1, 3); n > 0; --n) {
        const CalorieItem& it = items[rng.range(0, kLimitCalorieItems - 1)];
        entries.push_back({it.name, it.calories, section});
      }
    writeDiaryDay(d, entries, {store::formatDate(d) + " の日記。", "二行目。", "三行目で終わり。"});
  }

  const Date lastMonth = store::makeDate(store::yearOf(kLimitLastDay), store::monthOf(kLimitLastDay), 1);
  for (int m = 0; m < kLimitCalendarMonths; ++m) {
    const Date month = store::addMonths(lastMonth, -m);
    const int y = store::yearOf(month);
    const unsigned mo = store::monthOf(month);
    std::vector<int> marks(store::daysInMonth(y, mo));
    for (auto& mark : marks) mark = rng.range(0, 2);
    writeCalendarMonth(y, mo, marks);
  }
}

// Twenty years of days, a weighing on each, up to the same last day: the weight log of a diary
// kept that long, to check that start-up and an entry grow no faster than the log.
inline constexpr int kTwentyYearDays = 7305;

inline void writeTwentyYearWeights() {
  Rng rng(7305);
  std::vector<DatedValue> weights;
  for (int i = 0; i < kTwentyYearDays; ++i) {
    // Years of slow ups and downs around a plateau.
    const double trend = 74.0 + 6.0 * std::sin(i / 400.0) - 0.0004 * i;
    weights.push_back({addDays(kLimitLastDay, i - (kTwentyYearDays - 1)), oneDecimal(trend + rng.tenths(4))});
  }
  writeDatedValues("体重.txt", weights);
}

}  // namespace diarygen
