#pragma once
// Nutrition check, strength training and memo lists.
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "app/read_ahead.h"
#include "nutrition/nutrition.h"

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

// What start-up needs of a list file of the note pages, read and checked without touching the
// form (so that it may be read ahead, on another thread).
struct ListFile {
  std::string file;
  std::shared_ptr<const std::string> bytes;  // parsed again when the list is first read
  int entries = 0;
  double total = 0;                     // a training log's counts
  std::vector<nutrition::Ticks> ticks;  // the nutrition log's marks
};
// The nutrition log, the memo lists and the training logs, queued in start-up's order.
struct NotesFiles {
  ReadAhead::Shared<ListFile> nutrition;
  std::vector<ReadAhead::Shared<ListFile>> memo, training;
};
NotesFiles ReadNotesAhead(ReadAhead& ahead);

void LoadMemoTitles(frmMain& m);
void LoadTrainingTitles(frmMain& m);
void AnalyseNutrition(frmMain& m);
void LoadMemoLists(frmMain& m);
void LoadTrainingLogs(frmMain& m);
// The same from files read ahead.
void AnalyseNutrition(frmMain& m, const ListFile& log);
void LoadMemoLists(frmMain& m, const std::vector<ListFile>& lists);
void LoadTrainingLogs(frmMain& m, const std::vector<ListFile>& logs);
// One exercise's list, total and bar anew from its log; one memo list anew from its file.
void ReloadTrainingLog(frmMain& m, int exercise);
void ReloadMemoList(frmMain& m, int list);
void LoadNutritionAdvice(frmMain& m);
void wireNotes(frmMain& m);
void dumpNotes(const frmMain& m, StateDump& d);

}  // namespace app
