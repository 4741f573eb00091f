#pragma once
// Loss milestones: for every half kilogram lost below the first weight, the first day that loss
// was reached.
#include <optional>
#include <string>
#include <vector>

#include "records/weight_log.h"

namespace progress {

struct MilestoneRow {
  bool reached = false;
  std::string label;          // "0.5Kg減", "1.0Kg減" …
  std::string date;           // the record's date as stored
  std::string sinceStart;     // "12日後"
  std::string sincePrevious;  // days after the previous milestone, "0日後" for one reached the same day
};

struct LossMilestones {
  double bestLoss = 0;             // first weight minus the lowest, unrounded
  std::vector<MilestoneRow> rows;  // rows[k-1] is milestone k; a row counted only through rounding stays unreached
  size_t records = 0;              // the records looked at
  int previousDays = 0;            // days from the first record to the last milestone reached
};

// "0.5Kg減", "1.0Kg減", "1.5Kg減" …
std::string milestoneLabel(int k);

LossMilestones computeLossMilestones(const records::WeightSeries& s);
// Brings milestones computed on the first ms.records records of `s` up to all of them, as
// computeLossMilestones would give them; records may only have been added since.
void extendLossMilestones(LossMilestones& ms, const records::WeightSeries& s);

// "最高　5.2Kg減を達成してから　3日経過"; nullopt when a date needed cannot be read.
std::optional<std::string> bestLossLine(const records::WeightSeries& s, double bestLoss);

}  // namespace progress
