#pragma once
// New start, profile change and the lazy calendar.
#include <string>
#include <vector>

namespace app {
class frmMain;
class StateDump;

struct SetupPart {
  std::vector<int> DayMarks = std::vector<int>(37, 0);
  std::string CalendarFileName;
  float AchievementRate = 0;
};

void BuildCalendarMonth(frmMain& m);
void ShowAchievementRate(frmMain& m);
void wireSetup(frmMain& m);
void dumpSetup(const frmMain& m, StateDump& d);

}  // namespace app
