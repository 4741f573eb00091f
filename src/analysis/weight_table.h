#pragma once
// The time-series weight table of the analysis page.
#include <array>
#include <string>
#include <vector>

#include "records/weight_log.h"

namespace analysis {

enum class DiffMode { PreviousDay, FirstDay };

using TableRow = std::array<std::string, 4>;

// Heading of the difference column for the chosen mode.
const char* diffHeader(DiffMode mode);

// One row per record: day number, date as stored, weight, signed difference ("±0.0Kg",
// "-0.4Kg", "+0.5Kg") rounded to one decimal with halves going upward.
std::vector<TableRow> weightTableRows(const records::WeightSeries& s, DiffMode mode);
// Row i alone (i below the record count), as weightTableRows gives it.
TableRow weightTableRow(const records::WeightSeries& s, DiffMode mode, size_t i);

// The sign text shown before a difference: "±" for zero, "+" above, nothing below (the number
// carries its own minus sign).
const char* signMark(double v);

}  // namespace analysis
