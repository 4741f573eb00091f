#pragma once
// The calorie item lists, the daily diary and the date selector.
#include <optional>
#include <string>
#include <vector>

#include "diary/calorie_items.h"
#include "diary/day_diary.h"

namespace app {
class frmMain;
class StateDump;

struct DiaryArea {
  int IntakeTotal = 0;
  int ExerciseTotal = 0;
  std::optional<int> DragSourceList;
  // The shown day as last loaded or saved, to tell whether leaving it would lose anything.
  diary::DayLists savedLists;
  std::string savedComment;
  int shownScrollValue = 365;                   // VScroll1's value for the shown day
  std::vector<diary::ReadProblem> DayProblems;  // the day shown was read only in part
  std::vector<diary::KeptRecord> KeptRecords;   // the day's records of unknown sections
};

void LoadCalorieItems(frmMain& m);
// The same from the items read ahead.
void LoadCalorieItems(frmMain& m, const diary::CheckedItems& items);
// The day's calorie figures (Label9 15, 16, 17, 22) from the lists of the day shown.
void ShowCalorieBalance(frmMain& m);
void LoadDayDiary(frmMain& m);
// Before the shown day is left (another date, quitting, a new start): when its lists or comment
// were changed and not saved, asks whether to save. False when the user chose to stay on the day
// (Cancel, or a save that failed).
bool LeaveDiaryDay(frmMain& m);
void wireDiary(frmMain& m);
void dumpDiary(const frmMain& m, StateDump& d);

}  // namespace app
