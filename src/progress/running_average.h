#pragma once
// The running average of the weight log (mean of all weights up to each day) and its streak.
#include <array>
#include <string>
#include <vector>

namespace progress {

struct RunningAverage {
  std::vector<float> average;                    // one per record
  std::vector<std::array<std::string, 4>> rows;  // "3日目", "69.0Kg", "69.500Kg", "-500g"
  int streak = 0;                                // latest consecutive days on which the average did not rise
};

// Sums, averages and changes in single precision, as the chart and the streak use them.
RunningAverage computeRunningAverage(const std::vector<float>& weights, int count);

// "連続ﾏｲﾅｽ記録 4日間達成！", or "平均を上回ってしまいました..." after a rise.
std::string streakLine(int streak);

}  // namespace progress
