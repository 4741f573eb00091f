#include "records/body_fat.h"

#include <string>

#include "store/dates.h"
#include "store/numbers.h"
#include "store/record.h"

namespace records {

std::string ListDate(const std::string& dateText) {
  auto d = store::parseDate(dateText);
  return d ? store::formatYYMMDD(*d) : dateText;
}

std::string FormatSingle(float v, const char* pattern) {
  return store::formatNumber(std::stod(store::shortestSingle(v)), pattern);
}

BodyFatSeries ReadBodyFatLog() {
  BodyFatSeries s;
  store::RecordReader r(kBodyFatFile, store::kDailyLogLimit);
  while (!r.atEnd()) {
    s.FatDate.push_back(r.readText());
    s.FatPercent.push_back(r.readSingle());
    ++s.FatCount;
  }
  return s;
}

std::vector<FatMassRow> ComputeFatMass(BodyFatSeries& s, const WeightSeries& w) {
  s.FatMassKg.clear();
  s.FatMassCount = 0;
  std::vector<FatMassRow> rows;
  for (int i = 0; i < s.FatCount; ++i) {
    int j = i;
    while (j < w.WeightCount && w.WeightDate[j] != s.FatDate[i]) ++j;
    if (j >= w.WeightCount) continue;
    FatMassRow row;
    row.record = i;
    row.weightKg = w.WeightKg[j];
    row.fatMassKg = s.FatPercent[i] / 100 * w.WeightKg[j];
    if (s.FatMassCount > 0) {
      row.sinceFirst = row.fatMassKg - s.FatMassKg.front();
      row.sincePrevious = row.fatMassKg - s.FatMassKg.back();
    }
    s.FatMassKg.push_back(row.fatMassKg);
    ++s.FatMassCount;
    rows.push_back(row);
  }
  return rows;
}

std::vector<std::string> BodyFatListCells(const BodyFatSeries& s, int i) {
  return {ListDate(s.FatDate[i]), FormatSingle(s.FatPercent[i], "0.0") + "%"};
}

std::vector<std::string> FatMassCells(const BodyFatSeries& s, const FatMassRow& row) {
  std::vector<std::string> cells{s.FatDate[row.record], FormatSingle(row.weightKg, "0.0Kg"),
                                 FormatSingle(s.FatPercent[row.record], "0.0") + "%",
                                 FormatSingle(row.fatMassKg, "0.0Kg")};
  if (row.sinceFirst) {
    cells.push_back(FormatSingle(*row.sinceFirst, "0.0Kg"));
    cells.push_back(FormatSingle(*row.sincePrevious, "0.0Kg"));
  }
  return cells;
}

}  // namespace records
