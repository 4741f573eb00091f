#pragma once
// The rules of the weight entry: what a typed weight may be, which records it adds to 体重.txt
// and the texts of the boxes that refuse or question it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/weight_log.h"
#include "store/dates.h"
#include "store/record.h"

namespace records {

// A weight for every day of a hundred years: the log takes no record beyond this, and a longer
// file is damage that start-up reports.
inline constexpr int kWeightLimit = 36600;

inline constexpr const char* kDataLimitTitle = "データ上限";
inline constexpr const char* kGapFillTitle = "自動体重挿入";

std::string dataLimitMessage();
// Refusal of an entry dated on or before the last record; names the last date as stored.
std::string notAfterLastMessage(const std::string& lastDateText);
// The question offered when days were skipped between the last record and the entry.
std::string gapFillQuestion(store::Date last, store::Date entry, float lastKg);
// "最高記録を …" when `kg` beats the lowest weight so far, "最高記録と並びました  " when it
// equals it, nothing otherwise.
std::optional<std::string> bestRecordMessage(float kg, float minWeight);

// The records an entry adds after the last record: one filler per skipped day with the last
// weight, then the entry itself. `gap` = entry - last in days, at least 1.
std::vector<store::Record> recordsForEntry(store::Date last, float lastKg, int gap, const std::string& entryDate,
                                           float kg);

// A value so far from the one before it that it is likely a slip of the keyboard: a weight more
// than 5 % of the earlier one away, a body-fat percentage more than 5 points.
bool UnlikelyWeight(double before, double now);
bool UnlikelyFat(double before, double now);

// True when adding `adding` records to a log of `count` would go beyond the limit.
inline bool exceedsLimit(int count, int adding) { return count + adding > kWeightLimit; }

}  // namespace records
