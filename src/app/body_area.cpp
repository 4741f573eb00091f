#include "app/body_area.h"

#include <cmath>
#include <optional>

#include "app/frmMain.h"
#include "charts/other_charts.h"
#include "progress/body_progress.h"
#include "records/dated_log.h"
#include "store/numbers.h"
#include "store/record.h"
#include "store/typed_number.h"

namespace app {

namespace {

void fillRow(ui::Control& grid, int row, const std::vector<std::string>& cells) {
  for (size_t c = 0; c < cells.size(); ++c) grid.setCell(row, static_cast<int>(c), cells[c]);
}

// The last row becomes the top visible row; a table too short for that stays as it is.
void scrollToEnd(ui::Control& grid) { grid.setTopRow(grid.grid().rows - 1); }

void refuse(frmMain& m, const char* text) { m.dialogs.MsgBox(text, "メッセージ", ui::Icon::Error, ui::Buttons::OK); }

constexpr const char* kEmpty = "入力がまだのようです";
constexpr const char* kNotPositive = "０以下か文字が入力されたようです";
constexpr const char* kZero = "０か文字が入力されたようです";
// A number the log could not read back (beyond single precision or whole 32-bit steps).
constexpr const char* kOutOfRange = "入力できる範囲を超えた数値です";
constexpr const char* kNotNumber = "数値を入力して下さい";

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
  m.dialogs.MsgBox("日付(" + text + ")が正しくありません", "メッセージ", ui::Icon::Error, ui::Buttons::OK);
  return std::nullopt;
}

void txtInpShibou_KeyPress(frmMain& m, std::string& key) {
  ui::Control& box = m.form("txtInpShibou");
  if (!enterWanted(m, key, box.text())) return;
  const double v = store::ValTyped(box.text());
  if (v <= 0) return refuse(m, kNotPositive);
  if (v > kSingleLimit) return refuse(m, kOutOfRange);
  const auto day = entryDate(m);
  if (!day) return;
  try {
    store::Record rec;
    rec.text(*day).single(static_cast<float>(v));
    records::storeInDateOrder(records::kBodyFatFile, m.body.FatDate, m.body.FatPercent, *store::parseDate(*day), rec);
    m.WithHourglass([&m] {
      LoadBodyFatLog(m);
      DrawBodyFatCharts(m);
      ShowBodyFatProgress(m);
    });
  } catch (const store::StoreError& e) {
    m.form.setBusy(false);
    return m.ShowFailure(e);
  }
  box.setText("");
}

void txtInpHosuu_KeyPress(frmMain& m, std::string& key) {
  ui::Control& box = m.form("txtInpHosuu");
  if (!enterWanted(m, key, box.text())) return;
  const double v = store::ValTyped(box.text());
  // Only zero is refused: a negative count corrects an earlier entry.
  if (v == 0) return refuse(m, kZero);
  const double stored = static_cast<float>(v);
  if (stored >= 2147483648.0 || stored < -2147483648.0) return refuse(m, kOutOfRange);
  const auto day = entryDate(m);
  if (!day) return;
  try {
    store::Record rec;
    rec.text(*day).single(static_cast<float>(v));
    records::storeInDateOrder(records::kStepFile, m.body.StepDate, m.body.StepValue, *store::parseDate(*day), rec);
    LoadStepLog(m);
    DrawStepChart(m);
    ShowWalkingProgress(m);
  } catch (const store::StoreError& e) {
    return m.ShowFailure(e);
  }
  box.setText("");
}

void txtInpRenTai_KeyPress(frmMain& m, std::string& key) {
  ui::Control& box = m.form("txtInpRenTai");
  if (!enterWanted(m, key, box.text())) return;
  const double v = store::ValTyped(box.text());
  if (v <= 0) return refuse(m, kNotPositive);
  if (v > kSingleLimit) return refuse(m, kOutOfRange);
  try {
    store::appendRecords(records::kIntradayFile, {records::IntradayRecord(m.clock.now(), v)});
    LoadIntradayWeightLog(m);
    DrawIntradayWeightChart(m);
  } catch (const store::StoreError& e) {
    return m.ShowFailure(e);
  }
  box.setText("");
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
  if (!charts::StoreAxisLimit(changed, which, *v)) return refuse(m, kOutOfRange);
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
  ui::Control& grid = m.form("msgTaiList");
  for (int i = 0; i < s.IntradayCount; ++i) {
    grid.setGridRows(i + 2);
    fillRow(grid, i + 1, records::IntradayListCells(s, i));
  }
  if (s.IntradayCount > 0) scrollToEnd(grid);
}

void LoadBodyFatLog(frmMain& m) {
  records::BodyFatSeries& s = m.body;
  s = records::ReadBodyFatLog();
  ui::Control& list = m.form("msgShiList");
  for (int i = 0; i < s.FatCount; ++i) {
    list.setGridRows(i + 2);
    fillRow(list, i + 1, records::BodyFatListCells(s, i));
  }
  if (s.FatCount == 0) return;
  scrollToEnd(list);

  // Each matched record keeps the row of its own position, so unmatched ones leave a gap.
  ui::Control& mass = m.form("msgSuiList");
  for (const records::FatMassRow& row : records::ComputeFatMass(s, m.Weight)) {
    mass.setGridRows(row.record + 2);
    fillRow(mass, row.record + 1, records::FatMassCells(s, row));
  }
  scrollToEnd(mass);
}

void LoadStepLog(frmMain& m) {
  records::StepSeries& s = m.body;
  s = records::ReadStepLog();
  ui::Control& grid = m.form("msgHosuList");
  for (int i = 0; i < s.StepCount; ++i) {
    grid.setGridRows(i + 2);
    fillRow(grid, i + 1, records::StepListCells(s, i));
  }
  if (s.StepCount > 0) scrollToEnd(grid);
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
  ui::Form& f = m.form;
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
  auto r = charts::DrawIntradayChart(m.form("MSChart5"), m.body.IntradayWeightKg, m.Weight.MaxWeight,
                                     m.Profile.TargetWeight);
  if (r == charts::DrawResult::OneRecord)
    m.dialogs.MsgBox("体重グラフは２回目から表示されます", ui::kDefaultTitle, ui::Icon::None, ui::Buttons::OK);
}

void DrawBodyFatCharts(frmMain& m) {
  auto r = charts::DrawBodyFatChart(m.form("MSChart2"), m.body.FatPercent, m.Profile.FatAxisMax, m.Profile.FatAxisMin);
  if (r == charts::DrawResult::OneRecord) {
    // The box may come up during start-up; the window owns it either way.
    m.form.showWindow();  // still hidden during start-up
    m.dialogs.MsgBox("体脂肪率グラフは２日目から表示されます", ui::kDefaultTitle, ui::Icon::None, ui::Buttons::OK);
    return;
  }
  if (r == charts::DrawResult::Drawn) charts::DrawFatMassChart(m.form("MSChart4"), m.body.FatMassKg);
}

void DrawStepChart(frmMain& m) {
  charts::DrawStepChart(m.form("MSChart3"), m.body.StepValue, m.Profile.StepAxisMax, m.Profile.StepAxisMin);
}

// ---------------------------------------------------------------- events

void wireBody(frmMain& m) {
  m.onKeyPress("txtInpShibou", [&m](int, std::string& key) { txtInpShibou_KeyPress(m, key); });
  m.onKeyPress("txtInpHosuu", [&m](int, std::string& key) { txtInpHosuu_KeyPress(m, key); });
  m.onKeyPress("txtInpRenTai", [&m](int, std::string& key) { txtInpRenTai_KeyPress(m, key); });
  m.onClick("Check2", [&m](int) { Check2_Click(m); });
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
