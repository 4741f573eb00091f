#pragma once
// The weight bands' counts kept in the bands' own order, so that one more weight is counted
// and ranked without counting the whole log again.
#include <vector>

#include "analysis/ranking.h"

namespace analysis {

// The index of the band holding `weight` (the first, as countAndRank counts it), or -1.
int bandIndexOf(const std::vector<Band>& bands, float step, float weight);

// Puts the counts of `ranked` (the bands of `bands` after countAndRank) back on `bands`, in
// their own order. False when `ranked` is not those bands.
bool countsInBandOrder(std::vector<Band>& bands, const std::vector<Band>& ranked, float step);

// Orders counted bands by count as countAndRank does, equal counts included.
void rankCounted(std::vector<Band>& bands);

}  // namespace analysis
