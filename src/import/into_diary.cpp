#include "import/into_diary.h"

#include <set>

#include "words/messages.h"

namespace history {

csv::WeightCsv asWeightCsv(const DayFigures& f, std::optional<store::Date> lastDay, store::Date today) {
  csv::WeightCsv t;
  t.dataRows = f.weight.records;
  for (const auto& [why, n] : f.weight.skipped) {
    if (why == Skip::LaterSameDay)
      t.laterWeighings += n;
    else
      t.refused[why == Skip::BadDate ? words::kCsvBadDate : words::kCsvBadWeight] += n;
  }
  for (const DayValue& d : f.weight.days) {
    if (d.day > today)
      ++t.refused[words::kCsvFutureDate];
    else if (lastDay && d.day <= *lastDay)
      ++t.alreadyInDiary;
    else
      t.rows.push_back({d.day, static_cast<float>(d.value)});
  }
  return t;
}

DatedPlan planDated(const store::TextColumn& dates, const std::vector<float>& values, const Series& s,
                    store::Date today) {
  DatedPlan plan;
  std::set<store::Date> held;
  for (size_t i = 0; i < dates.size(); ++i)
    if (const auto d = store::parseDate(dates[i])) held.insert(*d);
  auto next = s.days.begin();
  const auto addUntil = [&](std::optional<store::Date> before) {
    for (; next != s.days.end() && (!before || next->day < *before); ++next) {
      if (next->day > today)
        ++plan.future;
      else if (held.count(next->day))
        ++plan.kept;
      else {
        plan.records.push_back(
            store::Record().text(store::formatDate(next->day)).single(static_cast<float>(next->value)));
        ++plan.added;
      }
    }
  };
  for (size_t i = 0; i < dates.size(); ++i) {
    if (const auto d = store::parseDate(dates[i])) addUntil(d);
    plan.records.push_back(store::Record().text(dates[i]).single(values[i]));
  }
  addUntil(std::nullopt);
  return plan;
}

}  // namespace history
