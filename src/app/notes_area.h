#pragma once
// Nutrition check, strength training and memo lists.
#include <string>
#include <vector>

namespace app {
class frmMain;
class StateDump;

struct NotesArea {
  // Index 0 to 5 hold exercises 1 to 6.
  std::vector<std::string> TrainingTitle = std::vector<std::string>(6);
  std::vector<double> TrainingTarget = std::vector<double>(6, 0);
  std::vector<double> TrainingTotal = std::vector<double>(6, 0);
  bool NutritionShowAll = false;
};

void LoadMemoTitles(frmMain& m);
void LoadTrainingTitles(frmMain& m);
void AnalyseNutrition(frmMain& m);
void LoadMemoLists(frmMain& m);
void LoadTrainingLogs(frmMain& m);
// One exercise's list, total and bar anew from its log; one memo list anew from its file.
void ReloadTrainingLog(frmMain& m, int exercise);
void ReloadMemoList(frmMain& m, int list);
void LoadNutritionAdvice(frmMain& m);
void wireNotes(frmMain& m);
void dumpNotes(const frmMain& m, StateDump& d);

}  // namespace app
