// Dates and times written digit by digit against the snprintf formats they replaced, and the
// intra-day list's time column against the scanf reading it replaced.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "records/intraday.h"
#include "store/dates.h"

namespace {

std::string printed(const char* format, int a, unsigned b, unsigned c) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, a, b, c);
  return buf;
}

// The time column as the scanf version wrote it.
std::string referenceListTime(const std::string& t) {
  int h = 0, n = 0, s = 0;
  char rest = 0;
  if (std::sscanf(t.c_str(), "%d:%d:%d%c", &h, &n, &s, &rest) != 3 || h < 0 || h > 23 || n < 0 || n > 59 || s < 0 ||
      s > 59)
    return t;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", h, n, s);
  return buf;
}

// A date as three runs of one to four digits parted by "/", "-" or ".", blanks around it, read
// part by part.
std::optional<store::Date> referenceParseDate(std::string_view s) {
  const size_t from = s.find_first_not_of(' '), to = s.find_last_not_of(' ');
  s = from == std::string_view::npos ? std::string_view() : s.substr(from, to - from + 1);
  int parts[3];
  for (int k = 0; k < 3; ++k) {
    const size_t cut = k < 2 ? s.find_first_of("/-.") : s.size();
    if (cut == std::string_view::npos || cut == 0 || cut > 4) return std::nullopt;
    parts[k] = 0;
    for (char c : s.substr(0, cut)) {
      if (c < '0' || c > '9') return std::nullopt;
      parts[k] = parts[k] * 10 + (c - '0');
    }
    s.remove_prefix(k < 2 ? cut + 1 : cut);
  }
  const std::chrono::year_month_day ymd{std::chrono::year{parts[0]},
                                        std::chrono::month{static_cast<unsigned>(parts[1])},
                                        std::chrono::day{static_cast<unsigned>(parts[2])}};
  if (!ymd.ok()) return std::nullopt;
  return std::chrono::sys_days{ymd};
}

}  // namespace

// Dates of ten characters, valid or not, read as the general reading reads them.
TEST(DateFastPath, TenCharacterDatesReadAsTheGeneralReadingReadsThem) {
  std::mt19937 rng(10);
  const std::string chars = "0123456789/-. a";
  for (int i = 0; i < 200000; ++i) {
    std::string s = store::formatDate(store::makeDate(static_cast<int>(rng() % 10000), 1 + rng() % 12, 1 + rng() % 31));
    if (i % 2) s[rng() % s.size()] = chars[rng() % chars.size()];  // often a month or day out of range
    if (i % 7 == 0) s[5 + rng() % 5] = static_cast<char>('0' + rng() % 10);
    ASSERT_EQ(store::parseDate(s), referenceParseDate(s)) << s;
  }
}

TEST(DateFastPath, EveryFormatMatchesPrintf) {
  std::vector<store::Date> days;
  for (store::Date d = store::makeDate(1899, 12, 25); d <= store::makeDate(2101, 1, 5); d += std::chrono::days{1})
    days.push_back(d);
  std::mt19937 rng(2026);
  for (int i = 0; i < 20000; ++i)  // far years, including those beyond four digits and before year 0
    days.push_back(store::makeDate(static_cast<int>(rng() % 24000) - 12000, 1 + rng() % 12, 1 + rng() % 28));
  for (store::Date d : days) {
    const int y = store::yearOf(d);
    const unsigned m = store::monthOf(d), dd = store::dayOf(d);
    ASSERT_EQ(store::formatDate(d), printed("%04d/%02u/%02u", y, m, dd));
    ASSERT_EQ(store::formatYYMMDD(d), printed("%02d/%02u/%02u", ((y % 100) + 100) % 100, m, dd));
    ASSERT_EQ(store::formatDigits8(d), printed("%04d%02u%02u", y, m, dd));
  }
  for (int h : {0, 7, 23, 99, 100, -1, 123456})
    for (int m : {0, 5, 59, -3}) {
      char b[64];
      std::snprintf(b, sizeof b, "%02d:%02d:%02d", h, m, 30);
      EXPECT_EQ(store::formatTime({store::Date{}, h, m, 30}), b);
    }
}

TEST(DateFastPath, IntradayTimesShowAsTheScanfReadingShowedThem) {
  std::vector<std::string> times = {"7:5:3",   "07:05:03", "23:59:59", "24:00:00", "7:60:00",  "7:5",
                                    "7:5:3x",  " 7:5:3",   "7: 5:3",   "+7:5:3",   "-0:0:0",   "007:5:3",
                                    "7:5:003", "",         ":",        "7::3",     "12:34:56 "};
  std::mt19937 rng(3001);
  const std::string alphabet = "0123456789:: +-x";
  for (int i = 0; i < 20000; ++i) {
    std::string t;
    for (int k = static_cast<int>(rng() % 10); k > 0; --k) t += alphabet[rng() % alphabet.size()];
    times.push_back(t);
  }
  records::IntradaySeries s;
  for (const auto& t : times) {
    s.IntradayDate.push_back("2026/12/07");
    s.IntradayTime.push_back(t);
    s.IntradayWeightKg.push_back(65.3f);
  }
  s.IntradayCount = static_cast<int>(times.size());
  for (int i = 0; i < s.IntradayCount; ++i)
    ASSERT_EQ(records::IntradayListCells(s, i)[1], referenceListTime(times[i])) << "\"" << times[i] << "\"";
}
