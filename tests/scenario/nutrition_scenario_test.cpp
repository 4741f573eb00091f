#include <gtest/gtest.h>

#include "support/drive.h"
#include "support/temp_folder.h"

using nlohmann::json;
using testing_support::runDrive;
using testing_support::TempFolder;

namespace {

const char* const kStart = "clock 2024/01/05 09:00:00\nstart\n";

// One record of 栄養.txt with the given groups (1 to 11) ticked.
std::string record(const std::string& date, std::initializer_list<int> ticked) {
  std::string line = "\"" + date + "\"";
  for (int g = 1; g <= 11; ++g) {
    bool on = false;
    for (int t : ticked) on = on || t == g;
    line += on ? ",\"●\"" : ",\"×\"";
  }
  return line + "\r\n";
}

std::string groupControls() {
  std::string names;
  for (int g = 0; g <= 10; ++g)
    names +=
        " Label7(" + std::to_string(g) + ") shpEiyoK(" + std::to_string(g) + ") shpEiyoB(" + std::to_string(g) + ")";
  return names;
}

const std::vector<std::string> kAllGroups = {"乳製品", "卵",   "肉",   "魚介", "豆類", "野菜",
                                             "芋類",   "果物", "穀物", "砂糖", "油脂"};
const char* const kNothingLacking = "不足はありません。この調子でまんべんなく摂取しましょう!";

}  // namespace

TEST(NutritionScenario, TwelveRecordsInBothViews) {
  TempFolder dir;
  dir.writeMinimalDiary();
  std::string log;
  for (int i = 1; i <= 2; ++i) log += record("2024/01/0" + std::to_string(i), {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
  for (int i = 3; i <= 12; ++i) log += record("2024/01/" + std::string(i < 10 ? "0" : "") + std::to_string(i), {});
  dir.writeCp932("栄養.txt", log);
  std::string dump = "dump List6 List7" + groupControls() + "\n";
  auto r = runDrive(dir.path(), kStart + dump + "click Option3(1)\n" + dump + "click Option3(0)\n" + dump);
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;

  const json& recent = r.dumps[0]["controls"];
  EXPECT_EQ(recent["List7"]["items"], json(kAllGroups));
  EXPECT_EQ(recent["List6"]["items"].size(), 12u);
  EXPECT_EQ(recent["List6"]["items"][0], "01/01-●●●●●●●●●●●");
  EXPECT_EQ(recent["List6"]["topIndex"], 11);
  for (int g = 0; g <= 10; ++g) {
    std::string i = "(" + std::to_string(g) + ")";
    EXPECT_EQ(recent["Label7" + i]["caption"], "0.0%");
    EXPECT_EQ(recent["shpEiyoK" + i]["width"], 0);
    EXPECT_EQ(recent["shpEiyoK" + i]["fillColor"], "#FF0000");
  }
  EXPECT_EQ(r.dumps[0]["state"]["NutritionShowAll"], false);

  const json& all = r.dumps[1]["controls"];
  for (int g = 0; g <= 10; ++g) {
    std::string i = "(" + std::to_string(g) + ")";
    EXPECT_EQ(all["Label7" + i]["caption"], "16.7%");
    // One sixth of the background bar, rounded down.
    EXPECT_NEAR(all["shpEiyoK" + i]["width"].get<int>(), all["shpEiyoB" + i]["width"].get<int>() / 6.0, 1.0);
  }
  EXPECT_EQ(all["List7"]["items"], json(kAllGroups));
  EXPECT_EQ(r.dumps[1]["state"]["NutritionShowAll"], true);

  EXPECT_EQ(r.dumps[2]["controls"]["Label7(0)"]["caption"], "0.0%");
  EXPECT_EQ(r.dumps[2]["state"]["NutritionShowAll"], false);
}

TEST(NutritionScenario, SharesColourTheBars) {
  TempFolder dir;
  dir.writeMinimalDiary();
  // Group 1 in 4 of 10 records, group 2 in 3, group 3 in 8, every other group in all ten.
  std::string log;
  for (int i = 0; i < 10; ++i) {
    std::vector<int> groups = {4, 5, 6, 7, 8, 9, 10, 11};
    std::string line = "\"2024/02/1" + std::to_string(i) + "\"";
    auto on = [&](int g) {
      if (g == 1) return i < 4;
      if (g == 2) return i < 3;
      if (g == 3) return i < 8;
      return true;
    };
    for (int g = 1; g <= 11; ++g) line += on(g) ? ",\"●\"" : ",\"×\"";
    log += line + "\r\n";
  }
  dir.writeCp932("栄養.txt", log);
  auto r = runDrive(dir.path(), std::string(kStart) + "dump List7" + groupControls() + "\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json& c = r.last()["controls"];
  EXPECT_EQ(c["Label7(0)"]["caption"], "40.0%");
  EXPECT_EQ(c["shpEiyoK(0)"]["fillColor"], "#FFFF00");
  EXPECT_EQ(c["shpEiyoK(0)"]["width"], c["shpEiyoB(0)"]["width"].get<int>() * 4 / 10);
  EXPECT_EQ(c["Label7(1)"]["caption"], "30.0%");
  EXPECT_EQ(c["shpEiyoK(1)"]["fillColor"], "#FF0000");
  EXPECT_EQ(c["Label7(2)"]["caption"], "80.0%");
  EXPECT_EQ(c["shpEiyoK(2)"]["fillColor"], "#0000FF");
  EXPECT_EQ(c["Label7(10)"]["caption"], "100.0%");
  EXPECT_EQ(c["shpEiyoK(10)"]["width"], c["shpEiyoB(10)"]["width"]);
  EXPECT_EQ(c["List7"]["items"], json({"卵"}));
}

TEST(NutritionScenario, SavingAppendsTheSelectedDayAndReanalyses) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r = runDrive(dir.path(), std::string(kStart) +
                                    "dump List6 List7 Label7(0)\n"
                                    "click Check1(0)\nclick Check1(2)\nclick Command3\n"
                                    "dump List6 List7 Label7(0) Label7(1) Check1(0) Check1(1)\n"
                                    "settext txtDate 2024/01/04\n"
                                    "check Check1(1) 1\ncheck Check1(3) 1\ncheck Check1(4) 1\ncheck Check1(5) 1\n"
                                    "check Check1(6) 1\ncheck Check1(7) 1\ncheck Check1(8) 1\ncheck Check1(9) 1\n"
                                    "check Check1(10) 1\nclick Command3\nanswer No\nclick Command3\n"
                                    "dump List6 List7 Label7(1)\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  // An empty log leaves the figures blank and the deficient list empty.
  EXPECT_EQ(r.dumps[0]["controls"]["List7"]["items"], json::array());
  EXPECT_EQ(r.dumps[0]["controls"]["Label7(0)"]["caption"], "");

  const json& one = r.dumps[1]["controls"];
  EXPECT_EQ(one["List6"]["items"], json({"01/05-●×●××××××××"}));
  EXPECT_EQ(one["Label7(0)"]["caption"], "100.0%");
  EXPECT_EQ(one["Label7(1)"]["caption"], "0.0%");
  EXPECT_EQ(one["Check1(0)"]["value"], 1);  // the ticks stay after saving
  EXPECT_EQ(one["List7"]["items"], json({"卵", "魚介", "豆類", "野菜", "芋類", "果物", "穀物", "砂糖", "油脂"}));
  EXPECT_TRUE(r.dialogs(1).empty());

  // The same day saved twice, adding rather than replacing, counts twice.
  const json& three = r.dumps[2]["controls"];
  EXPECT_EQ(three["List6"]["items"], json({"01/05-●×●××××××××", "01/04-●●●●●●●●●●●", "01/04-●●●●●●●●●●●"}));
  EXPECT_EQ(three["Label7(1)"]["caption"], "66.7%");
  EXPECT_EQ(three["List7"]["items"], json({kNothingLacking}));
  EXPECT_EQ(three["List6"]["topIndex"], 2);

  std::string ticked = ",\"●\",\"●\",\"●\",\"●\",\"●\",\"●\",\"●\",\"●\",\"●\",\"●\",\"●\"\r\n";
  EXPECT_EQ(dir.readUtf8("栄養.txt"),
            "\"2024/01/05\",\"●\",\"×\",\"●\",\"×\",\"×\",\"×\",\"×\",\"×\",\"×\",\"×\","
            "\"×\"\r\n\"2024/01/04\"" +
                ticked + "\"2024/01/04\"" + ticked);
}

TEST(NutritionScenario, NothingTickedNeedsConfirmation) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r = runDrive(dir.path(), std::string(kStart) +
                                    "answer Cancel\nclick Command3\ndump List6\n"
                                    "answer OK\nclick Command3\ndump List6 List7\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json& box = r.dialogs(0).at(0);
  EXPECT_EQ(box["text"], "何もチェックされていませんが保存してよろしいですか？");
  EXPECT_EQ(box["icon"], "warning");
  EXPECT_EQ(box["buttons"], "OKCancel");
  EXPECT_EQ(box["default"], "Cancel");  // Enter does not save an empty checklist
  EXPECT_EQ(r.dumps[0]["controls"]["List6"]["items"], json::array());
  EXPECT_EQ(r.dumps[1]["controls"]["List6"]["items"], json({"01/05-×××××××××××"}));
  EXPECT_EQ(r.dumps[1]["controls"]["List7"]["items"], json(kAllGroups));
}

TEST(NutritionScenario, AdviceAndSampleModeRefusal) {
  TempFolder dir;
  dir.copySample();
  std::string before = dir.readBytes("栄養.txt");
  auto r = runDrive(dir.path(), std::string(kStart) + "dump\nclick Check1(0)\nclick Command3\ndump List11\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  ASSERT_EQ(r.last()["state"]["SampleMode"], true);
  ASSERT_EQ(r.dialogs(1).size(), 1u);
  const json& box = r.dialogs(1).at(0);
  EXPECT_EQ(box["title"], "サンプルモードでの制約");
  EXPECT_EQ(box["icon"], "warning");
  EXPECT_EQ(dir.readBytes("栄養.txt"), before);
  const json& advice = r.last()["controls"]["List11"]["items"];
  ASSERT_EQ(advice.size(), 11u);
  EXPECT_EQ(advice[0], "【乳】  吸収のいいカルシウムやビタミンＡ，Ｂ2など不足がちな栄養素を含む");
  EXPECT_EQ(advice[3], "【魚】\u3000肉と同様");
  EXPECT_EQ(advice[10], "【油】  腹持ちをよくする。ビタミンＡ、Ｄ、Ｅの吸収を促す役目あり");
}
