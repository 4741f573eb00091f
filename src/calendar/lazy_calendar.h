#pragma once
// The lazy calendar: one month of day cells marked good (green) or bad (red), one file per month.
#include <optional>
#include <string>
#include <vector>

#include "form/control.h"
#include "store/dates.h"

namespace calendar {

inline constexpr int kCellCount = 37;  // 7 columns, Sunday first; the sixth row holds cells 35 and 36
inline constexpr int kNoMark = 0, kGoodDay = 1, kBadDay = 2;
inline constexpr form::Color kGoodColour = 0xC0FFC0;
inline constexpr form::Color kBadColour = 0xFFC0C0;
inline constexpr form::Color kUnknownMarkColour = 0x000000;  // a mark only a hand-edited file can hold

// Where a month falls in the grid: the cell of its 1st (0 = Sunday column) and its length.
struct MonthLayout {
  int firstCell = 0;
  int days = 0;
  // The day shown in `cell`, or 0 when the cell lies outside the month.
  int dayInCell(int cell) const;
};

MonthLayout layoutMonth(int year, unsigned month);

// "2024年03月", the caption over the grid; the month's file is this plus ".txt".
std::string monthCaption(int year, unsigned month);
std::string monthFileName(int year, unsigned month);

// The 37 marks of a month file. Silent on every failure: a missing, empty, short or damaged file
// gives the marks read before the failure and 0 for the rest.
std::vector<int> readMonthMarks(const std::string& fileName);
// The same marks, and whether the file could be read whole: `damage` names the file and the line
// when a field could not be read (a short or missing file is not damaged).
struct MonthRead {
  std::vector<int> marks;
  std::optional<std::string> damage;
};
MonthRead readMonth(const std::string& fileName);
// Replaces the month file with six lines of marks (7, 7, 7, 7, 7, 2); throws store::StoreError.
void writeMonthMarks(const std::string& fileName, const std::vector<int>& marks);

// None -> good -> bad -> none.
int nextMark(int mark);
// Colour of a cell as loaded from the file: nullopt is the system's button face.
std::optional<form::Color> loadedMarkColour(int mark);
// Colour of a cell after a click: anything but good or bad shows the button face.
std::optional<form::Color> clickedMarkColour(int mark);

struct Achievement {
  int good = 0;
  int bad = 0;
  float rate = 0;  // good / (good + bad), 0 when nothing is marked
  bool smiling = false;
  std::string rateText;  // percent with one decimal
};

// Counts every cell, visible or not; the smiling mark stays while the rate reaches the target.
Achievement achievementOf(const std::vector<int>& marks, float targetRatePercent);

}  // namespace calendar
