#include "app/backup_area.h"

#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <filesystem>
#include <vector>

#include "app/corrections.h"
#include "app/diary_area.h"
#include "app/frmMain.h"
#include "backup/backup.h"
#include "csv/diary_export.h"
#include "csv/weight_import.h"
#include "import/health_export.h"
#include "import/into_diary.h"
#include "import/scale_csv.h"
#include "profile/profile.h"
#include "records/body_fat.h"
#include "records/steps.h"
#include "records/weight_entry.h"
#include "store/files.h"
#include "store/folder_files.h"
#include "store/record.h"
#include "words/file_errors.h"
#include "words/import_messages.h"
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

// The window that checks a backup: no box reaches the user, each is answered the safe way.
class QuietDialogs : public form::Dialogs {
 public:
  form::Answer MsgBox(const std::string&, const std::string&, form::Icon, form::Buttons buttons) override {
    return buttons == form::Buttons::OK         ? form::Answer::OK
           : buttons == form::Buttons::OKCancel ? form::Answer::Cancel
                                                : form::Answer::No;
  }
  std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  void showHelp(const std::string&) override {}
  void closeHelp() override {}
};

std::string firstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

// What would stop a start-up on the backup's files, naming the file and the line: start-up's
// own loaders, run in the backup's folder before anything is written.
std::optional<std::string> startUpProblem(frmMain& m, const std::string& folder) {
  const std::string path = store::joinPath(backup::kBackupFolder, folder);
  const int here = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (here < 0) return firstLine(store::fileError(".", store::FileOp::ReadFolder, errno).what());
  if (::chdir(path.c_str()) != 0) {
    const int err = errno;
    ::close(here);
    return firstLine(store::fileError(path, store::FileOp::ReadFolder, err).what());
  }
  std::optional<std::string> problem;
  try {
    QuietDialogs quiet;
    frmMain probe(quiet, m.clock);
    probe.LoadOnly();
  } catch (const std::exception& e) {
    problem = firstLine(e.what());
  }
  const bool back = ::fchdir(here) == 0;
  ::close(here);
  if (!back) {
    // Every later write would land in the backup: end rather than go on there.
    m.dialogs.MsgBox(words::kDataFolderLost, words::kErrorTitle, form::Icon::Error, form::Buttons::OK);
    m.Ended = true;
    return words::kDataFolderLost;
  }
  return problem;
}

void cmdBackup_Click(frmMain& m) {
  std::vector<backup::BackupDay> days = backup::listBackups();
  if (days.empty()) {
    info(m, words::kNoBackups, kRestoreTitle);
    return;
  }
  const backup::BackupDay* chosenDay = nullptr;
  while (!chosenDay) {
    std::vector<std::string> lines;
    for (const backup::BackupDay& d : days) lines.push_back(backup::describe(d));
    const std::optional<int> chosen = m.dialogs.ChooseFromList(kRestoreTitle, words::kChooseBackup, lines);
    if (!chosen || *chosen < 0 || *chosen >= static_cast<int>(days.size())) return;
    backup::BackupDay& day = days[*chosen];
    if (!day.damage) day.damage = startUpProblem(m, day.folder);
    if (m.ended()) return;
    if (!day.damage) {
      chosenDay = &day;
      break;
    }
    // Refused with the reason; the list comes again, this day marked, for another day.
    m.dialogs.MsgBox(words::backupDamaged(day.folder, *day.damage), kRestoreTitle, form::Icon::Error,
                     form::Buttons::OK);
  }
  const backup::BackupDay& day = *chosenDay;
  const std::string question =
      words::confirmRestore(day.folder, day.weightCount,
                            std::string(backup::kBackupFolder) + "/" + backup::nextSafetyCopyName(m.clock.today()));
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
    // Every file in one step of the store's journal: a failure or a crash leaves today's files
    // or the backup's, never a mix of the two days.
    backup::restoreFiles(day.folder);
  } catch (const store::StoreError& e) {
    m.dialogs.MsgBox(words::restoreFailed(e.what(), std::string(backup::kBackupFolder) + "/" + safety),
                     words::kErrorTitle, form::Icon::Error, form::Buttons::OK);
    return;
  }
  const std::string folder = day.folder;
  m.ReloadFromDisk();
  if (m.ended()) return;
  info(m, words::restored(folder, std::string(backup::kBackupFolder) + "/" + safety), kRestoreTitle);
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

bool healthExportName(const std::string& file) {
  std::string ext = std::filesystem::path(file).extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".zip" || ext == ".xml";
}

// Body fat and steps of another program's export, beside its weights.
struct OtherLogs {
  history::DatedPlan fat, steps;
  std::string counts;  // their lines of the summary
};

// Weights by the entry's rules: after the diary's last day, gaps filled only when asked, typos
// asked about once for the whole file. With `other`, body fat and steps go in beside them. Every
// file in one step of the journal, all or nothing, and one step to take back.
void importWeights(frmMain& m, const std::string& file, const csv::WeightCsv& table, const OtherLogs* other) {
  if (table.unusable) {
    m.dialogs.MsgBox(words::importUnreadable(file, *table.unusable), kImportTitle, form::Icon::Error,
                     form::Buttons::OK);
    return;
  }
  const records::WeightSeries& s = m.Weight;
  std::optional<store::Date> lastDay;
  if (s.WeightCount > 0) lastDay = s.WeightDay.back();
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
  // The body fat measured last, for the question about typos among the file's.
  std::optional<float> lastFat;
  std::optional<store::Date> lastFatDay;
  for (size_t i = 0; i < m.body.FatDate.size(); ++i)
    if (const std::optional<store::Date> d = store::parseDate(m.body.FatDate[i]);
        d && (!lastFatDay || *d >= *lastFatDay)) {
      lastFatDay = d;
      lastFat = m.body.FatPercent[i];
    }
  const csv::WeightAppend plan = csv::planWeightAppend(table, s, fill, lastFat);
  const int fatAdded = other ? other->fat.added : 0, stepsAdded = other ? other->steps.added : 0;
  const std::string counts = other ? other->counts : std::string();
  if (plan.records.empty() && fatAdded == 0 && stepsAdded == 0) {
    m.dialogs.MsgBox(words::nothingToImport(csv::importCounts(table, plan) + counts), kImportTitle, form::Icon::Warning,
                     form::Buttons::OK);
    return;
  }
  // Typos in the file are asked about once, for all its rows; No reads nothing.
  if (const int unlikely = plan.unlikely + (other ? other->fat.unlikely : 0);
      unlikely > 0 && m.dialogs.MsgBoxDefaultSecond(words::askUnlikelyImport(unlikely), kImportTitle,
                                                    form::Icon::Question, form::Buttons::YesNo) != form::Answer::Yes)
    return;
  std::vector<std::string> files;
  std::vector<store::FileContent> logs;
  if (!plan.records.empty()) files.push_back(records::kWeightFile);
  if (!plan.filledDates.empty()) files.push_back(records::kFilledFile);
  if (!plan.fats.empty() || fatAdded > 0) files.push_back(records::kBodyFatFile);
  if (stepsAdded > 0) files.push_back(records::kStepFile);
  try {
    if (fatAdded > 0)
      logs.push_back({records::kBodyFatFile, store::encodeRecords(records::kBodyFatFile, other->fat.records)});
    if (stepsAdded > 0)
      logs.push_back({records::kStepFile, store::encodeRecords(records::kStepFile, other->steps.records)});
    m.Undoable(
        other ? words::figuresImportStep(plan.imported, fatAdded, stepsAdded) : words::csvImportStep(plan.imported),
        files, [&] {
          if (plan.records.empty())
            store::replaceFiles(logs);
          else
            records::AppendWeights(plan.records, plan.filledDates, plan.fats, logs);
        });
  } catch (const store::StoreError& e) {
    m.ShowFailure(e);
    return;
  }
  m.WithHourglass([&] {
    if (!plan.records.empty()) RecomputeAfterWeightChange(m);
    if (!plan.fats.empty() || fatAdded > 0) ReloadAfterFileChange(m, records::kBodyFatFile);
    if (stepsAdded > 0) ReloadAfterFileChange(m, records::kStepFile);
  });
  info(m, csv::importSummary(table, plan) + counts, kImportTitle);
}

// A Health export or a scale's CSV: weights as the CSV import takes them, body fat and steps
// where their logs have no record for the day.
void importFigures(frmMain& m, const std::string& file, const history::DayFigures& f) {
  if (f.error) {
    m.dialogs.MsgBox(words::importUnreadable(file, *f.error), kImportTitle, form::Icon::Error, form::Buttons::OK);
    return;
  }
  const store::Date today = m.clock.today();
  std::optional<store::Date> lastDay;
  if (m.Weight.WeightCount > 0) lastDay = m.Weight.WeightDay.back();
  OtherLogs other{history::planDated(m.body.FatDate, m.body.FatPercent, f.fat, today, records::UnlikelyFat),
                  history::planDated(m.body.StepDate, m.body.StepValue, f.steps, today),
                  {}};
  other.counts = history::datedCounts(words::kFatKind, other.fat, f.fat) +
                 history::datedCounts(words::kStepsKind, other.steps, f.steps);
  importWeights(m, file, history::asWeightCsv(f, lastDay, today), &other);
}

void cmdCsvIn_Click(frmMain& m) {
  if (m.SampleMode) {
    profile::ShowSampleModeRefusal(m.dialogs);
    return;
  }
  const std::optional<std::string> file = m.dialogs.ChooseFile(words::kImportFileTitle, words::kImportFilter);
  if (!file) return;
  if (healthExportName(*file)) return importFigures(m, *file, history::readHealthExport(*file));
  std::string bytes;
  try {
    bytes = store::readBytes(*file);
  } catch (const store::StoreError& e) {
    m.ShowFailure(e);
    return;
  }
  std::optional<store::Date> lastDay;
  if (m.Weight.WeightCount > 0) lastDay = m.Weight.WeightDay.back();
  csv::WeightCsv table = csv::readWeightCsv(bytes, lastDay, m.clock.today());
  // A table of weights (and body fat) the CSV import reads goes in by its rules alone; one with
  // steps or with a scale's column names goes in with its body fat and steps. A file with no
  // column of steps is read a second time only when the CSV import could not read it.
  if (table.unusable || history::namesSteps(bytes))
    if (history::DayFigures figures = history::readScaleCsv(bytes);
        !figures.error && (table.unusable || figures.steps.records > 0)) {
      bytes = std::string();
      table = csv::WeightCsv();
      return importFigures(m, *file, figures);
    }
  bytes = std::string();  // the rows are read: the file's bytes go before anything else is made
  importWeights(m, *file, table, nullptr);
}

}  // namespace

void AfterStartup(frmMain& m) { m.form("lblDataFolder").setCaption(m.DataFolder); }

void MakeStartupBackup(frmMain& m, bool sweepLeftovers) {
  try {
    // A backup or safety copy a crash cut short never became one.
    if (sweepLeftovers) backup::sweepPartialBackups();
  } catch (const store::StoreError&) {
  }
  if (m.SampleMode) return;
  try {
    if (backup::makeDailyBackup(m.clock.today())) backup::pruneBackups(m.clock.today());
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
