#include "app/analysis_area.h"

#include <algorithm>
#include <memory>

#include "analysis/band_counts.h"
#include "analysis/decimal_kg.h"
#include "analysis/ranking.h"
#include "analysis/weight_table.h"
#include "app/frmMain.h"
#include "charts/weight_chart.h"
#include "progress/milestones.h"
#include "progress/running_average.h"
#include "words/messages.h"

namespace app {
namespace {

struct Column {
  const char* header;
  int width;
};

struct TableHeaders {
  const char* grid;
  std::vector<Column> columns;
};

const std::vector<TableHeaders>& allTables() {
  static const std::vector<TableHeaders> tables = {
      {"msgB1", {{"日数", 1150}, {"日付", 1500}, {"体重", 1165}, {"初日差", 1160}}},
      {"msgB2", {{"区切り", 1150}, {"日付", 1500}, {"達成", 1165}, {"経過", 1160}}},
      {"msgB3", {{"日数", 1150}, {"体重", 1150}, {"平均体重", 1520}, {"差", 1150}}},
      {"msgB4", {{"順位", 1150}, {"体重範囲", 2000}, {"累積", 910}, {"差", 910}}},
      {"msgTaiList", {{"日付", 1190}, {"時間", 1050}, {"体重", 1020}}},
      {"msgShiList", {{"日付", 1190}, {"体脂肪率", 1025}}},
      {"msgSuiList",
       {{"日付", 1490},
        {"体重", 1120},
        {"体脂肪率", 1200},
        {"脂肪換算値", 1400},
        {"初日増減", 1200},
        {"前日増減", 1200}}},
      {"msgHosuList", {{"日付", 1190}, {"歩数", 1170}}},
  };
  return tables;
}

int recordCount(const frmMain& m) {
  return std::min({std::max(0, m.Weight.WeightCount), static_cast<int>(m.Weight.WeightKg.size()),
                   static_cast<int>(m.Weight.WeightDate.size())});
}

form::Control& weightChart(frmMain& m) { return m.form("MSChart1"); }

// The axis of the daily-weight views: the target weight up to the top weight.
void setWeightAxis(frmMain& m) {
  weightChart(m).setAxisLimits(charts::weightAxisBottom(m.Profile.TargetWeight),
                               charts::weightAxisTop(m.Weight.MaxWeight));
}

void showHelp(frmMain& m, const std::string& text) {
  m.HelpText = text;
  DSP_HELP(m);
}

// ---- the four view switches under the chart; ticking one of the first three clears the
// running-average view and the other way round, each through the cleared box's own handler.

void Check3_Click(frmMain& m) {
  form::Control& chart = weightChart(m);
  if (m.form("Check3").value() == 1) {
    chart.setSeriesVisible(charts::kDailyWeight, true);
    setWeightAxis(m);
    chart.setSeriesVisible(charts::kRunningAverage, false);
    m.SetCheck("Check6", 0);
    showHelp(m, "日々の体重推移グラフです\r\n");
  } else {
    chart.setSeriesVisible(charts::kDailyWeight, false);
  }
}

void Check4_Click(frmMain& m) {
  form::Control& chart = weightChart(m);
  const bool ticked = m.form("Check4").value() == 1;
  const bool enough = recordCount(m) >= 10;
  if (!ticked && !enough) return;
  if (!enough) {
    m.dialogs.MsgBox("移動平均表示には１０日分以上のデータが必要です", "データ数不足", form::Icon::Information,
                     form::Buttons::OK);
    return;
  }
  if (ticked) {
    chart.setSeriesVisible(charts::kMovingAverage, true);
    setWeightAxis(m);
    chart.setSeriesVisible(charts::kRunningAverage, false);
    m.SetCheck("Check6", 0);
    showHelp(m, "移動平均値を表示しています。\r\n突発的な凸凹がとれ全体的な推移が把握できます。\r\n");
  } else {
    chart.setSeriesVisible(charts::kMovingAverage, false);
  }
}

void Check5_Click(frmMain& m) {
  form::Control& chart = weightChart(m);
  if (m.form("Check5").value() == 1) {
    chart.setSeriesVisible(charts::kProgressLine, true);
    setWeightAxis(m);
    chart.setSeriesVisible(charts::kRunningAverage, false);
    m.SetCheck("Check6", 0);
    showHelp(m,
             "ダイエットスタートから目標期間までを直線で結びます。\r\nダイエットの進度状況を相対的に把握できます｡ "
             "\r\n");
  } else {
    chart.setSeriesVisible(charts::kProgressLine, false);
  }
}

void Check6_Click(frmMain& m) {
  form::Control& chart = weightChart(m);
  if (m.form("Check6").value() == 1) {
    chart.setSeriesVisible(charts::kRunningAverage, true);
    chart.setAxisLimits(analysis::decimalOf(m.analysis.MinAverageWeight) - 0.05,
                        analysis::decimalOf(m.analysis.MaxAverageWeight));
    chart.setSeriesVisible(charts::kDailyWeight, false);
    chart.setSeriesVisible(charts::kMovingAverage, false);
    chart.setSeriesVisible(charts::kProgressLine, false);
    m.SetCheck("Check3", 0);
    m.SetCheck("Check4", 0);
    m.SetCheck("Check5", 0);
    showHelp(m,
             "体重の平均値の推移を表示しています。\r\n体重の停滞期でもこの値は下がっていきますので励みになるはず"
             "です。 \r\n");
  } else {
    chart.setSeriesVisible(charts::kRunningAverage, false);
  }
}

// The trend line is drawn by the window over whatever view the other four boxes chose.
void Check7_Click(frmMain& m) {
  if (m.form("Check7").value() == 1) showHelp(m, words::kTrendHelp);
}

// Enlarges the chart in two steps and back; the right edge stays where it is so the chart grows
// over the progress figures instead of out of the page.
void MSChart1_DblClick(frmMain& m) {
  form::Control& chart = weightChart(m);
  const int right = chart.left() + chart.width();
  int step = m.analysis.ChartEnlargeStep;
  const charts::ChartSize size = charts::enlargeWeightChart(step, {chart.width(), chart.height()});
  m.analysis.ChartEnlargeStep = static_cast<int16_t>(step);
  chart.setWidth(size.width);
  chart.setHeight(size.height);
  chart.setLeft(std::max(0, right - size.width));
}

// A table's new rows beyond this many are made when the table is first read.
constexpr size_t kRowsMadeAtOnce = 8;

// The first record a view built on `records` records still lacks: 0 when it must be built whole.
size_t firstNewRecord(int records, int n) { return records >= 0 && records <= n ? static_cast<size_t>(records) : 0; }

}  // namespace

void SetUpGridHeaders(frmMain& m) {
  for (const TableHeaders& t : allTables()) {
    form::Control& grid = m.form(t.grid);
    grid.setFontSize(11);
    grid.setGridRows(1);
    grid.setGridCols(static_cast<int>(t.columns.size()));
    for (size_t c = 0; c < t.columns.size(); ++c) {
      const int col = static_cast<int>(c);
      grid.setCell(0, col, t.columns[c].header);
      grid.setColWidth(col, t.columns[c].width);
    }
    for (size_t c = 0; c < t.columns.size(); ++c)
      grid.setColAlignment(static_cast<int>(c), form::Align::Center, form::Align::Right);
  }
}

void ShowWeightTable(frmMain& m) {
  const int n = recordCount(m);
  if (n == 0) return;
  const auto mode = m.form("Option1", 0).value() == 1 ? analysis::DiffMode::PreviousDay : analysis::DiffMode::FirstDay;
  WeightViews& v = m.analysis.views;
  const size_t from = v.tableMode == static_cast<int>(mode) ? firstNewRecord(v.tableRecords, n) : 0;
  form::Control& grid = m.form("msgB1");
  grid.setCell(0, 3, analysis::diffHeader(mode));
  if (static_cast<size_t>(n) - from > kRowsMadeAtOnce) {
    grid.setGridRowsLater(n + 1, static_cast<int>(from) + 1,
                          [log = std::make_shared<const records::WeightSeries>(m.Weight), mode](int row) {
                            const analysis::TableRow cells = analysis::weightTableRow(*log, mode, row - 1);
                            return std::vector<std::string>(cells.begin(), cells.end());
                          });
  } else {
    grid.setGridRows(n + 1);
    for (size_t i = from; i < static_cast<size_t>(n); ++i) {
      const analysis::TableRow row = analysis::weightTableRow(m.Weight, mode, i);
      for (int c = 0; c < 4; ++c) grid.setCell(static_cast<int>(i) + 1, c, row[c]);
    }
  }
  grid.setTopRow(n);  // a table too short to scroll stays as it is
  v.tableRecords = n;
  v.tableMode = static_cast<int>(mode);
}

void ShowWeightRanking(frmMain& m) {
  const int n = recordCount(m);
  if (n == 0) return;
  const float step = m.form("Option2", 0).value() == 1 ? 1.0f : 0.5f;
  m.form("fraB4").setCaption(analysis::rankingCaption(step));
  WeightViews& v = m.analysis.views;
  std::vector<analysis::Band> bands = analysis::makeBands(m.Weight.MinWeight, m.Weight.MaxWeight, step);
  const bool sameBands = v.rankingStep == step && bands.size() == v.bandCounts.size() &&
                         std::equal(bands.begin(), bands.end(), v.bandCounts.begin(),
                                    [](const analysis::Band& a, const analysis::Band& b) { return a.low == b.low; });
  const size_t from = sameBands ? firstNewRecord(v.rankingRecords, n) : 0;
  v.rankingRecords = -1;
  if (bands.empty()) return;
  std::vector<analysis::Band> ranked;
  if (from > 0) {
    // The bands are those counted before: only the new weights are counted into them.
    for (size_t i = from; i < static_cast<size_t>(n); ++i)
      if (int k = analysis::bandIndexOf(v.bandCounts, step, m.Weight.WeightKg[i]); k >= 0) ++v.bandCounts[k].count;
    ranked = v.bandCounts;
    analysis::rankCounted(ranked);
  } else {
    ranked = bands;
    analysis::countAndRank(ranked, m.Weight.WeightKg, n, step);
    v.bandCounts = std::move(bands);
    v.rankingStep = step;
    if (!analysis::countsInBandOrder(v.bandCounts, ranked, step)) v.bandCounts.clear();
  }
  if (!v.bandCounts.empty()) v.rankingRecords = n;
  form::Control& grid = m.form("msgB4");
  // Rows are written into a table of one row per band, so when every band was weighed the last
  // band's row falls outside it and stays blank, as it always has.
  const int bandRows = static_cast<int>(ranked.size());
  const size_t count = analysis::rankingRowCount(ranked);
  grid.setGridRowsLater(static_cast<int>(count) + 1, 1,
                        [ranked = std::make_shared<const std::vector<analysis::Band>>(std::move(ranked)), step,
                         bandRows](int r) -> std::vector<std::string> {
                          if (r >= bandRows) return {};
                          analysis::RankingRow row = analysis::rankingRow(*ranked, static_cast<size_t>(r) - 1, step);
                          return {row.rank, row.range, row.count, row.gap.value_or("")};
                        });
}

void ShowLossMilestones(frmMain& m) {
  const int n = recordCount(m);
  if (n == 0) return;
  WeightViews& v = m.analysis.views;
  if (firstNewRecord(v.milestoneRecords, n) == 0) v.milestones = {};
  progress::extendLossMilestones(v.milestones, m.Weight);
  v.milestoneRecords = n;
  const progress::LossMilestones& ms = v.milestones;
  form::Control& grid = m.form("msgB2");
  const int c = static_cast<int>(ms.rows.size());
  grid.setGridRows(c + 1);
  for (int k = 1; k <= c; ++k) {
    // A milestone counted only through rounding is never reached; its row is left blank.
    const progress::MilestoneRow& row = ms.rows[k - 1];
    grid.setCell(k, 0, row.label);
    grid.setCell(k, 1, row.date);
    grid.setCell(k, 2, row.sinceStart);
    grid.setCell(k, 3, row.sincePrevious);
  }
  if (c == 0) return;
  grid.setTopRow(c);
  if (auto line = progress::bestLossLine(m.Weight, ms.bestLoss)) m.form("Label5", 0).setCaption(*line);
}

void ShowRunningAverage(frmMain& m) {
  const int n = recordCount(m);
  if (n == 0) return;
  AnalysisArea& a = m.analysis;
  WeightViews& v = a.views;
  const size_t from = firstNewRecord(v.averageRecords, n);
  if (from == 0) v.averageSums = {};
  if (a.AverageWeight.size() < static_cast<size_t>(n)) a.AverageWeight.resize(n);
  form::Control& grid = m.form("msgB3");
  std::vector<progress::RunningAverageStep> steps;
  steps.reserve(static_cast<size_t>(n) - from);
  for (size_t i = from; i < static_cast<size_t>(n); ++i) {
    const progress::RunningAverageStep& step =
        steps.emplace_back(progress::stepRunningAverage(v.averageSums, m.Weight.WeightKg[i]));
    a.AverageWeight[i] = step.average;
    if (step.average > a.MaxAverageWeight) a.MaxAverageWeight = step.average;
    if (step.average < a.MinAverageWeight) a.MinAverageWeight = step.average;
  }
  // The steps are already all the new rows need, so even one entry's row waits for a reader.
  grid.setGridRowsLater(n + 1, static_cast<int>(from) + 1,
                        [steps = std::make_shared<const std::vector<progress::RunningAverageStep>>(std::move(steps)),
                         from, filled = m.Weight.WeightFilled](int row) {
                          const progress::RunningAverageRow cells =
                              progress::runningAverageCells((*steps)[static_cast<size_t>(row - 1) - from]);
                          std::vector<std::string> out(cells.begin(), cells.end());
                          if (static_cast<size_t>(row - 1) < filled.size() && filled[static_cast<size_t>(row - 1)])
                            out[1] += words::kFilledMark;
                          return out;
                        });
  v.averageRecords = n;
  grid.setTopRow(n);
  if (n >= 2) m.form("Label5", 1).setCaption(progress::streakLine(v.averageSums.streak));
}

namespace {

charts::WeightSpan chosenSpan(const frmMain& m) {
  for (int i = 0; i < charts::kWeightSpanCount; ++i)
    if (m.form("Option4", i).value() == 1) return static_cast<charts::WeightSpan>(i);
  return charts::WeightSpan::TargetPeriod;
}

// The rows of the span chosen with their days and the days in view, and the weights' cells;
// false when there is nothing to draw (fewer than two records, or no period).
bool chartWeightRows(frmMain& m) {
  form::Control& chart = weightChart(m);
  const int period = m.Profile.TargetPeriod;
  const int n = recordCount(m);
  const charts::WeightSpan span = chosenSpan(m);
  // A period below 1 (a hand-edited profile) has no rows and no slope: the chart stays empty.
  const int rows = std::max(0, charts::weightChartRows(span, n, period));
  WeightViews& v = m.analysis.views;
  chart.setChartColumnCount(4);
  chart.setChartRowCount(rows);
  // Row r is the diet's day r, counted from the first weighing.
  const bool dated = n > 0 && !m.Weight.WeightDay.empty();
  const double first = dated ? static_cast<double>(m.Weight.WeightDay[0].time_since_epoch().count()) : 0;
  chart.setChartRowDaysLater([dated, first, rows] {
    std::vector<double> days;
    if (dated)
      for (int r = 0; r < rows; ++r) days.push_back(first + r);
    return days;
  });
  const std::optional<charts::RowWindow> window = dated ? charts::weightChartWindow(span, n) : std::nullopt;
  chart.setChartDayRange(window ? std::optional(std::pair(first + window->first - 1, first + window->last - 1))
                                : std::nullopt);
  const int drawn = v.chartRecords;
  v.chartRecords = -1;
  if (n < 2 || period < 1) return false;
  const std::vector<float>& kg = m.Weight.WeightKg;
  // The progress line hangs on the first weight, the target and the period alone.
  const bool sameLine = v.chartPeriod == period && v.chartRows == rows && v.chartTarget == m.Profile.TargetWeight &&
                        v.chartFirstWeight == kg[0];
  const size_t from = sameLine ? firstNewRecord(drawn, n) : 0;
  // Written when the chart is first read: a hidden chart costs nothing at start-up.
  if (from == 0) {
    chart.setChartValuesLater([kg, n, average = m.analysis.AverageWeight, target = m.Profile.TargetWeight, period, rows,
                               filled = m.Weight.WeightFilled] {
      return charts::weightChartCells(kg, n, average, target, period, rows, filled);
    });
  } else {
    std::vector<charts::ChartCell> cells;
    for (size_t i = from; i < static_cast<size_t>(std::min(n, rows)); ++i)
      charts::addRecordChartCells(cells, kg, m.analysis.AverageWeight, i, m.Weight.isFilled(i));
    chart.setChartValuesLater([cells = std::move(cells)] { return cells; });
  }
  v.chartRecords = n;
  v.chartPeriod = period;
  v.chartRows = rows;
  v.chartTarget = m.Profile.TargetWeight;
  v.chartFirstWeight = kg[0];
  return true;
}

// Another span of days: the views ticked stay as they are.
void Option4_Click(frmMain& m) {
  m.analysis.views.chartRecords = -1;
  chartWeightRows(m);
}

}  // namespace

void DrawWeightChart(frmMain& m) {
  const bool drawn = chartWeightRows(m);
  if (recordCount(m) == 1) {
    m.form.showWindow();  // still hidden during start-up
    m.dialogs.MsgBox("体重グラフは２日目から表示されます", form::kDefaultTitle, form::Icon::None, form::Buttons::OK);
    return;
  }
  if (!drawn) return;
  form::Control& chart = weightChart(m);
  setWeightAxis(m);
  chart.setSeriesVisible(charts::kMovingAverage, false);
  chart.setSeriesVisible(charts::kProgressLine, false);
  chart.setSeriesVisible(charts::kRunningAverage, false);
  chart.setSeriesVisible(charts::kDailyWeight, true);
}

void InvalidateWeightViews(frmMain& m) { m.analysis.views = {}; }

void wireAnalysis(frmMain& m) {
  m.onClick("Option1", [&m](int) { ShowWeightTable(m); });
  m.onClick("Option2", [&m](int) { ShowWeightRanking(m); });
  m.onClick("Check3", [&m](int) { Check3_Click(m); });
  m.onClick("Check4", [&m](int) { Check4_Click(m); });
  m.onClick("Check5", [&m](int) { Check5_Click(m); });
  m.onClick("Check6", [&m](int) { Check6_Click(m); });
  m.onClick("Check7", [&m](int) { Check7_Click(m); });
  m.onDblClick("MSChart1", [&m](int) { MSChart1_DblClick(m); });
  m.onClick("Option4", [&m](int) { Option4_Click(m); });
}

void dumpAnalysis(const frmMain& m, StateDump& d) {
  const AnalysisArea& a = m.analysis;
  const size_t n = std::min(static_cast<size_t>(std::max(0, m.Weight.WeightCount)), a.AverageWeight.size());
  d.add("AverageWeight", std::vector<float>(a.AverageWeight.begin(), a.AverageWeight.begin() + n));
  d.add("MaxAverageWeight", a.MaxAverageWeight);
  d.add("MinAverageWeight", a.MinAverageWeight);
  d.add("ChartEnlargeStep", static_cast<int>(a.ChartEnlargeStep));
}

}  // namespace app
