#include "backup/backup.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "store/cp932.h"
#include "store/files.h"
#include "store/folder_files.h"
#include "store/record.h"
#include "words/file_errors.h"
#include "words/messages.h"

namespace backup {
namespace {

const std::string kWeightFileName = "体重.txt";
constexpr const char* kPartialSuffix = ".partial";

std::string inBackups(const std::string& name) { return store::joinPath(kBackupFolder, name); }

std::string markText(const std::string& folderName) { return "Zorvel backup " + folderName.substr(0, 10) + "\n"; }

bool endsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// What a backup of ours holds: the copies of the data files and the mark.
bool isOwnContent(const std::string& name) { return name == kMarkFile || endsWith(name, ".txt"); }

bool isBackupName(const std::string& name) {
  return name.size() >= 10 && isDayFolderName(name.substr(0, 10)) &&
         (name.size() == 10 || name.compare(10, std::string(kBeforeRestoreSuffix).size(), kBeforeRestoreSuffix) == 0);
}

// The name a backup is made under until it is complete: ".2026-12-07.partial".
std::string partialName(const std::string& folderName) { return "." + folderName + kPartialSuffix; }

// Refuses to make the folder `path` because something else stands at its name, saying what.
[[noreturn]] void somethingInTheWay(const std::string& path) {
  struct stat st {};
  ::lstat(path.c_str(), &st);
  throw store::fileError(path, store::FileOp::MakeFolder,
                         S_ISLNK(st.st_mode)   ? ELOOP
                         : S_ISDIR(st.st_mode) ? ENOTEMPTY
                                               : EEXIST);
}

// バックアップ itself: a real folder, made when missing. A link is never followed, not even to
// write into it.
void prepareBackupFolder() {
  if (store::isRealDirectory(kBackupFolder)) return;  // every day after the first: one look
  if (store::pathExists(kBackupFolder)) somethingInTheWay(kBackupFolder);
  store::makeDirectories(kBackupFolder);
}

// Copies the data files of the current folder into バックアップ/`name` (made here under its
// partial name first, marked last, then renamed).
void copyDataFilesTo(const std::string& name) {
  const std::string partial = inBackups(partialName(name));
  if (store::pathExists(partial)) store::removeOwnFolder(partial, isOwnContent);
  if (store::pathExists(partial)) somethingInTheWay(partial);  // not ours to clear, or a link
  store::makeDirectories(partial);
  store::temporaryMade();
  try {
    for (const std::string& file : store::dataFileNames(".")) store::copyFileInto(file, store::joinPath(partial, file));
    store::writeFileInto(store::joinPath(partial, kMarkFile), markText(name));
    store::flushFolderFiles(partial);
    store::renamePath(partial, inBackups(name));
  } catch (...) {
    if (store::removeOwnFolder(partial, isOwnContent)) store::temporarySettled();
    throw;
  }
  store::temporarySettled();
  store::syncFolder(kBackupFolder);
}

// Reads one backed-up file as the program would; returns why it cannot be used, if it cannot.
std::optional<std::string> damageOf(const std::string& folder, const std::string& name, BackupDay& day) {
  const std::string path = store::joinPath(folder, name);
  try {
    std::string text = store::cp932ToUtf8(store::readBytes(path));
    if (name != kWeightFileName) return std::nullopt;
    store::RecordReader r(name, std::move(text));
    while (!r.atEnd()) {
      std::string date = r.readText();
      if (!store::parseDate(date)) return words::backupDateUnreadable(name, r.line());
      r.readSingle();
      day.lastWeightDate = date;
      ++day.weightCount;
    }
  } catch (const store::EncodingError&) {
    return words::backupFileUnreadable(name);
  } catch (const store::StoreError&) {
    return words::backupFileUnreadable(name);
  }
  return std::nullopt;
}

}  // namespace

std::string dayFolderName(store::Date day) {
  char b[16];
  std::snprintf(b, sizeof b, "%04d-%02u-%02u", store::yearOf(day), store::monthOf(day), store::dayOf(day));
  return b;
}

bool isDayFolderName(const std::string& name) {
  if (name.size() != 10 || name[4] != '-' || name[7] != '-') return false;
  for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
    if (name[i] < '0' || name[i] > '9') return false;
  return true;
}

bool isOwnBackup(const std::string& name) {
  const std::string folder = inBackups(name);
  if (!isBackupName(name) || !store::isRealDirectory(folder)) return false;
  store::OpenedFile mark(store::joinPath(folder, kMarkFile));
  if (!mark.missing()) {
    try {
      return mark.read() == markText(name);
    } catch (const store::StoreError&) {
      return false;
    }
  }
  // From before the mark: ours when nothing in it is anything but a copy of a data file.
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return false;
  bool ours = true;
  while (const dirent* e = ::readdir(dir)) {
    const std::string entry = e->d_name;
    if (entry == "." || entry == "..") continue;
    struct stat st {};
    if (::lstat(store::joinPath(folder, entry).c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
        !store::isOwnDataFileName(entry)) {
      ours = false;
      break;
    }
  }
  ::closedir(dir);
  return ours;
}

bool makeDailyBackup(store::Date today) {
  prepareBackupFolder();
  const std::string name = dayFolderName(today);
  if (isOwnBackup(name)) return false;
  const std::string folder = inBackups(name);
  // Someone else's folder, file or link has the day's name: say so rather than skip quietly.
  if (store::pathExists(folder)) somethingInTheWay(folder);
  copyDataFilesTo(name);
  return true;
}

void pruneBackups(store::Date today, int keep) {
  if (!store::isRealDirectory(kBackupFolder)) return;
  std::vector<std::string> days;
  for (std::string& name : store::folderNamesIn(kBackupFolder))
    if (isDayFolderName(name) && isOwnBackup(name)) days.push_back(std::move(name));
  // Names sort as their dates do; the oldest come first. The newest and today's always stay,
  // whatever the clock says.
  const std::string todays = dayFolderName(today);
  for (size_t i = 0; i + keep < days.size() && i + 1 < days.size(); ++i)
    if (days[i] != todays) store::removeOwnFolder(inBackups(days[i]), isOwnContent);
}

void sweepPartialBackups() {
  if (!store::isRealDirectory(kBackupFolder)) return;
  for (const std::string& name : store::folderNamesIn(kBackupFolder)) {
    if (name.size() < 2 || name[0] != '.' || !endsWith(name, kPartialSuffix)) continue;
    if (!isBackupName(name.substr(1, name.size() - 1 - std::string(kPartialSuffix).size()))) continue;
    store::removeOwnFolder(inBackups(name), isOwnContent);
  }
}

std::vector<BackupDay> listBackups() {
  std::vector<BackupDay> out;
  if (!store::isRealDirectory(kBackupFolder)) return out;
  for (const std::string& name : store::folderNamesIn(kBackupFolder)) {
    if (!isOwnBackup(name)) continue;
    BackupDay day;
    day.folder = name;
    const std::string folder = inBackups(name);
    const std::vector<std::string> files = store::dataFileNames(folder);
    if (std::find(files.begin(), files.end(), kWeightFileName) == files.end())
      day.damage = words::backupFileMissing(kWeightFileName);
    for (const std::string& file : files) {
      if (day.damage) break;
      day.damage = damageOf(folder, file, day);
    }
    out.push_back(std::move(day));
  }
  std::reverse(out.begin(), out.end());
  return out;
}

std::string describe(const BackupDay& day) {
  return words::backupLine(day.folder, day.weightCount, day.lastWeightDate, day.damage ? &*day.damage : nullptr);
}

std::string nextSafetyCopyName(store::Date today) {
  const std::string base = dayFolderName(today) + kBeforeRestoreSuffix;
  std::string name = base;
  for (int n = 2; store::pathExists(inBackups(name)) || store::pathExists(inBackups(partialName(name))); ++n)
    name = base + "-" + std::to_string(n);
  return name;
}

std::string makeSafetyCopy(store::Date today) {
  prepareBackupFolder();
  const std::string name = nextSafetyCopyName(today);
  copyDataFilesTo(name);
  return name;
}

store::FileChanges restoreChanges(const std::string& folder) {
  const std::string from = inBackups(folder);
  store::FileChanges changes;
  const std::vector<std::string> names = store::dataFileNames(from);
  for (const std::string& name : names) {
    std::string bytes = store::readBytes(store::joinPath(from, name));
    std::optional<std::string> now;
    try {
      if (store::pathExists(name)) now = store::readBytes(name);
    } catch (const store::StoreError&) {
    }
    if (now != bytes) changes.write.push_back({name, std::move(bytes)});
  }
  for (const std::string& name : store::dataFileNames("."))
    if (store::isOwnDataFileName(name) && !std::binary_search(names.begin(), names.end(), name))
      changes.remove.push_back(name);
  return changes;
}

void restoreFiles(const std::string& folder) { store::changeFiles(restoreChanges(folder)); }

}  // namespace backup
