#include "progress/running_average.h"

#include <algorithm>

#include "analysis/decimal_kg.h"

namespace progress {

RunningAverage computeRunningAverage(const std::vector<float>& weights, int count) {
  RunningAverage out;
  const size_t n = std::min(static_cast<size_t>(std::max(0, count)), weights.size());
  out.average.reserve(n);
  out.rows.reserve(n);
  float sum = 0, previous = 0;
  for (size_t i = 0; i < n; ++i) {
    sum += weights[i];
    const float average = sum / static_cast<float>(i + 1);
    out.average.push_back(average);
    float change = 0;
    const char* mark = "";
    if (i > 0) {
      change = (average - previous) * 1000.0f;
      if (change > 0) {
        mark = "+";
        out.streak = 0;
      } else {
        if (change == 0) mark = "±";
        ++out.streak;
      }
    }
    out.rows.push_back({std::to_string(i) + "日目", analysis::formatSingle(weights[i], "0.0Kg"),
                        analysis::formatSingle(average, "0.000Kg"),
                        std::string(mark) + analysis::formatSingle(change, "0g")});
    previous = average;
  }
  return out;
}

std::string streakLine(int streak) {
  if (streak > 0) return "連続ﾏｲﾅｽ記録 " + std::to_string(streak) + "日間達成！";
  return "平均を上回ってしまいました...";
}

}  // namespace progress
