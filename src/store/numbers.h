#pragma once
// Numbers as the diary reads, rounds and shows them.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace store {

// The leading-number parse of typed text: leading blanks skipped, the longest leading number
// taken, anything after it ignored; no number at all gives 0. A number beyond the double range
// gives +-infinity, so every range check refuses it.
double Val(std::string_view text);

// A number field of a data file: blanks around it allowed, empty reads as 0, ".7" as 0.7.
// Anything else (letters, two points, a number beyond the double range) gives nullopt.
std::optional<double> parseNumberField(std::string_view field);

// The powers of ten a double holds exactly.
inline constexpr double kExactPowersOfTen[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                                 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// scanPlainDecimal for decimals of over 15 digits, some of them perhaps leading zeros.
const char* scanLongPlainDecimal(const char* p, const char* end, double& value);

// The plain decimal at the start of [p, end) (a sign, at most 15 significant digits, at most
// one point and 22 decimals), read exactly as strtod reads it. Returns the end of the digits
// read, or `p` (value untouched) when there is no such decimal or it is too long to be exact.
// Inline: every number field of every log comes through here.
inline const char* scanPlainDecimal(const char* p, const char* end, double& value) {
  const char* const start = p;
  const bool neg = p < end && *p == '-';
  if (p < end && (*p == '-' || *p == '+')) ++p;
  const char* const whole = p;
  uint64_t digits = 0;
  unsigned d;
  while (p < end && (d = static_cast<unsigned char>(*p) - unsigned{'0'}) < 10) digits = digits * 10 + d, ++p;
  const ptrdiff_t wholeDigits = p - whole;
  ptrdiff_t decimals = 0;
  if (p < end && *p == '.') {
    const char* const fraction = ++p;
    while (p < end && (d = static_cast<unsigned char>(*p) - unsigned{'0'}) < 10) digits = digits * 10 + d, ++p;
    decimals = p - fraction;
    if (wholeDigits + decimals == 0) return start;  // "." alone
  } else if (wholeDigits == 0) {
    return start;
  }
  // Up to 15 digits in all, none can be too many; longer ones may start with zeros.
  if (wholeDigits + decimals > 15) return scanLongPlainDecimal(start, end, value);
  // Digits and power both exact doubles: one division rounds correctly.
  const double v = static_cast<double>(digits) / kExactPowersOfTen[decimals];
  value = neg ? -v : v;
  return p;
}

// Whole-number rounding with halves going to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double v);

// Shortest decimal form of a single-precision value, at most 7 significant digits, no exponent,
// trailing zeros and point dropped: 65 -> "65", 65.3f -> "65.3", 1.685f -> "1.685".
std::string shortestSingle(float v);
// The same for a double-precision value with at most 15 significant digits.
std::string shortestDouble(double v);
// The value of shortestSingle(v) as a double (0 for infinities and NaN): 65.3f gives 65.3.
double singleDecimalValue(float v);

// A small display formatter: digit placeholders ("0", "#"), one decimal point, "%" multiplies
// by 100, everything else literal ("0.0Kg", "0日後 ( ", "00.0"). Rounds half away from zero on
// the value's decimal digits. A result that rounds to zero is shown without a minus sign.
std::string formatNumber(double v, std::string_view pattern);
// A single-precision value rounded on its shortest decimal form, so that 65.25f shows as 65.3
// the way it was typed: formatNumber(singleDecimalValue(v), pattern), without the detour.
std::string formatSingle(float v, std::string_view pattern);

// True when `text` is a finite number suitable for display (not inf or nan).
bool isFinite(double v);

}  // namespace store
