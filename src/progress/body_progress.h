#pragma once
// The body-fat summary (first, latest, difference) and the walking summary (steps, distances,
// and the laps walked on three imaginary courses).
#include <array>
#include <string>
#include <vector>

namespace progress {

struct BodyFatSummary {
  std::string first, latest, difference;
};

// Needs at least one percentage. The difference is taken between the shown (rounded) figures
// in double precision and written with up to 15 significant digits, so 23.1 and 22.9 give
// 0.200000000000003: the figure the user has always seen there.
BodyFatSummary SummariseBodyFat(const std::vector<float>& percent);

// One course: its length, its bar's width inside its frame, and the lap label ("2周目").
struct CourseLap {
  int courseKm = 0;
  int barWidth = 0;
  std::string lapLabel;
};

struct WalkingSummary {
  std::string totalSteps, maxSteps, minSteps;  // plain integers
  std::string totalKm, maxKm, minKm;           // "0.0"
  std::string totalCaption;                    // "合計距離数   123.4Km"
  std::array<CourseLap, 3> laps;               // the 1000, 100 and 10 km courses
};

inline constexpr std::array<int, 3> kCourseKm{1000, 100, 10};

// `frameWidths` are the widths of the bars' frames, in the order of kCourseKm.
WalkingSummary SummariseWalking(double totalSteps, int maxSteps, int minSteps, float stepLength,
                                const std::array<int, 3>& frameWidths);

}  // namespace progress
