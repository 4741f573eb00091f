#pragma once
// The running average of the weight log (mean of all weights up to each day) and its streak.
#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace progress {

using RunningAverageRow = std::array<std::string, 4>;  // "3日目", "69.0Kg", "69.500Kg", "-500g"

// The running sums after some records, so that one more record continues them exactly as a
// pass over the whole log would.
struct RunningAverageSums {
  size_t records = 0;
  float sum = 0;
  float previous = 0;  // the average after the last record
  int streak = 0;
};

struct RunningAverage {
  std::vector<float> average;           // one per record
  std::vector<RunningAverageRow> rows;  // one per record
  int streak = 0;                       // latest consecutive days on which the average did not rise
  RunningAverageSums sums;              // after the last record
};

// One record's figures before they are written out.
struct RunningAverageStep {
  size_t day = 0;  // 0 for the first record
  float weight = 0, average = 0;
  float change = 0;       // grams
  const char* mark = "";  // "+", "±" or nothing
};
// Adds the next record's weight to the sums.
RunningAverageStep stepRunningAverage(RunningAverageSums& sums, float weight);
RunningAverageRow runningAverageCells(const RunningAverageStep& step);
// Adds the next record's weight: its average (in `average`) and its row.
RunningAverageRow addToRunningAverage(RunningAverageSums& sums, float weight, float& average);

// Sums, averages and changes in single precision, as the chart and the streak use them.
RunningAverage computeRunningAverage(const std::vector<float>& weights, int count);

// "連続ﾏｲﾅｽ記録 4日間達成！", or "平均を上回ってしまいました..." after a rise.
std::string streakLine(int streak);

}  // namespace progress
