#include "analysis/ranking.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
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

namespace {

// Each band's bounds as bandHolds compares them.
struct Bounds {
  float lo, hi;
};

// The index of the band first holding each weight (bands.size() for none), found by bisection
// when the bands follow one another without overlap, which makes at most one band hold a weight.
std::vector<size_t> bandOfEach(const std::vector<Band>& bands, const float* weights, size_t n, float step) {
  std::vector<Bounds> b(bands.size());
  bool ordered = true;
  for (size_t k = 0; k < bands.size(); ++k) {
    const double lo = decimalOf(bands[k].low);
    b[k] = {static_cast<float>(lo), static_cast<float>(lo + step - 0.01)};
    if (!(b[k].lo <= b[k].hi) || (k > 0 && !(b[k - 1].hi <= b[k].lo))) ordered = false;
  }
  std::vector<size_t> out(n, bands.size());
  for (size_t i = 0; i < n; ++i) {
    const float w = weights[i];
    if (ordered) {
      auto it = std::upper_bound(b.begin(), b.end(), w, [](float x, const Bounds& c) { return x < c.lo; });
      if (it != b.begin() && std::prev(it)->hi > w) out[i] = static_cast<size_t>(std::prev(it) - b.begin());
    } else {
      for (size_t k = 0; k < b.size(); ++k)
        if (b[k].lo <= w && b[k].hi > w) {
          out[i] = k;
          break;
        }
    }
  }
  return out;
}

// The order of the exchange sort (for each place k in turn, every later band counting more than
// the one at k changes places with it), with each next larger band found in a tree of maxima
// instead of by comparing with every later band.
class ExchangeOrder {
 public:
  explicit ExchangeOrder(std::vector<Band>& bands) : b_(bands) {
    while (leaves_ < b_.size()) leaves_ <<= 1;
    max_.assign(2 * leaves_, std::numeric_limits<int>::min());
    for (size_t i = 0; i < b_.size(); ++i) max_[leaves_ + i] = b_[i].count;
    for (size_t i = leaves_; i-- > 1;) max_[i] = std::max(max_[2 * i], max_[2 * i + 1]);
  }

  void run() {
    for (size_t k = 0; k + 1 < b_.size(); ++k) {
      for (size_t j = firstAbove(k + 1, b_[k].count); j < b_.size(); j = firstAbove(j + 1, b_[k].count)) {
        std::swap(b_[k], b_[j]);
        set(j);  // place k is never looked at again
      }
    }
  }

 private:
  void set(size_t i) {
    size_t node = leaves_ + i;
    max_[node] = b_[i].count;
    for (node /= 2; node >= 1; node /= 2) max_[node] = std::max(max_[2 * node], max_[2 * node + 1]);
  }

  // The first place from `from` on whose count exceeds `v`, or the end.
  size_t firstAbove(size_t from, int v) const { return find(1, 0, leaves_, from, v); }

  size_t find(size_t node, size_t lo, size_t hi, size_t from, int v) const {
    if (hi <= from || max_[node] <= v || lo >= b_.size()) return b_.size();
    if (hi - lo == 1) return lo;
    const size_t mid = (lo + hi) / 2;
    const size_t left = find(2 * node, lo, mid, from, v);
    return left < b_.size() ? left : find(2 * node + 1, mid, hi, from, v);
  }

  std::vector<Band>& b_;
  size_t leaves_ = 1;
  std::vector<int> max_;
};

}  // namespace

void countAndRank(std::vector<Band>& bands, const std::vector<float>& weights, int count, float step) {
  const size_t records = std::min(static_cast<size_t>(std::max(0, count)), weights.size());
  for (size_t k : bandOfEach(bands, weights.data(), records, step))
    if (k < bands.size()) ++bands[k].count;
  ExchangeOrder(bands).run();
}

size_t rankingRowCount(const std::vector<Band>& ranked) {
  size_t k = 0;
  while (k < ranked.size() && ranked[k].count != 0) ++k;
  return k;
}

RankingRow rankingRow(const std::vector<Band>& ranked, size_t k, float step) {
  const Band& b = ranked[k];
  RankingRow r;
  r.rank = std::to_string(k + 1) + "位";
  r.range = formatSingle(b.low, "0.0～") + store::formatNumber(decimalOf(b.low) + step - 0.1, "0.0Kg");
  r.count = std::to_string(b.count) + "回";
  if (k > 0) r.gap = std::to_string(ranked[k - 1].count - b.count) + "回";
  return r;
}

std::vector<RankingRow> rankingRows(const std::vector<Band>& ranked, float step) {
  std::vector<RankingRow> rows;
  const size_t n = rankingRowCount(ranked);
  rows.reserve(n);
  for (size_t k = 0; k < n; ++k) rows.push_back(rankingRow(ranked, k, step));
  return rows;
}

std::string rankingCaption(float step) {
  return step == 1.0f ? "体重推移累積番付 < 1.0Kg刻み >" : "体重推移累積番付 < 0.5Kg刻み >";
}

}  // namespace analysis
