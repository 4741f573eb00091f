#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "store/files.h"
#include "support/drive.h"
#include "support/temp_folder.h"

using nlohmann::json;
using testing_support::runDrive;
using testing_support::runDriveInProcess;
using testing_support::TempFolder;

namespace {

const char* const kStart = "clock 2024/01/05 09:00:00\nstart\ndump\n";
const char* const kTitles =
    "\"ﾘｽﾄ1題目\",\"腹筋\",100\r\n\"ﾘｽﾄ2題目\",\"腕立て伏せ\",30\r\n\"ﾘｽﾄ3題目\",\"スクワット\",50\r\n"
    "\"ﾘｽﾄ4題目\",\"背筋\",30\r\n\"ﾘｽﾄ5題目\",\"ダンベル\",12.5\r\n\"ﾘｽﾄ6題目\",\"もも上げ\",100\r\n";

void prepare(const TempFolder& dir) {
  dir.writeMinimalDiary();
  dir.writeCp932("筋トレ題目.txt", kTitles);
}

std::string exercise(int i) {
  std::string n = "(" + std::to_string(i) + ")";
  return " fraKin" + n + " lstKin" + n + " txtKin" + n + " lblTotal" + n + " shpBarB" + n + " shpBarK" + n;
}

// The bar's height as a share of its background, and whether both share their bottom edge.
double barShare(const json& c, int i) {
  std::string n = "(" + std::to_string(i) + ")";
  const json& back = c["shpBarB" + n];
  const json& bar = c["shpBarK" + n];
  EXPECT_EQ(bar["top"].get<int>() + bar["height"].get<int>(), back["top"].get<int>() + back["height"].get<int>());
  return bar["height"].get<double>() / back["height"].get<double>();
}

std::vector<std::string> texts(const json& dialogs) {
  std::vector<std::string> v;
  for (const auto& d : dialogs) v.push_back(d["text"]);
  return v;
}

}  // namespace

TEST(TrainingScenario, TotalsAndBarsAgainstTheTarget) {
  TempFolder dir;
  prepare(dir);
  auto r = runDrive(dir.path(), std::string(kStart) + "dump" + exercise(1) +
                                    "\ntype txtKin(1) 30\nenter txtKin(1)\ntype txtKin(1) 45\nenter txtKin(1)\n"
                                    "dump" +
                                    exercise(1) + "\ntype txtKin(1) 40\nenter txtKin(1)\ndump" + exercise(1) +
                                    "\ntype txtKin(1) -10\nenter txtKin(1)\ndump" + exercise(1) + "\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json& empty = r.dumps[1]["controls"];
  EXPECT_EQ(empty["fraKin(1)"]["caption"], "腹筋  100");
  EXPECT_EQ(empty["lblTotal(1)"]["caption"], "0");
  EXPECT_EQ(barShare(empty, 1), 0.0);

  const json& c75 = r.dumps[2]["controls"];
  EXPECT_EQ(c75["lstKin(1)"]["items"], json({"2024/01/05 _ 30", "2024/01/05 _ 45"}));
  EXPECT_EQ(c75["lstKin(1)"]["topIndex"], 1);
  EXPECT_EQ(c75["lblTotal(1)"]["caption"], "75");
  EXPECT_EQ(c75["txtKin(1)"]["text"], "");
  EXPECT_NEAR(barShare(c75, 1), 0.75, 0.001);

  EXPECT_EQ(r.dumps[3]["controls"]["lblTotal(1)"]["caption"], "115");
  EXPECT_EQ(barShare(r.dumps[3]["controls"], 1), 1.0);

  const json& c105 = r.dumps[4]["controls"];
  EXPECT_EQ(c105["lblTotal(1)"]["caption"], "105");
  EXPECT_EQ(barShare(c105, 1), 1.0);
  EXPECT_EQ(r.dumps[4]["state"]["TrainingTotal"][0], 105);
  EXPECT_EQ(dir.readUtf8("筋トレ1.txt"),
            "\"2024/01/05\",30\r\n\"2024/01/05\",45\r\n\"2024/01/05\",40\r\n\"2024/01/05\",-10\r\n");
}

TEST(TrainingScenario, EntryMessagesKeepTheText) {
  TempFolder dir;
  prepare(dir);
  auto r =
      runDrive(dir.path(), std::string(kStart) +
                               "enter txtKin(2)\n"
                               "type txtKin(2) 0\nenter txtKin(2)\nsettext txtKin(2) abc\nenter txtKin(2)\n"
                               "settext txtKin(2) 30001\nenter txtKin(2)\ndump" +
                               exercise(2) + "\nsettext txtKin(2) 30000\nenter txtKin(2)\ndump" + exercise(2) + "\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(texts(r.dialogs(1)),
            (std::vector<std::string>{"入力がまだのようです", "０か文字が入力されたようです",
                                      "０か文字が入力されたようです", "入力は 30000以下でお願いします"}));
  for (const auto& d : r.dialogs(1)) {
    EXPECT_EQ(d["title"], "メッセージ");
    EXPECT_EQ(d["icon"], "error");
  }
  EXPECT_EQ(r.dumps[1]["controls"]["txtKin(2)"]["text"], "30001");
  EXPECT_EQ(r.dumps[1]["controls"]["lstKin(2)"]["items"], json::array());
  EXPECT_TRUE(r.dialogs(2).empty());
  EXPECT_EQ(r.dumps[2]["controls"]["lblTotal(2)"]["caption"], "30000");
  EXPECT_EQ(dir.readUtf8("筋トレ2.txt"), "\"2024/01/05\",30000\r\n");
}

TEST(TrainingScenario, CountTakesTheClocksDateNotTheSelectedDay) {
  TempFolder dir;
  prepare(dir);
  auto r = runDrive(dir.path(), std::string(kStart) +
                                    "settext txtDate 2024/01/02\nclock 2024/01/06 07:30:00\n"
                                    "settext txtKin(4) 12\nenter txtKin(4)\ndump lstKin(4)\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(r.last()["controls"]["lstKin(4)"]["items"], json({"2024/01/06 _ 12"}));
  EXPECT_EQ(dir.readUtf8("筋トレ4.txt"), "\"2024/01/06\",12\r\n");
}

TEST(TrainingScenario, RenameAsksThenEmptiesTheHistory) {
  TempFolder dir;
  prepare(dir);
  dir.writeCp932("筋トレ3.txt", "\"2024/01/01\",20\r\n\"2024/01/02\",25\r\n");
  auto r = runDrive(dir.path(), std::string(kStart) + "dump" + exercise(3) +
                                    "\nanswer Cancel\ndblclick fraKin(3)\ndump" + exercise(3) +
                                    "\nanswer OK\ninput 懸垂\ninput 20\ndblclick fraKin(3)\ndump" + exercise(3) + "\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json& before = r.dumps[1]["controls"];
  EXPECT_EQ(before["lblTotal(3)"]["caption"], "45");
  EXPECT_NEAR(barShare(before, 3), 0.9, 0.001);

  // Cancel, the default, keeps everything.
  const auto& declined = r.dialogs(2);
  ASSERT_EQ(declined.size(), 1u);
  EXPECT_EQ(declined[0]["text"], "「スクワット」の記録（2件）を消去して新しい種目にします。よろしいですか？");
  EXPECT_EQ(declined[0]["icon"], "warning");
  EXPECT_EQ(declined[0]["buttons"], "OKCancel");
  EXPECT_EQ(declined[0]["default"], "Cancel");
  EXPECT_EQ(declined[0]["title"], "今度こそ勝利をげっちゅー！");
  EXPECT_EQ(r.dumps[2]["controls"], r.dumps[1]["controls"]);

  const auto& asked = r.dialogs(3);
  ASSERT_EQ(asked.size(), 3u);
  EXPECT_EQ(asked[1]["prompt"], "ﾘｽﾄ 3 の題目を入力して下さい");
  EXPECT_EQ(asked[1]["title"], "題目変更");
  EXPECT_EQ(asked[2]["prompt"], "ﾘｽﾄ 3 の目標数を入力して下さい");
  EXPECT_EQ(asked[2]["title"], "目標数変更");

  const json& after = r.dumps[3]["controls"];
  EXPECT_EQ(after["fraKin(3)"]["caption"], "懸垂  20");
  EXPECT_EQ(after["lstKin(3)"]["items"], json::array());
  EXPECT_EQ(after["lblTotal(3)"]["caption"], "0");
  EXPECT_EQ(barShare(after, 3), 0.0);
  EXPECT_EQ(r.dumps[3]["state"]["TrainingTotal"][2], 0);
  EXPECT_TRUE(dir.exists("筋トレ3.txt"));
  EXPECT_EQ(dir.readBytes("筋トレ3.txt"), "");
  std::string expected = kTitles;
  expected.replace(expected.find("\"スクワット\",50"), std::string("\"スクワット\",50").size(), "\"懸垂\",20");
  EXPECT_EQ(dir.readUtf8("筋トレ題目.txt"), expected);
}

TEST(TrainingScenario, CancelledTargetKeepsTheTitleInMemoryOnly) {
  TempFolder dir;
  prepare(dir);
  dir.writeCp932("筋トレ3.txt", "\"2024/01/01\",20\r\n");
  auto r =
      runDrive(dir.path(), std::string(kStart) +
                               "answer OK\ninput 懸垂\ninput-cancel\ndblclick fraKin(3)\ndump fraKin(3) lstKin(3)\n"
                               "input 40\ndblclick lblTotal(1)\ndump fraKin(1) fraKin(3)\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(r.dumps[1]["controls"]["fraKin(3)"]["caption"], "スクワット  50");
  EXPECT_EQ(r.dumps[1]["controls"]["lstKin(3)"]["items"].size(), 1u);
  EXPECT_EQ(r.dumps[1]["state"]["TrainingTitle"][2], "懸垂");
  // The next rewrite takes the new title along.
  EXPECT_EQ(r.dumps[2]["controls"]["fraKin(1)"]["caption"], "腹筋 _ 40");
  EXPECT_EQ(r.dumps[2]["controls"]["fraKin(3)"]["caption"], "スクワット  50");
  std::string text = dir.readUtf8("筋トレ題目.txt");
  EXPECT_NE(text.find("\"ﾘｽﾄ1題目\",\"腹筋\",40\r\n"), std::string::npos);
  EXPECT_NE(text.find("\"ﾘｽﾄ3題目\",\"懸垂\",50\r\n"), std::string::npos);
  EXPECT_EQ(dir.readUtf8("筋トレ3.txt"), "\"2024/01/01\",20\r\n");
}

TEST(TrainingScenario, TargetChangeKeepsHistoryAndSurvivesRestart) {
  TempFolder dir;
  prepare(dir);
  dir.writeCp932("筋トレ2.txt", "\"2024/01/01\",20\r\n\"2024/01/03\",16\r\n");
  auto first = runDrive(dir.path(), std::string(kStart) + "input 45\ndblclick lblTotal(2)\ndump" + exercise(2) + "\n");
  ASSERT_EQ(first.exitCode, 0) << first.stderrText;
  const auto& asked = first.dialogs(1);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0]["prompt"], "ﾘｽﾄ 2 の目標値を入力して下さい");
  EXPECT_EQ(asked[0]["title"], "目標値変更");
  const json& c = first.dumps[1]["controls"];
  EXPECT_EQ(c["fraKin(2)"]["caption"], "腕立て伏せ _ 45");
  EXPECT_EQ(c["lstKin(2)"]["items"].size(), 2u);
  EXPECT_EQ(c["lblTotal(2)"]["caption"], "36");
  EXPECT_NEAR(barShare(c, 2), 0.8, 0.001);
  EXPECT_EQ(first.dumps[1]["state"]["TrainingTarget"][1], 45);

  auto second = runDrive(dir.path(), std::string(kStart) + "dump" + exercise(2) + exercise(5) + "\n");
  ASSERT_EQ(second.exitCode, 0) << second.stderrText;
  const json& again = second.dumps[1]["controls"];
  EXPECT_EQ(again["fraKin(2)"]["caption"], "腕立て伏せ  45");
  EXPECT_EQ(again["fraKin(5)"]["caption"], "ダンベル  12.5");
  EXPECT_EQ(again["lstKin(2)"]["items"], json({"2024/01/01 _ 20", "2024/01/03 _ 16"}));
  EXPECT_EQ(again["lstKin(2)"]["topIndex"], 1);
  EXPECT_NEAR(barShare(again, 2), 0.8, 0.001);
}

TEST(TrainingScenario, UnusableTargetsAndTitlesAreRefused) {
  TempFolder dir;
  prepare(dir);
  dir.writeCp932("筋トレ6.txt", "\"2024/01/01\",20\r\n");
  auto r = runDrive(dir.path(),
                    std::string(kStart) +
                        "input 0\ndblclick lblTotal(6)\ninput 回数\ndblclick lblTotal(6)\n"
                        "input -5\ndblclick lblTotal(6)\n"
                        "answer OK\ninput 縄跳び\ninput abc\ndblclick fraKin(6)\n"
                        "answer OK\ninput 縄跳び\ninput 0\ndblclick fraKin(6)\n"
                        "answer OK\ninput \"縄\\\"跳び\"\ndblclick fraKin(6)\nanswer OK\ninput\ndblclick fraKin(6)\n"
                        "input-cancel\ndblclick lblTotal(6)\n"
                        "dump" +
                        exercise(6) + "\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  std::vector<std::string> boxes;
  for (const auto& d : r.dialogs(1))
    if (d["kind"] == "msgbox" && d["buttons"] == "OK") boxes.push_back(d["text"]);
  ASSERT_EQ(boxes.size(), 6u);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(boxes[k], "目標値は 0 より大きい数値で入力してください。");
  for (int k = 3; k < 5; ++k)
    EXPECT_EQ(boxes[k], "目標数は 0 より大きい数値で入力してください。\n種目の変更は取り消しました。");
  EXPECT_NE(boxes[5].find("\""), std::string::npos);
  const json& c = r.last()["controls"];
  EXPECT_EQ(c["fraKin(6)"]["caption"], "もも上げ  100");
  EXPECT_EQ(c["lstKin(6)"]["items"].size(), 1u);
  EXPECT_EQ(r.last()["state"]["TrainingTitle"][5], "もも上げ");
  EXPECT_EQ(r.last()["state"]["TrainingTarget"][5], 100);
  EXPECT_EQ(dir.readUtf8("筋トレ題目.txt"), kTitles);
  EXPECT_EQ(dir.readUtf8("筋トレ6.txt"), "\"2024/01/01\",20\r\n");
}

TEST(TrainingScenario, NegativeTotalShowsAnEmptyBar) {
  TempFolder dir;
  prepare(dir);
  dir.writeCp932("筋トレ5.txt", "\"2024/01/01\",-3\r\n\"2024/01/02\",1.5\r\n");
  auto r = runDrive(dir.path(), std::string(kStart) + "dump" + exercise(5) + "\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const json& c = r.last()["controls"];
  EXPECT_EQ(c["lblTotal(5)"]["caption"], "-1.5");
  EXPECT_EQ(c["lstKin(5)"]["items"], json({"2024/01/01 _ -3", "2024/01/02 _ 1.5"}));
  EXPECT_EQ(barShare(c, 5), 0.0);
}

TEST(TrainingScenario, SampleModeRefusesEveryKey) {
  TempFolder dir;
  dir.copySample();
  std::string before = dir.readBytes("筋トレ1.txt");
  auto r = runDrive(dir.path(), std::string(kStart) + "type txtKin(1) 12\nenter txtKin(1)\ndump txtKin(1)\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  ASSERT_EQ(r.last()["state"]["SampleMode"], true);
  ASSERT_EQ(r.dialogs(1).size(), 3u);
  for (const auto& d : r.dialogs(1)) EXPECT_EQ(d["title"], "サンプルモードでの制約");
  EXPECT_EQ(r.last()["controls"]["txtKin(1)"]["text"], "12");  // the keys still reach the box
  EXPECT_EQ(dir.readBytes("筋トレ1.txt"), before);
}

TEST(TrainingScenario, FailedTitleWriteChangesNothing) {
  TempFolder dir;
  prepare(dir);
  dir.writeCp932("筋トレ3.txt", "\"2024/01/01\",20\r\n");
  // The rewrite cannot rename its temporary over the file: nothing may change.
  store::failNthStep(store::IoStep::Rename, 1, EACCES, 1000);
  auto r = runDriveInProcess(dir.path(), std::string(kStart) + "answer OK\ninput 懸垂\ninput 20\ndblclick fraKin(3)\n" +
                                             "input 80\ndblclick lblTotal(3)\ndump" + exercise(3) + "\n");
  store::clearInjectedFailure();
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  int errors = 0;
  for (const auto& d : r.dialogs(1))
    if (d["kind"] == "msgbox" && d["buttons"] == "OK") {
      ++errors;
      EXPECT_EQ(d["icon"], "error");
      EXPECT_NE(d["text"].get<std::string>().find("筋トレ題目.txt"), std::string::npos);
    }
  EXPECT_EQ(errors, 2);
  const json& c = r.last()["controls"];
  EXPECT_EQ(c["fraKin(3)"]["caption"], "スクワット  50");
  EXPECT_EQ(c["lstKin(3)"]["items"].size(), 1u);
  EXPECT_EQ(r.last()["state"]["TrainingTitle"][2], "スクワット");
  EXPECT_EQ(r.last()["state"]["TrainingTarget"][2], 50);
  EXPECT_EQ(dir.readUtf8("筋トレ3.txt"), "\"2024/01/01\",20\r\n");
  EXPECT_EQ(dir.readUtf8("筋トレ題目.txt"), kTitles);
}
