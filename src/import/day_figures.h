#pragma once
// Weights, body fat and steps read from another program's files, one figure a day, before
// anything of them goes into the diary.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/dates.h"

namespace history {

struct DayValue {
  store::Date day;
  double value = 0;  // kg or % with one decimal, or a whole number of steps
};

// Why a record or row gave nothing.
enum class Skip {
  BadDate,       // its date cannot be read
  BadValue,      // its figure cannot be read or is out of range
  UnknownUnit,   // a unit that is not the kind's own (kg, lb; %; count)
  LaterSameDay,  // a weighing after the first of its day
  OtherSource,   // steps of a source that counted fewer steps that day than another one
  BadRow,        // a CSV row broken as a whole (quote left open, more fields than the header)
};

struct Series {
  std::vector<DayValue> days;   // in date order, one a day
  int records = 0;              // records or cells of this kind that were read
  std::map<Skip, int> skipped;  // of those records, the ones that gave nothing, by reason
  int skippedCount() const;
};

struct DayFigures {
  Series weight, fat, steps;
  std::map<Skip, int> rowsSkipped;  // CSV rows that gave none of the three
  // Set when the file could not be read at all; the series are empty then.
  std::optional<std::string> error;
};

// `value` with one decimal, as it would be typed. Halves go up, judged on the decimal written:
// a body fat of 0.1735 times 100 is a hair below 17.35 in binary and still goes up to 17.4.
double oneDecimal(double value);

inline constexpr double kKgPerPound = 0.45359237;
// The highest figures taken; beyond them a record is a bad value.
inline constexpr double kHighestKg = 999.9;
inline constexpr double kHighestSteps = 999999;

// The kg in one `unit` of weight: "kg" or "lb"/"lbs" in any case; nullopt for any other.
std::optional<double> kgPerUnit(std::string_view unit);

// Gathers the figures record by record, then keeps one a day.
class Collector {
 public:
  // Figures already in kg or %, with one decimal; `seconds` is the time of day (0 when none),
  // and the earliest of a day is kept (the first read of those at the same time).
  void weight(store::Date day, int seconds, double kg) { laterWeights_ += !first(weights_, day, seconds, kg); }
  void fat(store::Date day, int seconds, double percent) { laterFats_ += !first(fats_, day, seconds, percent); }
  // A part of a day's steps from one source: a day's steps are the sum of its source with the
  // largest sum, since a phone and a watch count the same walk.
  void stepsPart(store::Date day, std::string_view source, double count);
  // A day's total as a CSV row gives it: the largest of the day's rows counts (a total written
  // again later in the day has grown).
  void stepsTotal(store::Date day, double count);
  // The series into `out` (records and skips counted so far stay).
  void finish(DayFigures& out);

 private:
  struct First {
    int seconds;
    double value;
  };
  // False when the day had a figure already.
  static bool first(std::map<store::Date, First>& days, store::Date day, int seconds, double value);
  std::map<store::Date, First> weights_, fats_;
  std::map<std::string, int, std::less<>> sources_;
  struct Part {
    double sum = 0;
    int records = 0;
  };
  std::map<std::pair<store::Date, int>, Part> stepParts_;
  std::map<store::Date, std::pair<double, int>> stepTotals_;  // largest, rows
  int laterWeights_ = 0, laterFats_ = 0;
};

}  // namespace history
