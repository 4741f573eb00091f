#pragma once
// Daily copies of every data file, and putting one of them back. All paths are relative to the
// data folder, the process's current folder.
#include <optional>
#include <string>
#include <vector>

#include "store/dates.h"
#include "words/messages.h"

namespace backup {

inline constexpr const char* kBackupFolder = words::kBackupFolder;
inline constexpr int kKeptDays = 30;
inline constexpr const char* kBeforeRestoreSuffix = words::kBeforeRestoreSuffix;

// "2026-12-07".
std::string dayFolderName(store::Date day);
// True for a name of the form YYYY-MM-DD.
bool isDayFolderName(const std::string& name);

// Copies every data file into バックアップ/YYYY-MM-DD/ unless that day's folder exists. The copy
// is made under a temporary name and renamed when complete, so a failed backup leaves no day
// folder behind. Returns true when a copy was made; throws store::StoreError on failure.
bool makeDailyBackup(store::Date today);
// Removes the oldest day folders beyond `keep`; other folders are left alone.
void pruneBackups(int keep = kKeptDays);

struct BackupDay {
  std::string folder;  // the day folder's name, e.g. "2026-12-07" or "2026-12-07-復元前"
  int weightCount = 0;
  std::string lastWeightDate;         // "" when the weight log is empty
  std::optional<std::string> damage;  // why the folder cannot be restored
};
// Every backup folder with what it holds, newest first.
std::vector<BackupDay> listBackups();
// The line a restore list shows for a backup.
std::string describe(const BackupDay& day);

// Copies the current data files into バックアップ/YYYY-MM-DD-復元前/ (a new folder each time:
// "-2", "-3" … when one exists) and returns its name.
std::string makeSafetyCopy(store::Date today);
// Copies every file of the backup folder back into the data folder, each one atomically.
// Files made after the backup stay. Throws store::StoreError.
void restoreFiles(const std::string& folder);

}  // namespace backup
