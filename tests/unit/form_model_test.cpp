#include <gtest/gtest.h>

#include <random>

#include "form/form.h"

using form::Control;
using form::Form;
using form::Kind;

TEST(FormModel, EveryControlOfTheWindowExistsWithItsKind) {
  Form f;
  form::buildMainForm(f);
  EXPECT_EQ(f.title(), "今度こそ勝利をげっちゅー！");
  const std::pair<const char*, Kind> some[] = {{"cmdMain", Kind::CommandButton}, {"cmdSettei", Kind::CommandButton},
                                               {"chkHelp", Kind::CheckBox},      {"txtDate", Kind::TextBox},
                                               {"VScroll1", Kind::ScrollBar},    {"MSChart1", Kind::Chart},
                                               {"MSChart5", Kind::Chart},        {"msgB4", Kind::Grid},
                                               {"msgSuiList", Kind::Grid},       {"cmdMono(36)", Kind::CommandButton},
                                               {"Label9(30)", Kind::Label},      {"Label9(22)", Kind::Label},
                                               {"shpBarK(6)", Kind::Shape},      {"Check1(10)", Kind::CheckBox},
                                               {"List10(2)", Kind::ListBox},     {"List5(4)", Kind::ListBox},
                                               {"fraDaimoku(4)", Kind::Frame},   {"Option3(1)", Kind::OptionButton},
                                               {"txtPriData(5)", Kind::TextBox}, {"HScroll1", Kind::ScrollBar},
                                               {"Image4(1)", Kind::Image},       {"Shape2(5)", Kind::Shape},
                                               {"txtDiary", Kind::TextBox},      {"Label16(3)", Kind::Label}};
  for (const auto& [name, kind] : some) {
    ASSERT_TRUE(f.has(name)) << name;
    EXPECT_EQ(f(name).kind(), kind) << name;
  }
  EXPECT_EQ(f("cmdMain").caption(), "メイン");
  EXPECT_EQ(f("Command1", 6).caption(), "土");
  EXPECT_EQ(f("chkHelp").toolTip(), "ヘルプツアーのＯｎ／Ｏｆｆです");
  EXPECT_EQ(f("HScroll1").min(), 170);
  EXPECT_EQ(f("HScroll1").max(), 320);
  EXPECT_EQ(f("VScroll1").max(), 365);
  EXPECT_THROW(f("noSuchControl"), std::out_of_range);
  EXPECT_EQ(form::arrayName("Label9", -2147483647 - 1), "Label9(-2147483648)");
  EXPECT_EQ(&f("Label9", 30), &f("Label9(30)"));
  const std::string longBase(80, 'x');
  try {
    f(longBase, 7);
    ADD_FAILURE() << "a name no control has was found";
  } catch (const std::out_of_range& e) {
    EXPECT_EQ(std::string(e.what()), "no control " + longBase + "(7)");
  }
  // A name given twice is refused and leaves the form as it was.
  const size_t count = f.controls().size();
  EXPECT_THROW(f.add("cmdMain", Kind::Label), std::logic_error);
  EXPECT_EQ(f.controls().size(), count);
  EXPECT_EQ(f("cmdMain").kind(), Kind::CommandButton);

  // Thousands more: every name still finds its own control, in creation order, and no control
  // moves while the form grows.
  Form big;
  form::buildMainForm(big);
  Control* const main = &big("cmdMain");
  for (int i = 0; i < 5000; ++i) big.add("extra" + std::to_string(i), Kind::Label).setCaption(std::to_string(i));
  ASSERT_EQ(big.controls().size(), count + 5000);
  EXPECT_EQ(&big("cmdMain"), main);
  EXPECT_EQ(big.controls().front()->name(), "txtDate");
  for (int i = 0; i < 5000; i += 7) {
    const Control& c = big("extra" + std::to_string(i));
    EXPECT_EQ(c.caption(), std::to_string(i));
    EXPECT_EQ(big.controls()[count + static_cast<size_t>(i)], &c);
  }
  EXPECT_FALSE(big.has("extra5000"));

  // Back to the built state: tables and charts too, each a copy of its own.
  f("msgB1").setGridRows(3);
  f("msgB1").setCell(1, 1, "changed");
  f("MSChart1").setChartRowCount(3);
  f("MSChart1").setChartValue(2, 1, "71.5");
  f.restoreBuiltState();
  Form built;
  form::buildMainForm(built);
  EXPECT_EQ(f("msgB1").grid().rows, built("msgB1").grid().rows);
  EXPECT_EQ(f("msgB1").grid().cells, built("msgB1").grid().cells);
  EXPECT_EQ(f("MSChart1").chart().rowCount, built("MSChart1").chart().rowCount);
  EXPECT_EQ(f("MSChart1").chart().data, built("MSChart1").chart().data);
  EXPECT_EQ(f("MSChart1").chart().columnCount, 4);
  EXPECT_EQ(f("MSChart1").chart().seriesNames, built("MSChart1").chart().seriesNames);
  EXPECT_EQ(f("MSChart5").chart().seriesNames, std::vector<std::string>{"体重"});
}

TEST(GridModel, RowsHeaderCellsAndTopRow) {
  Control g("msgB1", Kind::Grid, "");
  g.setGridCols(4);
  g.setGridRows(3);
  g.setCell(0, 0, "日数");
  g.setCell(2, 3, "-1.0Kg");
  EXPECT_EQ(g.cell(2, 3), "-1.0Kg");
  EXPECT_TRUE(g.setTopRow(2));
  EXPECT_FALSE(g.setTopRow(3));  // too short: fails quietly, nothing changes
  EXPECT_EQ(g.grid().topRow, 2);
  g.setGridRows(1);  // back to the header row alone
  EXPECT_EQ(g.grid().rows, 1);
  EXPECT_EQ(g.cell(0, 0), "日数");
  EXPECT_EQ(g.cell(2, 3), "");
  g.setGridRows(3);
  EXPECT_EQ(g.cell(2, 3), "");  // new rows are empty
  g.setColWidth(1, 1500);
  g.setColAlignment(1, form::Align::Center, form::Align::Right);
  EXPECT_EQ(g.grid().colWidths[1], 1500);
  EXPECT_EQ(g.grid().fontSize, 11);
}

TEST(ChartModel, CellsSeriesAndLimits) {
  Control c("MSChart1", Kind::Chart, "");
  c.setChartColumnCount(4);
  c.setChartRowCount(2);
  c.setChartValue(1, 1, "70");
  c.selectChartCell(2, 3);
  c.setChartData("80.5");
  EXPECT_EQ(c.chart().data[0][0].value(), "70");
  EXPECT_FALSE(c.chart().data[0][1].has_value());  // never written
  EXPECT_EQ(c.chart().data[1][2].value(), "80.5");
  c.setSeriesVisible(2, false);
  EXPECT_FALSE(c.chart().seriesVisible[1]);
  c.setAxisLimits(60, 71);
  c.setAxisLimits(70, 70);  // not min < max: ignored, the last good limits stay
  EXPECT_EQ(c.chart().axisMin.value(), 60);
  EXPECT_EQ(c.chart().axisMax.value(), 71);
  c.setChartRowCount(0);
  EXPECT_TRUE(c.chart().data.empty());
}

TEST(ChangeCounter, MovesOnlyOnRealChanges) {
  Control l("lblStDate", Kind::Label, "");
  auto before = l.changes();
  l.setCaption("");
  EXPECT_EQ(l.changes(), before);
  l.setCaption("2024/01/01");
  EXPECT_GT(l.changes(), before);
  before = l.changes();
  l.setCaption("2024/01/01");
  EXPECT_EQ(l.changes(), before);
}

// Rows, items and chart values made when first read equal the same ones written at once, through
// any mix of growing, cutting, writing over and reading.
TEST(MadeWhenRead, EqualsWrittenAtOnceThroughAnyOrderOfChanges) {
  std::mt19937 rng(2026);
  auto cellsOf = [](int gen, int row) {
    std::vector<std::string> v{std::to_string(gen) + ":" + std::to_string(row)};
    if (row % 3) v.push_back("b" + std::to_string(row));
    return v;
  };
  for (int round = 0; round < 200; ++round) {
    Control now("g", Kind::Grid, ""), later("g", Kind::Grid, "");
    Control nowList("l", Kind::ListBox, ""), laterList("l", Kind::ListBox, "");
    Control nowChart("c", Kind::Chart, ""), laterChart("c", Kind::Chart, "");
    for (Control* c : {&now, &later}) c->setGridCols(3);
    for (Control* c : {&nowChart, &laterChart}) c->setChartRowCount(20);
    for (int step = 0; step < 40; ++step) {
      const int rows = 1 + static_cast<int>(rng() % 30), first = static_cast<int>(rng() % 32);
      const int row = static_cast<int>(rng() % 32), gen = step;
      switch (rng() % 8) {
        case 0:
        case 1:
          later.setGridRowsLater(rows, first, [gen, cellsOf](int r) { return cellsOf(gen, r); });
          now.setGridRows(rows);
          for (int r = std::max(first, 1); r < rows; ++r)
            for (int c = 0; c < 3; ++c) {
              const auto v = cellsOf(gen, r);
              now.setCell(r, c, c < static_cast<int>(v.size()) ? v[c] : "");
            }
          break;
        case 2:
          now.setGridRows(rows);
          later.setGridRows(rows);
          break;
        case 3:
          now.setCell(row, 1, "x" + std::to_string(step));
          later.setCell(row, 1, "x" + std::to_string(step));
          break;
        case 4: EXPECT_EQ(now.cell(row, 0), later.cell(row, 0)); break;
        case 5: {
          const int count = static_cast<int>(rng() % 5);
          laterList.addItemsLater(count, [gen](int i) { return std::to_string(gen) + "/" + std::to_string(i); });
          const int start = nowList.listCount();
          for (int i = start; i < start + count; ++i) nowList.addItem(std::to_string(gen) + "/" + std::to_string(i));
          if (rng() % 3 == 0) {
            nowList.removeItem(row % 4);
            laterList.removeItem(row % 4);
          }
          if (rng() % 3 == 0) {  // an item added behind the ones waiting
            nowList.addItem("added" + std::to_string(step));
            laterList.addItem("added" + std::to_string(step));
          }
          if (rng() % 11 == 0) {
            nowList.clearItems();
            laterList.clearItems();
          }
          EXPECT_EQ(nowList.listCount(), laterList.listCount());
          break;
        }
        default: {
          const int column = 1 + static_cast<int>(rng() % 2);
          std::vector<form::ChartValue> values;
          for (int r = 1; r <= rows; ++r) values.push_back({r, column, std::to_string(gen * 100 + r)});
          for (const auto& v : values) nowChart.setChartValue(v.row, v.column, v.text);
          laterChart.setChartValuesLater([values] { return values; });
          if (rng() % 4 == 0) {
            nowChart.setChartColumnCount(column);
            laterChart.setChartColumnCount(column);
          }
        }
      }
    }
    ASSERT_EQ(now.grid().rows, later.grid().rows);
    EXPECT_EQ(now.grid().cells, later.grid().cells);
    EXPECT_EQ(nowList.items(), laterList.items());
    EXPECT_EQ(nowChart.chart().data, laterChart.chart().data);
  }
}
