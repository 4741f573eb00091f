#include "app/part_diary.h"

#include "app/frmMain.h"

namespace app {

void LoadCalorieItems(frmMain&) {}
void LoadDayDiary(frmMain&) {}
void ShowCalorieBalance(frmMain&) {}
void wireDiary(frmMain&) {}

void dumpDiary(const frmMain&, StateDump&) {}

}  // namespace app
