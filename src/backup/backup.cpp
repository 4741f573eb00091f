#include "backup/backup.h"

#include <algorithm>
#include <cstdio>

#include "store/cp932.h"
#include "store/folder_files.h"
#include "store/record.h"
#include "words/messages.h"

namespace backup {
namespace {

const std::string kWeightFileName = "体重.txt";

std::string inBackups(const std::string& name) { return store::joinPath(kBackupFolder, name); }

// Copies the data files of the current folder into `folder` (made here, under a temporary
// name first).
void copyDataFilesTo(const std::string& folder) {
  std::string hidden(1, '.');
  hidden.append(folder, folder.rfind('/') + 1).append(".partial");
  const std::string partial = inBackups(hidden);
  store::removeTree(partial);
  store::makeDirectories(partial);
  try {
    for (const std::string& name : store::dataFileNames(".")) store::copyFileInto(name, store::joinPath(partial, name));
    store::renamePath(partial, folder);
  } catch (...) {
    try {
      store::removeTree(partial);
    } catch (const store::StoreError&) {
    }
    throw;
  }
}

bool isBackupName(const std::string& name) {
  return name.size() >= 10 && isDayFolderName(name.substr(0, 10)) &&
         (name.size() == 10 || name.compare(10, std::string(kBeforeRestoreSuffix).size(), kBeforeRestoreSuffix) == 0);
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

bool makeDailyBackup(store::Date today) {
  const std::string folder = inBackups(dayFolderName(today));
  if (store::isDirectory(folder)) return false;
  store::makeDirectories(kBackupFolder);
  copyDataFilesTo(folder);
  return true;
}

void pruneBackups(int keep) {
  if (!store::isDirectory(kBackupFolder)) return;
  std::vector<std::string> days;
  for (std::string& name : store::folderNamesIn(kBackupFolder))
    if (isDayFolderName(name)) days.push_back(std::move(name));
  // Names sort as their dates do; the oldest come first.
  for (size_t i = 0; i + keep < days.size(); ++i) store::removeTree(inBackups(days[i]));
}

std::vector<BackupDay> listBackups() {
  std::vector<BackupDay> out;
  if (!store::isDirectory(kBackupFolder)) return out;
  for (const std::string& name : store::folderNamesIn(kBackupFolder)) {
    if (!isBackupName(name)) continue;
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

std::string makeSafetyCopy(store::Date today) {
  store::makeDirectories(kBackupFolder);
  const std::string base = dayFolderName(today) + kBeforeRestoreSuffix;
  std::string name = base;
  for (int n = 2; store::isDirectory(inBackups(name)); ++n) name = base + "-" + std::to_string(n);
  copyDataFilesTo(inBackups(name));
  return name;
}

void restoreFiles(const std::string& folder) {
  const std::string from = inBackups(folder);
  for (const std::string& name : store::dataFileNames(from)) store::copyFileAtomic(store::joinPath(from, name), name);
}

}  // namespace backup
