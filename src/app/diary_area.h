#pragma once
// The calorie item lists, the daily diary and the date selector.
#include <optional>
#include <vector>

#include "diary/day_diary.h"

namespace app {
class frmMain;
class StateDump;

struct DiaryArea {
  int IntakeTotal = 0;
  int ExerciseTotal = 0;
  std::optional<int> DragSourceList;
  std::vector<diary::ReadProblem> DayProblems;  // the day shown was read only in part
};

void LoadCalorieItems(frmMain& m);
// The day's calorie figures (Label9 15, 16, 17, 22) from the lists of the day shown.
void ShowCalorieBalance(frmMain& m);
void LoadDayDiary(frmMain& m);
void wireDiary(frmMain& m);
void dumpDiary(const frmMain& m, StateDump& d);

}  // namespace app
