#include "app/backup_area.h"

#include <vector>

#include "app/diary_area.h"
#include "app/frmMain.h"
#include "backup/backup.h"
#include "csv/diary_export.h"
#include "csv/weight_import.h"
#include "profile/profile.h"
#include "records/weight_entry.h"
#include "store/folder_files.h"
#include "store/record.h"
#include "words/messages.h"

namespace app {
namespace {

const char* const kRestoreTitle = words::kRestoreTitle;
const char* const kExportTitle = words::kExportTitle;
const char* const kImportTitle = words::kImportTitle;

void info(frmMain& m, const std::string& text, const std::string& title) {
  m.dialogs.MsgBox(text, title, form::Icon::Information, form::Buttons::OK);
}

// ---------------------------------------------------------------- restore

void cmdBackup_Click(frmMain& m) {
  const std::vector<backup::BackupDay> days = backup::listBackups();
  if (days.empty()) {
    info(m, words::kNoBackups, kRestoreTitle);
    return;
  }
  std::vector<std::string> lines;
  for (const backup::BackupDay& d : days) lines.push_back(backup::describe(d));
  const std::optional<int> chosen = m.dialogs.ChooseFromList(kRestoreTitle, words::kChooseBackup, lines);
  if (!chosen || *chosen < 0 || *chosen >= static_cast<int>(days.size())) return;
  const backup::BackupDay& day = days[*chosen];
  if (day.damage) {
    m.dialogs.MsgBox(words::backupDamaged(day.folder, *day.damage), kRestoreTitle, form::Icon::Error,
                     form::Buttons::OK);
    return;
  }
  const std::string question = words::confirmRestore(
      day.folder, day.weightCount,
      std::string(backup::kBackupFolder) + "/" + backup::dayFolderName(m.clock.today()) + backup::kBeforeRestoreSuffix);
  if (m.dialogs.MsgBoxDefaultSecond(question, kRestoreTitle, form::Icon::Warning, form::Buttons::OKCancel) !=
      form::Answer::OK)
    return;
  // The day shown is replaced too: its unsaved changes are asked about first, and saved ones
  // go into the safety copy.
  if (!LeaveDiaryDay(m)) return;
  std::string safety;
  try {
    safety = backup::makeSafetyCopy(m.clock.today());
  } catch (const store::StoreError& e) {
    // Without the safety copy nothing is overwritten.
    m.dialogs.MsgBox(words::restoreNotStarted(e.what()), words::kErrorTitle, form::Icon::Error, form::Buttons::OK);
    return;
  }
  try {
    backup::restoreFiles(day.folder);
  } catch (const store::StoreError& e) {
    m.dialogs.MsgBox(words::restoreFailed(e.what(), std::string(backup::kBackupFolder) + "/" + safety),
                     words::kErrorTitle, form::Icon::Error, form::Buttons::OK);
    m.ReloadFromDisk();
    return;
  }
  m.ReloadFromDisk();
  if (m.ended()) return;
  info(m, words::restored(day.folder, std::string(backup::kBackupFolder) + "/" + safety), kRestoreTitle);
}

// ---------------------------------------------------------------- CSV

void cmdCsvOut_Click(frmMain& m) {
  const std::optional<std::string> folder = m.dialogs.ChooseFolder(words::kExportFolderTitle);
  if (!folder) return;
  std::vector<csv::CsvFile> files;
  try {
    files = csv::exportDiary(m.Profile.StepLength);
  } catch (const store::StoreError& e) {
    m.ShowFailure(e);
    return;
  }
  std::string existing;
  for (const csv::CsvFile& f : files)
    if (store::fileExists(store::joinPath(*folder, f.name))) existing += "\n" + f.name;
  if (!existing.empty() &&
      m.dialogs.MsgBoxDefaultSecond(words::confirmOverwrite(existing), kExportTitle, form::Icon::Question,
                                    form::Buttons::YesNo) != form::Answer::Yes)
    return;
  try {
    for (const csv::CsvFile& f : files) store::writeBytesAtomic(store::joinPath(*folder, f.name), f.bytes);
  } catch (const store::StoreError& e) {
    m.ShowFailure(e);
    return;
  }
  info(m, words::exported(files.size(), *folder), kExportTitle);
}

void cmdCsvIn_Click(frmMain& m) {
  if (m.SampleMode) {
    profile::ShowSampleModeRefusal(m.dialogs);
    return;
  }
  const std::optional<std::string> file = m.dialogs.ChooseFile(words::kImportFileTitle, "CSV (*.csv *.txt)");
  if (!file) return;
  std::string bytes;
  try {
    bytes = store::readBytes(*file);
  } catch (const store::StoreError& e) {
    m.ShowFailure(e);
    return;
  }
  const records::WeightSeries& s = m.Weight;
  std::optional<store::Date> lastDay;
  if (s.WeightCount > 0) lastDay = s.WeightDay.back();
  const csv::WeightCsv table = csv::readWeightCsv(bytes, lastDay, m.clock.today());
  bytes = std::string();  // the rows are read: the file's bytes go before anything else is made
  if (table.unusable) {
    m.dialogs.MsgBox(words::importUnreadable(*file, *table.unusable), kImportTitle, form::Icon::Error,
                     form::Buttons::OK);
    return;
  }
  // A gap of years is never filled with one weight: the whole import is refused.
  if (const std::optional<csv::Gap> gap = csv::longestGap(table, s); gap && gap->days() > csv::kLongestFilledGap) {
    const bool inDiary = lastDay && gap->before == *lastDay;
    m.dialogs.MsgBox(
        words::importGapTooLong(store::formatDate(gap->before), store::formatDate(gap->after), gap->days(), inDiary),
        kImportTitle, form::Icon::Warning, form::Buttons::OK);
    return;
  }
  bool fill = false;
  if (const int days = csv::missingDays(table, s); days > 0)
    fill = m.dialogs.MsgBox(words::importGap(days), records::kGapFillTitle, form::Icon::Question,
                            form::Buttons::YesNo) == form::Answer::Yes;
  const csv::WeightAppend plan = csv::planWeightAppend(table, s, fill);
  if (plan.records.empty()) {
    m.dialogs.MsgBox(words::nothingToImport(csv::importCounts(table, plan)), kImportTitle, form::Icon::Warning,
                     form::Buttons::OK);
    return;
  }
  try {
    // One step to take back, like any entry.
    m.Undoable(words::csvImportStep(plan.imported), {records::kWeightFile},
               [&] { store::appendRecords(records::kWeightFile, plan.records); });
  } catch (const store::StoreError& e) {
    m.ShowFailure(e);
    return;
  }
  m.WithHourglass([&m] { RecomputeAfterWeightChange(m); });
  info(m, csv::importSummary(table, plan), kImportTitle);
}

}  // namespace

void AfterStartup(frmMain& m) {
  m.form("lblDataFolder").setCaption(m.DataFolder);
  if (m.SampleMode) return;
  try {
    if (backup::makeDailyBackup(m.clock.today())) backup::pruneBackups();
  } catch (const store::StoreError& e) {
    m.dialogs.MsgBox(words::backupNotMade(e.what()), words::kBackupTitle, form::Icon::Warning, form::Buttons::OK);
  }
}

void wireBackup(frmMain& m) {
  m.onClick("cmdBackup", [&m](int) { cmdBackup_Click(m); });
  m.onClick("cmdCsvOut", [&m](int) { cmdCsvOut_Click(m); });
  m.onClick("cmdCsvIn", [&m](int) { cmdCsvIn_Click(m); });
}

void dumpBackup(const frmMain& m, StateDump& d) { d.add("DataFolder", m.DataFolder); }

}  // namespace app
