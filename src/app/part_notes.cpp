#include "app/part_notes.h"

#include "app/frmMain.h"

namespace app {

void LoadMemoTitles(frmMain&) {}
void LoadTrainingTitles(frmMain&) {}
void AnalyseNutrition(frmMain&) {}
void LoadMemoLists(frmMain&) {}
void LoadTrainingLogs(frmMain&) {}
void LoadNutritionAdvice(frmMain&) {}
void wireNotes(frmMain&) {}

void dumpNotes(const frmMain&, StateDump&) {}

}  // namespace app
