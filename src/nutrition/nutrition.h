#pragma once
// The daily food-group checklist 栄養.txt and the share of days each group was eaten.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "form/control.h"

namespace store {
class RecordReader;
}

namespace nutrition {

inline constexpr const char* kNutritionFile = "栄養.txt";
inline constexpr int kGroupCount = 11;
inline constexpr const char* kTicked = "●";
inline constexpr const char* kNotTicked = "×";
// How many of the latest records the short view covers.
inline constexpr int kRecentRecords = 10;
inline constexpr const char* kNothingLacking = "不足はありません。この調子でまんべんなく摂取しましょう!";

// What each group provides, in group order.
const std::array<std::string, kGroupCount>& adviceLines();

struct NutritionRecord {
  std::string date;
  std::array<std::string, kGroupCount> marks;
};

// Reads every record of the file; throws store::StoreError when it is missing or damaged.
std::vector<NutritionRecord> readNutritionLog(const std::string& fileName = kNutritionFile);
// Every record `r` has left.
std::vector<NutritionRecord> readNutritionLog(store::RecordReader& r);
// Which groups each record `r` has left ticks (kTicked), every record checked.
using Ticks = std::array<bool, kGroupCount>;
std::vector<Ticks> readTicks(store::RecordReader& r);
// Appends one record: the date and a mark per group.
void appendNutritionRecord(const std::string& date, const std::array<bool, kGroupCount>& ticked,
                           const std::string& fileName = kNutritionFile);

// Rewrites the whole file (atomically) with `records`.
void writeNutritionLog(const std::vector<NutritionRecord>& records, const std::string& fileName = kNutritionFile);
// The last record dated `date`; nullopt when there is none.
std::optional<size_t> lastRecordOf(const std::vector<NutritionRecord>& records, const std::string& date);

// "MM/DD-" and the eleven marks: the history line of one record.
std::string historyLine(const NutritionRecord& r);

struct NutritionShares {
  int included = 0;
  std::array<int, kGroupCount> ticks{};
  std::array<float, kGroupCount> percent{};
};

// The share of records in which each group is ticked, over the last ten records or all of
// them; nullopt when there are no records.
std::optional<NutritionShares> analyse(const std::vector<NutritionRecord>& records, bool showAll);
std::optional<NutritionShares> analyseTicks(const std::vector<Ticks>& ticks, bool showAll);

// A group below this share is lacking.
inline constexpr float kDeficientBelow = 40.0f;
bool isDeficient(float percent);
// Red below 40 %, yellow below 80 %, blue from 80 %.
form::Color barColour(float percent);
// Width of the coloured bar over a background bar of `backWidth`.
int barWidth(int backWidth, float percent);
// "16.7%".
std::string percentText(float percent);

}  // namespace nutrition
