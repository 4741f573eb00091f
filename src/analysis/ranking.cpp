#include "analysis/ranking.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "analysis/decimal_kg.h"
#include "store/numbers.h"

namespace analysis {

std::vector<Band> makeBands(float minWeight, float maxWeight, float step) {
  const double top = std::floor(static_cast<double>(maxWeight)) + 1;
  const double bottom = std::floor(static_cast<double>(minWeight));
  const double span = std::round((top - bottom) / step);
  if (!std::isfinite(span) || span < 0 || span > kMaxBands) return {};
  const int n = static_cast<int>(span);
  std::vector<Band> bands(static_cast<size_t>(n) + 1);
  for (int k = 0; k <= n; ++k) {
    const float low = static_cast<float>(k) * step + static_cast<float>(bottom);
    bands[k].low = static_cast<float>(roundTenthUp(low));
  }
  return bands;
}

bool bandHolds(float low, float step, float weight) {
  const double lo = decimalOf(low);
  const double hi = lo + step - 0.01;
  return static_cast<float>(lo) <= weight && static_cast<float>(hi) > weight;
}

void countAndRank(std::vector<Band>& bands, const std::vector<float>& weights, int count, float step) {
  const size_t records = std::min(static_cast<size_t>(std::max(0, count)), weights.size());
  for (size_t i = 0; i < records; ++i) {
    for (Band& b : bands) {
      if (bandHolds(b.low, step, weights[i])) {
        ++b.count;
        break;
      }
    }
  }
  for (size_t k = 0; k + 1 < bands.size(); ++k)
    for (size_t j = k + 1; j < bands.size(); ++j)
      if (bands[k].count < bands[j].count) std::swap(bands[k], bands[j]);
}

std::vector<RankingRow> rankingRows(const std::vector<Band>& ranked, float step) {
  std::vector<RankingRow> rows;
  for (size_t k = 0; k < ranked.size(); ++k) {
    const Band& b = ranked[k];
    if (b.count == 0) break;
    RankingRow r;
    r.rank = std::to_string(k + 1) + "位";
    r.range = formatSingle(b.low, "0.0～") + store::formatNumber(decimalOf(b.low) + step - 0.1, "0.0Kg");
    r.count = std::to_string(b.count) + "回";
    if (k > 0) r.gap = std::to_string(ranked[k - 1].count - b.count) + "回";
    rows.push_back(std::move(r));
  }
  return rows;
}

std::string rankingCaption(float step) {
  return step == 1.0f ? "体重推移累積番付 < 1.0Kg刻み >" : "体重推移累積番付 < 0.5Kg刻み >";
}

}  // namespace analysis
