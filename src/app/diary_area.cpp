#include "app/diary_area.h"

#include <array>
#include <memory>

#include "app/corrections.h"
#include "app/frmMain.h"
#include "diary/calorie_items.h"
#include "diary/day_diary.h"
#include "store/cp932.h"
#include "store/record.h"
#include "words/messages.h"

namespace app {
namespace {

constexpr form::Color kWarningRed = 0xFF0000;

form::Control& dayList(frmMain& m, int list) {
  return list == diary::kExerciseList ? m.form("List9") : m.form("List8", list);
}

void warn(frmMain& m, const std::string& text, const std::string& title) {
  m.dialogs.MsgBox(text, title, form::Icon::Warning, form::Buttons::OK);
}

void refuseInSampleMode(frmMain& m) {
  if (!m.SampleMode) return;
  profile::ShowSampleModeRefusal(m.dialogs);
  m.SetFocus("cmdMain");
}

// Adds `calories` to the day's intake or exercise when every figure still fits; false after
// telling the user why not.
bool checkedChange(frmMain& m, int list, int calories) {
  diary::CalorieBalance next{m.diary.IntakeTotal, m.diary.ExerciseTotal, m.Profile.TargetCalories};
  (list == diary::kExerciseList ? next.exercise : next.intake) += calories;
  if (next.fits()) return true;
  warn(m, words::calorieTotalTooLarge(calories >= 0), "カロリー計算");
  return false;
}

void addToDay(frmMain& m, int list, const std::string& entry, int calories) {
  if (!checkedChange(m, list, calories)) return;
  dayList(m, list).addItem(entry);
  ShowCalorieBalance(m);
}

// ---- registered items

void Command2_Click(frmMain& m, int index) {
  auto name = m.dialogs.InputBox(m.form("Command2", index).caption() + "リストに登録する名称を入力してください",
                                 "名称入力", "");
  if (!name || name->empty()) return;
  if (auto problem = diary::itemNameProblem(*name)) return warn(m, *problem, "名称入力");
  auto answer = m.dialogs.InputBox("カロリー数を入力してださい(半角英数で)", "カロリー入力", "");
  if (!answer || answer->empty()) return;
  auto calories = diary::caloriesFromAnswer(*answer);
  if (!calories) return warn(m, words::kCaloriesOutOfRange, "カロリー入力");
  const std::string entry = diary::CalorieItemEntry(*name, *calories);
  if (!StoreChange(m, diary::kCalorieItemsFile, words::registeredItem(entry) + words::kEntered,
                   [&] { diary::appendCalorieItem(index, *name, *calories); }))
    return;
  form::Control& list = m.form("List10", index);
  list.setTopIndex(list.listCount() - 1);
}

// Correcting asks the name, then the calories, each with its stored value and the checks of a
// new item; the item keeps its place in its list.
void List10_Menu(frmMain& m, int list, int item, const std::string& action) {
  if (RefusedInSampleMode(m)) return;
  std::vector<diary::RegisteredItem> items = diary::readCalorieItems();
  std::vector<size_t> ofList;
  for (size_t k = 0; k < items.size(); ++k)
    if (items[k].list == list) ofList.push_back(k);
  if (item < 0 || item >= static_cast<int>(ofList.size())) return;
  diary::RegisteredItem& chosen = items[ofList[item]];
  const std::string what = words::registeredItem(chosen.entry);
  if (action == kDeleteAction) {
    if (!ConfirmDeletion(m, what)) return;
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(ofList[item]));
  } else {
    auto name = AskCorrection(m, words::correctionPrompt(what + words::kItemName, ""), diary::entryName(chosen.entry));
    if (!name) return;
    if (auto problem = diary::itemNameProblem(*name)) return warn(m, *problem, kCorrectionTitle);
    const int stored = diary::entryCalories(chosen.entry).value_or(0);
    auto answer = AskCorrection(m, words::correctionPrompt(words::itemCalories(*name), "Kcal"), std::to_string(stored));
    if (!answer) return;
    auto calories = diary::caloriesFromAnswer(*answer);
    if (!calories) return warn(m, words::kCaloriesOutOfRange, kCorrectionTitle);
    chosen.entry = diary::CalorieItemEntry(*name, *calories);
  }
  StoreChange(m, diary::kCalorieItemsFile, what + (action == kDeleteAction ? words::kDeleted : words::kCorrected),
              [&] { diary::writeCalorieItems(items); });
}

// ---- the day's lists

void DirectEntry(frmMain& m, int list, const char* prompt, const char* title) {
  auto name = m.dialogs.InputBox(prompt, title, "");
  if (!name || name->empty()) return;
  if (auto problem = diary::itemNameProblem(*name)) return warn(m, *problem, title);
  auto answer = m.dialogs.InputBox("カロリー数を入力してださい(半角英数で)\r\n\r\n（必ずしも入力する必要はありません）",
                                   "カロリー入力", "");
  int16_t calories = 0;
  if (answer && !answer->empty()) {
    auto typed = diary::caloriesFromAnswer(*answer);
    if (!typed) return warn(m, words::kCaloriesOutOfRange, "カロリー入力");
    calories = *typed;
  }
  addToDay(m, list, diary::CalorieItemEntry(*name, calories), calories);
}

// A drop onto meal list `list` (0..2) or the exercise list. Only the registered lists are drag
// sources; the entry comes from the list clicked last, as its selection.
void DayList_DragDrop(frmMain& m, int list, const std::string& source) {
  if (splitControlName(source).first != "List10" || !m.diary.DragSourceList) return;
  int from = *m.diary.DragSourceList;
  bool exerciseItem = from == diary::kExerciseItems;
  if (exerciseItem != (list == diary::kExerciseList)) return;
  const form::Control& src = m.form("List10", from);
  if (src.listIndex() < 0) return;
  const std::string entry = src.items()[src.listIndex()];
  auto calories = diary::entryCalories(entry);
  if (!calories) return;
  addToDay(m, list, entry, *calories);
}

void DayList_DblClick(frmMain& m, int list) {
  form::Control& c = dayList(m, list);
  if (c.listIndex() < 0) return;
  auto calories = diary::entryCalories(c.items()[c.listIndex()]).value_or(0);
  if (!checkedChange(m, list, -calories)) return;
  c.removeItem(c.listIndex());
  ShowCalorieBalance(m);
}

// Enter on a registered item adds it to the day as a drop would: an exercise to the exercise
// list, food and drink to the meal the user names.
void List10_Key(frmMain& m, int from, const std::string& key) {
  if (key != "Enter" || m.form("List10", from).listIndex() < 0) return;
  m.diary.DragSourceList = from;
  const std::string source = form::arrayName("List10", from);
  if (from == diary::kExerciseItems) return DayList_DragDrop(m, diary::kExerciseList, source);
  auto answer = m.dialogs.InputBox(words::kChooseMealPrompt, words::kMealChoiceTitle, "1");
  if (!answer) return;
  // The number typed in either width.
  const char* meals[][2] = {{"1", "１"}, {"2", "２"}, {"3", "３"}};
  for (int meal = 0; meal < 3; ++meal)
    if (*answer == meals[meal][0] || *answer == meals[meal][1]) return DayList_DragDrop(m, meal, source);
  warn(m, words::kChooseMeal, words::kMealChoiceTitle);
}

diary::DayLists shownLists(frmMain& m) {
  diary::DayLists lists;
  for (int i = 0; i < diary::kDayLists; ++i) lists[i] = dayList(m, i).items();
  return lists;
}

void rememberShownDay(frmMain& m) {
  m.diary.savedLists = shownLists(m);
  m.diary.savedComment = m.form("txtDiary").text();
}

// Saving a day read only in part would drop what the reading skipped: keep copies, and ask.
bool confirmReplacingPartlyRead(frmMain& m) {
  std::string copies;
  for (const auto& p : m.diary.DayProblems) copies += "「" + diary::backupFileName(p.fileName) + "」";
  const std::string text =
      words::partlyReadDay(static_cast<int>(diary::ReadProblem::total(m.diary.DayProblems)), copies);
  return m.dialogs.MsgBoxDefaultSecond(text, words::kSaveCheckTitle, form::Icon::Warning, form::Buttons::OKCancel) ==
         form::Answer::OK;
}

// True when the day was saved.
bool cmdHozon_Click(frmMain& m) {
  const std::string comment = m.form("txtDiary").text();
  if (auto bad = store::firstUnencodable(comment)) {
    warn(m, words::unstorableChar(*bad), words::kCannotSaveTitle);
    return false;
  }
  if (!m.diary.DayProblems.empty() && !confirmReplacingPartlyRead(m)) return false;
  try {
    if (!m.diary.DayProblems.empty()) diary::backupDayFiles(m.SelectedDateText());
    diary::writeDayDiary(m.SelectedDateText(), shownLists(m), comment, m.diary.KeptRecords);
  } catch (const store::StoreError& e) {
    m.ShowFailure(e);
    return false;
  }
  m.diary.DayProblems.clear();
  rememberShownDay(m);
  m.dialogs.MsgBox("保存しました", "保存終了", form::Icon::Information, form::Buttons::OK);
  return true;
}

// ---- date selector

void VScroll1_Change(frmMain& m) {
  form::Control& bar = m.form("VScroll1");
  const int v = bar.value();
  if (!LeaveDiaryDay(m)) {
    bar.setValue(m.diary.shownScrollValue);  // the selector shows the day again
    return;
  }
  m.diary.shownScrollValue = v;
  const store::Date day = m.ReferenceDate - std::chrono::days(365 - v);
  const std::string text = store::formatDate(day);
  m.form("txtDate").setText(text);
  m.form("lblTai_Date").setCaption(text + "の体重");
  m.form("lblShi_Date").setCaption(text + "の体脂肪率");
  m.form("lblHosu_Date").setCaption(text + "の歩数");
  LoadDayDiary(m);
}

// The date keys on the date box or its scroll bar move the bar, so the date changes through the
// bar's own change handler as a click on its arrows would. Up is one day earlier, as the up arrow.
void DateSelector_Key(frmMain& m, const std::string& key) {
  const form::Control& bar = m.form("VScroll1");
  const int v = bar.value();
  auto valueOf = [&](store::Date day) { return 365 - static_cast<int>((m.ReferenceDate - day).count()); };
  const store::Date selected = m.ReferenceDate - std::chrono::days(365 - v);
  // A month away, on the same day of the month or the month's last day.
  auto monthAway = [&](int months) {
    const std::chrono::year_month_day ymd{selected};
    const std::chrono::year_month target = ymd.year() / ymd.month() + std::chrono::months(months);
    const std::chrono::day last =
        std::chrono::year_month_day_last(target.year(), target.month() / std::chrono::last).day();
    return store::Date(target.year() / target.month() / std::min(ymd.day(), last));
  };
  int next = v;
  if (key == "Up")
    next = v - 1;
  else if (key == "Down")
    next = v + 1;
  else if (key == "PageUp")
    next = valueOf(monthAway(-1));
  else if (key == "PageDown")
    next = valueOf(monthAway(1));
  else if (key == "Home")
    next = valueOf(m.clock.today());
  else
    return;
  m.Scroll("VScroll1", std::clamp(next, bar.min(), bar.max()));
}

}  // namespace

void LoadCalorieItems(frmMain& m) { LoadCalorieItems(m, diary::checkCalorieItems()); }

void LoadCalorieItems(frmMain& m, const diary::CheckedItems& checked) {
  // The entries are made when a list is first read (shown, dumped or chosen from), all three
  // lists' at once from the bytes checked at start-up.
  struct Items {
    diary::CheckedItems checked;
    std::array<std::vector<std::string>, diary::kItemLists> entries;
  };
  auto items = std::make_shared<Items>(Items{checked, {}});
  for (int list = 0; list < diary::kItemLists; ++list) {
    form::Control& box = m.form("List10", list);
    const int first = box.listCount();
    box.addItemsLater(checked.counts[static_cast<size_t>(list)], [items, list, first](int i) {
      if (items->checked.bytes) {
        store::RecordReader again(items->checked.file, std::move(items->checked.bytes));
        for (diary::RegisteredItem& item : diary::readCalorieItems(again))
          items->entries[static_cast<size_t>(item.list)].push_back(std::move(item.entry));
        items->checked.bytes.reset();
      }
      // Each entry is asked for once: it may go rather than be copied.
      return std::move(items->entries[static_cast<size_t>(list)][static_cast<size_t>(i - first)]);
    });
  }
}

void ShowCalorieBalance(frmMain& m) {
  // The totals always describe the lists on screen, also after the display was cleared.
  diary::CalorieBalance b{0, 0, m.Profile.TargetCalories};
  for (int list = 0; list < diary::kDayLists; ++list)
    for (const auto& entry : dayList(m, list).items())
      (list == diary::kExerciseList ? b.exercise : b.intake) += diary::entryCalories(entry).value_or(0);
  m.diary.IntakeTotal = b.intake;
  m.diary.ExerciseTotal = b.exercise;
  m.form("Label9", 15).setCaption(std::to_string(b.intake));
  m.form("Label9", 16).setCaption(std::to_string(b.exercise));
  m.form("Label9", 17).setCaption(std::to_string(b.balance()));
  m.form("Label9", 22).setCaption(diary::differenceText(b.difference()));
  // The heading turns red while the balance is below the target, as the target's prompt says.
  m.form("Label16", 3).setForeColor(b.difference() < 0 ? std::optional<form::Color>(kWarningRed) : std::nullopt);
}

void LoadDayDiary(frmMain& m) {
  diary::DayDiary day = diary::readDayDiary(m.SelectedDateText());
  for (int list = 0; list < diary::kDayLists; ++list) {
    form::Control& c = dayList(m, list);
    c.clearItems();
    for (const auto& entry : day.lists[list]) c.addItem(entry);
  }
  ShowCalorieBalance(m);
  m.form("txtDiary").setText(day.comment);
  rememberShownDay(m);
  m.diary.DayProblems = std::move(day.problems);
  m.diary.KeptRecords = std::move(day.kept);
  if (!m.diary.DayProblems.empty()) {
    std::string text;
    for (const auto& p : m.diary.DayProblems) text += p.message + "\n";
    m.dialogs.MsgBox(words::dayReadInPart(text), words::kDayReadTitle, form::Icon::Warning, form::Buttons::OK);
  }
}

bool LeaveDiaryDay(frmMain& m) {
  if (m.Loading || m.SampleMode) return true;
  if (shownLists(m) == m.diary.savedLists && m.form("txtDiary").text() == m.diary.savedComment) return true;
  const std::string day = m.SelectedDateText();
  const std::string monthDay = day.size() >= 10 ? day.substr(5, 5) : day;
  switch (m.dialogs.MsgBox(words::unsavedDiaryDay(monthDay), m.form.title(), form::Icon::Question,
                           form::Buttons::YesNoCancel)) {
    case form::Answer::Yes: return cmdHozon_Click(m);
    case form::Answer::No: return true;
    default: return false;
  }
}

void wireDiary(frmMain& m) {
  m.onClick("Command2", [&m](int i) { Command2_Click(m, i); });
  m.onClick("List10", [&m](int i) { m.diary.DragSourceList = i; });
  m.onGotFocus("List10", [&m](int) { refuseInSampleMode(m); });
  m.onGotFocus("txtDiary", [&m](int) { refuseInSampleMode(m); });

  m.onClick("cmdAsa", [&m](int) { DirectEntry(m, 0, "朝に食した品目を入力してください", "品目入力"); });
  m.onClick("cmdHiru", [&m](int) { DirectEntry(m, 1, "昼に食した品目を入力してください", "品目入力"); });
  m.onClick("cmdYoru", [&m](int) { DirectEntry(m, 2, "夜に食した品目を入力してください", "品目入力"); });
  m.onClick("cmdUndo",
            [&m](int) { DirectEntry(m, diary::kExerciseList, "実施した運動名を入力してください", "運動入力"); });
  m.onDragDrop("List8", [&m](int i, const std::string& source) { DayList_DragDrop(m, i, source); });
  m.onDragDrop("List9", [&m](int, const std::string& source) { DayList_DragDrop(m, diary::kExerciseList, source); });
  m.onDblClick("List8", [&m](int i) { DayList_DblClick(m, i); });
  m.onDblClick("List9", [&m](int) { DayList_DblClick(m, diary::kExerciseList); });
  // Delete removes the selected entry as a double-click does.
  m.onKey("List8", [&m](int i, const std::string& key) {
    if (key == "Delete") DayList_DblClick(m, i);
  });
  m.onKey("List9", [&m](int, const std::string& key) {
    if (key == "Delete") DayList_DblClick(m, diary::kExerciseList);
  });
  m.onKey("List10", [&m](int i, const std::string& key) { List10_Key(m, i, key); });
  m.onMenu("List10", {kCorrectAction, kDeleteAction},
           [&m](int i, int item, const std::string& action) { List10_Menu(m, i, item, action); });
  m.onClick("cmdHozon", [&m](int) { cmdHozon_Click(m); });

  m.onChange("VScroll1", [&m](int) { VScroll1_Change(m); });
  m.onKey("txtDate", [&m](int, const std::string& key) { DateSelector_Key(m, key); });
  m.onKey("VScroll1", [&m](int, const std::string& key) { DateSelector_Key(m, key); });
  // The date is chosen with the scroll bar only.
  m.onKeyPress("txtDate", [](int, std::string& key) { key.clear(); });
}

void dumpDiary(const frmMain& m, StateDump& d) {
  d.add("IntakeTotal", m.diary.IntakeTotal);
  d.add("ExerciseTotal", m.diary.ExerciseTotal);
  d.add("DragSourceList", m.diary.DragSourceList);
}

}  // namespace app
