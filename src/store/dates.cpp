#include "store/dates.h"

#include <cstdio>

namespace store {
using namespace std::chrono;

Date makeDate(int y, unsigned m, unsigned d) { return sys_days{year{y} / month{m} / day{d}}; }
int yearOf(Date d) { return static_cast<int>(year_month_day{d}.year()); }
unsigned monthOf(Date d) { return static_cast<unsigned>(year_month_day{d}.month()); }
unsigned dayOf(Date d) { return static_cast<unsigned>(year_month_day{d}.day()); }
unsigned weekdayOf(Date d) { return weekday{d}.c_encoding(); }

namespace {

// Writes `n` (0 <= n < 10^width) with leading zeros; lists and tables format thousands of dates.
char* putDigits(char* p, unsigned n, int width) {
  for (int i = width; i-- > 0; n /= 10) p[i] = static_cast<char>('0' + n % 10);
  return p + width;
}

// "YYYY/MM/DD" (or without the separator) for years 0-9999, else nothing.
bool fixedDate(const year_month_day& ymd, const char* sep, int yearWidth, std::string& out) {
  int y = static_cast<int>(ymd.year());
  if (y < 0 || y > 9999) return false;
  if (yearWidth == 2) y %= 100;
  char b[16];
  char* p = putDigits(b, static_cast<unsigned>(y), yearWidth);
  if (*sep) *p++ = *sep;
  p = putDigits(p, static_cast<unsigned>(ymd.month()), 2);
  if (*sep) *p++ = *sep;
  p = putDigits(p, static_cast<unsigned>(ymd.day()), 2);
  out.assign(b, p);
  return true;
}

}  // namespace

std::string formatDate(Date d) {
  std::string out;
  if (fixedDate(year_month_day{d}, "/", 4, out)) return out;
  char b[32];
  std::snprintf(b, sizeof b, "%04d/%02u/%02u", yearOf(d), monthOf(d), dayOf(d));
  return b;
}
std::string formatYYMMDD(Date d) {
  std::string out;
  if (fixedDate(year_month_day{d}, "/", 2, out)) return out;
  char b[32];
  std::snprintf(b, sizeof b, "%02d/%02u/%02u", ((yearOf(d) % 100) + 100) % 100, monthOf(d), dayOf(d));
  return b;
}
std::string formatDigits8(Date d) {
  std::string out;
  if (fixedDate(year_month_day{d}, "", 4, out)) return out;
  char b[32];
  std::snprintf(b, sizeof b, "%04d%02u%02u", yearOf(d), monthOf(d), dayOf(d));
  return b;
}
std::string formatTime(const DateTime& t) {
  if (t.hour >= 0 && t.hour < 100 && t.minute >= 0 && t.minute < 100 && t.second >= 0 && t.second < 100) {
    char b[8];
    char* p = putDigits(b, static_cast<unsigned>(t.hour), 2);
    *p++ = ':';
    p = putDigits(p, static_cast<unsigned>(t.minute), 2);
    *p++ = ':';
    p = putDigits(p, static_cast<unsigned>(t.second), 2);
    return std::string(b, p);
  }
  char b[32];
  std::snprintf(b, sizeof b, "%02d:%02d:%02d", t.hour, t.minute, t.second);
  return b;
}

std::optional<Date> parseDate(std::string_view s) {
  // The form every log writes, YYYY/MM/DD, read without the general loop below.
  const auto digit = [&s](size_t i) { return static_cast<unsigned>(static_cast<unsigned char>(s[i]) - '0'); };
  if (s.size() == 10 && s[4] == '/' && s[7] == '/') {
    bool digits = true;
    for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) digits = digits && digit(i) < 10;
    if (digits) {
      const year_month_day ymd{year{static_cast<int>(digit(0) * 1000 + digit(1) * 100 + digit(2) * 10 + digit(3))},
                               month{digit(5) * 10 + digit(6)}, day{digit(8) * 10 + digit(9)}};
      if (!ymd.ok()) return std::nullopt;
      return sys_days{ymd};
    }
  }
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  int parts[3] = {0, 0, 0};
  int idx = 0, digits = 0;
  for (char c : s) {
    if (c >= '0' && c <= '9') {
      if (++digits > 4) return std::nullopt;
      parts[idx] = parts[idx] * 10 + (c - '0');
    } else if ((c == '/' || c == '-' || c == '.') && digits > 0 && idx < 2) {
      ++idx;
      digits = 0;
    } else {
      return std::nullopt;
    }
  }
  if (idx != 2 || digits == 0) return std::nullopt;
  year_month_day ymd{year{parts[0]}, month{static_cast<unsigned>(parts[1])}, day{static_cast<unsigned>(parts[2])}};
  if (!ymd.ok()) return std::nullopt;
  return sys_days{ymd};
}

unsigned daysInMonth(int y, unsigned m) {
  return static_cast<unsigned>(year_month_day_last{year{y}, month_day_last{month{m}}}.day());
}

Date addMonths(Date d, int months) {
  year_month_day ymd{d};
  year_month ym = year_month{ymd.year(), ymd.month()} + std::chrono::months{months};
  unsigned last = daysInMonth(static_cast<int>(ym.year()), static_cast<unsigned>(ym.month()));
  unsigned dd = std::min(static_cast<unsigned>(ymd.day()), last);
  return sys_days{ym / day{dd}};
}

}  // namespace store
