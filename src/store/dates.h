#pragma once
// Calendar dates as the diary stores and shows them.
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace store {

using Date = std::chrono::sys_days;

struct DateTime {
  Date date;
  int hour = 0, minute = 0, second = 0;
};

Date makeDate(int y, unsigned m, unsigned d);
int yearOf(Date d);
unsigned monthOf(Date d);
unsigned dayOf(Date d);
// 0 = Sunday … 6 = Saturday.
unsigned weekdayOf(Date d);

std::string formatDate(Date d);             // "2004/05/01"
std::string formatYYMMDD(Date d);           // "04/05/01"
std::string formatDigits8(Date d);          // "20040501"
std::string formatTime(const DateTime& t);  // "07:15:30"

// Reads a date written Y/M/D (also with "-" or "."; month and day of one or two digits).
std::optional<Date> parseDate(std::string_view text);

// Month arithmetic that keeps the day, or takes the month's last day when it has fewer days.
Date addMonths(Date d, int months);
unsigned daysInMonth(int y, unsigned m);

}  // namespace store
