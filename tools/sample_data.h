#pragma once
// The delivered sample diary: two months of a diet that went well, under the sample profile,
// so a newcomer sees every page filled before making a start of their own.
#include <string>
#include <vector>

#include "diary_generator.h"

namespace diarygen {

inline const Date kSampleFirstDay = store::makeDate(2026, 10, 3);
inline constexpr int kSampleDays = 62;  // up to 2026/12/03

// The sample weight on day `i` of the diet, before the scale's noise.
inline double sampleTrend(int i) {
  const Date d = addDays(kSampleFirstDay, i);
  const unsigned wd = store::weekdayOf(d);
  const double weekend = (wd == 0 || wd == 1) ? 0.3 : 0.0;  // the weekend's dinners show on Sunday and Monday
  return 72.4 - 0.062 * i + weekend;
}

inline void writeSampleData() {
  Rng rng(20261003);

  writeProfile({"Ｑ＆Ｚ", 168.5f, 65, 150, 70, 2000, 35, 15, 15000, 0, 0.7f});
  writeSettings(1);

  std::vector<DatedValue> weights, fats, steps;
  std::vector<Weighing> weighings;
  std::vector<NutritionDay> nutrition;
  for (int i = 0; i < kSampleDays; ++i) {
    const Date d = addDays(kSampleFirstDay, i);
    const unsigned wd = store::weekdayOf(d);
    const float kg = oneDecimal(sampleTrend(i) + rng.tenths(3));
    weights.push_back({d, kg});
    if (rng.chance(850)) fats.push_back({d, oneDecimal(27.6 - 0.04 * i + rng.tenths(4))});
    if (rng.chance(900)) {
      const int base = (wd == 0 || wd == 6) ? 9500 : 7000;
      steps.push_back({d, static_cast<float>(base + 45 * i + rng.range(-2500, 2500))});
    }
    // Weighed through the day for the last three weeks: morning, after lunch, at bedtime.
    if (i >= kSampleDays - 21) {
      const double morning = oneDecimalDouble(kg);
      weighings.push_back({{d, 6, rng.range(40, 59), rng.range(0, 59)}, morning});
      if (rng.chance(600))
        weighings.push_back(
            {{d, 13, rng.range(0, 30), rng.range(0, 59)}, oneDecimalDouble(morning + rng.range(4, 9) / 10.0)});
      weighings.push_back(
          {{d, 22, rng.range(0, 45), rng.range(0, 59)}, oneDecimalDouble(morning + rng.range(7, 13) / 10.0)});
    }
    if (rng.chance(880)) {
      // 乳製品 卵 肉 魚介 豆類 野菜 芋類 果物 穀物 砂糖 油脂: how often each is eaten, per mille.
      static constexpr int kLikely[kFoodGroups] = {600, 700, 550, 500, 650, 880, 300, 420, 970, 350, 600};
      NutritionDay n{d, {}};
      for (int g = 0; g < kFoodGroups; ++g) n.eaten[g] = rng.chance(kLikely[g]);
      nutrition.push_back(n);
    }
  }
  writeDatedValues("体重.txt", weights);
  writeDatedValues("体脂肪率.txt", fats);
  writeDatedValues("歩数.txt", steps);
  writeIntradayWeights(weighings);
  writeNutrition(nutrition);

  const std::array<Exercise, 6> exercises{{{"腹筋", 3000},
                                           {"背筋", 2000},
                                           {"腕立て伏せ", 1500},
                                           {"スクワット", 3000},
                                           {"ダンベル体操", 1000},
                                           {"踏み台昇降", 5000}}};
  writeTrainingTitles(exercises);
  const int dailyLow[6] = {20, 20, 10, 30, 10, 50}, dailyHigh[6] = {50, 40, 30, 60, 25, 150};
  const int often[6] = {750, 600, 500, 700, 350, 450};
  for (int e = 0; e < 6; ++e) {
    std::vector<TrainingCount> counts;
    for (int i = 0; i < kSampleDays; ++i)
      if (rng.chance(often[e]))
        counts.push_back({addDays(kSampleFirstDay, i), double(rng.range(dailyLow[e], dailyHigh[e]))});
    writeTrainingLog(e + 1, counts);
  }

  writeMemoTitles({"ダイエットの誓い", "低カロリーの好物", "効果のあった工夫", "ひとこと日記"});
  writeMemoList(1, {"夜９時以降は食べない", "エレベーターより階段", "毎朝同じ時間に体重を量る",
                    "お菓子は買い置きしない", "目標達成したら新しい服を買う"});
  writeMemoList(2, {"こんにゃくゼリー", "ところてん（黒蜜なし）", "もずく酢", "鶏のささみ", "きのこのホイル焼き",
                    "無糖ヨーグルト"});
  writeMemoList(
      3, {"ご飯を茶碗に軽く一杯にした", "よく噛んでゆっくり食べる", "一駅手前で降りて歩く", "寝る前のストレッチ"});
  writeMemoList(4,
                {"10/03 - 今日からダイエット開始！", "10/12 - 飲み会で食べ過ぎた。明日から取り戻す",
                 "10/25 - 初めて１キロ減った", "11/03 - 雨で歩けず。部屋で踏み台昇降", "11/15 - ベルトの穴が一つ縮んだ",
                 "11/22 - 友人にやせたねと言われた", "11/29 - 停滞期かも。焦らない", "12/03 - ３キロ減を達成！"});

  const std::vector<CalorieItem> items{{0, "ご飯（茶碗１杯）", 235},
                                       {0, "食パン（６枚切１枚）", 158},
                                       {1, "牛乳（200ml）", 134},
                                       {0, "かけそば", 300},
                                       {0, "野菜サラダ", 60},
                                       {2, "ウォーキング30分", 100},
                                       {0, "焼き鮭", 130},
                                       {0, "納豆", 100},
                                       {1, "緑茶", 0},
                                       {0, "冷奴", 80},
                                       {2, "ジョギング30分", 240},
                                       {0, "鶏むね肉のソテー", 190},
                                       {1, "缶コーヒー（加糖）", 70},
                                       {0, "豚の生姜焼き", 330},
                                       {0, "カレーライス", 750},
                                       {2, "水泳30分", 300},
                                       {0, "味噌汁", 40},
                                       {0, "ゆで卵", 80},
                                       {1, "オレンジジュース", 90},
                                       {0, "ヨーグルト", 60},
                                       {2, "自転車30分", 150},
                                       {0, "りんご（半分）", 70},
                                       {1, "ビール（350ml）", 140},
                                       {2, "なわとび10分", 100},
                                       {0, "おにぎり", 180},
                                       {1, "豆乳（200ml）", 110},
                                       {2, "ラジオ体操", 30},
                                       {0, "ざるそば", 280},
                                       {2, "階段昇り10分", 70},
                                       {1, "野菜ジュース", 70},
                                       {2, "筋トレ20分", 80},
                                       {0, "ミックスサンド", 420}};
  writeCalorieItems(items);

  writeDiaryDay(store::makeDate(2026, 11, 28),
                {{"食パン（６枚切１枚）", 158, "朝"},
                 {"ゆで卵", 80, "朝"},
                 {"牛乳（200ml）", 134, "朝"},
                 {"かけそば", 300, "昼"},
                 {"ご飯（茶碗１杯）", 235, "夕"},
                 {"焼き鮭", 130, "夕"},
                 {"野菜サラダ", 60, "夕"},
                 {"味噌汁", 40, "夕"},
                 {"ウォーキング30分", 100, "運動"}},
                {"土曜日。午後は公園を散歩した。", "夕食は和食で軽めに。"});
  writeDiaryDay(store::makeDate(2026, 11, 30),
                {{"ご飯（茶碗１杯）", 235, "朝"},
                 {"納豆", 100, "朝"},
                 {"味噌汁", 40, "朝"},
                 {"ミックスサンド", 420, "昼"},
                 {"野菜ジュース", 70, "昼"},
                 {"カレーライス", 750, "夕"},
                 {"ジョギング30分", 240, "運動"},
                 {"ラジオ体操", 30, "運動"}},
                {"夕食にカレーを食べたので、夜にジョギング。"});
  writeDiaryDay(store::makeDate(2026, 12, 1),
                {{"食パン（６枚切１枚）", 158, "朝"},
                 {"ヨーグルト", 60, "朝"},
                 {"おにぎり", 180, "昼"},
                 {"ゆで卵", 80, "昼"},
                 {"緑茶", 0, "昼"},
                 {"鶏むね肉のソテー", 190, "夕"},
                 {"ご飯（茶碗１杯）", 235, "夕"},
                 {"野菜サラダ", 60, "夕"},
                 {"自転車30分", 150, "運動"}},
                {"十二月。年末の飲み会シーズンに備えて", "今月は平日の間食をやめる。"});
  writeDiaryDay(store::makeDate(2026, 12, 2),
                {{"ご飯（茶碗１杯）", 235, "朝"},
                 {"焼き鮭", 130, "朝"},
                 {"味噌汁", 40, "朝"},
                 {"ざるそば", 280, "昼"},
                 {"豚の生姜焼き", 330, "夕"},
                 {"ご飯（茶碗１杯）", 235, "夕"},
                 {"ビール（350ml）", 140, "夕"},
                 {"なわとび10分", 100, "運動"}},
                {"ビールは一本だけにした。"});
  writeDiaryDay(store::makeDate(2026, 12, 3),
                {{"食パン（６枚切１枚）", 158, "朝"},
                 {"牛乳（200ml）", 134, "朝"},
                 {"りんご（半分）", 70, "朝"},
                 {"かけそば", 300, "昼"},
                 {"冷奴", 80, "夕"},
                 {"鶏むね肉のソテー", 190, "夕"},
                 {"ご飯（茶碗１杯）", 235, "夕"},
                 {"水泳30分", 300, "運動"},
                 {"階段昇り10分", 70, "運動"}},
                {"３キロ減を達成。", "プールで３０分泳いだ。体が軽い！"});

  // The lazy calendar of every month the diet covers: mostly good days, a bad one now and then.
  std::vector<int> october(31, 0), november(30, 0), december(31, 0);
  for (int i = 0; i < kSampleDays; ++i) {
    const Date d = addDays(kSampleFirstDay, i);
    // The first day of a diet always goes well, and so did the last days of this one.
    const int mark = (i == 0 || i >= kSampleDays - 5 || rng.chance(780)) ? 1 : 2;
    auto& month = store::monthOf(d) == 10 ? october : store::monthOf(d) == 11 ? november : december;
    month[store::dayOf(d) - 1] = mark;
  }
  writeCalendarMonth(2026, 10, october);
  writeCalendarMonth(2026, 11, november);
  writeCalendarMonth(2026, 12, december);
}

}  // namespace diarygen
