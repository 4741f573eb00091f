#include "app/notes_area.h"

#include <array>
#include <memory>

#include "app/corrections.h"
#include "app/frmMain.h"
#include "memo/memo.h"
#include "nutrition/nutrition.h"
#include "store/cp932.h"
#include "store/files.h"
#include "store/numbers.h"
#include "store/record.h"
#include "store/typed_number.h"
#include "training/training.h"
#include "words/messages.h"

namespace app {

namespace {

const char* const kMessageTitle = "メッセージ";

std::string listPrompt(int index, const char* rest) { return "ﾘｽﾄ " + std::to_string(index) + rest; }

// A double quote would end the text early when the file is read back, a line break would not
// read back at all, and the files cannot hold characters outside CP932: refuse such a text
// before anything changes.
bool refuseUnstorable(frmMain& m, const std::string& text) {
  std::string message;
  if (text.find('"') != std::string::npos)
    message = words::quoteRefused("");
  else if (text.find_first_of("\r\n") != std::string::npos)
    message = words::lineBreakRefused("");
  else if (auto c = store::firstUnencodable(text))
    message = words::unstorableChar(*c);
  else
    return false;
  m.dialogs.MsgBox(message, kMessageTitle, form::Icon::Warning, form::Buttons::OK);
  return true;
}

// ---------------------------------------------------------------- nutrition

void Command3_Click(frmMain& m) {
  if (m.SampleMode) {
    profile::ShowSampleModeRefusal(m.dialogs);
    return;
  }
  std::array<bool, nutrition::kGroupCount> ticked{};
  bool any = false;
  for (int g = 0; g < nutrition::kGroupCount; ++g) {
    ticked[g] = m.form("Check1", g).value() == 1;
    any = any || ticked[g];
  }
  if (!any && m.dialogs.MsgBoxDefaultSecond("何もチェックされていませんが保存してよろしいですか？", form::kDefaultTitle,
                                            form::Icon::Warning, form::Buttons::OKCancel) != form::Answer::OK)
    return;
  const std::string date = m.SelectedDateText();
  const std::string what = words::checklistDay(date);
  std::vector<nutrition::NutritionRecord> records = nutrition::readNutritionLog();
  if (auto same = nutrition::lastRecordOf(records, date)) {
    const ReplaceAnswer answer = AskReplace(m, date);
    if (answer == ReplaceAnswer::Cancel) return;
    if (answer == ReplaceAnswer::Replace) {
      for (int g = 0; g < nutrition::kGroupCount; ++g)
        records[*same].marks[g] = ticked[g] ? nutrition::kTicked : nutrition::kNotTicked;
      StoreChange(m, nutrition::kNutritionFile, what + words::kReplaced,
                  [&] { nutrition::writeNutritionLog(records); });
      return;
    }
  }
  StoreChange(m, nutrition::kNutritionFile, what + words::kEntered,
              [&] { nutrition::appendNutritionRecord(date, ticked); });
}

// ---------------------------------------------------------------- training

form::Control& trainingFrame(frmMain& m, int i) { return m.form("fraKin", i); }

// Redraws exercise i's progress bar from the total shown and its target.
void UpdateTrainingBar(frmMain& m, int i) {
  const form::Control& back = m.form("shpBarB", i);
  int percent = training::barPercent(store::Val(m.form("lblTotal", i).caption()), m.notes.TrainingTarget[i - 1]);
  auto g = training::barGeometry(percent, back.top(), back.height());
  form::Control& bar = m.form("shpBarK", i);
  bar.setHeight(g.height);
  bar.setTop(g.top);
}

void ShowTrainingTotal(frmMain& m, int i) {
  m.form("lblTotal", i).setCaption(training::numberText(m.notes.TrainingTotal[i - 1]));
}

void scrollToEnd(form::Control& list) {
  if (list.listCount() > 0) list.setTopIndex(list.listCount() - 1);
}

// A note is its own line: moved, not copied, so a long list is held once.
std::string noteLine(std::string&& note) { return std::move(note); }

ListFile readOpenedTrainingFile(store::OpenedFile& file) {
  ListFile f{file.name(), {}, 0, 0, {}};
  store::RecordReader r(file, store::kBusyLogLimit);
  const training::LogSummary log = training::summariseLog(r);
  f.entries = log.entries;
  f.total = log.total;
  f.bytes = r.bytes();
  return f;
}

ListFile readOpenedMemoFile(store::OpenedFile& file) {
  ListFile f{file.name(), {}, 0, 0, {}};
  store::RecordReader r(file, store::kBusyLogLimit);
  f.entries = memo::countNotes(r);
  f.bytes = r.bytes();
  return f;
}

ListFile readOpenedNutritionFile(store::OpenedFile& file) {
  ListFile f{file.name(), {}, 0, 0, {}};
  store::RecordReader r(file, store::kDailyLogLimit);
  f.ticks = nutrition::readTicks(r);
  f.entries = static_cast<int>(f.ticks.size());
  f.bytes = r.bytes();
  return f;
}

ListFile readTrainingFile(int i) {
  store::OpenedFile file(training::logFileName(i));
  return readOpenedTrainingFile(file);
}

ListFile readMemoFile(int i) {
  store::OpenedFile file(memo::listFileName(i));
  return readOpenedMemoFile(file);
}

ListFile readNutritionFile() {
  store::OpenedFile file(nutrition::kNutritionFile);
  return readOpenedNutritionFile(file);
}

template <class Read>
auto readEach(int count, Read read) {
  std::vector<ListFile> files;
  for (int i = 1; i <= count; ++i) files.push_back(read(i));
  return files;
}

// A log checked at start-up goes into its list when the list is first read (shown, dumped or
// chosen from), parsed then by `parse` from the bytes read at start-up.
template <class Parse, class Line>
void addLinesParsedLater(form::Control& list, const ListFile& checked, Parse parse, Line line) {
  using Entries = decltype(parse(std::declval<store::RecordReader&>()));
  struct Log {
    std::string file;
    std::shared_ptr<const std::string> bytes;
    Entries entries;
  };
  auto log = std::make_shared<Log>(Log{checked.file, checked.bytes, {}});
  list.addItemsLater(checked.entries, [log, parse, line](int i) {
    if (log->bytes) {
      store::RecordReader r(log->file, std::move(log->bytes));
      log->entries = parse(r);
      log->bytes.reset();
    }
    // Each entry is made into its line once: it may go into the line rather than be copied.
    return line(std::move(log->entries[static_cast<size_t>(i)]));
  });
}

// Exercise i's log into its list, its total counted.
void applyTrainingFile(frmMain& m, form::Control& list, int i, const ListFile& log) {
  m.notes.TrainingTotal[i - 1] = log.total;
  addLinesParsedLater(
      list, log, [](store::RecordReader& again) { return training::readLog(again); }, training::entryLine);
}

void loadTrainingEntries(frmMain& m, form::Control& list, int i) { applyTrainingFile(m, list, i, readTrainingFile(i)); }

void txtKin_KeyPress(frmMain& m, int i, std::string& key) {
  if (m.SampleMode) {
    profile::ShowSampleModeRefusal(m.dialogs);
    return;
  }
  if (key != "\r") return;
  key.clear();
  form::Control& box = m.form("txtKin", i);
  const std::string typed = box.text();
  if (auto refusal = training::countRefusal(typed)) {
    m.dialogs.MsgBox(*refusal, kMessageTitle, form::Icon::Error, form::Buttons::OK);
    return;
  }
  training::TrainingEntry entry{store::formatDate(m.clock.today()), store::ValTyped(typed)};
  try {
    m.Undoable(words::dayRecord(entry.date, m.notes.TrainingTitle[i - 1],
                                training::numberText(entry.count) + words::kTimesUnit) +
                   words::kEntered,
               {training::logFileName(i)}, [&] { training::appendEntry(training::logFileName(i), entry); });
  } catch (const store::StoreError& e) {
    m.ShowFailure(e);
    return;
  }
  form::Control& list = m.form("lstKin", i);
  list.addItem(training::entryLine(entry));
  scrollToEnd(list);
  m.notes.TrainingTotal[i - 1] += entry.count;
  ShowTrainingTotal(m, i);
  UpdateTrainingBar(m, i);
  box.setText("");
}

std::vector<training::ExerciseTitle> currentTitles(const frmMain& m) {
  std::vector<training::ExerciseTitle> titles(training::kExerciseCount);
  for (int k = 0; k < training::kExerciseCount; ++k) titles[k] = {m.notes.TrainingTitle[k], m.notes.TrainingTarget[k]};
  return titles;
}

void refuseTarget(frmMain& m, const std::string& text) {
  m.dialogs.MsgBox(text, kMessageTitle, form::Icon::Error, form::Buttons::OK);
}

void fraKin_DblClick(frmMain& m, int i) {
  // A new exercise starts with an empty history: say so before anything is lost.
  if (const int records = m.form("lstKin", i).listCount(); records > 0) {
    const std::string question = words::confirmTrainingRename(m.notes.TrainingTitle[i - 1], records);
    if (m.dialogs.MsgBoxDefaultSecond(question, m.form.title(), form::Icon::Warning, form::Buttons::OKCancel) !=
        form::Answer::OK)
      return;
  }
  auto title = m.dialogs.InputBox(listPrompt(i, " の題目を入力して下さい"), "題目変更", "");
  if (!title || title->empty() || refuseUnstorable(m, *title)) return;
  std::string& memoryTitle = m.notes.TrainingTitle[i - 1];
  const std::string oldTitle = memoryTitle;
  // Taken at once: a cancelled target leaves it in memory only, for the next rewrite.
  memoryTitle = *title;

  auto answer = m.dialogs.InputBox(listPrompt(i, " の目標数を入力して下さい"), "目標数変更", "");
  if (!answer || answer->empty()) return;
  auto target = store::parseNumberField(store::asciiNumberText(*answer));
  if (!target || !(*target > 0) || !store::isFinite(*target)) {
    memoryTitle = oldTitle;
    refuseTarget(m, words::targetRefusedRenameCancelled());
    return;
  }
  double& memoryTarget = m.notes.TrainingTarget[i - 1];
  const double oldTarget = memoryTarget;
  memoryTarget = *target;
  // The titles and the emptied log are one step on disk, and one to take back.
  auto before = store::UndoJournal::images({training::kTitlesFile, training::logFileName(i)});
  const std::string what = words::trainingRename(oldTitle, memoryTitle);
  try {
    training::writeRename(currentTitles(m), i);
  } catch (const store::StoreError& e) {
    memoryTitle = oldTitle;
    memoryTarget = oldTarget;
    m.ShowFailure(e);
    return;
  }
  trainingFrame(m, i).setCaption(training::frameCaption(memoryTitle, memoryTarget));
  m.Journal.commit(what, std::move(before));
  m.form("lstKin", i).clearItems();
  m.form("shpBarK", i).setHeight(0);
  const form::Control& back = m.form("shpBarB", i);
  m.form("shpBarK", i).setTop(back.top() + back.height());
  m.form("lblTotal", i).setCaption("0");
  m.notes.TrainingTotal[i - 1] = 0;
}

void lblTotal_DblClick(frmMain& m, int i) {
  auto answer = m.dialogs.InputBox(listPrompt(i, " の目標値を入力して下さい"), "目標値変更", "");
  if (!answer || answer->empty()) return;
  double target = store::ValTyped(*answer);
  if (!(target > 0) || !store::isFinite(target)) {
    refuseTarget(m, words::positiveRefused("目標値"));
    return;
  }
  double& memoryTarget = m.notes.TrainingTarget[i - 1];
  const double oldTarget = memoryTarget;
  memoryTarget = target;
  try {
    training::writeTitles(currentTitles(m));
  } catch (const store::StoreError& e) {
    memoryTarget = oldTarget;
    m.ShowFailure(e);
    return;
  }
  trainingFrame(m, i).setCaption(training::frameCaption(m.notes.TrainingTitle[i - 1], target, true));
  UpdateTrainingBar(m, i);
}

// ---------------------------------------------------------------- memo lists

void List5_MouseUp(frmMain& m, int i) {
  // The focus handler has already refused; a click must not add to the sample data.
  if (m.SampleMode) return;
  auto answer = m.dialogs.InputBox(listPrompt(i, " に登録する内容を入力して下さい"), "新規リスト登録", "");
  if (!answer || answer->empty() || refuseUnstorable(m, *answer)) return;
  std::string note = i == memo::kDatedList ? memo::datedNote(m.SelectedDateText(), *answer) : *answer;
  try {
    m.Undoable(words::memoNote(note) + words::kEntered, {memo::listFileName(i)},
               [&] { memo::appendNote(memo::listFileName(i), note); });
  } catch (const store::StoreError& e) {
    m.ShowFailure(e);
    return;
  }
  form::Control& list = m.form("List5", i);
  list.addItem(note);
  scrollToEnd(list);
}

void fraDaimoku_DblClick(frmMain& m, int i) {
  auto title = m.dialogs.InputBox(listPrompt(i, " の題目を入力して下さい"), "題目変更", "");
  if (!title || title->empty() || refuseUnstorable(m, *title)) return;
  std::vector<std::string> titles;
  for (int k = 1; k <= memo::kListCount; ++k) titles.push_back(k == i ? *title : m.form("fraDaimoku", k).caption());
  try {
    memo::writeTitles(titles);
  } catch (const store::StoreError& e) {
    m.ShowFailure(e);
    return;
  }
  m.form("fraDaimoku", i).setCaption(*title);
}

void List5_GotFocus(frmMain& m) {
  if (!m.SampleMode) return;
  profile::ShowSampleModeRefusal(m.dialogs);
  m.SetFocus("cmdMain");
}

// ---------------------------------------------------------------- corrections

void trainingMenu(frmMain& m, int i, int item, const std::string& action) {
  if (RefusedInSampleMode(m)) return;
  const std::string file = training::logFileName(i);
  std::vector<training::TrainingEntry> entries = training::readLog(file);
  if (item < 0 || item >= static_cast<int>(entries.size())) return;
  const training::TrainingEntry old = entries[item];
  const std::string name = words::dayName(old.date, m.notes.TrainingTitle[i - 1]);
  const std::string what =
      words::dayRecord(old.date, m.notes.TrainingTitle[i - 1], training::numberText(old.count) + words::kTimesUnit);
  if (action == kDeleteAction) {
    if (!ConfirmDeletion(m, what)) return;
    entries.erase(entries.begin() + item);
    StoreChange(m, file, what + words::kDeleted, [&] { training::writeLog(file, entries); });
    return;
  }
  auto answer = AskCorrection(m, words::correctionPrompt(name + words::kCountOf, words::kTimesUnit),
                              training::numberText(old.count));
  if (!answer) return;
  if (auto refusal = training::countRefusal(*answer))
    return (void)m.dialogs.MsgBox(*refusal, kMessageTitle, form::Icon::Error, form::Buttons::OK);
  entries[item].count = store::ValTyped(*answer);
  StoreChange(m, file, what + words::kCorrected, [&] { training::writeLog(file, entries); });
}

// A day's checklist can only go as a whole; a wrong tick is put right by saving the day again.
void nutritionMenu(frmMain& m, int item) {
  if (RefusedInSampleMode(m)) return;
  std::vector<nutrition::NutritionRecord> records = nutrition::readNutritionLog();
  if (item < 0 || item >= static_cast<int>(records.size())) return;
  const std::string what = words::checklistDay(records[item].date);
  if (!ConfirmDeletion(m, what)) return;
  records.erase(records.begin() + item);
  StoreChange(m, nutrition::kNutritionFile, what + words::kDeleted, [&] { nutrition::writeNutritionLog(records); });
}

void memoMenu(frmMain& m, int i, int item, const std::string& action) {
  if (RefusedInSampleMode(m)) return;
  const std::string file = memo::listFileName(i);
  std::vector<std::string> notes = memo::readNotes(file);
  if (item < 0 || item >= static_cast<int>(notes.size())) return;
  const std::string what = words::memoNote(notes[item]);
  if (action == kDeleteAction) {
    if (!ConfirmDeletion(m, what)) return;
    notes.erase(notes.begin() + item);
    StoreChange(m, file, what + words::kDeleted, [&] { memo::writeNotes(file, notes); });
    return;
  }
  auto answer = AskCorrection(m, words::correctionPrompt("メモ", ""), notes[item]);
  if (!answer || refuseUnstorable(m, *answer)) return;
  notes[item] = *answer;
  StoreChange(m, file, what + words::kCorrected, [&] { memo::writeNotes(file, notes); });
}

}  // namespace

// ---------------------------------------------------------------- start-up

NotesFiles ReadNotesAhead(ReadAhead& ahead) {
  NotesFiles f;
  f.nutrition = ahead.sharedFile(nutrition::kNutritionFile, readOpenedNutritionFile);
  for (int i = 1; i <= memo::kListCount; ++i)
    f.memo.push_back(ahead.sharedFile(memo::listFileName(i), readOpenedMemoFile));
  for (int i = 1; i <= training::kExerciseCount; ++i)
    f.training.push_back(ahead.sharedFile(training::logFileName(i), readOpenedTrainingFile));
  return f;
}

void LoadMemoTitles(frmMain& m) {
  auto titles = memo::readTitles();
  for (int i = 1; i <= memo::kListCount; ++i) m.form("fraDaimoku", i).setCaption(titles[i - 1]);
}

void LoadTrainingTitles(frmMain& m) {
  auto titles = training::readTitles();
  for (int i = 1; i <= training::kExerciseCount; ++i) {
    m.notes.TrainingTitle[i - 1] = titles[i - 1].title;
    m.notes.TrainingTarget[i - 1] = titles[i - 1].target;
    trainingFrame(m, i).setCaption(training::frameCaption(titles[i - 1].title, titles[i - 1].target));
  }
}

namespace {
void applyNutritionFile(frmMain& m, const ListFile& log) {
  form::Control& history = m.form("List6");
  form::Control& lacking = m.form("List7");
  history.clearItems();
  lacking.clearItems();
  auto shares = nutrition::analyseTicks(log.ticks, m.notes.NutritionShowAll);
  addLinesParsedLater(
      history, log, [](store::RecordReader& again) { return nutrition::readNutritionLog(again); },
      nutrition::historyLine);
  // Without records the bars and figures keep what they showed.
  if (!shares) return;
  for (int g = 0; g < nutrition::kGroupCount; ++g) {
    float percent = shares->percent[g];
    form::Control& bar = m.form("shpEiyoK", g);
    bar.setWidth(nutrition::barWidth(m.form("shpEiyoB", g).width(), percent));
    bar.setFillColor(nutrition::barColour(percent));
    m.form("Label7", g).setCaption(nutrition::percentText(percent));
    if (nutrition::isDeficient(percent)) lacking.addItem(m.form("Check1", g).caption());
  }
  scrollToEnd(history);
  if (lacking.listCount() == 0) lacking.addItem(nutrition::kNothingLacking);
}
}  // namespace

void AnalyseNutrition(frmMain& m) { applyNutritionFile(m, readNutritionFile()); }
void AnalyseNutrition(frmMain& m, const ListFile& log) { applyNutritionFile(m, log); }

namespace {
// Memo list i's notes, checked at start-up and read into the list when it is first shown.
void applyMemoFile(frmMain& m, int i, const ListFile& notes) {
  addLinesParsedLater(
      m.form("List5", i), notes,
      [count = static_cast<size_t>(notes.entries)](store::RecordReader& again) {
        return memo::readNotes(again, count);
      },
      noteLine);
}
void LoadMemoList(frmMain& m, int i) { applyMemoFile(m, i, readMemoFile(i)); }

void applyMemoFiles(frmMain& m, const std::vector<ListFile>& lists) {
  for (int i = 1; i <= memo::kListCount; ++i) applyMemoFile(m, i, lists[static_cast<size_t>(i - 1)]);
  scrollToEnd(m.form("List5", memo::kDatedList));
}
}  // namespace

void LoadMemoLists(frmMain& m) { applyMemoFiles(m, readEach(memo::kListCount, readMemoFile)); }
void LoadMemoLists(frmMain& m, const std::vector<ListFile>& lists) { applyMemoFiles(m, lists); }

void ReloadTrainingLog(frmMain& m, int i) {
  form::Control& list = m.form("lstKin", i);
  list.clearItems();
  loadTrainingEntries(m, list, i);
  ShowTrainingTotal(m, i);
  scrollToEnd(list);
  UpdateTrainingBar(m, i);
}

void ReloadMemoList(frmMain& m, int i) {
  form::Control& list = m.form("List5", i);
  list.clearItems();
  LoadMemoList(m, i);
  scrollToEnd(list);
}

namespace {
void applyTrainingFiles(frmMain& m, const std::vector<ListFile>& logs) {
  for (double& total : m.notes.TrainingTotal) total = 0;
  for (int i = 1; i <= training::kExerciseCount; ++i) {
    form::Control& list = m.form("lstKin", i);
    applyTrainingFile(m, list, i, logs[static_cast<size_t>(i - 1)]);
    ShowTrainingTotal(m, i);
    if (list.listCount() > 0) {
      scrollToEnd(list);
      UpdateTrainingBar(m, i);
    }
  }
}
}  // namespace

void LoadTrainingLogs(frmMain& m) { applyTrainingFiles(m, readEach(training::kExerciseCount, readTrainingFile)); }
void LoadTrainingLogs(frmMain& m, const std::vector<ListFile>& logs) { applyTrainingFiles(m, logs); }

void LoadNutritionAdvice(frmMain& m) {
  form::Control& list = m.form("List11");
  for (const auto& line : nutrition::adviceLines()) list.addItem(line);
}

// ---------------------------------------------------------------- events

void wireNotes(frmMain& m) {
  m.onMenu("lstKin", {kCorrectAction, kDeleteAction},
           [&m](int i, int item, const std::string& action) { trainingMenu(m, i, item, action); });
  m.onDblClick("lstKin", [&m](int i) { trainingMenu(m, i, m.form("lstKin", i).listIndex(), kCorrectAction); });
  m.onMenu("List5", {kCorrectAction, kDeleteAction},
           [&m](int i, int item, const std::string& action) { memoMenu(m, i, item, action); });
  m.onMenu("List6", {kDeleteAction}, [&m](int, int item, const std::string&) { nutritionMenu(m, item); });
  m.onClick("Command3", [&m](int) { Command3_Click(m); });
  m.onClick("Option3", [&m](int index) {
    m.notes.NutritionShowAll = index != 0;
    AnalyseNutrition(m);
  });
  m.onKeyPress("txtKin", [&m](int index, std::string& key) { txtKin_KeyPress(m, index, key); });
  m.onDblClick("fraKin", [&m](int index) { fraKin_DblClick(m, index); });
  m.onDblClick("lblTotal", [&m](int index) { lblTotal_DblClick(m, index); });
  m.onMouseUp("List5", [&m](int index) { List5_MouseUp(m, index); });
  m.onDblClick("fraDaimoku", [&m](int index) { fraDaimoku_DblClick(m, index); });
  m.onGotFocus("List5", [&m](int) { List5_GotFocus(m); });
}

void dumpNotes(const frmMain& m, StateDump& d) {
  d.add("TrainingTitle", m.notes.TrainingTitle);
  d.add("TrainingTarget", m.notes.TrainingTarget);
  d.add("TrainingTotal", m.notes.TrainingTotal);
  d.add("NutritionShowAll", m.notes.NutritionShowAll);
}

}  // namespace app
