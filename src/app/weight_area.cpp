#include "app/weight_area.h"

#include <algorithm>

#include "analysis/weight_table.h"
#include "app/corrections.h"
#include "app/frmMain.h"
#include "profile/bmi.h"
#include "progress/weight_progress.h"
#include "progress/weight_trend.h"
#include "records/weight_entry.h"
#include "store/numbers.h"
#include "store/record.h"
#include "store/typed_number.h"
#include "words/messages.h"

namespace app {
namespace {

constexpr int kMainTwipsPerBmi = 246;
constexpr int kSetteiTwipsPerBmi = 500;
// Above this a typed weight is a slip of the keyboard, and it would not fit the series' extremes.
constexpr float kHighestWeight = 999.9f;

void showGrade(form::Control& label, const profile::ObesityGrade& g) {
  label.setBackColor(g.color);
  label.setCaption(g.name);
}

void blankGrade(form::Control& label) {
  label.setBackColor(std::nullopt);
  label.setCaption("");
}

void message(frmMain& m, const std::string& text, const std::string& title, form::Icon icon) {
  m.dialogs.MsgBox(text, title, icon, form::Buttons::OK);
}

// What a typed weight may not be; the entry and the correction refuse the same.
std::optional<std::string> weightRefusal(const std::string& text) {
  if (text.empty()) return "入力がまだのようです";
  const double value = store::ValTyped(text);
  if (value <= 0) return "０以下か文字が入力されたようです";
  if (value > kHighestWeight) return words::kHeaviestWeight;
  return std::nullopt;
}

std::string kgText(float kg) { return records::FormatSingle(kg, "0.0") + "Kg"; }

std::vector<store::Record> weightRecords(const records::WeightSeries& s) {
  std::vector<store::Record> out;
  for (int i = 0; i < s.WeightCount; ++i) out.push_back(store::Record().text(s.WeightDate[i]).single(s.WeightKg[i]));
  return out;
}

// A corrected or deleted day that was filled is a filled day no more: both files in one step.
void rewriteWeights(frmMain& m, const std::string& what, const std::vector<store::Record>& records, size_t changed) {
  const records::WeightSeries& s = m.Weight;
  if (!s.isFilled(changed)) {
    StoreChange(m, records::kWeightFile, what, [&] { store::rewriteRecords(records::kWeightFile, records); });
    return;
  }
  std::vector<std::string> filled;
  for (size_t i = 0; i < s.WeightDate.size(); ++i)
    if (i != changed && s.isFilled(i)) filled.push_back(s.WeightDate[i]);
  try {
    m.Undoable(what, {records::kWeightFile, records::kFilledFile}, [&] { records::RewriteWeights(records, filled); });
  } catch (const store::StoreError& e) {
    m.form.setBusy(false);
    m.ShowFailure(e);
    return;
  }
  m.WithHourglass([&m] { RecomputeAfterWeightChange(m); });
}

// Any day's weight can be corrected; the log keeps one record a day without holes.
void correctWeight(frmMain& m, int record) {
  const records::WeightSeries& s = m.Weight;
  if (record < 0 || record >= s.WeightCount || RefusedInSampleMode(m)) return;
  const std::string& date = s.WeightDate[record];
  auto answer = AskCorrection(m, words::correctionPrompt(words::dayName(date, "体重"), "Kg"),
                              store::shortestSingle(s.WeightKg[record]));
  if (!answer) return;
  if (auto refusal = weightRefusal(*answer)) return message(m, *refusal, "メッセージ", form::Icon::Error);
  const float kg = static_cast<float>(store::ValTyped(*answer));
  if (record > 0 && !ConfirmLikelyValue(m, s.WeightDate[record - 1], s.WeightKg[record - 1], kg, false)) return;
  std::vector<store::Record> records = weightRecords(s);
  records[record] = store::Record().text(date).single(kg);
  rewriteWeights(m, words::dayRecord(date, "体重", kgText(s.WeightKg[record])) + words::kCorrected, records,
                 static_cast<size_t>(record));
}

// Only the last day can go: a hole in the middle would break the one-record-a-day log.
void deleteWeight(frmMain& m, int record) {
  const records::WeightSeries& s = m.Weight;
  if (record < 0 || record >= s.WeightCount || RefusedInSampleMode(m)) return;
  if (record != s.WeightCount - 1) return message(m, words::kMiddleWeightDeletion, m.form.title(), form::Icon::Warning);
  const std::string what = words::dayRecord(s.WeightDate[record], "体重", kgText(s.WeightKg[record]));
  if (!ConfirmDeletion(m, what)) return;
  std::vector<store::Record> records = weightRecords(s);
  records.pop_back();
  rewriteWeights(m, what + words::kDeleted, records, static_cast<size_t>(record));
}

// Off only for the reference the tests and the benchmark compare the appending way with.
bool incrementalEntry = true;

}  // namespace

void SetIncrementalWeightEntry(bool on) { incrementalEntry = on; }

namespace {
// Every view of the weight log, in the order their figures depend on each other.
void showWeightViews(frmMain& m) {
  ShowWeightProgress(m);
  ShowObesityGrade(m);
  ShowWeightTable(m);
  ShowLossMilestones(m);
  ShowRunningAverage(m);
  ShowWeightRanking(m);
  DrawWeightChart(m);
}
}  // namespace

// Everything that follows a change of the weight log, in this order.
namespace {
// What start-up shows before it has read a weight. A change of the log other than an appended
// day starts again from there, so nothing computed from a record that is gone can stay (a
// best-loss caption no longer reached, the figures of a log deleted to its last day).
void blankWeightFigures(frmMain& m) {
  form::Form& f = m.form;
  for (const char* name :
       {"lblStDate",     "lblNowDate", "lblDate_Sa",   "lblStTaijyu",  "lblNowTaijyu", "lblTaijyu_Sa", "lblTaijyu_Zou",
        "lblTai_Zougen", "lblKikanT",  "lblTaiT",      "lblStBmi",     "lblNowBmi",    "lblBmi_Sa",    "lblBmi_Zou",
        "lblHiman",      "lblTai",     "lblHyojun(0)", "lblHyojun(1)", "Label6(0)",    "Label6(1)",    "Label6(2)",
        "Label6(4)",     "Label9(10)", "Label9(11)",   "Label9(12)",   "Label9(13)",   "Label9(14)",   "Label9(25)",
        "Label9(28)",    "Label9(30)", "Label5(0)",    "Label5(1)",    "lblStShibou",  "lblNowShibou", "lblShibou_Sa"})
    f(name).setCaption("");
  blankGrade(f("lblMHyouka"));
  blankGrade(f("lblHyouka"));
  for (const char* bar : {"shpJikanK", "shpTaiK"}) f(bar).setWidth(0);
  f.restoreBuiltState({"Image1", "Image2", "HScroll1"});
  for (const char* grid : {"msgB1", "msgB2", "msgB3", "msgB4"}) f(grid).setGridRows(1);
  f("msgB1").setCell(0, 3, analysis::diffHeader(analysis::DiffMode::FirstDay));  // as the headers start
  for (int column = 1; column <= 4; ++column) f("MSChart1").setSeriesVisible(column, true);
  m.weight = {};
}
}  // namespace

void RecomputeAfterWeightChange(frmMain& m) {
  blankWeightFigures(m);
  InvalidateWeightViews(m);
  // Rows of days that are gone must not stay in the chart.
  m.form("MSChart1").setChartRowCount(0);
  // Extremes anew: a corrected or deleted weight must not stay the record high or low.
  m.Weight.resetExtremes();
  m.analysis.MaxAverageWeight = 0;
  m.analysis.MinAverageWeight = 999.9f;
  LoadWeightLog(m);
  showWeightViews(m);
}

bool RecomputeAfterWeightAppend(frmMain& m, const std::string& date, float kg) {
  records::WeightSeries& s = m.Weight;
  const size_t n = static_cast<size_t>(std::max(0, s.WeightCount));
  // With fewer records the chart and the summaries take their first-record ways.
  if (!incrementalEntry || n < 2 || s.WeightKg.size() != n || s.WeightDate.size() != n || s.WeightDay.size() != n)
    return false;
  // The weight as a load of the file reads it back, and only one the load accepts.
  const std::optional<double> stored = store::parseNumberField(store::shortestSingle(kg));
  const std::optional<store::Date> day = store::parseDate(date);
  if (!stored || !day) return false;
  const float read = static_cast<float>(*stored);
  if (!records::IsLoadableWeight(read)) return false;
  s.WeightDate.push_back(date);
  s.WeightDay.push_back(*day);
  s.WeightKg.push_back(read);
  if (!s.WeightFilled.empty()) s.WeightFilled.push_back(false);
  ++s.WeightCount;
  if (read > s.MaxWeight) s.MaxWeight = read;
  if (read < s.MinWeight) {
    s.MinWeight = read;
    s.MinWeightDate = day;
  }
  showWeightViews(m);
  return true;
}

void LoadWeightLog(frmMain& m) { records::LoadWeightLog(m.Weight); }

void ShowWeightProgress(frmMain& m) {
  form::Form& f = m.form;
  if (m.Weight.WeightCount > 0) {
    const progress::WeightProgress p = progress::computeWeightProgress(
        m.Weight, {m.Profile.ProfileHeight, m.Profile.TargetWeight, m.Profile.TargetPeriod, m.ReferenceDate});
    f("lblStDate").setCaption(p.stDate);
    f("lblNowDate").setCaption(p.nowDate);
    f("lblDate_Sa").setCaption(p.dateSa);
    f("lblStTaijyu").setCaption(p.stTaijyu);
    f("lblNowTaijyu").setCaption(p.nowTaijyu);
    f("lblTaijyu_Sa").setCaption(p.taijyuSa);
    f("lblTaijyu_Zou").setCaption(p.taijyuZou);
    f("lblTai_Zougen").setCaption(p.taiZougen);
    f("Label6", 2).setCaption(p.daysElapsed);

    const int periodBar = f("shpJikanB").width();
    f("shpJikanK").setWidth(p.periodPercent ? periodBar * *p.periodPercent / 100 : 0);
    f("lblKikanT").setCaption(p.periodPercent ? std::to_string(*p.periodPercent) + "%" : "");

    if (m.body.FatCount == 0)
      for (const char* name : {"lblStShibou", "lblNowShibou", "lblShibou_Sa"}) f(name).setCaption("0.0");

    f("lblStBmi").setCaption(p.stBmi);
    f("lblNowBmi").setCaption(p.nowBmi);
    f("lblBmi_Sa").setCaption(p.bmiSa);
    f("lblBmi_Zou").setCaption(p.bmiZou);

    f("Label9", 10).setCaption(p.lossGain);
    f("Label9", 11).setCaption(p.daysLeft);
    f("Label9", 12).setCaption(p.kgLeft);
    f("Label6", 4).setCaption(p.targetLeft);

    const int targetBar = f("shpTaiB").width();
    f("shpTaiK").setWidth(p.targetPercent ? targetBar * *p.targetPercent / 100 : 0);
    f("lblTaiT").setCaption(p.targetPercent ? std::to_string(*p.targetPercent) + "%" : "");

    f("Label6", 1).setCaption(p.obesity);
    f("Label9", 28).setCaption(p.weightText);
    f("Label9", 30).setCaption(p.heightText);

    if (p.todayWeight) f("txtInpTaijyu").setText(*p.todayWeight);
    ShowCalorieBalance(m);
    if (p.forecast) f("Label9", 13).setCaption(*p.forecast);
    if (p.best) f("Label9", 14).setCaption(*p.best);
  }
  ShowWeightTrend(m);
  if (m.body.FatCount != 0) ShowBodyFatProgress(m);
  if (m.body.StepCount != 0) ShowWalkingProgress(m);
}

void ShowWeightTrend(frmMain& m) {
  const records::WeightSeries& s = m.Weight;
  m.weight.WeightTrend = progress::weightTrend(s.WeightKg, s.WeightCount);
  std::optional<progress::TrendForecast> forecast;
  if (s.WeightCount > 0 && static_cast<int>(s.WeightDay.size()) >= s.WeightCount)
    forecast = progress::trendForecast(m.weight.WeightTrend, m.Profile.TargetWeight, s.WeightDay[s.WeightCount - 1]);
  m.form("lblTrend_Yosou").setCaption(progress::trendForecastText(forecast));
  m.form("lblTrend_Shuu").setCaption(progress::trendPerWeekText(m.weight.WeightTrend));
}

void ShowObesityGrade(frmMain& m) {
  const records::WeightSeries& s = m.Weight;
  if (s.WeightCount == 0) return;
  form::Form& f = m.form;
  WeightArea& w = m.weight;
  const std::optional<float> bmi = profile::bmiOf(s.WeightKg[s.WeightCount - 1], m.Profile.ProfileHeight);
  if (!bmi) {
    // No height, no BMI: its figures stay blank and the pointers where they were.
    w.CurrentBmi = 0;
    w.GradeText.clear();
    for (const char* name : {"Label6(0)", "Label9(25)", "lblHyojun(0)", "lblHyojun(1)", "lblHiman"})
      f(name).setCaption("");
    f("lblTai").setCaption(f("Label9", 28).caption());
    blankGrade(f("lblMHyouka"));
    blankGrade(f("lblHyouka"));
    return;
  }
  w.CurrentBmi = *bmi;
  w.PointerBmi = profile::clampToScale(*bmi);
  f("Image1").setLeft(profile::pointerLeft(f("Shape1", 2).left(), w.PointerBmi, kMainTwipsPerBmi));
  f("Image2").setLeft(profile::pointerLeft(f("Shape2", 2).left(), w.PointerBmi, kSetteiTwipsPerBmi));

  w.SliderSetByProgram = true;
  f("HScroll1").setValue(profile::sliderValueOf(w.PointerBmi));
  SimulateBmi(m);
  w.SliderSetByProgram = false;

  const profile::ObesityGrade grade = profile::gradeOf(w.CurrentBmi);
  w.GradeText = grade.name;
  const std::string shown = store::formatNumber(w.CurrentBmi, "0.0");
  f("Label6", 0).setCaption(shown);
  f("Label9", 25).setCaption(shown);
  showGrade(f("lblMHyouka"), grade);
  showGrade(f("lblHyouka"), grade);
}

void SimulateBmi(frmMain& m) {
  if (m.Weight.WeightCount == 0) return;
  form::Form& f = m.form;
  WeightArea& w = m.weight;
  const float height = m.Profile.ProfileHeight;
  w.PointerBmi = static_cast<float>(f("HScroll1").value() / 10.0);
  const std::string shownBmi = store::formatNumber(w.PointerBmi, "0.0");
  if (!w.SliderSetByProgram) {
    const std::optional<double> simulated = profile::weightAtBmi(height, w.PointerBmi);
    f("Label9", 25).setCaption(shownBmi);
    f("Label9", 28).setCaption(simulated ? store::formatNumber(*simulated, "0.0") : "");
  }
  f("Image2").setLeft(profile::pointerLeft(f("Shape2", 2).left(), w.PointerBmi, kSetteiTwipsPerBmi));

  const profile::ObesityGrade grade = profile::gradeOf(w.PointerBmi);
  w.GradeText = grade.name;
  f("Label9", 25).setCaption(shownBmi);
  showGrade(f("lblHyouka"), grade);

  const std::optional<double> standard = profile::standardWeight(height);
  const std::string standardText = standard ? store::formatNumber(*standard, "00.0") : "";
  f("lblHyojun", 0).setCaption(standardText);
  f("lblHyojun", 1).setCaption(standardText);
  f("lblTai").setCaption(f("Label9", 28).caption());
  f("lblHiman")
      .setCaption(
          profile::obesityDegreeText(f("lblTai").caption(), f("lblHyojun", 0).caption(), f("lblHyojun", 1).caption()));
}

void txtInpTaijyu_GotFocus(frmMain& m) {
  if (!m.SampleMode) return;
  profile::ShowSampleModeRefusal(m.dialogs);
  m.SetFocus("cmdMain");
}

void txtInpTaijyu_KeyPress(frmMain& m, std::string& key) {
  if (key != "\r") return;
  // The focus refusal is the usual guard; Enter is checked too so the sample data never grows.
  if (m.SampleMode) {
    profile::ShowSampleModeRefusal(m.dialogs);
    m.SetFocus("cmdMain");
    return;
  }
  const std::string text = m.form("txtInpTaijyu").text();
  if (auto refusal = weightRefusal(text)) {
    message(m, *refusal, "メッセージ", form::Icon::Error);
    return;
  }
  const double value = store::ValTyped(text);
  records::WeightSeries& s = m.Weight;
  if (s.WeightCount >= records::kWeightLimit) {
    message(m, records::dataLimitMessage(), records::kDataLimitTitle, form::Icon::Warning);
    return;
  }
  const std::string dateText = m.SelectedDateText();
  const std::optional<store::Date> day = store::parseDate(dateText);
  if (!day) {
    message(m, words::dateRefused(dateText), "メッセージ", form::Icon::Error);
    return;
  }
  const float kg = static_cast<float>(value);
  const bool first = s.WeightCount == 0;
  std::vector<store::Record> added;
  std::vector<std::string> filledDates;
  if (first) {
    added.push_back(store::Record().text(store::formatDate(*day)).single(kg));
  } else {
    const store::Date last = s.WeightDay.back();
    const int gap = static_cast<int>((*day - last).count());
    if (gap <= 0) {
      message(m, records::notAfterLastMessage(s.WeightDate.back()), form::kDefaultTitle, form::Icon::Error);
      return;
    }
    if (gap >= 2 && records::exceedsLimit(s.WeightCount, gap)) {
      message(m, records::dataLimitMessage(), records::kDataLimitTitle, form::Icon::Warning);
      return;
    }
    // A slip of the keyboard is asked about before the days between are.
    if (!ConfirmLikelyValue(m, s.WeightDate.back(), s.WeightKg.back(), kg, false)) return;
    if (gap >= 2) {
      if (m.dialogs.MsgBox(records::gapFillQuestion(last, *day, s.WeightKg.back()), records::kGapFillTitle,
                           form::Icon::Question, form::Buttons::YesNo) != form::Answer::Yes)
        return;
    }
    added = records::recordsForEntry(last, s.WeightKg.back(), gap, store::formatDate(*day), kg);
    for (int i = 1; i < gap; ++i) filledDates.push_back(store::formatDate(last + std::chrono::days(i)));
  }
  try {
    std::vector<std::string> files{records::kWeightFile};
    if (!filledDates.empty()) files.push_back(records::kFilledFile);
    m.Undoable(words::dayRecord(store::formatDate(*day), "体重", kgText(kg)) + words::kEntered, files,
               [&] { records::AppendWeights(added, filledDates); });
  } catch (const store::StoreError& e) {
    m.ShowFailure(e);
    return;
  }
  if (!first) {
    if (std::optional<std::string> best = records::bestRecordMessage(kg, s.MinWeight)) {
      const bool beaten = kg < s.MinWeight;
      message(m, *best, form::kDefaultTitle, form::Icon::Information);
      if (beaten) ShowLossMilestones(m);
    }
  }
  // A day appended right after the last adds its rows; a filled gap goes the whole way.
  m.WithHourglass([&] {
    if (added.size() != 1 || !RecomputeAfterWeightAppend(m, store::formatDate(*day), kg)) RecomputeAfterWeightChange(m);
  });
}

void wireWeight(frmMain& m) {
  // The day-by-day table lists the log: row r is record r - 1.
  m.onMenu("msgB1", {kCorrectAction, kDeleteAction}, [&m](int, int row, const std::string& action) {
    if (action == kCorrectAction) correctWeight(m, row - 1);
    if (action == kDeleteAction) deleteWeight(m, row - 1);
  });
  m.onDblClick("msgB1", [&m](int) { correctWeight(m, m.form("msgB1").listIndex() - 1); });
  m.onGotFocus("txtInpTaijyu", [&m](int) { txtInpTaijyu_GotFocus(m); });
  m.onKeyPress("txtInpTaijyu", [&m](int, std::string& key) { txtInpTaijyu_KeyPress(m, key); });
  m.onChange("HScroll1", [&m](int) { SimulateBmi(m); });
  m.onScroll("HScroll1", [&m](int) { SimulateBmi(m); });
}

void dumpWeight(const frmMain& m, StateDump& d) {
  d.add("CurrentBmi", m.weight.CurrentBmi);
  d.add("PointerBmi", m.weight.PointerBmi);
  d.add("GradeText", m.weight.GradeText);
  d.add("SliderSetByProgram", m.weight.SliderSetByProgram);
  d.add("WeightTrend", m.weight.WeightTrend);
  d.add("FilledDays", records::FilledDates(m.Weight));
}

}  // namespace app
