#include <gtest/gtest.h>

#include "scenario/weight_diary.h"
#include "support/drive.h"
#include "support/temp_folder.h"

using testing_support::runDrive;
using testing_support::TempFolder;
using weight_diary::writeDiary;
using weight_diary::writeWeights;

namespace {

store::Date day(int y, unsigned m, unsigned d) { return store::makeDate(y, m, d); }

const char* kFigures =
    "dump lblStDate lblNowDate lblDate_Sa lblStTaijyu lblNowTaijyu lblTaijyu_Sa lblTaijyu_Zou lblTai_Zougen "
    "lblKikanT lblTaiT lblStShibou lblNowShibou lblShibou_Sa lblStBmi lblNowBmi lblBmi_Sa lblBmi_Zou Label6(1) "
    "Label6(2) Label6(4) Label9(10) Label9(11) Label9(12) Label9(13) Label9(14) Label9(28) Label9(30) shpJikanB "
    "shpJikanK shpTaiB shpTaiK txtInpTaijyu\n";

nlohmann::json startAndDump(const TempFolder& dir, const std::string& today) {
  auto r = runDrive(dir.path(), "clock " + today + " 08:00:00\nstart\n" + kFigures);
  EXPECT_EQ(r.exitCode, 0) << r.stderrText;
  return r.last()["controls"];
}

std::string caption(const nlohmann::json& c, const char* name) { return c[name]["caption"].get<std::string>(); }

// 70.0 on the first day, 67.5 on day 41, one record per day in between.
std::vector<float> fortyOneDays() {
  std::vector<float> kg(42, 69.0f);
  kg.front() = 70.0f;
  kg.back() = 67.5f;
  return kg;
}

}  // namespace

TEST(ProgressScenario, FortyOneDaysToward60KgForecasts123Days) {
  TempFolder dir;
  writeDiary(dir, "170", "60", "100");
  writeWeights(dir, day(2004, 5, 1), fortyOneDays());
  auto c = startAndDump(dir, "2004/06/11");
  EXPECT_EQ(caption(c, "lblStDate"), "2004/05/01");
  EXPECT_EQ(caption(c, "lblNowDate"), "2004/06/11");
  EXPECT_EQ(caption(c, "lblDate_Sa"), "41");
  EXPECT_EQ(caption(c, "Label6(2)"), "41日経過");
  EXPECT_EQ(caption(c, "lblStTaijyu"), "70.0");
  EXPECT_EQ(caption(c, "lblNowTaijyu"), "67.5");
  EXPECT_EQ(caption(c, "lblTaijyu_Sa"), "2.5");
  EXPECT_EQ(caption(c, "lblTaijyu_Zou"), "Kg減");
  EXPECT_EQ(caption(c, "lblTai_Zougen"), "2.5Kg減");
  EXPECT_EQ(caption(c, "lblKikanT"), "41%");
  EXPECT_EQ(c["shpJikanK"]["width"], c["shpJikanB"]["width"].get<int>() * 41 / 100);
  EXPECT_EQ(caption(c, "lblTaiT"), "25%");
  EXPECT_EQ(c["shpTaiK"]["width"], c["shpTaiB"]["width"].get<int>() * 25 / 100);
  EXPECT_EQ(caption(c, "Label9(13)"), "123日後 ( 2004/10/12 )");
  EXPECT_EQ(caption(c, "Label9(11)"), "残り 59日");  // 100 days - 42 records + 1
  EXPECT_EQ(caption(c, "Label9(12)"), "7.5Kg");
  EXPECT_EQ(caption(c, "Label6(4)"), "目標  60Kgまで残り 7.5Kg");
  EXPECT_EQ(caption(c, "Label9(14)"), "67.5 Kg ( 2004/06/11 )");
  // No body-fat records yet.
  EXPECT_EQ(caption(c, "lblStShibou"), "0.0");
  EXPECT_EQ(caption(c, "lblNowShibou"), "0.0");
  EXPECT_EQ(caption(c, "lblShibou_Sa"), "0.0");
  EXPECT_EQ(caption(c, "Label9(28)"), "67.5");
  EXPECT_EQ(caption(c, "Label9(30)"), "1.7");
  // Today's weight stands in the entry box.
  EXPECT_EQ(c["txtInpTaijyu"]["text"], "67.5");
}

TEST(ProgressScenario, LossAndGainTotalsAndBmiFromRoundedFigures) {
  TempFolder dir;
  writeDiary(dir, "170", "60", "100");
  writeWeights(dir, day(2004, 5, 1), {70.0f, 69.0f, 69.5f, 68.0f});
  auto c = startAndDump(dir, "2004/05/10");
  EXPECT_EQ(caption(c, "Label9(10)"), "2.5Kg減     0.5Kg増");
  EXPECT_EQ(c["txtInpTaijyu"]["text"], "");  // the last record is not today's
  // Start BMI 24.22 and now 23.53 at 1.70 m.
  EXPECT_EQ(caption(c, "lblStBmi"), "24.2");
  EXPECT_EQ(caption(c, "lblNowBmi"), "23.5");
  EXPECT_EQ(caption(c, "lblBmi_Sa"), "0.7");
  EXPECT_EQ(caption(c, "lblBmi_Zou"), "減");

  // 1.5 kg lost at 2.49 m but both BMIs round to 24.2: the change is 0.0 and 同.
  TempFolder same;
  writeDiary(same, "249", "100", "100");
  writeWeights(same, day(2004, 5, 1), {150.3f, 149.8f});
  auto s = startAndDump(same, "2004/05/10");
  ASSERT_EQ(caption(s, "lblStBmi"), caption(s, "lblNowBmi"));
  EXPECT_EQ(caption(s, "lblBmi_Sa"), "0.0");
  EXPECT_EQ(caption(s, "lblBmi_Zou"), "同");
}

TEST(ProgressScenario, BelowTargetGainedAndPeriodExceeded) {
  {
    TempFolder dir;  // 70.0 down to 59.2 against a target of 60
    writeDiary(dir, "170", "60", "100");
    writeWeights(dir, day(2004, 5, 1), {70.0f, 65.0f, 59.2f});
    auto c = startAndDump(dir, "2004/05/03");
    EXPECT_EQ(caption(c, "Label9(12)"), "-0.8Kg");
    EXPECT_EQ(caption(c, "lblTaiT"), "100%");
    EXPECT_EQ(c["shpTaiK"]["width"], c["shpTaiB"]["width"]);
    // 10.8 kg in 2 days: -0.8 kg is 0.15 days back, which rounds to 0.
    EXPECT_EQ(caption(c, "Label9(13)"), "0日後 ( 2004/05/03 )");
  }
  {
    TempFolder dir;  // heavier than at the start, 105 records against a period of 100
    writeDiary(dir, "170", "60", "100");
    std::vector<float> kg(105, 70.0f);
    kg.back() = 71.0f;
    writeWeights(dir, day(2004, 1, 1), kg);
    auto c = startAndDump(dir, "2004/06/01");
    EXPECT_EQ(caption(c, "lblTai_Zougen"), "1.0Kg増");
    EXPECT_EQ(caption(c, "lblTaijyu_Zou"), "Kg増");
    EXPECT_EQ(caption(c, "lblTaiT"), "0%");
    EXPECT_EQ(c["shpTaiK"]["width"], 0);
    EXPECT_EQ(caption(c, "Label9(13)"), "初日より増。予想不能");
    EXPECT_EQ(caption(c, "lblKikanT"), "100%");
    EXPECT_EQ(caption(c, "Label9(11)"), "残り -4日");
  }
  {
    TempFolder dir;  // unchanged since the first day
    writeDiary(dir, "170", "60", "100");
    writeWeights(dir, day(2004, 5, 1), {70.0f, 71.0f, 70.0f});
    auto c = startAndDump(dir, "2004/05/03");
    EXPECT_EQ(caption(c, "Label9(13)"), "初日のまんま。予想不能");
    EXPECT_EQ(caption(c, "lblTaijyu_Zou"), "Kg同");
  }
}

TEST(ProgressScenario, EmptyAndOneRecordLogsTouchOnlyWhatTheyCan) {
  TempFolder empty;
  writeDiary(empty);
  auto e = startAndDump(empty, "2004/05/10");
  for (const char* name :
       {"lblStDate", "lblNowDate", "lblDate_Sa", "lblKikanT", "Label9(10)", "Label9(13)", "Label9(14)", "lblStShibou"})
    EXPECT_EQ(caption(e, name), "") << name;
  EXPECT_EQ(e["shpJikanK"]["width"], 0);

  TempFolder one;
  writeDiary(one);
  writeWeights(one, day(2004, 5, 10), {65.3f});
  auto c = startAndDump(one, "2004/05/10");
  EXPECT_EQ(caption(c, "lblDate_Sa"), "0");
  EXPECT_EQ(caption(c, "lblTai_Zougen"), "0.0Kg同");
  EXPECT_EQ(caption(c, "lblBmi_Zou"), "同");
  EXPECT_EQ(caption(c, "lblKikanT"), "0%");
  EXPECT_EQ(caption(c, "Label9(13)"), "");
  EXPECT_EQ(caption(c, "Label9(14)"), "");
}

TEST(ProgressScenario, ZeroDivisorsLeaveTheirFiguresBlankAndNothingElse) {
  TempFolder dir;
  // Height 0, period 0, the first weight equal to the target, both ends on one date.
  writeDiary(dir, "0", "70", "0");
  dir.writeCp932("体重.txt", "\"2004/05/01\",70\r\n\"2004/05/02\",69\r\n\"2004/05/01\",68\r\n");
  auto r = runDrive(dir.path(), std::string("clock 2004/05/10 08:00:00\nstart\n") + kFigures + "dump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const auto& c = r.dumps[0]["controls"];
  for (const char* name :
       {"lblKikanT", "lblTaiT", "lblStBmi", "lblNowBmi", "lblBmi_Sa", "lblBmi_Zou", "Label6(1)", "Label9(13)"})
    EXPECT_EQ(caption(c, name), "") << name;
  EXPECT_EQ(c["shpJikanK"]["width"], 0);
  EXPECT_EQ(c["shpTaiK"]["width"], 0);
  EXPECT_EQ(caption(c, "lblTai_Zougen"), "2.0Kg減");
  EXPECT_EQ(caption(c, "Label9(10)"), "2.0Kg減     0.0Kg増");
  EXPECT_EQ(caption(c, "Label9(11)"), "残り -2日");
  EXPECT_EQ(caption(c, "Label9(14)"), "68.0 Kg ( 2004/05/01 )");
  // Nowhere in the whole window an infinity or a not-a-number.
  const std::string all = r.dumps[1].dump();
  EXPECT_EQ(all.find("inf"), std::string::npos);
  EXPECT_EQ(all.find("nan"), std::string::npos);
  EXPECT_EQ(all.find("NaN"), std::string::npos);
}

TEST(ProgressScenario, ForecastBeyondAnyDateSaysSo) {
  TempFolder dir;
  writeDiary(dir, "170", "60", "3000");
  std::vector<float> kg(700, 99.95f);
  kg.front() = 100.0f;  // 0.05 kg in 699 days with 40 kg to go
  writeWeights(dir, day(2002, 1, 1), kg);
  auto c = startAndDump(dir, "2004/01/01");
  EXPECT_EQ(caption(c, "Label9(13)"), "達成日が遠すぎて予想不能");
}
