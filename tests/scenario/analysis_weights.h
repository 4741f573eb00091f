#pragma once
// Weight logs and profiles written straight into a test folder, for the analysis scenarios.
#include <string>
#include <vector>

#include "store/dates.h"
#include "support/temp_folder.h"

namespace analysis_test {

// 体重.txt with one weight per day from `first` on; weights as they would be typed.
inline std::string weightLog(store::Date first, const std::vector<std::string>& weights) {
  std::string text;
  for (size_t i = 0; i < weights.size(); ++i)
    text += "\"" + store::formatDate(first + std::chrono::days(i)) + "\"," + weights[i] + "\r\n";
  return text;
}

inline std::string dayText(store::Date first, int offset) {
  return store::formatDate(first + std::chrono::days(offset));
}

// A minimal diary holding these weights, with the target weight and period given.
inline void writeDiary(const testing_support::TempFolder& dir, store::Date first,
                       const std::vector<std::string>& weights, const std::string& target = "60",
                       const std::string& period = "100") {
  dir.writeMinimalDiary();
  dir.writeCp932("ﾌﾟﾗｲﾍﾞｰﾄ.txt", "\"氏名\",\"テスト\"\r\n\"身長\",170\r\n\"目標体重\"," + target + "\r\n\"目標期間\"," +
                                     period +
                                     "\r\n\"目標達成率\",70\r\n\"目標ｶﾛﾘｰ\",1800\r\n\"体脂肪率Ｙ軸MAX\",30\r\n"
                                     "\"体脂肪率Ｙ軸MIN\",10\r\n\"歩数Ｙ軸MAX\",20000\r\n\"歩数Ｙ軸MIN\",0\r\n"
                                     "\"一歩換算\",0.7\r\n");
  dir.writeCp932("体重.txt", weightLog(first, weights));
}

}  // namespace analysis_test
