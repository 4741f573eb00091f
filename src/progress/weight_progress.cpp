#include "progress/weight_progress.h"

#include <cmath>

#include "store/numbers.h"

namespace progress {
namespace {

int limitPercent(double pct) {
  double whole = std::floor(pct);
  if (whole > 100) return 100;
  if (whole < 0) return 0;
  return static_cast<int>(whole);
}

// BMI texts need a height; none is "".
std::string bmiText(float kg, double heightM2) {
  if (heightM2 <= 0) return {};
  return store::formatNumber(static_cast<double>(kg) / heightM2, "0.0");
}

}  // namespace

std::string changeMark(double d) {
  if (d < 0) return "増";
  if (d == 0) return "同";
  return "減";
}

LossGain lossAndGain(const std::vector<float>& kg) {
  LossGain t;
  float previous = 0;
  for (float w : kg) {
    if (previous != 0) {
      float d = previous - w;
      if (d < 0) t.gain += d;
      if (d > 0) t.loss += d;
    }
    previous = w;
  }
  return t;
}

std::optional<int> clampedPercent(double part, double whole) {
  if (whole == 0) return std::nullopt;
  return limitPercent(part / whole * 100);
}

std::optional<int> clampedPercent(float part, float whole) {
  if (whole == 0) return std::nullopt;
  return limitPercent(part / whole * 100.0f);
}

std::string forecastText(float weightDifference, int elapsedDays, float nowKg, float targetWeight,
                         store::Date lastDay) {
  if (weightDifference == 0) return "初日のまんま。予想不能";
  if (weightDifference < 0) return "初日より増。予想不能";
  // A log whose ends share a date (or run backwards) has no average rate.
  if (elapsedDays <= 0) return {};
  float dailyRate = std::fabs(weightDifference) / static_cast<float>(elapsedDays);
  if (dailyRate == 0) return {};
  double days = store::roundHalfEven((nowKg - targetWeight) / static_cast<double>(dailyRate));
  // At or past the target (or a target above the start) the count would run backwards to a
  // day already gone: there is nothing left to forecast.
  if (days < 0) return kNoForecast;
  // A day count is kept in 16 bits; beyond that, or beyond the calendar, there is no date.
  if (!(days >= -32768 && days <= 32767)) return kForecastTooFar;
  store::Date when = lastDay + std::chrono::days(static_cast<int>(days));
  int year = store::yearOf(when);
  if (year < 1 || year > 9999) return kForecastTooFar;
  return store::formatNumber(days, "0日後 ( ") + store::formatDate(when) + " )";
}

WeightProgress computeWeightProgress(const records::WeightSeries& s, const WeightProgressInput& in) {
  WeightProgress p;
  const int n = s.WeightCount;
  const float startKg = s.WeightKg[0];
  const float nowKg = s.WeightKg[n - 1];
  const store::Date startDay = s.WeightDay[0];
  const store::Date lastDay = s.WeightDay[n - 1];

  p.stDate = store::formatDate(startDay);
  p.nowDate = store::formatDate(lastDay);
  const int elapsed = static_cast<int>((lastDay - startDay).count());
  p.dateSa = std::to_string(elapsed);

  p.stTaijyu = store::formatNumber(startKg, "0.0");
  p.nowTaijyu = store::formatNumber(nowKg, "0.0");
  const float difference = startKg - nowKg;
  const std::string mark = changeMark(difference);
  p.taijyuSa = store::formatNumber(std::fabs(difference), "0.0");
  p.taijyuZou = "Kg" + mark;
  p.taiZougen = store::formatNumber(std::fabs(difference), "0.0") + "Kg" + mark;
  p.daysElapsed = p.dateSa + "日経過";

  p.periodPercent = clampedPercent(static_cast<double>(elapsed), static_cast<double>(in.targetPeriod));

  const double heightM = static_cast<double>(in.heightCm) / 100;
  const double heightM2 = in.heightCm > 0 ? heightM * heightM : 0;
  p.stBmi = bmiText(startKg, heightM2);
  p.nowBmi = bmiText(nowKg, heightM2);
  if (heightM2 > 0) {
    // The change is of the two rounded figures shown, so equal texts mean 同.
    double bmiDifference = store::Val(p.stBmi) - store::Val(p.nowBmi);
    p.bmiSa = store::formatNumber(std::fabs(bmiDifference), "0.0");
    p.bmiZou = changeMark(bmiDifference);
  }

  const LossGain totals = lossAndGain(std::vector<float>(s.WeightKg.begin(), s.WeightKg.begin() + n));
  p.lossGain =
      store::formatNumber(totals.loss, "0.0Kg減") + "     " + store::formatNumber(std::fabs(totals.gain), "0.0Kg増");

  p.daysLeft = "残り " + std::to_string(in.targetPeriod - n + 1) + "日";
  p.kgLeft = store::formatNumber(nowKg - in.targetWeight, "0.0Kg");
  p.targetLeft = "目標  " + store::shortestSingle(in.targetWeight) + "Kgまで残り " + p.kgLeft;

  p.targetPercent = clampedPercent(difference, startKg - in.targetWeight);

  if (heightM2 > 0) {
    double standard = heightM2 * 22;
    p.obesity = store::formatNumber((nowKg - standard) / standard, "0.0%");
  }
  p.weightText = store::shortestSingle(nowKg);
  p.heightText = store::shortestSingle(in.heightCm / 100.0f);

  if (lastDay == in.referenceDate) p.todayWeight = store::shortestSingle(nowKg);

  if (n >= 2) {
    p.forecast = forecastText(difference, elapsed, nowKg, in.targetWeight, lastDay);
    if (s.MinWeightDate)
      p.best = store::formatNumber(s.MinWeight, "0.0 Kg") + " ( " + store::formatDate(*s.MinWeightDate) + " )";
  }
  return p;
}

}  // namespace progress
