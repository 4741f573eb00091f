#pragma once
// New start, profile change and the lazy calendar.
#include <optional>
#include <string>
#include <vector>

namespace app {
class frmMain;
class StateDump;

struct SetupArea {
  std::vector<int> DayMarks = std::vector<int>(37, 0);
  std::string CalendarFileName;
  float AchievementRate = 0;
  std::optional<int> TodayCell;  // the cell of the clock's date when the month shown holds it
  bool MonthDamaged = false;     // the month file could not be read whole when it was loaded
};

void BuildCalendarMonth(frmMain& m);
void LoadCalendarMonth(frmMain& m);
void ShowAchievementRate(frmMain& m);
// Replaces the shown month's file; throws store::StoreError when it cannot.
void SaveCalendarMonth(const frmMain& m);
void wireSetup(frmMain& m);
void dumpSetup(const frmMain& m, StateDump& d);

}  // namespace app
