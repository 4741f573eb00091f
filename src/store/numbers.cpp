#include "store/numbers.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

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

double toDouble(std::string_view s) {
  std::string t(s);
  for (char& c : t)
    if (c == 'd' || c == 'D') c = 'e';
  return std::strtod(t.c_str(), nullptr);  // beyond double range: +-infinity, never a quiet 0
}

// Digits and exponent of `v` with `sig` significant digits, written without an exponent.
std::string fixedFromSignificant(double v, int sig) {
  if (v == 0 || !std::isfinite(v)) return "0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*e", sig - 1, v);
  std::string m(buf);
  bool neg = m[0] == '-';
  if (neg) m.erase(0, 1);
  size_t e = m.find('e');
  int exp = std::atoi(m.c_str() + e + 1);
  std::string digits;
  for (size_t i = 0; i < e; ++i)
    if (isDigit(m[i])) digits += m[i];
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string out;
  int pointPos = exp + 1;  // digits before the decimal point
  if (pointPos <= 0) {
    out = "0." + std::string(static_cast<size_t>(-pointPos), '0') + digits;
  } else if (static_cast<size_t>(pointPos) >= digits.size()) {
    out = digits + std::string(static_cast<size_t>(pointPos) - digits.size(), '0');
  } else {
    out = digits.substr(0, pointPos) + "." + digits.substr(pointPos);
  }
  return neg ? "-" + out : out;
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

}  // namespace

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
  size_t n = numberLength(f);
  if (n == 0 || n != f.size()) return std::nullopt;
  const double v = toDouble(f);
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

double roundHalfEven(double v) { return std::nearbyint(v); }  // default mode: to nearest, ties to even

std::string shortestSingle(float v) { return fixedFromSignificant(static_cast<double>(v), 7); }
std::string shortestDouble(double v) { return fixedFromSignificant(v, 15); }

bool isFinite(double v) { return std::isfinite(v); }

std::string formatNumber(double v, std::string_view pattern) {
  // Split the pattern into literal prefix, numeric part and literal suffix.
  size_t start = pattern.find_first_of("0#.");
  if (start == std::string_view::npos) return std::string(pattern);
  size_t end = start;
  while (end < pattern.size() && (pattern[end] == '0' || pattern[end] == '#' || pattern[end] == '.')) ++end;
  std::string_view prefix = pattern.substr(0, start), num = pattern.substr(start, end - start),
                   suffix = pattern.substr(end);
  if (prefix.find('%') != std::string_view::npos || suffix.find('%') != std::string_view::npos) v *= 100;
  size_t point = num.find('.');
  std::string_view intPart = num.substr(0, point);
  int decimals = point == std::string_view::npos ? 0 : static_cast<int>(num.size() - point - 1);
  size_t minInt = 0;
  for (char c : intPart)
    if (c == '0') ++minInt;

  // Decimal digits of |v| (15 significant), rounded half away from zero to `decimals` places.
  bool neg = v < 0;
  std::string fixed = fixedFromSignificant(std::fabs(v), 15);
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
  if (ip == "0" && minInt == 0) ip.clear();
  if (ip.size() < minInt) ip.insert(0, minInt - ip.size(), '0');
  bool zero = all.find_first_not_of('0') == std::string::npos;
  std::string out(prefix);
  if (neg && !zero) out += '-';
  out += ip;
  if (point != std::string_view::npos && decimals > 0) out += "." + fp;
  out += suffix;
  return out;
}

}  // namespace store
