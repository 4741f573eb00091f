#include "store/numbers.h"

#include <gtest/gtest.h>

#include <cmath>

#include "store/dates.h"

using namespace store;

TEST(Val, LeadingNumberParse) {
  EXPECT_DOUBLE_EQ(Val("65.3"), 65.3);
  EXPECT_DOUBLE_EQ(Val("  65"), 65);
  EXPECT_DOUBLE_EQ(Val("65.3kg"), 65.3);
  EXPECT_DOUBLE_EQ(Val("-5"), -5);
  EXPECT_DOUBLE_EQ(Val(".7"), 0.7);
  EXPECT_DOUBLE_EQ(Val("abc"), 0);
  EXPECT_DOUBLE_EQ(Val(""), 0);
  EXPECT_DOUBLE_EQ(Val("1.5.2"), 1.5);
  EXPECT_DOUBLE_EQ(Val("1e3x"), 1000);
  EXPECT_DOUBLE_EQ(Val("1ex"), 1);
  // Too large for a double: an infinity every range check refuses, never a quiet 0.
  EXPECT_EQ(Val("1e999"), HUGE_VAL);
  EXPECT_EQ(Val("-" + std::string(400, '9')), -HUGE_VAL);
}

TEST(NumberField, StrictFormOfAFileField) {
  EXPECT_EQ(parseNumberField(" 12 ").value(), 12);
  EXPECT_EQ(parseNumberField("").value(), 0);
  EXPECT_EQ(parseNumberField(".7").value(), 0.7);
  EXPECT_FALSE(parseNumberField("abc").has_value());
  EXPECT_FALSE(parseNumberField("1e400").has_value());
  EXPECT_FALSE(parseNumberField(std::string(10000, '1')).has_value());
  EXPECT_FALSE(parseNumberField("12kg").has_value());
  EXPECT_FALSE(parseNumberField("-").has_value());
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(roundHalfEven(30.5), 30);
  EXPECT_EQ(roundHalfEven(31.5), 32);
  EXPECT_EQ(roundHalfEven(-2.5), -2);
  EXPECT_EQ(roundHalfEven(2.51), 3);
}

TEST(Shortest, SingleAndDouble) {
  EXPECT_EQ(shortestSingle(65.0f), "65");
  EXPECT_EQ(shortestSingle(65.5f), "65.5");
  EXPECT_EQ(shortestSingle(168.5f), "168.5");
  EXPECT_EQ(shortestSingle(1.685f), "1.685");
  EXPECT_EQ(shortestSingle(65.3f), "65.3");
  EXPECT_EQ(shortestSingle(static_cast<float>(168.5 / 100)), "1.685");
  EXPECT_EQ(shortestSingle(-0.5f), "-0.5");
  EXPECT_EQ(shortestSingle(0.0f), "0");
  EXPECT_EQ(shortestSingle(1763600.0f), "1763600");
  EXPECT_EQ(shortestSingle(0.0001f), "0.0001");
  EXPECT_EQ(shortestDouble(23.1 - 22.9), "0.200000000000003");
  EXPECT_EQ(shortestDouble(65.25), "65.25");
}

TEST(Format, Patterns) {
  EXPECT_EQ(formatNumber(23.46, "0.0"), "23.5");
  EXPECT_EQ(formatNumber(65.25, "0.0Kg"), "65.3Kg");  // half away from zero on the decimal value
  EXPECT_EQ(formatNumber(-65.25, "0.0Kg"), "-65.3Kg");
  EXPECT_EQ(formatNumber(1.005, "0.00"), "1.01");
  EXPECT_EQ(formatNumber(2.5, "0.000Kg"), "2.500Kg");
  EXPECT_EQ(formatNumber(1234.5, "0g"), "1235g");
  EXPECT_EQ(formatNumber(5.3, "00.0"), "05.3");
  EXPECT_EQ(formatNumber(0.123, "0.0%"), "12.3%");
  EXPECT_EQ(formatNumber(25, "0日後 ( "), "25日後 ( ");
  EXPECT_EQ(formatNumber(6.2, "0.0Kg減"), "6.2Kg減");
  EXPECT_EQ(formatNumber(-0.04, "0.0"), "0.0");  // no minus sign on a zero result
  EXPECT_EQ(formatNumber(0.45, "0.0"), "0.5");
  EXPECT_EQ(formatNumber(-0.45, "0.0"), "-0.5");
  EXPECT_EQ(formatNumber(99.96, "0.0"), "100.0");
  EXPECT_EQ(formatNumber(0.5, "#.0"), ".5");
}

TEST(Dates, FormsAndArithmetic) {
  Date d = makeDate(2004, 3, 1);
  EXPECT_EQ(formatDate(d - std::chrono::days{1}), "2004/02/29");
  EXPECT_EQ(formatYYMMDD(makeDate(2003, 5, 1)), "03/05/01");
  EXPECT_EQ(formatDigits8(makeDate(2024, 1, 5)), "20240105");
  EXPECT_EQ(formatTime({d, 7, 15, 30}), "07:15:30");
  EXPECT_EQ(parseDate("2004/5/1").value(), makeDate(2004, 5, 1));
  EXPECT_FALSE(parseDate("2004/02/30").has_value());
  EXPECT_FALSE(parseDate("abc").has_value());
  EXPECT_EQ(formatDate(addMonths(makeDate(2024, 1, 31), 1)), "2024/02/29");
  EXPECT_EQ(formatDate(addMonths(makeDate(2024, 3, 31), -1)), "2024/02/29");
  EXPECT_EQ(weekdayOf(makeDate(2024, 9, 1)), 0u);  // a Sunday
}
