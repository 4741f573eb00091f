#pragma once
// Six strength exercises: titles and targets in 筋トレ題目.txt, counts in 筋トレ1.txt to 筋トレ6.txt.
#include <optional>
#include <string>
#include <vector>

namespace store {
class RecordReader;
}

namespace training {

inline constexpr int kExerciseCount = 6;
inline constexpr const char* kTitlesFile = "筋トレ題目.txt";
inline constexpr double kMaxCount = 30000;

// 筋トレ1.txt … 筋トレ6.txt.
std::string logFileName(int exercise);

struct ExerciseTitle {
  std::string title;
  double target = 0;
};

// Reads the six title lines; throws store::StoreError when the file is missing or short.
std::vector<ExerciseTitle> readTitles(const std::string& fileName = kTitlesFile);
// Rewrites all six lines.
void writeTitles(const std::vector<ExerciseTitle>& titles, const std::string& fileName = kTitlesFile);

struct TrainingEntry {
  std::string date;
  double count = 0;
};

std::vector<TrainingEntry> readLog(const std::string& fileName);
// Every entry `r` has left.
std::vector<TrainingEntry> readLog(store::RecordReader& r);
// A log checked to its end without keeping its entries: how many, and their counts' total
// (added in the log's order, as a sum over readLog gives it).
struct LogSummary {
  int entries = 0;
  double total = 0;
};
LogSummary summariseLog(store::RecordReader& r);
void appendEntry(const std::string& fileName, const TrainingEntry& e);
// Rewrites the whole log (a correction or a deletion).
void writeLog(const std::string& fileName, const std::vector<TrainingEntry>& entries);
// Leaves the file in place with no lines.
void emptyLog(const std::string& fileName);
// A renamed exercise starts afresh: the titles and the exercise's emptied log as one step, so
// the new title never stands over the old exercise's counts.
void writeRename(const std::vector<ExerciseTitle>& titles, int exercise, const std::string& titlesFile = kTitlesFile);

// "2024/01/05 _ 30": a list line.
std::string entryLine(const TrainingEntry& e);
// The shortest decimal form of a target or total: 50, 12.5.
std::string numberText(double v);
// "腹筋  50" after load and rename; "腹筋 _ 50" after a target change.
std::string frameCaption(const std::string& title, double target, bool afterTargetChange = false);

// The bar's share of the target in whole percent, 0 to 100: rounded down, capped at 100; a
// negative total or a target that is not above zero gives an empty bar.
int barPercent(double total, double target);

struct BarGeometry {
  int top = 0;
  int height = 0;
};
// The progress bar inside its background bar, sharing its bottom edge.
BarGeometry barGeometry(int percent, int backTop, int backHeight);

// Why a typed count is refused, or nullopt when it is recorded.
std::optional<std::string> countRefusal(const std::string& typed);

}  // namespace training
