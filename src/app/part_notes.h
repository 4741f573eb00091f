#pragma once
// Nutrition check, strength training and memo lists.
#include <string>
#include <vector>

namespace app {
class frmMain;
class StateDump;

struct NotesPart {
  std::vector<std::string> TrainingTitle = std::vector<std::string>(6);
  std::vector<int> TrainingTarget = std::vector<int>(6, 0);
  std::vector<int> TrainingTotal = std::vector<int>(6, 0);
  bool NutritionShowAll = false;
};

void LoadMemoTitles(frmMain& m);
void LoadTrainingTitles(frmMain& m);
void AnalyseNutrition(frmMain& m);
void LoadMemoLists(frmMain& m);
void LoadTrainingLogs(frmMain& m);
void LoadNutritionAdvice(frmMain& m);
void wireNotes(frmMain& m);
void dumpNotes(const frmMain& m, StateDump& d);

}  // namespace app
