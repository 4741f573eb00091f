#include "app/body_area.h"

#include <cmath>
#include <memory>
#include <optional>

#include "app/corrections.h"
#include "app/frmMain.h"
#include "charts/other_charts.h"
#include "progress/body_progress.h"
#include "records/dated_log.h"
#include "store/numbers.h"
#include "store/record.h"
#include "store/typed_number.h"
#include "words/messages.h"

namespace app {

namespace {

// The last row becomes the top visible row; a table too short for that stays as it is.
void scrollToEnd(form::Control& grid) { grid.setTopRow(grid.gridRows() - 1); }

// A log's records one a row, made when the table is first read; the table ends scrolled down.
template <class Log, class Cells>
void listRecordsLater(form::Control& grid, int count, std::shared_ptr<const Log> log, Cells cells) {
  grid.setGridRowsLater(count + 1, 1, [log, cells](int row) { return cells(*log, row - 1); });
  scrollToEnd(grid);
}

void refuse(frmMain& m, const char* text) {
  m.dialogs.MsgBox(text, "メッセージ", form::Icon::Error, form::Buttons::OK);
}

constexpr const char* kEmpty = "入力がまだのようです";
constexpr const char* kNotPositive = "０以下か文字が入力されたようです";
constexpr const char* kZero = "０か文字が入力されたようです";
// A number the log could not read back (beyond single precision or whole 32-bit steps).
constexpr const char* kOutOfRange = words::kOutOfRange;
constexpr const char* kNotNumber = words::kNotNumber;

constexpr double kSingleLimit = 3.4e38;

// The shared start of the three entry fields: sample mode refuses every key, only Enter acts,
// and an empty box is refused. Returns true when the caller should go on with `text`.
bool enterWanted(frmMain& m, std::string& key, const std::string& text) {
  if (m.SampleMode) {
    profile::ShowSampleModeRefusal(m.dialogs);
    key.clear();
    return false;
  }
  if (key != "\r") return false;
  if (text.empty()) {
    refuse(m, kEmpty);
    return false;
  }
  return true;
}

// The selected day as the logs store it. A day typed by hand that is no date is refused (a stray
// quote would break the file), and one written loosely is stored as YYYY/MM/DD so that it
// matches the weight log's text.
std::optional<std::string> entryDate(frmMain& m) {
  const std::string text = m.SelectedDateText();
  if (auto day = store::parseDate(text)) return store::formatDate(*day);
  m.dialogs.MsgBox(words::dateRefused(text), "メッセージ", form::Icon::Error, form::Buttons::OK);
  return std::nullopt;
}

// What a typed value may not be; the entry and the correction refuse the same.
const char* fatRefusal(const std::string& text) {
  if (text.empty()) return kEmpty;
  const double v = store::ValTyped(text);
  if (v <= 0) return kNotPositive;
  if (v > kSingleLimit) return kOutOfRange;
  return nullptr;
}
const char* stepRefusal(const std::string& text) {
  if (text.empty()) return kEmpty;
  const double v = store::ValTyped(text);
  // Only zero is refused: a negative count corrects an earlier entry.
  if (v == 0) return kZero;
  const double stored = static_cast<float>(v);
  if (stored >= 2147483648.0 || stored < -2147483648.0) return kOutOfRange;
  return nullptr;
}

// One dated log of single values (body fat, steps), as the correction code sees it.
struct DatedLog {
  const char* file;
  const char* name;  // 体脂肪率, 歩数
  const char* unit;  // of the prompt: ％, 歩
  const store::TextColumn& dates;
  const std::vector<float>& values;
  const char* (*refusal)(const std::string&);
  std::string (*shown)(float);
};

std::string fatShown(float v) { return records::FormatSingle(v, "0.0") + "%"; }
std::string stepsShown(float v) { return store::shortestSingle(v) + "歩"; }

DatedLog fatLog(frmMain& m) {
  return {records::kBodyFatFile, "体脂肪率", "％", m.body.FatDate, m.body.FatPercent, fatRefusal, fatShown};
}
DatedLog stepLog(frmMain& m) {
  return {records::kStepFile, "歩数", "歩", m.body.StepDate, m.body.StepValue, stepRefusal, stepsShown};
}

std::vector<store::Record> recordsOf(const DatedLog& log) {
  std::vector<store::Record> out;
  for (size_t i = 0; i < log.dates.size(); ++i) out.push_back(store::Record().text(log.dates[i]).single(log.values[i]));
  return out;
}

// The record nearest before `day` (the latest one of an earlier day; `skip` left out), if any.
std::optional<size_t> nearestEarlier(const store::TextColumn& dates, store::Date day, std::optional<size_t> skip) {
  std::optional<size_t> best;
  std::optional<store::Date> bestDay;
  for (size_t i = 0; i < dates.size(); ++i) {
    if (skip && i == *skip) continue;
    const std::optional<store::Date> d = store::parseDate(dates[i]);
    if (d && *d < day && (!bestDay || *d >= *bestDay)) {
      best = i;
      bestDay = d;
    }
  }
  return best;
}

// Body fat far from the measurement before it is asked about; steps never are.
bool likelyDated(frmMain& m, const DatedLog& log, store::Date day, float v, std::optional<size_t> skip) {
  if (std::string_view(log.file) != records::kBodyFatFile) return true;
  const std::optional<size_t> before = nearestEarlier(log.dates, day, skip);
  return !before || ConfirmLikelyValue(m, std::string(log.dates[*before]), log.values[*before], v, true);
}

// An entry into a dated log: a day that already has a record asks whether to replace it; an
// earlier day goes in date order.
void enterDated(frmMain& m, const DatedLog& log, form::Control& box) {
  const std::string text = box.text();
  if (const char* refusal = log.refusal(text)) return refuse(m, refusal);
  const float v = static_cast<float>(store::ValTyped(text));
  const auto day = entryDate(m);
  if (!day) return;
  const store::Date date = *store::parseDate(*day);
  if (!likelyDated(m, log, date, v, std::nullopt)) return;
  const store::Record added = store::Record().text(*day).single(v);
  std::optional<size_t> same;
  for (size_t i = log.dates.size(); i-- > 0 && !same;)
    if (store::parseDate(log.dates[i]) == date) same = i;
  if (same) {
    const ReplaceAnswer answer = AskReplace(m, *day);
    if (answer == ReplaceAnswer::Cancel) return;
    if (answer == ReplaceAnswer::Replace) {
      std::vector<store::Record> records = recordsOf(log);
      records[*same] = added;
      if (StoreChange(m, log.file, words::dayRecord(*day, log.name, log.shown(log.values[*same])) + words::kReplaced,
                      [&] { store::rewriteRecords(log.file, records); }))
        box.setText("");
      return;
    }
  }
  if (StoreChange(m, log.file, words::dayRecord(*day, log.name, log.shown(v)) + words::kEntered,
                  [&] { records::storeInDateOrder(log.file, log.dates, log.values, date, added); }))
    box.setText("");
}

void correctDated(frmMain& m, const DatedLog& log, int record) {
  if (record < 0 || record >= static_cast<int>(log.dates.size()) || RefusedInSampleMode(m)) return;
  const std::string date(log.dates[record]);
  auto answer = AskCorrection(m, words::correctionPrompt(words::dayName(date, log.name), log.unit),
                              store::shortestSingle(log.values[record]));
  if (!answer) return;
  if (const char* refusal = log.refusal(*answer)) return refuse(m, refusal);
  const float v = static_cast<float>(store::ValTyped(*answer));
  if (const std::optional<store::Date> day = store::parseDate(date); day && !likelyDated(m, log, *day, v, record))
    return;
  std::vector<store::Record> records = recordsOf(log);
  records[record] = store::Record().text(date).single(v);
  StoreChange(m, log.file, words::dayRecord(date, log.name, log.shown(log.values[record])) + words::kCorrected,
              [&] { store::rewriteRecords(log.file, records); });
}

void deleteDated(frmMain& m, const DatedLog& log, int record) {
  if (record < 0 || record >= static_cast<int>(log.dates.size()) || RefusedInSampleMode(m)) return;
  const std::string what = words::dayRecord(log.dates[record], log.name, log.shown(log.values[record]));
  if (!ConfirmDeletion(m, what)) return;
  std::vector<store::Record> records = recordsOf(log);
  records.erase(records.begin() + record);
  StoreChange(m, log.file, what + words::kDeleted, [&] { store::rewriteRecords(log.file, records); });
}

void txtInpShibou_KeyPress(frmMain& m, std::string& key) {
  form::Control& box = m.form("txtInpShibou");
  if (!enterWanted(m, key, box.text())) return;
  enterDated(m, fatLog(m), box);
}

void txtInpHosuu_KeyPress(frmMain& m, std::string& key) {
  form::Control& box = m.form("txtInpHosuu");
  if (!enterWanted(m, key, box.text())) return;
  enterDated(m, stepLog(m), box);
}

// The weighing nearest before the stamp (`skip` left out), asked about when far from it.
bool likelyWeighing(frmMain& m, store::Date day, std::string_view time, double kg, std::optional<int> skip) {
  const records::IntradaySeries& s = m.body;
  const auto key = [](const std::optional<store::Date>& d, std::string_view t) {
    return std::make_pair(d.value_or(store::Date{}), std::string(t));
  };
  const auto stamp = key(day, time);
  std::optional<int> best;
  std::pair<store::Date, std::string> bestKey;
  for (int i = 0; i < s.IntradayCount; ++i) {
    if (skip && i == *skip) continue;
    const auto k = key(store::parseDate(s.IntradayDate[i]), s.IntradayTime[i]);
    if (k < stamp && (!best || k >= bestKey)) {
      best = i;
      bestKey = k;
    }
  }
  return !best || ConfirmLikelyValue(m, std::string(s.IntradayDate[*best]), s.IntradayWeightKg[*best], kg, false);
}

void txtInpRenTai_KeyPress(frmMain& m, std::string& key) {
  form::Control& box = m.form("txtInpRenTai");
  if (!enterWanted(m, key, box.text())) return;
  if (const char* refusal = fatRefusal(box.text())) return refuse(m, refusal);
  const double v = store::ValTyped(box.text());
  const store::DateTime now = m.clock.now();
  if (!likelyWeighing(m, now.date, store::formatTime(now), v, std::nullopt)) return;
  if (StoreChange(m, records::kIntradayFile,
                  store::formatDate(now.date) + " " + store::formatTime(now) + " の体重 " +
                      records::FormatSingle(static_cast<float>(v), "0.0Kg") + words::kEntered,
                  [&] { store::appendRecords(records::kIntradayFile, {records::IntradayRecord(now, v)}); }))
    box.setText("");
}

std::vector<store::Record> intradayRecords(const records::IntradaySeries& s) {
  std::vector<store::Record> out;
  for (int i = 0; i < s.IntradayCount; ++i)
    out.push_back(store::Record().text(s.IntradayDate[i]).text(s.IntradayTime[i]).single(s.IntradayWeightKg[i]));
  return out;
}

std::string weighingName(const records::IntradaySeries& s, int i) {
  return words::dayName(std::string(s.IntradayDate[i]) + " " + std::string(s.IntradayTime[i]), "体重");
}

void correctWeighing(frmMain& m, int record) {
  const records::IntradaySeries& s = m.body;
  if (record < 0 || record >= s.IntradayCount || RefusedInSampleMode(m)) return;
  auto answer = AskCorrection(m, words::correctionPrompt(weighingName(s, record), "Kg"),
                              store::shortestSingle(s.IntradayWeightKg[record]));
  if (!answer) return;
  if (const char* refusal = fatRefusal(*answer)) return refuse(m, refusal);
  if (const std::optional<store::Date> day = store::parseDate(s.IntradayDate[record]);
      day && !likelyWeighing(m, *day, s.IntradayTime[record], store::ValTyped(*answer), record))
    return;
  std::vector<store::Record> records = intradayRecords(s);
  records[record] =
      store::Record().text(s.IntradayDate[record]).text(s.IntradayTime[record]).dbl(store::ValTyped(*answer));
  StoreChange(
      m, records::kIntradayFile,
      weighingName(s, record) + " " + records::FormatSingle(s.IntradayWeightKg[record], "0.0Kg") + words::kCorrected,
      [&] { store::rewriteRecords(records::kIntradayFile, records); });
}

void deleteWeighing(frmMain& m, int record) {
  const records::IntradaySeries& s = m.body;
  if (record < 0 || record >= s.IntradayCount || RefusedInSampleMode(m)) return;
  const std::string what = weighingName(s, record) + " " + records::FormatSingle(s.IntradayWeightKg[record], "0.0Kg");
  if (!ConfirmDeletion(m, what)) return;
  std::vector<store::Record> records = intradayRecords(s);
  records.erase(records.begin() + record);
  StoreChange(m, records::kIntradayFile, what + words::kDeleted,
              [&] { store::rewriteRecords(records::kIntradayFile, records); });
}

// The three tables of records: row r is record r - 1; a double-click corrects the selected row.
void wireRecordTable(frmMain& m, const char* grid, void (*correct)(frmMain&, int), void (*remove)(frmMain&, int)) {
  m.onMenu(grid, {kCorrectAction, kDeleteAction}, [&m, correct, remove](int, int row, const std::string& action) {
    (action == kCorrectAction ? correct : remove)(m, row - 1);
  });
  m.onDblClick(grid, [&m, grid, correct](int) { correct(m, m.form(grid).listIndex() - 1); });
}

void Check2_Click(frmMain& m) {
  const bool massView = m.form("Check2").value() == 1;
  m.form("fraSuii").setVisible(massView);
  m.form("Check2").setCaption(massView ? "体脂肪率表示へ" : "脂肪量換算表示へ");
}

// An axis box on Enter: the chart takes the number as typed, the profile the converted one.
// The profile is written first, so a failed write leaves chart, memory and file as they were.
void axisBoxEnter(frmMain& m, const char* boxName, charts::AxisBox which) {
  auto v = charts::ReadNumberBox(m.form(boxName).text());
  if (!v) return refuse(m, kNotNumber);
  profile::Profile changed = m.Profile;
  if (!charts::StoreAxisLimit(changed, which, *v)) {
    switch (which) {
      case charts::AxisBox::StepMax:
        return refuse(m, words::rangeRefused(words::kStepAxisMax, -2147483648LL, 2147483647LL, "数値").c_str());
      case charts::AxisBox::StepMin:
        return refuse(m, words::rangeRefused(words::kStepAxisMin, -32768, 32767, "数値").c_str());
      default: return refuse(m, kOutOfRange);
    }
  }
  try {
    profile::SaveProfile(changed);
  } catch (const store::StoreError& e) {
    return m.ShowFailure(e);
  }
  m.Profile = changed;
  const bool fat = which == charts::AxisBox::FatMax || which == charts::AxisBox::FatMin;
  const bool isMax = which == charts::AxisBox::FatMax || which == charts::AxisBox::StepMax;
  const double other =
      fat ? (isMax ? changed.FatAxisMin : changed.FatAxisMax) : (isMax ? changed.StepAxisMin : changed.StepAxisMax);
  charts::SetOneLimit(m.form(fat ? "MSChart2" : "MSChart3"), isMax, *v, other);
}

// The step length on Enter: stored in the profile, and the distances follow at once.
void txtIppoEnter(frmMain& m) {
  auto v = charts::ReadNumberBox(m.form("txtIppo").text());
  if (!v) return refuse(m, kNotNumber);
  if (std::fabs(*v) > kSingleLimit) return refuse(m, kOutOfRange);
  profile::Profile changed = m.Profile;
  changed.StepLength = static_cast<float>(*v);
  try {
    profile::SaveProfile(changed);
  } catch (const store::StoreError& e) {
    return m.ShowFailure(e);
  }
  m.Profile = changed;
  ShowWalkingProgress(m);
}

}  // namespace

// ---------------------------------------------------------------- loaders

void LoadIntradayWeightLog(frmMain& m) {
  records::IntradaySeries& s = m.body;
  s = records::ReadIntradayWeightLog();
  if (s.IntradayCount == 0) return;
  listRecordsLater(m.form("msgTaiList"), s.IntradayCount, std::make_shared<const records::IntradaySeries>(s),
                   records::IntradayListCells);
}

void LoadBodyFatLog(frmMain& m) {
  records::BodyFatSeries& s = m.body;
  s = records::ReadBodyFatLog();
  if (s.FatCount == 0) return;
  std::vector<records::FatMassRow> mass = records::ComputeFatMass(s, m.Weight);
  m.body.FatMassRecord.clear();
  for (const records::FatMassRow& row : mass) m.body.FatMassRecord.push_back(row.record);
  auto log = std::make_shared<const records::BodyFatSeries>(s);
  listRecordsLater(m.form("msgShiList"), s.FatCount, log, records::BodyFatListCells);

  // Each matched record keeps the row of its own position, so unmatched ones leave a gap.
  form::Control& massGrid = m.form("msgSuiList");
  if (!mass.empty()) {
    const int rows = mass.back().record + 2;
    std::vector<int> rowOf(static_cast<size_t>(rows), -1);
    for (size_t k = 0; k < mass.size(); ++k) rowOf[static_cast<size_t>(mass[k].record) + 1] = static_cast<int>(k);
    massGrid.setGridRowsLater(
        rows, 1, [log, mass = std::move(mass), rowOf = std::move(rowOf)](int row) -> std::vector<std::string> {
          const int k = rowOf[static_cast<size_t>(row)];
          if (k < 0) return {};
          return records::FatMassCells(*log, mass[static_cast<size_t>(k)]);
        });
  }
  scrollToEnd(massGrid);
}

void LoadStepLog(frmMain& m) {
  records::StepSeries& s = m.body;
  s = records::ReadStepLog();
  if (s.StepCount == 0) return;
  listRecordsLater(m.form("msgHosuList"), s.StepCount, std::make_shared<const records::StepSeries>(s),
                   records::StepListCells);
}

// ---------------------------------------------------------------- summaries

void ShowBodyFatProgress(frmMain& m) {
  if (m.body.FatCount == 0) return;
  progress::BodyFatSummary s = progress::SummariseBodyFat(m.body.FatPercent);
  m.form("lblStShibou").setCaption(s.first);
  m.form("lblNowShibou").setCaption(s.latest);
  m.form("lblShibou_Sa").setCaption(s.difference);
}

void ShowWalkingProgress(frmMain& m) {
  const BodyArea& b = m.body;
  if (b.TotalSteps == 0) return;
  form::Form& f = m.form;
  progress::WalkingSummary w =
      progress::SummariseWalking(b.TotalSteps, b.MaxSteps, b.MinSteps, m.Profile.StepLength,
                                 {f("shpBar1000B").width(), f("shpBar100B").width(), f("shpBar10B").width()});
  f("lblTotal_Hosuu").setCaption(w.totalSteps);
  f("lblMax_Hosuu").setCaption(w.maxSteps);
  f("lblMin_Hosuu").setCaption(w.minSteps);
  f("lblTotal_M").setCaption(w.totalKm);
  f("lblMax_M").setCaption(w.maxKm);
  f("lblMin_M").setCaption(w.minKm);
  f("lblTotalK").setCaption(w.totalCaption);
  for (const progress::CourseLap& lap : w.laps) {
    const std::string km = std::to_string(lap.courseKm);
    f("shpBar" + km + "K").setWidth(lap.barWidth);
    f("lblSyuu" + km).setCaption(lap.lapLabel);
  }
}

// ---------------------------------------------------------------- charts

void DrawIntradayWeightChart(frmMain& m) {
  auto r =
      charts::DrawIntradayChart(m.form("MSChart5"), m.body.IntradayWeightKg, m.Weight.MaxWeight, m.Profile.TargetWeight,
                                charts::recordDays(m.body.IntradayDate, m.body.IntradayTime));
  if (r == charts::DrawResult::OneRecord)
    m.dialogs.MsgBox("体重グラフは２回目から表示されます", form::kDefaultTitle, form::Icon::None, form::Buttons::OK);
}

void DrawBodyFatCharts(frmMain& m) {
  auto r = charts::DrawBodyFatChart(m.form("MSChart2"), m.body.FatPercent, m.Profile.FatAxisMax, m.Profile.FatAxisMin,
                                    charts::recordDays(m.body.FatDate));
  if (r == charts::DrawResult::OneRecord) {
    // The box may come up during start-up; the window owns it either way.
    m.form.showWindow();  // still hidden during start-up
    m.dialogs.MsgBox("体脂肪率グラフは２日目から表示されます", form::kDefaultTitle, form::Icon::None,
                     form::Buttons::OK);
    return;
  }
  if (r != charts::DrawResult::Drawn) return;
  // Each fat mass stands on the day of its body-fat record.
  charts::DrawFatMassChart(m.form("MSChart4"), m.body.FatMassKg,
                           [dates = m.body.FatDate, records = m.body.FatMassRecord] {
                             store::TextColumn massDates;
                             for (int record : records)
                               if (record >= 0 && static_cast<size_t>(record) < dates.size())
                                 massDates.push_back(dates[static_cast<size_t>(record)]);
                             return charts::recordDays(std::move(massDates))();
                           });
}

void DrawStepChart(frmMain& m) {
  charts::DrawStepChart(m.form("MSChart3"), m.body.StepValue, m.Profile.StepAxisMax, m.Profile.StepAxisMin,
                        charts::recordDays(m.body.StepDate));
}

// ---------------------------------------------------------------- events

void wireBody(frmMain& m) {
  m.onKeyPress("txtInpShibou", [&m](int, std::string& key) { txtInpShibou_KeyPress(m, key); });
  m.onKeyPress("txtInpHosuu", [&m](int, std::string& key) { txtInpHosuu_KeyPress(m, key); });
  m.onKeyPress("txtInpRenTai", [&m](int, std::string& key) { txtInpRenTai_KeyPress(m, key); });
  m.onClick("Check2", [&m](int) { Check2_Click(m); });
  wireRecordTable(m, "msgTaiList", correctWeighing, deleteWeighing);
  wireRecordTable(
      m, "msgShiList", [](frmMain& f, int r) { correctDated(f, fatLog(f), r); },
      [](frmMain& f, int r) { deleteDated(f, fatLog(f), r); });
  wireRecordTable(
      m, "msgHosuList", [](frmMain& f, int r) { correctDated(f, stepLog(f), r); },
      [](frmMain& f, int r) { deleteDated(f, stepLog(f), r); });
  const std::pair<const char*, charts::AxisBox> boxes[] = {{"txtY2max", charts::AxisBox::FatMax},
                                                           {"txtY2min", charts::AxisBox::FatMin},
                                                           {"txtY3max", charts::AxisBox::StepMax},
                                                           {"txtY3min", charts::AxisBox::StepMin}};
  for (const auto& entry : boxes) {
    const char* name = entry.first;
    const charts::AxisBox which = entry.second;
    m.onKeyPress(name, [&m, name, which](int, std::string& key) {
      if (key == "\r") axisBoxEnter(m, name, which);
    });
  }
  m.onKeyPress("txtIppo", [&m](int, std::string& key) {
    if (key == "\r") txtIppoEnter(m);
  });
}

void dumpBody(const frmMain& m, StateDump& d) {
  const BodyArea& b = m.body;
  d.add("FatCount", b.FatCount);
  d.add("FatPercent", b.FatPercent);
  d.add("FatMassCount", b.FatMassCount);
  d.add("FatMassKg", b.FatMassKg);
  d.add("StepCount", b.StepCount);
  d.add("StepValue", b.StepValue);
  d.add("TotalSteps", b.TotalSteps);
  d.add("MaxSteps", b.MaxSteps);
  d.add("MinSteps", b.MinSteps);
  d.add("IntradayCount", b.IntradayCount);
}

}  // namespace app
