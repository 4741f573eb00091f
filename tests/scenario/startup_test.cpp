#include <gtest/gtest.h>

#include "support/drive.h"
#include "support/temp_folder.h"

using testing_support::runDrive;
using testing_support::TempFolder;

TEST(Startup, DateSelectorAndDayLabelsStartOnToday) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r = runDrive(dir.path(), "clock 2004/05/01 09:00:00\nstart\ndump txtDate VScroll1 lblTai_Date lblShi_Date lblHosu_Date\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const auto& c = r.last()["controls"];
  EXPECT_EQ(c["txtDate"]["text"], "2004/05/01");
  EXPECT_EQ(c["VScroll1"]["value"], 365);
  EXPECT_EQ(c["lblTai_Date"]["caption"], "2004/05/01の体重");
  EXPECT_EQ(c["lblShi_Date"]["caption"], "2004/05/01の体脂肪率");
  EXPECT_EQ(c["lblHosu_Date"]["caption"], "2004/05/01の歩数");
  EXPECT_EQ(r.last()["focus"], "cmdMain");
  EXPECT_EQ(r.last()["state"]["SampleMode"], false);
}
