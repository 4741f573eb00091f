#include <gtest/gtest.h>

#include "charts/other_charts.h"
#include "records/body_fat.h"
#include "records/intraday.h"
#include "records/steps.h"

namespace {

records::WeightSeries weights(std::vector<std::pair<std::string, float>> days) {
  records::WeightSeries w;
  for (auto& [d, kg] : days) {
    w.WeightDate.push_back(d);
    w.WeightKg.push_back(kg);
    ++w.WeightCount;
  }
  return w;
}

records::BodyFatSeries fat(std::vector<std::pair<std::string, float>> records) {
  records::BodyFatSeries s;
  for (auto& [d, p] : records) {
    s.FatDate.push_back(d);
    s.FatPercent.push_back(p);
    ++s.FatCount;
  }
  return s;
}

}  // namespace

TEST(BodyFatMass, SearchStartsAtTheRecordsOwnSlot) {
  auto w = weights({{"2004/05/01", 70}, {"2004/05/02", 69}, {"2004/05/03", 68}, {"2004/05/04", 67}});
  // Two records of 05/03 at indices 0 and 1 both reach its weight at slot 2; a record of 05/01
  // at index 2 does not, because its weight lies before slot 2.
  auto s = fat({{"2004/05/03", 20}, {"2004/05/03", 25}, {"2004/05/01", 20}, {"2004/05/04", 30}});
  auto rows = records::ComputeFatMass(s, w);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].record, 0);
  EXPECT_EQ(rows[1].record, 1);
  EXPECT_EQ(rows[2].record, 3);
  EXPECT_EQ(s.FatMassCount, 3);
  EXPECT_FLOAT_EQ(s.FatMassKg[0], 13.6f);
  EXPECT_FLOAT_EQ(s.FatMassKg[1], 17.0f);
  EXPECT_FLOAT_EQ(s.FatMassKg[2], 20.1f);
  EXPECT_FALSE(rows[0].sinceFirst);
  EXPECT_EQ(records::FatMassCells(s, rows[0]).size(), 4u);
  EXPECT_EQ(records::FatMassCells(s, rows[2]),
            (std::vector<std::string>{"2004/05/04", "67.0Kg", "30.0%", "20.1Kg", "6.5Kg", "3.1Kg"}));
}

TEST(BodyFatMass, DatesAreComparedAsTexts) {
  // The same day written without leading zeros is another text and finds no weight.
  auto w = weights({{"2004/05/01", 70}});
  auto s = fat({{"2004/5/1", 20}});
  EXPECT_TRUE(records::ComputeFatMass(s, w).empty());
  EXPECT_EQ(s.FatMassCount, 0);
  // Reloading starts the fat mass afresh.
  auto s2 = fat({{"2004/05/01", 20}});
  s2.FatMassKg = {1, 2, 3};
  s2.FatMassCount = 3;
  records::ComputeFatMass(s2, w);
  EXPECT_EQ(s2.FatMassKg, (std::vector<float>{14}));
}

TEST(BodyLogLists, CellsAsTheTablesShowThem) {
  auto s = fat({{"2004/05/01", 23.45f}, {"昨日", 0.35f}});
  EXPECT_EQ(records::BodyFatListCells(s, 0), (std::vector<std::string>{"04/05/01", "23.5%"}));
  // A hand-edited date that is no date is shown as written; 0.35 rounds as typed, not by its
  // binary neighbour 0.3499999.
  EXPECT_EQ(records::BodyFatListCells(s, 1), (std::vector<std::string>{"昨日", "0.4%"}));

  records::StepSeries st;
  st.StepDate = {"2003/12/31"};
  st.StepValue = {8532};
  st.StepCount = 1;
  EXPECT_EQ(records::StepListCells(st, 0), (std::vector<std::string>{"03/12/31", "8532歩"}));

  records::IntradaySeries in;
  in.IntradayDate = {"2004/05/01", "2004/05/01"};
  in.IntradayTime = {"07:15:30", "7:5:3"};
  in.IntradayWeightKg = {65.25f, 64.96f};
  in.IntradayCount = 2;
  EXPECT_EQ(records::IntradayListCells(in, 0), (std::vector<std::string>{"04/05/01", "07:15:30", "65.3Kg"}));
  EXPECT_EQ(records::IntradayListCells(in, 1), (std::vector<std::string>{"04/05/01", "07:05:03", "65.0Kg"}));
}

TEST(BodyLogLists, IntradayRecordKeepsTheTypedPrecision) {
  store::DateTime t{store::makeDate(2004, 5, 1), 7, 5, 9};
  EXPECT_EQ(records::IntradayRecord(t, 65.25).line(), "\"2004/05/01\",\"07:05:09\",65.25");
  EXPECT_EQ(records::IntradayRecord(t, 65.123456789).line(), "\"2004/05/01\",\"07:05:09\",65.123456789");
}

TEST(StepTotals, WholeStepsRoundHalvesToEvenAndStayInRange) {
  EXPECT_EQ(records::WholeSteps(2.5), 2);
  EXPECT_EQ(records::WholeSteps(3.5), 4);
  EXPECT_EQ(records::WholeSteps(-300.4), -300);
  EXPECT_EQ(records::WholeSteps(1e20), 2147483647);
  EXPECT_EQ(records::WholeSteps(-1e20), -2147483647 - 1);
}

TEST(AxisBoxes, NumbersAndConversions) {
  EXPECT_EQ(charts::ReadNumberBox(" 28 "), 28.0);
  EXPECT_EQ(charts::ReadNumberBox("1000.5"), 1000.5);
  EXPECT_EQ(charts::ReadNumberBox("-5"), -5.0);
  for (const char* bad : {"", "  ", "abc", "28kg", "1.2.3"}) EXPECT_FALSE(charts::ReadNumberBox(bad)) << bad;

  profile::Profile p;
  EXPECT_TRUE(charts::StoreAxisLimit(p, charts::AxisBox::StepMax, 1000.5));
  EXPECT_EQ(p.StepAxisMax, 1000);
  EXPECT_TRUE(charts::StoreAxisLimit(p, charts::AxisBox::StepMax, 1001.5));
  EXPECT_EQ(p.StepAxisMax, 1002);
  EXPECT_TRUE(charts::StoreAxisLimit(p, charts::AxisBox::StepMin, -32768));
  EXPECT_EQ(p.StepAxisMin, -32768);
  EXPECT_FALSE(charts::StoreAxisLimit(p, charts::AxisBox::StepMin, 32767.6));
  EXPECT_EQ(p.StepAxisMin, -32768);
  EXPECT_FALSE(charts::StoreAxisLimit(p, charts::AxisBox::StepMax, 3e9));
  EXPECT_EQ(p.StepAxisMax, 1002);
  EXPECT_TRUE(charts::StoreAxisLimit(p, charts::AxisBox::FatMax, 28.3));
  EXPECT_FLOAT_EQ(p.FatAxisMax, 28.3f);
  EXPECT_TRUE(charts::StoreAxisLimit(p, charts::AxisBox::FatMin, 12));
  EXPECT_FLOAT_EQ(p.FatAxisMin, 12.0f);
  EXPECT_FALSE(charts::StoreAxisLimit(p, charts::AxisBox::FatMin, 1e39));
  EXPECT_FLOAT_EQ(p.FatAxisMin, 12.0f);
}

TEST(OtherChartsDraw, RowsAxesAndTheOneRecordRule) {
  form::Control chart("MSChart5", form::Kind::Chart, "");
  EXPECT_EQ(charts::DrawIntradayChart(chart, {}, 70, 60), charts::DrawResult::Empty);
  EXPECT_EQ(chart.chart().rowCount, 0);
  EXPECT_EQ(charts::DrawIntradayChart(chart, {65.5f}, 70, 60), charts::DrawResult::OneRecord);
  EXPECT_EQ(chart.chart().rowCount, 1);
  EXPECT_FALSE(chart.chart().data[0][0]);
  EXPECT_EQ(charts::DrawIntradayChart(chart, {65.5f, 75}, 70.05f, 60.7f), charts::DrawResult::Drawn);
  EXPECT_EQ(chart.chart().data[1][0], "75");
  EXPECT_EQ(chart.chart().axisMin, 60);
  EXPECT_EQ(chart.chart().axisMax, 70);  // Int(70.05 + 0.9)

  form::Control steps("MSChart3", form::Kind::Chart, "");
  EXPECT_EQ(charts::DrawStepChart(steps, {150000}, 20000, 0), charts::DrawResult::Drawn);
  EXPECT_EQ(steps.chart().data[0][0], "150000");

  form::Control mass("MSChart4", form::Kind::Chart, "");
  charts::DrawFatMassChart(mass, {20.4f, 21.8f});
  EXPECT_EQ(mass.chart().axisMin, 20);
  EXPECT_EQ(mass.chart().axisMax, 21);
  // No fat mass: 999 above 0 is no axis; the previous one stays.
  charts::DrawFatMassChart(mass, {});
  EXPECT_EQ(mass.chart().rowCount, 0);
  EXPECT_EQ(mass.chart().axisMax, 21);

  // One limit at a time keeps the other, or takes the fallback on a chart never drawn.
  charts::SetOneLimit(mass, true, 25, 0);
  EXPECT_EQ(mass.chart().axisMin, 20);
  EXPECT_EQ(mass.chart().axisMax, 25);
  form::Control fresh("MSChart2", form::Kind::Chart, "");
  charts::SetOneLimit(fresh, false, 12, 30);
  EXPECT_EQ(fresh.chart().axisMin, 12);
  EXPECT_EQ(fresh.chart().axisMax, 30);
}
