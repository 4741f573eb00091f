#include "progress/milestones.h"

#include <algorithm>
#include <cmath>

#include "analysis/decimal_kg.h"
#include "store/dates.h"
#include "store/numbers.h"

namespace progress {
namespace {

std::optional<int> daysBetween(const std::string& from, const std::string& to) {
  auto a = store::parseDate(from), b = store::parseDate(to);
  if (!a || !b) return std::nullopt;
  return static_cast<int>((*b - *a).count());
}

}  // namespace

std::string milestoneLabel(int k) { return store::shortestDouble(k * 0.5) + (k % 2 == 0 ? ".0" : "") + "Kg減"; }

LossMilestones computeLossMilestones(const records::WeightSeries& s) {
  LossMilestones out;
  const size_t n = std::min({static_cast<size_t>(std::max(0, s.WeightCount)), s.WeightKg.size(), s.WeightDate.size()});
  if (n == 0) return out;
  out.bestLoss = analysis::decimalDifference(s.WeightKg[0], s.MinWeight);
  // Loaded weights lie within 0..999.9 kg; the bound keeps the row count sane whatever comes in.
  const double rounded = std::min(analysis::roundTenthUp(out.bestLoss), 1000.0);
  const int c = rounded > 0 ? static_cast<int>(std::floor(rounded * 2 + 1e-9)) : 0;
  out.rows.resize(static_cast<size_t>(c));
  int previousDays = 0;
  for (size_t i = 0; i < n; ++i) {
    const double loss = analysis::decimalDifference(s.WeightKg[0], s.WeightKg[i]);
    for (int k = 1; k <= c; ++k) {
      MilestoneRow& row = out.rows[k - 1];
      if (row.reached || k * 0.5 > loss) continue;
      row.reached = true;
      row.label = milestoneLabel(k);
      row.date = s.WeightDate[i];
      // A date that cannot be read leaves the day counts blank rather than wrong.
      if (auto days = daysBetween(s.WeightDate[0], s.WeightDate[i])) {
        row.sinceStart = std::to_string(*days) + "日後";
        row.sincePrevious = std::to_string(*days - previousDays) + "日後";
        previousDays = *days;
      }
    }
  }
  return out;
}

std::optional<std::string> bestLossLine(const records::WeightSeries& s, double bestLoss) {
  if (s.WeightCount <= 0 || s.WeightDate.empty() || !s.MinWeightDate) return std::nullopt;
  const size_t last = std::min(static_cast<size_t>(s.WeightCount), s.WeightDate.size()) - 1;
  auto latest = store::parseDate(s.WeightDate[last]);
  if (!latest) return std::nullopt;
  const int days = static_cast<int>((*latest - *s.MinWeightDate).count());
  return "最高　" + store::formatNumber(bestLoss, "0.0Kg") + "減を達成してから　" + std::to_string(days) + "日経過";
}

}  // namespace progress
