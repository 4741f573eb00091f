#pragma once
// CSVs that scales and health apps write: a header row naming the columns, in Japanese or in
// English, then a row a weighing or a day.
#include <string_view>

#include "import/day_figures.h"

namespace history {

// Reads the bytes as UTF-8 when they start with a BOM or are valid UTF-8, else as CP932.
// Columns by their header, with or without a unit in half- or full-width brackets:
//   the date   測定日, 測定日時, 日付, 日時, Date, DateTime, Timestamp
//   weight     体重, Weight, Body Weight (kg; lb when the unit says so)
//   body fat   体脂肪率, Body Fat, Fat (%)
//   steps      歩数, Steps, Step Count
// A date column and at least one of the other three are needed. Dates: 2026/11/01, 2026-11-01
// or 2026年11月1日, with or without a time after them; a time with Z or an offset
// (2026-11-01T22:30:00Z) is moved to the computer's time zone first. Weights and body fat: the
// first of the day; steps: the largest figure of the day (a day's total, perhaps written again
// as it grew). Empty cells and "-" are no figure; so are 0 steps, as apps write for days
// nothing was counted.
DayFigures readScaleCsv(std::string_view bytes);
// True when the header row, read as readScaleCsv reads it, has a column of steps.
bool namesSteps(std::string_view bytes);

}  // namespace history
