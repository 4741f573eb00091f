#include "progress/running_average.h"

#include <algorithm>

#include "analysis/decimal_kg.h"

namespace progress {

RunningAverageStep stepRunningAverage(RunningAverageSums& sums, float weight) {
  RunningAverageStep step;
  const size_t i = sums.records;
  step.day = i;
  step.weight = weight;
  sums.sum += weight;
  step.average = sums.sum / static_cast<float>(i + 1);
  if (i > 0) {
    step.change = (step.average - sums.previous) * 1000.0f;
    if (step.change > 0) {
      step.mark = "+";
      sums.streak = 0;
    } else {
      if (step.change == 0) step.mark = "±";
      ++sums.streak;
    }
  }
  sums.previous = step.average;
  ++sums.records;
  return step;
}

RunningAverageRow runningAverageCells(const RunningAverageStep& s) {
  return {std::to_string(s.day) + "日目", analysis::formatSingle(s.weight, "0.0Kg"),
          analysis::formatSingle(s.average, "0.000Kg"), std::string(s.mark) + analysis::formatSingle(s.change, "0g")};
}

RunningAverageRow addToRunningAverage(RunningAverageSums& sums, float weight, float& average) {
  const RunningAverageStep step = stepRunningAverage(sums, weight);
  average = step.average;
  return runningAverageCells(step);
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
