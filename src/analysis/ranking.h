#pragma once
// The cumulative ranking of weight bands: how many daily weights fell into each band of
// 1.0 kg or 0.5 kg, the most frequent band first.
#include <optional>
#include <string>
#include <vector>

namespace analysis {

struct Band {
  float low = 0;  // lower bound, kg, one decimal
  int count = 0;
};

struct RankingRow {
  std::string rank, range, count;
  std::optional<std::string> gap;  // not written on the first row
};

// Bands from Int(minWeight) up to Int(maxWeight) + 1 (that last one always empty).
std::vector<Band> makeBands(float minWeight, float maxWeight, float step);

// True when `weight` lies in the band starting at `low`: from the decimal value of `low` up to
// low + step - 0.01, compared in single precision. A weight with two decimals such as 60.49 may
// fall between two 0.5 kg bands.
bool bandHolds(float low, float step, float weight);

// Counts each weight into the first band holding it, then orders the bands by count by
// exchange; equal counts keep the order the exchanges leave them in.
void countAndRank(std::vector<Band>& bands, const std::vector<float>& weights, int count, float step);

// The rows shown: one per band with at least one weight, in ranked order.
std::vector<RankingRow> rankingRows(const std::vector<Band>& ranked, float step);
// The number of rows rankingRows gives, and its row k alone.
size_t rankingRowCount(const std::vector<Band>& ranked);
RankingRow rankingRow(const std::vector<Band>& ranked, size_t k, float step);

std::string rankingCaption(float step);

// More bands than this means a damaged log (a weight of tons); the ranking is then not built.
inline constexpr int kMaxBands = 4000;

}  // namespace analysis
