#pragma once
// Diaries for the weight scenarios: a profile of our choosing and a weight log written by hand.
#include <chrono>
#include <string>
#include <vector>

#include "store/dates.h"
#include "store/numbers.h"
#include "support/temp_folder.h"

namespace weight_diary {

// A minimal diary (tour off unless asked) whose profile has this height, target weight and period.
inline void writeDiary(const testing_support::TempFolder& dir, const std::string& height = "170",
                       const std::string& target = "60", const std::string& period = "100", int helpTour = 0) {
  dir.writeMinimalDiary("テスト", helpTour);
  dir.writeCp932("ﾌﾟﾗｲﾍﾞｰﾄ.txt", "\"氏名\",\"テスト\"\r\n\"身長\"," + height + "\r\n\"目標体重\"," + target +
                                     "\r\n\"目標期間\"," + period +
                                     "\r\n\"目標達成率\",70\r\n\"目標ｶﾛﾘｰ\",1800\r\n\"体脂肪率Ｙ軸MAX\",30\r\n"
                                     "\"体脂肪率Ｙ軸MIN\",10\r\n\"歩数Ｙ軸MAX\",20000\r\n\"歩数Ｙ軸MIN\",0\r\n"
                                     "\"一歩換算\",0.7\r\n");
}

// 体重.txt with one record per day from `first`.
inline void writeWeights(const testing_support::TempFolder& dir, store::Date first, const std::vector<float>& kg) {
  std::string text;
  for (size_t i = 0; i < kg.size(); ++i)
    text += "\"" + store::formatDate(first + std::chrono::days(static_cast<int>(i))) + "\"," +
            store::shortestSingle(kg[i]) + "\r\n";
  dir.writeCp932("体重.txt", text);
}

}  // namespace weight_diary
