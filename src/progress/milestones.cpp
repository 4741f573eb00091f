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
  extendLossMilestones(out, s);
  return out;
}

void extendLossMilestones(LossMilestones& ms, const records::WeightSeries& s) {
  const size_t n = std::min({static_cast<size_t>(std::max(0, s.WeightCount)), s.WeightKg.size(), s.WeightDate.size()});
  if (ms.records > n) ms = {};
  if (n == 0) return;
  const double bestLoss = analysis::decimalDifference(s.WeightKg[0], s.MinWeight);
  // Loaded weights lie within 0..999.9 kg; the bound keeps the row count sane whatever comes in.
  const double rounded = std::min(analysis::roundTenthUp(bestLoss), 1000.0);
  const size_t c = rounded > 0 ? static_cast<size_t>(std::floor(rounded * 2 + 1e-9)) : 0;
  // Fewer milestones than before means the lowest weight is not what it was: start over.
  if (c < ms.rows.size()) ms = {};
  ms.bestLoss = bestLoss;
  ms.rows.resize(c);
  // A record only ever reaches milestones below the loss it brings, so the rows the earlier
  // records left unreached can only be reached by the records that follow them. A record
  // reaches every milestone up to its loss, so the reached rows are always the first ones.
  size_t reached = 0;
  while (reached < c && ms.rows[reached].reached) ++reached;
  for (size_t i = ms.records; i < n && reached < c; ++i) {
    // A weight well short of the next milestone in single precision is short of it in decimals
    // too: the two differ by far less than 0.01 kg.
    if (s.WeightKg[0] - s.WeightKg[i] < static_cast<float>(reached + 1) * 0.5f - 0.01f) continue;
    const double loss = analysis::decimalDifference(s.WeightKg[0], s.WeightKg[i]);
    for (size_t k = reached + 1; k <= c && !(static_cast<double>(k) * 0.5 > loss); ++k) {
      MilestoneRow& row = ms.rows[k - 1];
      reached = k;
      row.reached = true;
      row.label = milestoneLabel(static_cast<int>(k));
      row.date = s.WeightDate[i];
      // A date that cannot be read leaves the day counts blank rather than wrong.
      if (auto days = daysBetween(s.WeightDate[0], s.WeightDate[i])) {
        row.sinceStart = std::to_string(*days) + "日後";
        row.sincePrevious = std::to_string(*days - ms.previousDays) + "日後";
        ms.previousDays = *days;
      }
    }
  }
  ms.records = n;
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
