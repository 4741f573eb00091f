#include "analysis/weight_table.h"

#include <algorithm>

#include "analysis/decimal_kg.h"
#include "store/numbers.h"
#include "words/messages.h"

namespace analysis {

const char* diffHeader(DiffMode mode) { return mode == DiffMode::PreviousDay ? "前日差" : "初日差"; }

const char* signMark(double v) { return v == 0 ? "±" : v > 0 ? "+" : ""; }

TableRow weightTableRow(const records::WeightSeries& s, DiffMode mode, size_t i) {
  double diff = 0;
  if (i > 0) {
    const float base = mode == DiffMode::PreviousDay ? s.WeightKg[i - 1] : s.WeightKg[0];
    diff = roundTenthUp(decimalDifference(s.WeightKg[i], base));
  }
  return {std::to_string(i) + "日目", s.WeightDate[i],
          formatSingle(s.WeightKg[i], "0.0Kg") + (s.isFilled(i) ? words::kFilledMark : ""),
          std::string(signMark(diff)) + store::formatNumber(diff, "0.0Kg")};
}

std::vector<TableRow> weightTableRows(const records::WeightSeries& s, DiffMode mode) {
  const size_t n = std::min({static_cast<size_t>(std::max(0, s.WeightCount)), s.WeightKg.size(), s.WeightDate.size()});
  std::vector<TableRow> rows;
  rows.reserve(n);
  for (size_t i = 0; i < n; ++i) rows.push_back(weightTableRow(s, mode, i));
  return rows;
}

}  // namespace analysis
