#include "progress/running_average.h"

#include <algorithm>

#include "analysis/decimal_kg.h"

namespace progress {

RunningAverageRow addToRunningAverage(RunningAverageSums& sums, float weight, float& average) {
  const size_t i = sums.records;
  sums.sum += weight;
  average = sums.sum / static_cast<float>(i + 1);
  float change = 0;
  const char* mark = "";
  if (i > 0) {
    change = (average - sums.previous) * 1000.0f;
    if (change > 0) {
      mark = "+";
      sums.streak = 0;
    } else {
      if (change == 0) mark = "±";
      ++sums.streak;
    }
  }
  sums.previous = average;
  ++sums.records;
  return {std::to_string(i) + "日目", analysis::formatSingle(weight, "0.0Kg"),
          analysis::formatSingle(average, "0.000Kg"), std::string(mark) + analysis::formatSingle(change, "0g")};
}

RunningAverage computeRunningAverage(const std::vector<float>& weights, int count) {
  RunningAverage out;
  const size_t n = std::min(static_cast<size_t>(std::max(0, count)), weights.size());
  out.average.resize(n);
  out.rows.reserve(n);
  RunningAverageSums sums;
  for (size_t i = 0; i < n; ++i) out.rows.push_back(addToRunningAverage(sums, weights[i], out.average[i]));
  out.streak = sums.streak;
  out.sums = sums;
  return out;
}

std::string streakLine(int streak) {
  if (streak > 0) return "連続ﾏｲﾅｽ記録 " + std::to_string(streak) + "日間達成！";
  return "平均を上回ってしまいました...";
}

}  // namespace progress
