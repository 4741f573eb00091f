#include "progress/body_progress.h"

#include <cmath>

#include "records/body_fat.h"
#include "store/numbers.h"

namespace progress {

BodyFatSummary SummariseBodyFat(const std::vector<float>& percent) {
  BodyFatSummary s;
  s.first = records::FormatSingle(percent.front(), "0.0");
  s.latest = records::FormatSingle(percent.back(), "0.0");
  // Of the rounded figures shown, with one decimal like the other differences: the bare
  // subtraction would show its residue (0.200000000000003).
  s.difference = store::formatNumber(store::Val(s.first) - store::Val(s.latest), "0.0");
  return s;
}

WalkingSummary SummariseWalking(double totalSteps, int maxSteps, int minSteps, float stepLength,
                                const std::array<int, 3>& frameWidths) {
  WalkingSummary w;
  w.totalSteps = store::formatNumber(totalSteps, "0");
  w.maxSteps = std::to_string(maxSteps);
  w.minSteps = std::to_string(minSteps);
  auto km = [stepLength](double steps) { return static_cast<double>(stepLength) * steps / 1000; };
  w.totalKm = store::formatNumber(km(totalSteps), "0.0");
  w.maxKm = store::formatNumber(km(maxSteps), "0.0");
  w.minKm = store::formatNumber(km(minSteps), "0.0");
  w.totalCaption = "合計距離数   " + store::formatNumber(km(totalSteps), "0.0Km");

  // Laps count whole kilometres as shown. A negative total (entries that cancel out below zero)
  // has walked no lap yet rather than a negative one.
  double done = std::floor(store::Val(w.totalKm));
  if (done < 0) done = 0;
  for (size_t c = 0; c < kCourseKm.size(); ++c) {
    const double course = kCourseKm[c];
    const double intoLap = std::fmod(done, course);
    CourseLap& lap = w.laps[c];
    lap.courseKm = kCourseKm[c];
    lap.barWidth = static_cast<int>(std::floor(frameWidths[c] * (intoLap / course * 100) / 100));
    lap.lapLabel = store::formatNumber(std::floor(done / course) + 1, "0") + "周目";
  }
  return w;
}

}  // namespace progress
