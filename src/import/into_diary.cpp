#include "import/into_diary.h"

#include <map>
#include <set>

#include "words/import_messages.h"
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
      t.rows.push_back({d.day, static_cast<float>(d.value), std::nullopt});
  }
  return t;
}

DatedPlan planDated(const store::TextColumn& dates, const std::vector<float>& values, const Series& s,
                    store::Date today, bool (*unlikely)(double before, double now)) {
  DatedPlan plan;
  std::optional<float> prior;  // the figure of the log's day before the one planned
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
        const float value = static_cast<float>(next->value);
        plan.records.push_back(store::Record().text(store::formatDate(next->day)).single(value));
        ++plan.added;
        if (unlikely && prior && unlikely(*prior, value)) ++plan.unlikely;
        prior = value;
      }
    }
  };
  for (size_t i = 0; i < dates.size(); ++i) {
    if (const auto d = store::parseDate(dates[i])) addUntil(d);
    plan.records.push_back(store::Record().text(dates[i]).single(values[i]));
    prior = values[i];
  }
  addUntil(std::nullopt);
  return plan;
}

namespace {
const char* skipReason(Skip why) {
  switch (why) {
    case Skip::BadDate: return words::kSkipBadDate;
    case Skip::BadValue: return words::kSkipBadValue;
    case Skip::UnknownUnit: return words::kSkipUnknownUnit;
    case Skip::LaterSameDay: return words::kSkipLaterSameDay;
    case Skip::OtherSource: return words::kSkipOtherSource;
    case Skip::BadRow: return words::kSkipBadRow;
  }
  return words::kSkipBadRow;
}
}  // namespace

std::string datedCounts(const char* kind, const DatedPlan& plan, const Series& s) {
  std::map<std::string, int> why;
  if (plan.kept > 0) why[words::kSkipDayHeld] = plan.kept;
  if (plan.future > 0) why[words::kSkipFuture] = plan.future;
  for (const auto& [skip, n] : s.skipped) why[skipReason(skip)] += n;
  return words::figuresCounts(kind, plan.added, why);
}

}  // namespace history
