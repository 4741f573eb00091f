#pragma once
// Weights are typed and stored as short decimals but held as single-precision values. Sums and
// differences that decide a rounding or a comparison are taken on the decimal values, so that a
// loss of 0.5 kg is 0.5 and not 0.4999962.
#include <string>
#include <string_view>

namespace analysis {

// The decimal value a stored weight stands for: 65.3f gives 65.3.
double decimalOf(float v);
// a - b on the decimal values, cleared of the residue of double arithmetic.
double decimalDifference(float a, float b);
// One decimal with halves going upward: Int(v * 10 + 0.5) / 10, Int being the floor.
double roundTenthUp(double v);
// A single-precision value shown with a display pattern ("0.0Kg"), rounded on its decimal value.
std::string formatSingle(float v, std::string_view pattern);

}  // namespace analysis
