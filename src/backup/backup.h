#pragma once
// Daily copies of every data file, and putting one of them back. All paths are relative to the
// data folder, the process's current folder.
#include <optional>
#include <string>
#include <vector>

#include "store/dates.h"
#include "store/files.h"
#include "words/messages.h"

namespace backup {

inline constexpr const char* kBackupFolder = words::kBackupFolder;
inline constexpr int kKeptDays = 30;
inline constexpr const char* kBeforeRestoreSuffix = words::kBeforeRestoreSuffix;
// Written last into every backup of ours: the program's name and the backup's day.
inline constexpr const char* kMarkFile = ".zorvel-backup";

// "2026-12-07".
std::string dayFolderName(store::Date day);
// True for a name of the form YYYY-MM-DD.
bool isDayFolderName(const std::string& name);
// Whether バックアップ/`name` is a backup this program made: a folder (never a link) carrying
// our mark for its day; one from before the mark only when it holds nothing but plain files
// named like our data files.
bool isOwnBackup(const std::string& name);

// Copies every data file into バックアップ/YYYY-MM-DD/ unless that day's backup exists. The copy
// is made in a hidden partial folder, marked last and renamed when complete, so a failed backup
// leaves no day folder behind. Returns true when a copy was made; throws store::StoreError when
// none can be made (バックアップ a link or a file, the day's name taken by something not ours).
bool makeDailyBackup(store::Date today);
// Removes our oldest day folders beyond `keep`, never the newest one nor `today`'s; other
// folders and links are left alone.
void pruneBackups(store::Date today, int keep = kKeptDays);
// Removes the partial folders a killed backup or safety copy left behind, ours only.
void sweepPartialBackups();

struct BackupDay {
  std::string folder;  // the day folder's name, e.g. "2026-12-07" or "2026-12-07-復元前"
  int weightCount = 0;
  std::string lastWeightDate;         // "" when the weight log is empty
  std::optional<std::string> damage;  // why the folder cannot be restored
};
// Every backup folder of ours with what it holds, newest first.
std::vector<BackupDay> listBackups();
// The line a restore list shows for a backup.
std::string describe(const BackupDay& day);

// The name of the next safety copy: YYYY-MM-DD-復元前, with "-2", "-3" … when one exists.
std::string nextSafetyCopyName(store::Date today);
// Copies the current data files into バックアップ/ under that name (a new folder each time) and
// returns the name.
std::string makeSafetyCopy(store::Date today);
// What puts the backup back as one step of the store's journal: every data file of the backup
// as it was that day (a file that holds it already is left alone), and our own data files the
// backup does not have removed (the safety copy keeps them).
store::FileChanges restoreChanges(const std::string& folder);
// Makes those changes, all or none. Throws store::StoreError.
void restoreFiles(const std::string& folder);

}  // namespace backup
