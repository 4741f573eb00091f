#include "analysis/decimal_kg.h"

#include <cmath>

#include "store/numbers.h"

namespace analysis {
namespace {

// Rounds away the last bits double arithmetic leaves on a short decimal.
double clean(double v) { return std::round(v * 1e6) / 1e6; }

}  // namespace

double decimalOf(float v) { return store::singleDecimalValue(v); }

double decimalDifference(float a, float b) { return clean(decimalOf(a) - decimalOf(b)); }

double roundTenthUp(double v) { return std::floor(clean(v * 10) + 0.5) / 10; }

std::string formatSingle(float v, std::string_view pattern) { return store::formatSingle(v, pattern); }

}  // namespace analysis
