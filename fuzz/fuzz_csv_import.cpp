// The weight CSV import on any file: every row is a day taken or counted with its reason, the
// days are in order after the diary's last day and never after today, and nothing crashes.
// The first byte chooses the diary's weights (none, or some ending before the rows), the rest is
// the file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "csv/csv.h"
#include "csv/weight_import.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const store::Date today = store::makeDate(2026, 12, 7);
  records::WeightSeries s;
  for (int i = data[0] % 4 * 100; i > 0; --i) {
    s.WeightDay.push_back(today - std::chrono::days(i * (data[0] / 4 % 8 + 1)));
    s.WeightDate.push_back(store::formatDate(s.WeightDay.back()));
    s.WeightKg.push_back(70);
    ++s.WeightCount;
  }
  std::optional<store::Date> lastDay;
  if (s.WeightCount > 0) lastDay = s.WeightDay.back();

  const csv::WeightCsv t = csv::readWeightCsv(bytes, lastDay, today);
  if (!t.unusable) {
    int counted = static_cast<int>(t.rows.size()) + t.alreadyInDiary + t.laterWeighings;
    for (const auto& [why, n] : t.refused) counted += n;
    if (counted != t.dataRows) __builtin_trap();
    for (size_t i = 0; i < t.rows.size(); ++i) {
      if (t.rows[i].day > today || (lastDay && t.rows[i].day <= *lastDay)) __builtin_trap();
      if (i > 0 && t.rows[i].day <= t.rows[i - 1].day) __builtin_trap();
    }
    csv::missingDays(t, s);
    if (const auto gap = csv::longestGap(t, s); gap && gap->days() > csv::kLongestFilledGap) return 0;
    for (bool fill : {false, true}) {
      const csv::WeightAppend plan = csv::planWeightAppend(t, s, fill);
      if (static_cast<size_t>(plan.imported + plan.afterGap + plan.overLimit) != t.rows.size()) __builtin_trap();
      csv::importSummary(t, plan);
    }
  }
  csv::parse(bytes);
  return 0;
}
