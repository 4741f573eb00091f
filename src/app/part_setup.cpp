#include "app/part_setup.h"

#include "app/frmMain.h"

namespace app {

void BuildCalendarMonth(frmMain&) {}
void ShowAchievementRate(frmMain&) {}
void wireSetup(frmMain&) {}

void dumpSetup(const frmMain&, StateDump&) {}

}  // namespace app
