#include "records/body_fat.h"

#include <algorithm>
#include <numeric>
#include <string>

#include "store/dates.h"
#include "store/numbers.h"
#include "store/record.h"

namespace records {

std::string ListDate(std::string_view dateText) {
  auto d = store::parseDate(dateText);
  return d ? store::formatYYMMDD(*d) : std::string(dateText);
}

std::string FormatSingle(float v, const char* pattern) { return store::formatSingle(v, pattern); }

BodyFatSeries ReadBodyFatLog() {
  BodyFatSeries s;
  store::RecordReader r(kBodyFatFile, store::kDailyLogLimit);
  s.FatDate.reserve(r.recordsHint());
  s.FatPercent.reserve(r.recordsHint());
  while (!r.atEnd()) {
    s.FatDate.read(r);
    s.FatPercent.push_back(r.readSingle());
    ++s.FatCount;
  }
  return s;
}

std::vector<FatMassRow> ComputeFatMass(BodyFatSeries& s, const WeightSeries& w) {
  s.FatMassKg.clear();
  s.FatMassCount = 0;
  std::vector<FatMassRow> rows;
  rows.reserve(static_cast<size_t>(std::max(0, s.FatCount)));
  s.FatMassKg.reserve(rows.capacity());
  const int weights = std::min(w.WeightCount, static_cast<int>(w.WeightDate.size()));
  // The weight slots sorted by date text, then slot: the first slot from i on with a date is
  // found by bisection instead of a scan from i. Made on the first record whose own slot does
  // not hold its date: in the usual pair of logs, one record a day beside one weight a day,
  // every record finds its weight in its own slot.
  std::vector<int> byDate;
  bool walk = true;
  auto from = byDate.begin();
  const auto sortSlots = [&] {
    byDate.resize(static_cast<size_t>(std::max(0, weights)));
    std::iota(byDate.begin(), byDate.end(), 0);
    const auto byDateThenSlot = [&w](int a, int b) {
      const int c = w.WeightDate[a].compare(w.WeightDate[b]);
      return c != 0 ? c < 0 : a < b;
    };
    // A log kept in date order (the usual one) is sorted already.
    if (!std::is_sorted(byDate.begin(), byDate.end(), byDateThenSlot))
      std::sort(byDate.begin(), byDate.end(), byDateThenSlot);
    // Records kept in date order (the usual log) look from where the record before them found
    // its slot, one step at a time: the same slot as the bisection, found in one pass.
    for (size_t i = 1; i < s.FatDate.size() && walk; ++i) walk = !(s.FatDate[i] < s.FatDate[i - 1]);
    from = byDate.begin();
  };
  // A record past the last weight slot has no slot from its own on, and finds none.
  const int records = std::min(s.FatCount, weights);
  for (int i = 0; i < records; ++i) {
    const std::string_view date = s.FatDate[i];
    int j = i;
    if (w.WeightDate[static_cast<size_t>(i)] != date) {
      if (byDate.empty()) sortSlots();  // never empty once made: there is a slot i
      const auto before = [&](int slot, int record) {
        const int c = w.WeightDate[slot].compare(date);
        return c != 0 ? c < 0 : slot < record;
      };
      auto it = byDate.end();
      if (walk) {
        // Records found in their own slot moved the key on without moving `from`; the walk
        // catches up here, as the key only grows.
        while (from != byDate.end() && before(*from, i)) ++from;
        it = from;
      } else {
        it = std::lower_bound(byDate.begin(), byDate.end(), i, before);
      }
      if (it == byDate.end() || w.WeightDate[*it] != date) continue;
      j = *it;
    }
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
  std::vector<std::string> cells{std::string(s.FatDate[row.record]), FormatSingle(row.weightKg, "0.0Kg"),
                                 FormatSingle(s.FatPercent[row.record], "0.0") + "%",
                                 FormatSingle(row.fatMassKg, "0.0Kg")};
  if (row.sinceFirst) {
    cells.push_back(FormatSingle(*row.sinceFirst, "0.0Kg"));
    cells.push_back(FormatSingle(*row.sincePrevious, "0.0Kg"));
  }
  return cells;
}

}  // namespace records
