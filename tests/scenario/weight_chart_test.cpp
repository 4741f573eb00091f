#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "scenario/analysis_weights.h"
#include "support/drive.h"
#include "support/temp_folder.h"

using analysis_test::writeDiary;
using nlohmann::json;
using testing_support::runDrive;
using testing_support::TempFolder;

namespace {

const store::Date kFirst = store::makeDate(2024, 3, 1);
const std::string kStart = "clock 2024/12/31 09:00:00\nstart\n";

std::vector<std::string> weightsFrom(double first, double step, int count) {
  std::vector<std::string> out;
  for (int i = 0; i < count; ++i) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", first + step * i);
    out.push_back(buf);
  }
  return out;
}

double cellValue(const json& chart, int row, int column) {
  const std::string text = chart["data"][row - 1][column - 1];
  return text.empty() ? NAN : std::stod(text);
}

json visible(bool a, bool b, bool c, bool d) { return json::array({a, b, c, d}); }

}  // namespace

TEST(WeightChart, FourSeriesFromTenRecords) {
  TempFolder dir;
  const std::vector<std::string> w = {"70", "69.8", "70.4", "69.1", "69.9", "68.7", "69.3", "68.8", "69", "68.5"};
  writeDiary(dir, kFirst, w);
  auto r = runDrive(dir.path(), kStart + "dump MSChart1 Check3 Check4 Check5 Check6\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_TRUE(r.dialogs(0).empty());
  const json& c = r.last()["controls"];
  const json& chart = c["MSChart1"];
  EXPECT_EQ(chart["columnCount"], 4);
  EXPECT_EQ(chart["rowCount"], 100);
  EXPECT_EQ(chart["seriesVisible"], visible(true, false, false, false));
  EXPECT_EQ(c["Check3"]["value"], 1);
  EXPECT_EQ(c["Check4"]["value"], 0);

  double sum = 0;
  for (int row = 1; row <= 10; ++row) {
    sum += std::stod(w[row - 1]);
    EXPECT_DOUBLE_EQ(cellValue(chart, row, 1), std::stod(w[row - 1]));
    EXPECT_NEAR(cellValue(chart, row, 4), sum / row, 1e-4);
    if (row < 10) {
      EXPECT_EQ(chart["data"][row - 1][1], "") << row;
    }
  }
  // The moving average has exactly one point: the mean of all ten weights.
  EXPECT_NEAR(cellValue(chart, 10, 2), sum / 10, 1e-4);
  for (int row = 11; row <= 100; ++row) {
    EXPECT_EQ(chart["data"][row - 1][0], "");
    EXPECT_EQ(chart["data"][row - 1][1], "");
    EXPECT_EQ(chart["data"][row - 1][3], "");
  }

  auto t = runDrive(dir.path(), kStart + "check Check4 1\ndump MSChart1 Check4\n");
  ASSERT_EQ(t.exitCode, 0) << t.stderrText;
  EXPECT_TRUE(t.last()["dialogs"].empty());
  EXPECT_EQ(t.last()["controls"]["MSChart1"]["seriesVisible"], visible(true, true, false, false));
  EXPECT_EQ(t.last()["state"]["HelpText"],
            "移動平均値を表示しています。\r\n突発的な凸凹がとれ全体的な推移が把握できます。\r\n");
}

TEST(WeightChart, MovingAverageNeedsTenRecords) {
  TempFolder dir;
  writeDiary(dir, kFirst, weightsFrom(70, -0.1, 9));
  auto r = runDrive(dir.path(),
                    kStart + "dump\ncheck Check4 1\ndump MSChart1 Check4\ncheck Check4 0\ndump MSChart1 Check4\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json& ticked = r.dumps[1];
  ASSERT_EQ(ticked["dialogs"].size(), 1u);
  EXPECT_EQ(ticked["dialogs"][0]["text"], "移動平均表示には１０日分以上のデータが必要です");
  EXPECT_EQ(ticked["dialogs"][0]["title"], "データ数不足");
  EXPECT_EQ(ticked["dialogs"][0]["icon"], "information");
  EXPECT_EQ(ticked["controls"]["Check4"]["value"], 1);
  EXPECT_EQ(ticked["controls"]["MSChart1"]["seriesVisible"], visible(true, false, false, false));

  const json& cleared = r.dumps[2];
  EXPECT_TRUE(cleared["dialogs"].empty());
  EXPECT_EQ(cleared["controls"]["Check4"]["value"], 0);
  EXPECT_EQ(cleared["controls"]["MSChart1"], ticked["controls"]["MSChart1"]);
}

TEST(WeightChart, ProgressLineRunsFromTheFirstWeightTowardsTheTarget) {
  TempFolder dir;
  writeDiary(dir, kFirst, {"80", "79.5", "79.7"}, "70", "100");
  auto r = runDrive(dir.path(), kStart + "check Check5 1\ndump MSChart1\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json& chart = r.last()["controls"]["MSChart1"];
  EXPECT_EQ(chart["rowCount"], 100);
  for (int row = 1; row <= 100; ++row) EXPECT_NEAR(cellValue(chart, row, 3), 80.0 - 0.1 * (row - 1), 1e-3) << row;
  EXPECT_NEAR(cellValue(chart, 100, 3), 70.1, 1e-3);
  EXPECT_EQ(chart["seriesVisible"], visible(true, false, true, false));
  EXPECT_EQ(chart["axisMin"], 70);
  EXPECT_EQ(chart["axisMax"], 80);
  EXPECT_EQ(r.last()["state"]["HelpText"],
            "ダイエットスタートから目標期間までを直線で結びます。\r\nダイエットの進度状況を相対的に把握できます｡ \r\n");
}

TEST(WeightChart, AxisTopRoundsTheHighestWeightUp) {
  for (const auto& [top, axis] : std::vector<std::pair<std::string, int>>{{"70", 70}, {"70.05", 70}, {"70.1", 71}}) {
    SCOPED_TRACE(top);
    TempFolder dir;
    writeDiary(dir, kFirst, {top, "65.5"}, "60.5");
    auto r = runDrive(dir.path(), kStart + "dump MSChart1\n");
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    EXPECT_EQ(r.last()["controls"]["MSChart1"]["axisMax"], axis);
    EXPECT_EQ(r.last()["controls"]["MSChart1"]["axisMin"], 60);
  }
}

TEST(WeightChart, RecordsPastTheTargetPeriodAreNotCharted) {
  TempFolder dir;
  writeDiary(dir, kFirst, weightsFrom(70, -0.2, 7), "60", "5");
  auto r = runDrive(dir.path(), kStart + "dump MSChart1\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json& chart = r.last()["controls"]["MSChart1"];
  EXPECT_EQ(chart["rowCount"], 5);
  EXPECT_NEAR(cellValue(chart, 5, 1), 69.2, 1e-4);
  EXPECT_NEAR(cellValue(chart, 5, 3), 62.0, 1e-3);  // one step above the target
}

// The span of days chosen under the chart: the records past the target period are charted for
// the other spans, and the days in view are the last four weeks, three months or every record.
TEST(WeightChart, SpansOfDaysShowTheRecordsChosen) {
  TempFolder dir;
  writeDiary(dir, kFirst, weightsFrom(70, -0.2, 7), "60", "5");
  auto r = runDrive(dir.path(), kStart +
                                    "dump MSChart1\nclick Option4(3)\ndump MSChart1\nclick Option4(0)\n"
                                    "dump MSChart1\nclick Option4(2)\ndump MSChart1 Option4(0) Option4(2)\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const double first = static_cast<double>(kFirst.time_since_epoch().count());
  auto chart = [&](size_t i) { return r.dumps[i]["controls"]["MSChart1"]; };
  EXPECT_EQ(chart(0)["rowDays"], json({first, first + 1, first + 2, first + 3, first + 4}));
  EXPECT_EQ(chart(0)["dayRange"], nullptr);
  EXPECT_EQ(chart(1)["rowCount"], 7);
  EXPECT_NEAR(cellValue(chart(1), 7, 1), 68.8, 1e-4);
  EXPECT_EQ(chart(1)["dayRange"], json({first, first + 6}));
  EXPECT_EQ(chart(2)["dayRange"], json({first, first + 27})) << "four weeks from the first while younger";
  EXPECT_EQ(chart(3), chart(0));
  EXPECT_EQ(r.last()["controls"]["Option4(2)"]["value"], 1);
  EXPECT_EQ(r.last()["controls"]["Option4(0)"]["value"], 0);
}

TEST(WeightChart, CheckBoxesClearEachOther) {
  TempFolder dir;
  writeDiary(dir, kFirst, weightsFrom(72, -0.3, 12));
  auto r = runDrive(dir.path(), kStart +
                                    "check Check4 1\ncheck Check5 1\ndump MSChart1 Check3 Check4 Check5 Check6\n"
                                    "click Check6\ndump MSChart1 Check3 Check4 Check5 Check6\n"
                                    "click Check3\ndump MSChart1 Check3 Check4 Check5 Check6\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json& all = r.dumps[0]["controls"];
  EXPECT_EQ(all["MSChart1"]["seriesVisible"], visible(true, true, true, false));

  const json& avg = r.dumps[1]["controls"];
  const json& state = r.dumps[1]["state"];
  for (const char* box : {"Check3", "Check4", "Check5"}) EXPECT_EQ(avg[box]["value"], 0) << box;
  EXPECT_EQ(avg["Check6"]["value"], 1);
  EXPECT_EQ(avg["MSChart1"]["seriesVisible"], visible(false, false, false, true));
  EXPECT_NEAR(avg["MSChart1"]["axisMin"].get<double>(), state["MinAverageWeight"].get<double>() - 0.05, 1e-6);
  EXPECT_NEAR(avg["MSChart1"]["axisMax"].get<double>(), state["MaxAverageWeight"].get<double>(), 1e-6);
  EXPECT_EQ(state["MaxAverageWeight"], 72);
  EXPECT_NEAR(state["MinAverageWeight"].get<double>(), 72 - 0.3 * 11 / 2, 1e-4);
  EXPECT_EQ(state["HelpText"],
            "体重の平均値の推移を表示しています。\r\n体重の停滞期でもこの値は下がっていきますので励みになるはずです。 "
            "\r\n");

  const json& back = r.dumps[2]["controls"];
  EXPECT_EQ(back["Check6"]["value"], 0);
  EXPECT_EQ(back["Check3"]["value"], 1);
  EXPECT_EQ(back["MSChart1"]["seriesVisible"], visible(true, false, false, false));
  EXPECT_EQ(back["MSChart1"]["axisMin"], 60);
  EXPECT_EQ(back["MSChart1"]["axisMax"], 72);
  EXPECT_EQ(r.dumps[2]["state"]["HelpText"], "日々の体重推移グラフです\r\n");
}

TEST(WeightChart, DoubleClicksEnlargeAndRestore) {
  TempFolder dir;
  writeDiary(dir, kFirst, {"70", "69.5"});
  auto r = runDrive(dir.path(), kStart + "dblclick MSChart1\ndump MSChart1\ndblclick MSChart1\ndump MSChart1\n" +
                                    "dblclick MSChart1\ndump MSChart1\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const std::vector<std::pair<int, int>> sizes = {{7590, 7200}, {11415, 7200}, {7590, 5190}};
  for (size_t i = 0; i < sizes.size(); ++i) {
    const json& chart = r.dumps[i]["controls"]["MSChart1"];
    EXPECT_EQ(chart["width"], sizes[i].first) << i;
    EXPECT_EQ(chart["height"], sizes[i].second) << i;
  }
}

TEST(WeightChart, FewRecordsOrNoPeriodDrawNothing) {
  {
    SCOPED_TRACE("no record: rows only, no message");
    TempFolder dir;
    dir.writeMinimalDiary();
    auto r = runDrive(dir.path(), kStart + "dump MSChart1\n");
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    EXPECT_TRUE(r.last()["dialogs"].empty());
    const json& chart = r.last()["controls"]["MSChart1"];
    EXPECT_EQ(chart["rowCount"], 100);
    for (const json& row : chart["data"]) EXPECT_EQ(row, json({"", "", "", ""}));
  }
  {
    SCOPED_TRACE("one record: the message, no cell");
    TempFolder dir;
    writeDiary(dir, kFirst, {"70"});
    auto r = runDrive(dir.path(), kStart + "dump MSChart1\n");
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    ASSERT_EQ(r.last()["dialogs"].size(), 1u);
    EXPECT_EQ(r.last()["dialogs"][0]["text"], "体重グラフは２日目から表示されます");
    EXPECT_EQ(r.last()["dialogs"][0]["icon"], "none");
    for (const json& row : r.last()["controls"]["MSChart1"]["data"]) EXPECT_EQ(row, json({"", "", "", ""}));
  }
  {
    SCOPED_TRACE("a target period of 0 in a hand-edited profile");
    TempFolder dir;
    writeDiary(dir, kFirst, {"70", "69.5", "69"}, "60", "0");
    auto r = runDrive(dir.path(), kStart + "check Check5 1\ncheck Check6 1\ndump MSChart1\n");
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    EXPECT_TRUE(r.last()["dialogs"].empty());
    EXPECT_EQ(r.last()["controls"]["MSChart1"]["rowCount"], 0);
  }
}
