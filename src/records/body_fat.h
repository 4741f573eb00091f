#pragma once
// The body-fat log 体脂肪率.txt, and the fat mass derived from it for the days that have a weight.
#include <optional>
#include <string>
#include <vector>

#include "records/weight_log.h"
#include "store/text_column.h"

namespace records {

inline constexpr const char* kBodyFatFile = "体脂肪率.txt";

struct BodyFatSeries {
  store::TextColumn FatDate;  // date field exactly as read
  std::vector<float> FatPercent;
  int FatCount = 0;
  std::vector<float> FatMassKg;  // one per body-fat record that found its day's weight
  int FatMassCount = 0;
};

// A body-fat record that found its day's weight: one row of the fat-mass table.
struct FatMassRow {
  int record = 0;  // index of the body-fat record; the table row is record + 1
  float weightKg = 0;
  float fatMassKg = 0;
  std::optional<float> sinceFirst, sincePrevious;  // absent on the first row
};

// Reads the dates and percentages; the fat mass is left empty. Throws store::StoreError.
BodyFatSeries ReadBodyFatLog();

// Fills FatMassKg: record i takes the first weight from slot i on whose date text equals its own.
// Entries are free of date order, so a record whose weight lies before slot i finds none.
std::vector<FatMassRow> ComputeFatMass(BodyFatSeries& s, const WeightSeries& w);

// The cells of msgShiList's row for record i, and of msgSuiList's row for a fat-mass row.
std::vector<std::string> BodyFatListCells(const BodyFatSeries& s, int i);
std::vector<std::string> FatMassCells(const BodyFatSeries& s, const FatMassRow& row);

// Helpers shared by the lists of the body logs.
// A stored date text shown as YY/MM/DD; a text that is no date is shown as it is.
std::string ListDate(std::string_view dateText);
// A single-precision value taken in its shortest decimal form, then formatted by `pattern`, so
// that 65.25 shows as 65.3 the way the user typed it rather than by its binary neighbour.
std::string FormatSingle(float v, const char* pattern);

}  // namespace records
