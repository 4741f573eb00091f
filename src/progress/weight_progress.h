#pragma once
// The weight progress summary: every caption of the start / now / difference table, the two
// percentages behind the bars, the loss and gain totals, what is left, and the forecast.
#include <optional>
#include <string>
#include <vector>

#include "records/weight_log.h"
#include "store/dates.h"
#include "words/messages.h"

namespace progress {

// Shown when the day the target would be reached lies beyond any date we can show.
inline constexpr const char* kForecastTooFar = words::kForecastTooFar;
// A forecast that would lie before the latest record.
inline constexpr const char* kNoForecast = "－";

struct WeightProgressInput {
  float heightCm = 0;
  float targetWeight = 0;
  int targetPeriod = 0;
  store::Date referenceDate{};
};

// Texts for the labels, by the control they go to. A figure whose divisor is zero is "".
struct WeightProgress {
  std::string stDate, nowDate, dateSa;        // lblStDate, lblNowDate, lblDate_Sa
  std::string stTaijyu, nowTaijyu, taijyuSa;  // lblStTaijyu, lblNowTaijyu, lblTaijyu_Sa
  std::string taijyuZou, taiZougen;           // lblTaijyu_Zou, lblTai_Zougen
  std::string daysElapsed;                    // Label6(2)
  std::optional<int> periodPercent;           // shpJikanK, lblKikanT; none: period 0
  std::optional<int> targetPercent;           // shpTaiK, lblTaiT; none: start at target
  std::string stBmi, nowBmi, bmiSa, bmiZou;   // lblStBmi, lblNowBmi, lblBmi_Sa, lblBmi_Zou
  std::string lossGain;                       // Label9(10)
  std::string daysLeft, kgLeft, targetLeft;   // Label9(11), Label9(12), Label6(4)
  std::string obesity;                        // Label6(1)
  std::string weightText, heightText;         // Label9(28), Label9(30)
  std::optional<std::string> todayWeight;     // txtInpTaijyu, when today is recorded
  std::optional<std::string> forecast, best;  // Label9(13), Label9(14): two records on
};

// The summary of a series with at least one record.
WeightProgress computeWeightProgress(const records::WeightSeries& s, const WeightProgressInput& in);

// "増" for a gain (d < 0), "同" for no change, "減" for a loss.
std::string changeMark(double d);

struct LossGain {
  float loss = 0;  // sum of the day-to-day losses, >= 0
  float gain = 0;  // sum of the day-to-day gains, <= 0
};
// A record right after a weight of 0 (a blank in a hand-edited file) is not compared with it.
LossGain lossAndGain(const std::vector<float>& kg);

// Whole percent (rounded down) of part / whole, limited to 0..100; none when whole is 0.
std::optional<int> clampedPercent(double part, double whole);
// The same worked in single precision, as the weights are.
std::optional<int> clampedPercent(float part, float whole);

// The forecast caption: days and date at the present average rate, or why there is none.
// "" when the rate cannot be had (the first and last records share a date).
std::string forecastText(float weightDifference, int elapsedDays, float nowKg, float targetWeight, store::Date lastDay);

}  // namespace progress
