#include "import/day_figures.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace history {

int Series::skippedCount() const {
  int n = 0;
  for (const auto& [why, count] : skipped) n += count;
  return n;
}

double oneDecimal(double value) {
  // A decimal read from text is the double nearest to it, a few units of the last place off;
  // the nudge puts a written half back on the upper side before rounding.
  const double tenths = value * 10;
  return std::round(tenths + std::copysign(std::abs(tenths) * 1e-12, tenths)) / 10;
}

std::optional<double> kgPerUnit(std::string_view unit) {
  std::string u(unit);
  for (char& c : u) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (u == "kg") return 1.0;
  if (u == "lb" || u == "lbs") return kKgPerPound;
  return std::nullopt;
}

bool Collector::first(std::map<store::Date, First>& days, store::Date day, int seconds, double value) {
  auto [it, added] = days.try_emplace(day, First{seconds, value});
  if (!added && seconds < it->second.seconds) it->second = First{seconds, value};
  return added;
}

void Collector::stepsPart(store::Date day, std::string_view source, double count) {
  auto it = sources_.find(source);
  if (it == sources_.end()) it = sources_.emplace(std::string(source), static_cast<int>(sources_.size())).first;
  Part& p = stepParts_[{day, it->second}];
  p.sum += count;
  ++p.records;
}

void Collector::stepsTotal(store::Date day, double count) {
  auto [it, added] = stepTotals_.try_emplace(day, count, 0);
  it->second.first = std::max(it->second.first, count);
  ++it->second.second;
}

void Collector::finish(DayFigures& out) {
  for (const auto& [day, f] : weights_) out.weight.days.push_back({day, f.value});
  for (const auto& [day, f] : fats_) out.fat.days.push_back({day, f.value});
  if (laterWeights_) out.weight.skipped[Skip::LaterSameDay] += laterWeights_;
  if (laterFats_) out.fat.skipped[Skip::LaterSameDay] += laterFats_;

  // Parts come in day order, each day's sources together.
  std::map<store::Date, std::pair<double, int>> days;  // steps, records giving them
  int otherSources = 0;
  for (auto it = stepParts_.begin(); it != stepParts_.end();) {
    const store::Date day = it->first.first;
    auto best = it;
    int records = 0;
    for (; it != stepParts_.end() && it->first.first == day; ++it) {
      records += it->second.records;
      if (it->second.sum > best->second.sum) best = it;
    }
    otherSources += records - best->second.records;
    days[day] = {best->second.sum, best->second.records};
  }
  int laterRows = 0;
  for (const auto& [day, total] : stepTotals_) {
    auto [it, added] = days.try_emplace(day, total.first, 1);
    if (!added) it->second.first = std::max(it->second.first, total.first);
    laterRows += total.second - 1;
  }
  int tooMany = 0;
  for (const auto& [day, sum] : days) {
    const double steps = std::round(sum.first);
    if (steps > kHighestSteps) {
      tooMany += sum.second;  // no day holds that many: the records are broken
      continue;
    }
    out.steps.days.push_back({day, steps});
  }
  if (otherSources) out.steps.skipped[Skip::OtherSource] += otherSources;
  if (laterRows) out.steps.skipped[Skip::LaterSameDay] += laterRows;
  if (tooMany) out.steps.skipped[Skip::BadValue] += tooMany;
  weights_.clear();
  fats_.clear();
  stepParts_.clear();
  stepTotals_.clear();
}

}  // namespace history
