#include "analysis/band_counts.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace analysis {
namespace {

// Where `v` lies among bands starting at `bottom`, step apart; NaN for a value out of reach.
double bandPosition(const std::vector<Band>& bands, float step, float v) {
  if (bands.empty() || !(step > 0)) return std::nan("");
  return (static_cast<double>(v) - static_cast<double>(bands.front().low)) / static_cast<double>(step);
}

}  // namespace

int bandIndexOf(const std::vector<Band>& bands, float step, float weight) {
  const double at = std::floor(bandPosition(bands, step, weight));
  if (!std::isfinite(at) || at < -2 || at > static_cast<double>(bands.size()) + 1) return -1;
  // Bands are disjoint and ascending, their bounds a tenth-rounded step apart: only the band
  // the position points at or its neighbours can hold the weight.
  const int guess = static_cast<int>(at);
  const int last = static_cast<int>(bands.size()) - 1;
  for (int k = std::max(0, guess - 1); k <= std::min(last, guess + 1); ++k)
    if (bandHolds(bands[k].low, step, weight)) return k;
  return -1;
}

bool countsInBandOrder(std::vector<Band>& bands, const std::vector<Band>& ranked, float step) {
  if (ranked.size() != bands.size()) return false;
  std::vector<bool> seen(bands.size(), false);
  for (const Band& r : ranked) {
    const double at = std::round(bandPosition(bands, step, r.low));
    if (!(at >= 0 && at < static_cast<double>(bands.size()))) return false;
    const size_t k = static_cast<size_t>(at);
    if (seen[k] || bands[k].low != r.low) return false;
    seen[k] = true;
    bands[k].count = r.count;
  }
  return true;
}

void rankCounted(std::vector<Band>& bands) {
  for (size_t k = 0; k + 1 < bands.size(); ++k)
    for (size_t j = k + 1; j < bands.size(); ++j)
      if (bands[k].count < bands[j].count) std::swap(bands[k], bands[j]);
}

}  // namespace analysis
