#include "store/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace store {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the longest number at the start of `s` (sign, digits, point, exponent), or 0.
size_t numberLength(std::string_view s) {
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t digits = 0;
  while (i < s.size() && isDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    size_t j = i + 1, frac = 0;
    while (j < s.size() && isDigit(s[j])) ++j, ++frac;
    if (digits + frac > 0) i = j, digits += frac;
  }
  if (digits == 0) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    size_t e = 0;
    while (j < s.size() && isDigit(s[j])) ++j, ++e;
    if (e > 0) i = j;
  }
  return i;
}

// Plain decimals of at most 15 digits and 22 decimals (every number the program writes):
// both the digits and the power of ten are exact doubles, so one division rounds correctly.
std::optional<double> exactDecimal(std::string_view s) {
  double v = 0;
  const char* end = s.data() + s.size();
  if (scanPlainDecimal(s.data(), end, v) != end) return std::nullopt;
  return v;
}

// Any number numberLength accepts, rounded as strtod rounds.
double readAnyNumber(std::string_view s) {
  // from_chars rounds as strtod does; it takes no plus sign and no "d" exponent, and leaves
  // out-of-range values to strtod's infinities and underflows.
  const bool neg = !s.empty() && s[0] == '-';
  const size_t from = !s.empty() && (s[0] == '+' || s[0] == '-') ? 1 : 0;
  double v = 0;
  const auto r = std::from_chars(s.data() + from, s.data() + s.size(), v, std::chars_format::general);
  if (r.ec == std::errc() && r.ptr == s.data() + s.size()) return neg ? -v : v;
  std::string t(s);
  for (char& c : t)
    if (c == 'd' || c == 'D') c = 'e';
  return std::strtod(t.c_str(), nullptr);  // beyond double range: +-infinity, never a quiet 0
}

double toDouble(std::string_view s) {
  if (auto v = exactDecimal(s)) return *v;
  return readAnyNumber(s);
}

// A decimal number: digits x 10^exp, the digits without trailing zeros (0 for zero).
struct Decimal {
  uint64_t digits = 0;
  int exp = 0;
  bool neg = false;
};

constexpr uint64_t kPow10[20] = {1,
                                 10,
                                 100,
                                 1000,
                                 10000,
                                 100000,
                                 1000000,
                                 10000000,
                                 100000000,
                                 1000000000,
                                 10000000000,
                                 100000000000,
                                 1000000000000,
                                 10000000000000,
                                 100000000000000,
                                 1000000000000000,
                                 10000000000000000,
                                 100000000000000000,
                                 1000000000000000000,
                                 10000000000000000000u};

using u128 = unsigned __int128;

u128 pow10Wide(int k) { return k < 20 ? u128{kPow10[k]} : u128{kPow10[k - 19]} * kPow10[19]; }

int digitCount(uint64_t n) {
  int d = 1;
  while (d < 20 && n >= kPow10[d]) ++d;
  return d;
}

Decimal stripped(uint64_t digits, int exp, bool neg) {
  if (digits == 0) return {};
  while (digits % 10 == 0) digits /= 10, ++exp;
  return {digits, exp, neg};
}

// floor(log10(2^e)) for |e| < 1500, sometimes one less than floor(log10(v)) for v in [2^e, 2^(e+1)).
int decimalExponentGuess(int binaryExp) { return (binaryExp * 78913) >> 18; }

// The general way: the same digits as printf's "%.*e" (exact, halves to even), from to_chars.
Decimal viaToChars(double v, int sig) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, sig - 1);
  const char* p = buf;
  bool neg = false;
  if (*p == '-') neg = true, ++p;
  uint64_t digits = 0;
  int fraction = 0;
  bool inFraction = false;
  for (; p < r.ptr && *p != 'e'; ++p) {
    if (*p == '.') {
      inFraction = true;
      continue;
    }
    digits = digits * 10 + static_cast<uint64_t>(*p - '0');
    if (inFraction) ++fraction;
  }
  int exp = 0;
  std::from_chars(p + 1 + (p[1] == '+'), r.ptr, exp);
  return stripped(digits, exp - fraction, neg);
}

// An integer n rounded to `sig` significant digits, halves to even.
Decimal roundInteger(uint64_t n, int sig, bool neg) {
  const int drop = digitCount(n) - sig;
  if (drop <= 0) return stripped(n, 0, neg);
  uint64_t q = n / kPow10[drop];
  const uint64_t r = n % kPow10[drop], half = 5 * kPow10[drop - 1];
  if (r > half || (r == half && (q & 1))) ++q;
  return stripped(q, drop, neg);  // a carry to 10^sig just strips one more zero
}

// v rounded to `sig` significant digits exactly as "%.*e" with sig - 1 decimals does it. Zero,
// infinities and NaN give zero. Common magnitudes are done in integers; the rest by to_chars.
Decimal decimalOfSingle(float f) {
  constexpr int sig = 7;
  if (f == 0 || !std::isfinite(f)) return {};
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  const bool neg = bits >> 31;
  const int biased = static_cast<int>((bits >> 23) & 0xFF);
  if (biased == 0) return viaToChars(static_cast<double>(f), sig);  // subnormal
  const float a = std::fabs(f);
  if (a < 16777216.0f && a == std::trunc(a)) return roundInteger(static_cast<uint64_t>(a), sig, neg);  // counts
  const uint64_t m = (bits & 0x7FFFFF) | 0x800000;
  const int e = biased - 150;  // |f| = m * 2^e
  if (e >= 0) {
    if (e > 39) return viaToChars(static_cast<double>(f), sig);
    return roundInteger(m << e, sig, neg);
  }
  const int shift = -e;
  if (shift > 63) return viaToChars(static_cast<double>(f), sig);
  int k = sig - 1 - decimalExponentGuess(e + 23);  // |f| * 10^k has sig or sig + 1 integer digits
  for (int attempt = 0; attempt < 2; ++attempt, --k) {
    if (k < 0 || k > 11) break;  // m * 10^k must stay below 2^64
    const uint64_t num = m * kPow10[k];
    uint64_t t = num >> shift;
    if (t >= kPow10[sig]) continue;  // the guess was one short
    const uint64_t rem = num & ((uint64_t{1} << shift) - 1), half = uint64_t{1} << (shift - 1);
    if (rem > half || (rem == half && (t & 1))) ++t;
    return stripped(t, -k, neg);
  }
  return viaToChars(static_cast<double>(f), sig);
}

// The same for a double with 15 significant digits.
Decimal decimalOfDouble(double v) {
  constexpr int sig = 15;
  if (v == 0 || !std::isfinite(v)) return {};
  uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  const bool neg = bits >> 63;
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  if (biased == 0) return viaToChars(v, sig);
  const double a = std::fabs(v);
  if (a < 9007199254740992.0 && a == std::trunc(a)) return roundInteger(static_cast<uint64_t>(a), sig, neg);
  const uint64_t m = (bits & 0xFFFFFFFFFFFFFull) | (uint64_t{1} << 52);
  const int e = biased - 1075;  // |v| = m * 2^e
  if (e >= 0) {
    if (e > 10) return viaToChars(v, sig);
    return roundInteger(m << e, sig, neg);
  }
  const int shift = -e;
  if (shift > 127) return viaToChars(v, sig);
  int k = sig - 1 - decimalExponentGuess(e + 52);
  for (int attempt = 0; attempt < 2; ++attempt, --k) {
    if (k < 0 || k > 22) break;  // m * 10^k must stay below 2^128
    const u128 num = u128{m} * pow10Wide(k);
    u128 t = num >> shift;
    if (t >= kPow10[sig]) continue;
    const u128 rem = num & ((u128{1} << shift) - 1), half = u128{1} << (shift - 1);
    if (rem > half || (rem == half && (t & 1))) ++t;
    return stripped(static_cast<uint64_t>(t), -k, neg);
  }
  return viaToChars(v, sig);
}

void appendDigits(std::string& out, uint64_t n, int width = 0) {
  char buf[24];
  char* end = buf + sizeof buf;
  char* p = end;
  do {
    *--p = static_cast<char>('0' + n % 10);
    n /= 10;
  } while (n > 0);
  while (end - p < width) *--p = '0';
  out.append(p, end);
}

// Written without an exponent: "65.3", "0.001", "1200".
std::string plain(const Decimal& d) {
  if (d.digits == 0) return "0";
  std::string digits;
  appendDigits(digits, d.digits);
  const int n = static_cast<int>(digits.size());
  const int pointPos = n + d.exp;  // digits before the decimal point
  std::string out;
  out.reserve(static_cast<size_t>(std::max(n, std::abs(pointPos)) + 3));
  if (d.neg) out += '-';
  if (pointPos <= 0) {
    out += "0.";
    out.append(static_cast<size_t>(-pointPos), '0');
    out += digits;
  } else if (pointPos >= n) {
    out += digits;
    out.append(static_cast<size_t>(pointPos - n), '0');
  } else {
    out.append(digits, 0, static_cast<size_t>(pointPos));
    out += '.';
    out.append(digits, static_cast<size_t>(pointPos));
  }
  return out;
}

// Adds one unit in the last place of a string of decimal digits.
void incrementDigits(std::string& d) {
  for (size_t i = d.size(); i-- > 0;) {
    if (d[i] == '9') {
      d[i] = '0';
    } else {
      ++d[i];
      return;
    }
  }
  d.insert(d.begin(), '1');
}

struct Pattern {
  std::string_view prefix, suffix;
  bool percent = false, point = false;
  int decimals = 0;
  size_t minInt = 0;
};

Pattern parsePattern(std::string_view pattern) {
  Pattern p;
  size_t start = pattern.find_first_of("0#.");
  size_t end = start;
  while (end < pattern.size() && (pattern[end] == '0' || pattern[end] == '#' || pattern[end] == '.')) ++end;
  p.prefix = pattern.substr(0, start);
  p.suffix = pattern.substr(end);
  std::string_view num = pattern.substr(start, end - start);
  p.percent = p.prefix.find('%') != std::string_view::npos || p.suffix.find('%') != std::string_view::npos;
  size_t point = num.find('.');
  p.point = point != std::string_view::npos;
  p.decimals = p.point ? static_cast<int>(num.size() - point - 1) : 0;
  for (char c : num.substr(0, point))
    if (c == '0') ++p.minInt;
  return p;
}

// Any magnitude: rounding on the digit string.
std::string formatWide(const Decimal& d, const Pattern& p) {
  const int decimals = p.decimals;
  std::string fixed = plain({d.digits, d.exp, false});
  size_t dot = fixed.find('.');
  std::string ip = dot == std::string::npos ? fixed : fixed.substr(0, dot);
  std::string fp = dot == std::string::npos ? "" : fixed.substr(dot + 1);
  if (fp.size() < static_cast<size_t>(decimals)) fp.append(decimals - fp.size(), '0');
  bool roundUp = fp.size() > static_cast<size_t>(decimals) && fp[decimals] >= '5';
  std::string all = ip + fp.substr(0, decimals);
  if (roundUp) incrementDigits(all);
  ip = all.substr(0, all.size() - decimals);
  fp = all.substr(all.size() - decimals);
  while (ip.size() > 1 && ip[0] == '0') ip.erase(0, 1);
  if (ip == "0" && p.minInt == 0) ip.clear();
  if (ip.size() < p.minInt) ip.insert(0, p.minInt - ip.size(), '0');
  bool zero = all.find_first_not_of('0') == std::string::npos;
  std::string out(p.prefix);
  if (d.neg && !zero) out += '-';
  out += ip;
  if (p.point && decimals > 0) out += "." + fp;
  out += p.suffix;
  return out;
}

// Rounds half away from zero on the decimal digits to the pattern's decimals and lays it out.
std::string formatDecimal(const Decimal& d, const Pattern& p) {
  const int decimals = p.decimals;
  const int pointPos = d.digits == 0 ? 0 : digitCount(d.digits) + d.exp;
  if (decimals > 18 || pointPos + decimals > 18) return formatWide(d, p);
  // The value in units of the last shown decimal.
  uint64_t units;
  const int shift = d.exp + decimals;
  if (shift >= 0) {
    units = d.digits * kPow10[shift];
  } else if (-shift >= 20) {
    units = 0;
  } else {
    units = d.digits / kPow10[-shift];
    if (d.digits % kPow10[-shift] >= 5 * kPow10[-shift - 1]) ++units;
  }
  const uint64_t whole = units / kPow10[decimals], part = units % kPow10[decimals];
  std::string out;
  out.reserve(p.prefix.size() + p.suffix.size() + 24);
  out += p.prefix;
  if (d.neg && units != 0) out += '-';
  if (whole != 0 || p.minInt > 0) appendDigits(out, whole, static_cast<int>(p.minInt));
  if (p.point && decimals > 0) {
    out += '.';
    appendDigits(out, part, decimals);
  }
  out += p.suffix;
  return out;
}

}  // namespace

const char* scanLongPlainDecimal(const char* p, const char* end, double& value) {
  const char* const start = p;
  const bool neg = p < end && *p == '-';
  if (p < end && (*p == '-' || *p == '+')) ++p;
  // Zeros before the first other digit are not significant, wherever the point stands.
  const char* const whole = p;
  while (p < end && *p == '0') ++p;
  const char* significant = p;
  uint64_t digits = 0;  // wraps for over 19 digits, which are refused below anyway
  const auto digitAt = [end](const char* q) { return q < end && static_cast<unsigned char>(*q - '0') < 10; };
  for (; digitAt(p); ++p) digits = digits * 10 + static_cast<unsigned>(*p - '0');
  bool any = p > whole;
  ptrdiff_t count = p - significant, decimals = 0;
  if (p < end && *p == '.') {
    const char* const fraction = ++p;
    if (digits == 0)
      while (p < end && *p == '0') ++p;
    significant = p;
    for (; digitAt(p); ++p) digits = digits * 10 + static_cast<unsigned>(*p - '0');
    count += p - significant;
    decimals = p - fraction;
    any = any || decimals > 0;
  }
  if (!any || count > 15 || decimals > 22) return start;
  const double v = static_cast<double>(digits) / kExactPowersOfTen[decimals];
  value = neg ? -v : v;
  return p;
}

double Val(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r')) ++i;
  std::string_view rest = text.substr(i);
  size_t n = numberLength(rest);
  return n == 0 ? 0.0 : toDouble(rest.substr(0, n));
}

std::optional<double> parseNumberField(std::string_view f) {
  while (!f.empty() && (f.front() == ' ' || f.front() == '\t')) f.remove_prefix(1);
  while (!f.empty() && (f.back() == ' ' || f.back() == '\t')) f.remove_suffix(1);
  if (f.empty()) return 0.0;
  if (auto v = exactDecimal(f)) return v;  // the usual field, checked and read in one pass
  size_t n = numberLength(f);
  if (n == 0 || n != f.size()) return std::nullopt;
  const double v = readAnyNumber(f);  // exactDecimal above took every plain one
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

double roundHalfEven(double v) { return std::nearbyint(v); }  // default mode: to nearest, ties to even

std::string shortestSingle(float v) { return plain(decimalOfSingle(v)); }
std::string shortestDouble(double v) { return plain(decimalOfDouble(v)); }

double singleDecimalValue(float v) {
  const Decimal d = decimalOfSingle(v);
  if (d.digits == 0) return 0;
  // Exact digits and an exact power of ten: one correctly rounded operation, as strtod gives.
  double x;
  if (d.exp >= 0 && d.exp <= 22) {
    x = static_cast<double>(d.digits) * kExactPowersOfTen[d.exp];
  } else if (d.exp < 0 && d.exp >= -22) {
    x = static_cast<double>(d.digits) / kExactPowersOfTen[-d.exp];
  } else {
    x = std::strtod(plain({d.digits, d.exp, false}).c_str(), nullptr);
  }
  return d.neg ? -x : x;
}

bool isFinite(double v) { return std::isfinite(v); }

std::string formatNumber(double v, std::string_view pattern) {
  if (pattern.find_first_of("0#.") == std::string_view::npos) return std::string(pattern);
  const Pattern p = parsePattern(pattern);
  if (p.percent) v *= 100;
  Decimal d = decimalOfDouble(std::fabs(v));
  d.neg = v < 0;
  return formatDecimal(d, p);
}

std::string formatSingle(float v, std::string_view pattern) {
  if (pattern.find_first_of("0#.") == std::string_view::npos) return std::string(pattern);
  const Pattern p = parsePattern(pattern);
  if (p.percent) return formatNumber(singleDecimalValue(v), pattern);
  // Seven digits are given back unchanged by a double's fifteen, so no round trip is needed.
  Decimal d = decimalOfSingle(v);
  d.neg = d.neg && d.digits != 0;
  return formatDecimal(d, p);
}

}  // namespace store
