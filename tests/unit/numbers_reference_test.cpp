// The integer fast paths of the number formatting against the snprintf-based code they replaced,
// kept here word for word as the reference.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/decimal_kg.h"
#include "records/body_fat.h"
#include "store/numbers.h"

namespace reference {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

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

std::string shortestSingle(float v) { return fixedFromSignificant(static_cast<double>(v), 7); }
std::string shortestDouble(double v) { return fixedFromSignificant(v, 15); }

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

// The round trips the callers made.
std::string formatSingle(float v, std::string_view pattern) {
  return formatNumber(std::stod(shortestSingle(v)), pattern);
}
double decimalOf(float v) {
  if (!std::isfinite(v)) return 0;
  return std::strtod(shortestSingle(v).c_str(), nullptr);
}

}  // namespace reference

namespace {

// Every pattern the program formats with, and a few more shapes the formatter accepts.
const std::vector<std::string> kPatterns = {"0.0",  "0.0Kg",  "00.0",  "0",          "0日後 ( ", "0g",
                                            "0.00", "0.0～",  "0.0Km", "0.0Kg減",    "0.0Kg増",  "0.000Kg",
                                            "0.0%", "0.0 Kg", "%",     "",           "#.##",     "#0.0#",
                                            "0%",   ".00",    "0.",    "00000.0000", "#",        "x0.0000000y"};

float fromBits(uint32_t b) {
  float f;
  std::memcpy(&f, &b, sizeof f);
  return f;
}
double fromBits64(uint64_t b) {
  double d;
  std::memcpy(&d, &b, sizeof d);
  return d;
}

// The bits of a value, for the message of a mismatch.
template <class T>
std::string hex(T v) {
  unsigned long long b = 0;
  std::memcpy(&b, &v, sizeof v);
  char buf[24];
  std::snprintf(buf, sizeof buf, "%0*llx", static_cast<int>(2 * sizeof v), b);
  return buf;
}

// Singles of every kind: any bit pattern, typed decimals, results of arithmetic on them, and
// values at the edges (halves at the seventh digit, powers of ten, the largest and smallest).
class Singles {
 public:
  explicit Singles(uint32_t seed) : rng_(seed) {}
  float next() {
    switch (i_++ % 5) {
      case 0: return fromBits(static_cast<uint32_t>(rng_()));
      case 4: return static_cast<float>(static_cast<int>(rng_() % 40000000) - 20000000);  // counts, steps
      case 1: return typed();
      case 2: {
        const float a = typed(), b = typed();
        return (rng_() & 1) ? a - b : a / 100 * b;
      }
      default: {
        // Near a power of ten or an integer beyond 2^24, a few units in the last place away.
        const int p = static_cast<int>(rng_() % 24) - 8;
        float base = (rng_() & 1) ? static_cast<float>(std::pow(10.0, p)) : static_cast<float>(16777216 + rng_() % 9);
        uint32_t bits;
        std::memcpy(&bits, &base, sizeof bits);
        bits += static_cast<uint32_t>(rng_() % 9) - 4;
        return fromBits(bits);
      }
    }
  }

 private:
  float typed() {
    const int digits = static_cast<int>(rng_() % 4);  // 0 to 3 decimals
    const long n = static_cast<long>(rng_() % 10000000) - 5000000;
    return static_cast<float>(static_cast<double>(n) / std::pow(10.0, digits + 2));
  }
  std::mt19937 rng_;
  unsigned i_ = 0;
};

// Stops a mismatch from flooding the log: the first few are reported, then the test ends.
#define EXPECT_SAME(fast, ref, what)                       \
  do {                                                     \
    const auto f_ = (fast);                                \
    const auto r_ = (ref);                                 \
    if (!(f_ == r_)) {                                     \
      ADD_FAILURE() << what << ": " << f_ << " vs " << r_; \
      if (++failures >= 20) return;                        \
    }                                                      \
  } while (0)

}  // namespace

TEST(NumberFastPath, AMillionSinglesGiveTheSameTextAsTheReference) {
  Singles singles(20261207);
  int failures = 0;
  for (int i = 0; i < 1000000; ++i) {
    const float v = singles.next();
    EXPECT_SAME(store::shortestSingle(v), reference::shortestSingle(v), "shortestSingle " << hex(v));
    const double d = store::singleDecimalValue(v), rd = reference::decimalOf(v);
    EXPECT_SAME(std::memcmp(&d, &rd, sizeof d), 0, "singleDecimalValue " << hex(v) << " " << d << " " << rd);
    EXPECT_SAME(analysis::decimalOf(v), rd, "decimalOf " << hex(v));
    const std::string& p = kPatterns[i % kPatterns.size()];
    EXPECT_SAME(store::formatSingle(v, p), reference::formatSingle(v, p), "formatSingle " << hex(v) << " " << p);
  }
}

TEST(NumberFastPath, DoublesFormatLikeTheReference) {
  std::mt19937_64 rng(731);
  Singles singles(4000);
  int failures = 0;
  for (int i = 0; i < 300000; ++i) {
    double v;
    switch (i % 5) {
      case 0: v = fromBits64(rng()); break;  // any magnitude, NaN and infinities
      case 4: v = static_cast<double>(static_cast<int64_t>(rng() % 20000000000000000) - 10000000000000000); break;
      case 1: v = analysis::decimalOf(singles.next()) - analysis::decimalOf(singles.next()); break;
      case 2: v = static_cast<double>(static_cast<int64_t>(rng() % 20000001) - 10000000) / 1000; break;
      default: v = static_cast<double>(singles.next()) * 100 / 3; break;
    }
    EXPECT_SAME(store::shortestDouble(v), reference::shortestDouble(v), "shortestDouble " << hex(v));
    const std::string& p = kPatterns[i % kPatterns.size()];
    EXPECT_SAME(store::formatNumber(v, p), reference::formatNumber(v, p), "formatNumber " << hex(v) << " " << p);
  }
}

TEST(NumberFastPath, EdgesOfEveryPattern) {
  const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
  // Halves at each shown place, both signs; ties at the seventh digit; the ends of the range.
  const std::vector<float> singles = {0.0f,        -0.0f,       0.05f,  -0.05f,          0.25f,         -0.35f,
                                      2.5f,        0.45f,       1.005f, 60.45f,          65.25f,        -65.25f,
                                      0.0005f,     9.95f,       99.95f, 999.95f,         0.04999f,      16777215.0f,
                                      16777217.0f, 33554430.0f, 1e-45f, 1.17549435e-38f, 3.4028235e38f, -3.4028235e38f,
                                      1e7f,        9999999.0f,  1e-5f,  9.999999e-6f,    123456.75f,    inf,
                                      -inf,        nan};
  int failures = 0;
  for (float v : singles) {
    EXPECT_SAME(store::shortestSingle(v), reference::shortestSingle(v), "shortestSingle " << v);
    EXPECT_SAME(store::singleDecimalValue(v), reference::decimalOf(v), "singleDecimalValue " << v);
    for (const std::string& p : kPatterns) {
      EXPECT_SAME(store::formatSingle(v, p), reference::formatSingle(v, p), "formatSingle " << v << " " << p);
      EXPECT_SAME(records::FormatSingle(v, p.c_str()), reference::formatSingle(v, p), "FormatSingle " << v << " " << p);
      EXPECT_SAME(analysis::formatSingle(v, p), reference::formatSingle(v, p), "analysis " << v << " " << p);
    }
  }
  const std::vector<double> doubles = {
      0.05,        -0.05,  0.15,   1.005,  2.675,  0.5,    -0.5, 1e15,   1e15 - 0.5, 1e16,
      1e22,        1e23,   1e300,  -1e300, 1e-300, 5e-324, 1e-8, 9.5e-9, 1.7e308,    123456789012345678.0,
      0.000499999, 99.995, -0.0049};
  for (double v : doubles) {
    EXPECT_SAME(store::shortestDouble(v), reference::shortestDouble(v), "shortestDouble " << v);
    for (const std::string& p : kPatterns)
      EXPECT_SAME(store::formatNumber(v, p), reference::formatNumber(v, p), "formatNumber " << v << " " << p);
  }
}

TEST(NumberFastPath, FieldsAndTypedTextReadAsStrtodReadsThem) {
  std::mt19937 rng(65);
  const std::string alphabet = "0123456789.eEdD+-";
  std::vector<std::string> texts = {"65.3",
                                    "-0",
                                    "+5",
                                    ".7",
                                    "7.",
                                    "1e999",
                                    "-1e999",
                                    "1e-400",
                                    "2.5d3",
                                    "1D-2",
                                    "4.9406564584124654e-324",
                                    "2.2250738585072011e-308",
                                    "179769313486231580793728"
                                    "971405303415079934132710037826936173778980444968292764750946649017977587207096"
                                    "330286416692887910946555547851940402630657488671505820681908902000708383676273"
                                    "854845817711531764475730270069855571366959622842914819860834936475292719074168"
                                    "444365510704342711559699508093042880177904174497791.9999999999"};
  for (int i = 0; i < 200000; ++i) {
    std::string t;
    for (int k = 1 + static_cast<int>(rng() % 24); k > 0; --k) t += alphabet[rng() % alphabet.size()];
    texts.push_back(t);
  }
  int failures = 0;
  for (const std::string& t : texts) {
    // The reference: the longest leading number, "d" read as "e", then strtod.
    std::string u = t;
    for (char& c : u)
      if (c == 'd' || c == 'D') c = 'e';
    const std::optional<double> field = store::parseNumberField(t);
    const double val = store::Val(t);
    if (field) {
      const double want = std::strtod(u.c_str(), nullptr);
      EXPECT_SAME(std::memcmp(&*field, &want, sizeof want), 0, "field \"" << t << "\" " << *field << " vs " << want);
      EXPECT_SAME(std::memcmp(&val, &want, sizeof want), 0, "Val \"" << t << "\"");
    }
  }
}

TEST(NumberFastPath, PlainDecimalsAreReadWhereTheyStandExactlyAsStrtodReadsThem) {
  std::mt19937 rng(932);
  int failures = 0;
  for (int i = 0; i < 300000; ++i) {
    std::string t = rng() % 4 == 0 ? "-" : rng() % 8 == 0 ? "+" : "";
    const int whole = static_cast<int>(rng() % 12), fraction = static_cast<int>(rng() % 26);
    const int zeros = static_cast<int>(rng() % 5);  // leading zeros are not significant
    for (int k = 0; k < zeros; ++k) t += '0';
    for (int k = 0; k < whole; ++k) t += static_cast<char>('0' + rng() % 10);
    const bool point = rng() % 5 != 0;
    if (point) t += '.';
    for (int k = 0; point && k < fraction; ++k) t += static_cast<char>('0' + (rng() % 3 == 0 ? 0 : rng() % 10));
    const std::string field = t + (rng() % 2 ? "," : "\r\n");
    // Significant digits: from the first nonzero digit to the end.
    const size_t first = t.find_first_of("123456789");
    size_t significant = 0;
    for (size_t k = first == std::string::npos ? t.size() : first; k < t.size(); ++k) significant += t[k] != '.';
    const size_t decimals = point ? t.size() - t.find('.') - 1 : 0;
    const bool anyDigit = t.find_first_of("0123456789") != std::string::npos;

    double v = -12345;
    const char* end = store::scanPlainDecimal(field.data(), field.data() + field.size(), v);
    const bool read = end != field.data();
    const bool expected = anyDigit && significant <= 15 && decimals <= 22;
    EXPECT_SAME(read, expected, "\"" << t << "\" read " << read);
    if (!read) continue;
    EXPECT_SAME(end - field.data(), static_cast<std::ptrdiff_t>(t.size()), "\"" << t << "\" stops at its end");
    const double want = std::strtod(t.c_str(), nullptr);
    EXPECT_SAME(std::memcmp(&v, &want, sizeof want), 0, "\"" << t << "\" " << v << " vs " << want);
  }
}
