#include "app/corrections.h"

#include <cmath>

#include "app/frmMain.h"
#include "calendar/lazy_calendar.h"
#include "diary/calorie_items.h"
#include "memo/memo.h"
#include "nutrition/nutrition.h"
#include "records/body_fat.h"
#include "records/intraday.h"
#include "records/steps.h"
#include "records/weight_entry.h"
#include "records/weight_log.h"
#include "store/numbers.h"
#include "store/record.h"
#include "training/training.h"
#include "words/messages.h"

namespace app {

void ReloadAfterFileChange(frmMain& m, const std::string& fileName) {
  if (fileName == records::kWeightFile || fileName == records::kFilledFile) return RecomputeAfterWeightChange(m);
  if (fileName == records::kBodyFatFile) {
    // A table or chart never keeps a row of a record that is gone.
    m.form("msgShiList").setGridRows(1);
    m.form("msgSuiList").setGridRows(1);
    LoadBodyFatLog(m);
    DrawBodyFatCharts(m);
    return ShowBodyFatProgress(m);
  }
  if (fileName == records::kStepFile) {
    m.form("msgHosuList").setGridRows(1);
    LoadStepLog(m);
    DrawStepChart(m);
    return ShowWalkingProgress(m);
  }
  if (fileName == records::kIntradayFile) {
    m.form("msgTaiList").setGridRows(1);
    LoadIntradayWeightLog(m);
    return DrawIntradayWeightChart(m);
  }
  if (fileName == m.setup.CalendarFileName) {
    LoadCalendarMonth(m);
    return ShowAchievementRate(m);
  }
  for (int i = 1; i <= training::kExerciseCount; ++i)
    if (fileName == training::logFileName(i)) return ReloadTrainingLog(m, i);
  if (fileName == training::kTitlesFile) return LoadTrainingTitles(m);
  for (int i = 1; i <= memo::kListCount; ++i)
    if (fileName == memo::listFileName(i)) return ReloadMemoList(m, i);
  if (fileName == nutrition::kNutritionFile) return AnalyseNutrition(m);
  if (fileName == diary::kCalorieItemsFile) {
    // A change to one list must not scroll the other two.
    int tops[diary::kItemLists];
    for (int i = 0; i < diary::kItemLists; ++i) {
      tops[i] = m.form("List10", i).topIndex();
      m.form("List10", i).clearItems();
    }
    LoadCalorieItems(m);
    for (int i = 0; i < diary::kItemLists; ++i) m.form("List10", i).setTopIndex(tops[i]);
    return;
  }
}

std::optional<std::string> AskCorrection(frmMain& m, const std::string& prompt, const std::string& stored) {
  auto answer = m.dialogs.InputBox(prompt, kCorrectionTitle, stored);
  if (!answer || answer->empty()) return std::nullopt;
  return answer;
}

bool ConfirmDeletion(frmMain& m, const std::string& what) {
  return m.dialogs.MsgBoxDefaultSecond(words::confirmDeletion(what), m.form.title(), form::Icon::Warning,
                                       form::Buttons::OKCancel) == form::Answer::OK;
}

ReplaceAnswer AskReplace(frmMain& m, const std::string& dateText) {
  const std::string monthDay = dateText.size() >= 10 ? dateText.substr(5, 5) : dateText;
  switch (
      m.dialogs.MsgBox(words::askReplace(monthDay), m.form.title(), form::Icon::Question, form::Buttons::YesNoCancel)) {
    case form::Answer::Yes: return ReplaceAnswer::Replace;
    case form::Answer::No: return ReplaceAnswer::Add;
    default: return ReplaceAnswer::Cancel;
  }
}

bool StoreChange(frmMain& m, const std::string& file, const std::string& what, const std::function<void()>& write) {
  try {
    m.Undoable(what, {file}, write);
  } catch (const store::StoreError& e) {
    m.form.setBusy(false);
    m.ShowFailure(e);
    return false;
  }
  m.WithHourglass([&] { ReloadAfterFileChange(m, file); });
  return true;
}

bool ConfirmLikelyValue(frmMain& m, const std::string& earlier, double before, double now, bool fat) {
  if (!(fat ? records::UnlikelyFat(before, now) : records::UnlikelyWeight(before, now))) return true;
  const std::optional<store::Date> day = store::parseDate(earlier);
  const std::string monthDay = day ? store::formatDate(*day).substr(5) : earlier;
  const char* unit = fat ? "%" : "Kg";
  const std::string text = words::askUnlikelyChange(
      monthDay, store::formatNumber(store::singleDecimalValue(static_cast<float>(before)), "0.0") + unit,
      store::formatNumber(std::fabs(std::round(now * 100) - std::round(before * 100)) / 100, "0.0") + unit,
      now > before, fat ? "体脂肪率" : "体重");
  return m.dialogs.MsgBoxDefaultSecond(text, m.form.title(), form::Icon::Question, form::Buttons::YesNo) ==
         form::Answer::Yes;
}

bool RefusedInSampleMode(frmMain& m) {
  if (!m.SampleMode) return false;
  profile::ShowSampleModeRefusal(m.dialogs);
  return true;
}

// ---------------------------------------------------------------- undo

void frmMain::Undoable(const std::string& what, const std::vector<std::string>& files,
                       const std::function<void()>& change) {
  std::vector<store::FileImage> before = store::UndoJournal::images(files);
  change();
  Journal.commit(what, std::move(before));
}

void frmMain::UndoLastChange() {
  if (Journal.depth() == 0) {
    dialogs.MsgBox(words::kNothingToUndo, form.title(), form::Icon::Information, form::Buttons::OK);
    return;
  }
  if (dialogs.MsgBox(words::confirmUndo(Journal.lastDescription()), form.title(), form::Icon::Question,
                     form::Buttons::YesNo) != form::Answer::Yes)
    return;
  std::vector<std::string> files;
  try {
    files = Journal.undo();
  } catch (const store::StoreError& e) {
    return ShowFailure(e);
  }
  WithHourglass([&] {
    for (const auto& f : files) ReloadAfterFileChange(*this, f);
  });
}

}  // namespace app
