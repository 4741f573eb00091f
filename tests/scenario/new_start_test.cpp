#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "store/files.h"
#include "support/drive.h"
#include "support/temp_folder.h"

using testing_support::runDrive;
using testing_support::runDriveInProcess;
using testing_support::TempFolder;

namespace {

// The profile the program is delivered with, with chart limits and a step length of its own.
const char* kSampleProfile =
    "\"氏名\",\"Ｑ＆Ｚ\"\r\n\"身長\",168.5\r\n\"目標体重\",65\r\n\"目標期間\",150\r\n\"目標達成率\",70\r\n"
    "\"目標ｶﾛﾘｰ\",2000\r\n\"体脂肪率Ｙ軸MAX\",35\r\n\"体脂肪率Ｙ軸MIN\",5\r\n\"歩数Ｙ軸MAX\",40000\r\n"
    "\"歩数Ｙ軸MIN\",1000\r\n\"一歩換算\",0.65\r\n";

const char* kWeights = "\"2024/03/01\",70\r\n\"2024/03/02\",69.5\r\n\"2024/03/03\",69\r\n";

const char* kStart = "clock 2024/03/15 09:00:00\nstart\ndump\nclick cmdSettei\n";

// Answers that reach the confirmation: name, height, weight, then the offered period, rate, calories.
const char* kAnswers = "answer OK\ninput たろう\ninput 170\ninput 60\ninput 30\ninput 70\ninput 2000\n";

std::vector<std::string> boxTexts(const nlohmann::json& controls) {
  std::vector<std::string> out;
  for (int i = 0; i < 6; ++i) out.push_back(controls["txtPriData(" + std::to_string(i) + ")"]["text"]);
  return out;
}

const std::vector<std::string> kOldBoxes = {"テスト", "170", "60", "100", "70", "1800"};

}  // namespace

TEST(NewStart, CancelOnTheOpeningBoxChangesNothing) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("体重.txt", kWeights);
  const std::string profileBefore = dir.readBytes("ﾌﾟﾗｲﾍﾞｰﾄ.txt");
  auto r = runDrive(dir.path(), std::string(kStart) + "settext txtPriData(1) 175\nanswer Cancel\nclick cmdNew1\n" +
                                    "dump txtPriData(0) txtPriData(1) txtPriData(2) txtPriData(3) txtPriData(4) "
                                    "txtPriData(5)\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const auto& boxes = r.dialogs(1);
  ASSERT_EQ(boxes.size(), 1u) << boxes;
  EXPECT_EQ(boxes[0]["title"], "データ初期化");
  EXPECT_EQ(
      boxes[0]["text"],
      "現在まで保管されているデータを初期化します。\n『ＯＫボタン』を押すと各種プライベートデータの入力が始まります。"
      "\n\nこの先でキャンセルすることもできます。");
  // Destruction is guarded: a warning, and Enter means Cancel.
  EXPECT_EQ(boxes[0]["icon"], "warning");
  EXPECT_EQ(boxes[0]["buttons"], "OKCancel");
  EXPECT_EQ(boxes[0]["default"], "Cancel");
  // Not even the box the user was editing is touched.
  std::vector<std::string> expected = kOldBoxes;
  expected[1] = "175";
  EXPECT_EQ(boxTexts(r.last()["controls"]), expected);
  EXPECT_EQ(dir.readBytes("ﾌﾟﾗｲﾍﾞｰﾄ.txt"), profileBefore);
  EXPECT_EQ(dir.readUtf8("体重.txt"), kWeights);
}

TEST(NewStart, GivingUpAtAnyStepRestoresTheBoxesAndKeepsEveryFile) {
  // Each script stops the dialogue at a different place: a cancelled or empty answer, or the
  // confirmation refused.
  const std::vector<std::string> endings = {
      "answer OK\ninput-cancel\n",
      "answer OK\ninput たろう\ninput\n",
      "answer OK\ninput たろう\ninput 170\ninput-cancel\n",
      "answer OK\ninput たろう\ninput 170\ninput 60\ninput-cancel\n",
      "answer OK\ninput たろう\ninput 170\ninput 60\ninput 30\ninput\n",
      "answer OK\ninput たろう\ninput 170\ninput 60\ninput 30\ninput 70\ninput-cancel\n",
      std::string(kAnswers) + "answer Cancel\n",
  };
  for (size_t step = 0; step < endings.size(); ++step) {
    TempFolder dir;
    dir.writeMinimalDiary();
    dir.writeCp932("体重.txt", kWeights);
    const std::string profileBefore = dir.readBytes("ﾌﾟﾗｲﾍﾞｰﾄ.txt");
    auto r = runDrive(dir.path(), std::string(kStart) + endings[step] + "click cmdNew1\ndump\n");
    ASSERT_EQ(r.exitCode, 0) << step << r.stderrText;
    const auto& boxes = r.dialogs(1);
    ASSERT_FALSE(boxes.empty());
    const auto& last = boxes.back();
    EXPECT_EQ(last["title"], "新規登録中止") << step;
    EXPECT_EQ(last["text"], "新規登録を取りやめます") << step;
    EXPECT_EQ(last["icon"], "warning") << step;
    EXPECT_EQ(last["buttons"], "OK") << step;
    EXPECT_EQ(boxTexts(r.last()["controls"]), kOldBoxes) << step;
    EXPECT_EQ(dir.readBytes("ﾌﾟﾗｲﾍﾞｰﾄ.txt"), profileBefore) << step;
    EXPECT_EQ(dir.readUtf8("体重.txt"), kWeights) << step;
    EXPECT_EQ(r.last()["state"]["WeightCount"], 3) << step;
    EXPECT_EQ(r.last()["state"]["Profile"]["ProfileName"], "テスト") << step;
  }
}

TEST(NewStart, PromptsDefaultsAndARefusedNonNumber) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r = runDrive(dir.path(), std::string(kStart) +
                                    "answer OK\ninput たろう\ninput abc\ninput 170\ninput 60\n"
                                    "input 30\ninput 70\ninput 2000\nanswer Cancel\nclick cmdNew1\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const auto& b = r.dialogs(1);
  ASSERT_EQ(b.size(), 11u) << b;
  struct Prompt {
    const char* title;
    const char* prompt;
    const char* defaultText;
  };
  const Prompt prompts[] = {
      {"名前入力", "名前を入力して下さい。ニックネームでもいいですよ。", ""},
      {"身長登録", "身長をｃｍで入力して下さい。（例　168.5 半角文字で）", ""},
      {"身長登録", "身長をｃｍで入力して下さい。（例　168.5 半角文字で）", ""},
      {"目標体重登録", "目標体重をＫｇで入力して下さい。（例　65.5 半角文字で）", ""},
      {"目標期間登録", "目標期間を数値で入力して下さい。（例　120 半角文字で）\n\n初期値は３０日にしてあります", "30"},
      {"達成率登録",
       "ものぐさカレンダーの達成率を数値で入力して下さい。（例　70 半角文字で）\n\n初期値は７０％にしてあります\n"
       "この数値を割るとニコニコマークがムスッマークに変化します",
       "70"},
      {"収支カロリー目標登録",
       "収支カロリーの目標値を数値で入力して下さい。（例　2000 半角文字で）\n\n初期値は２０００にしてあります\n"
       "収支カロリーの結果がこの数値を割ると目標ｶﾛﾘｰ差の見出しが赤く変化します",
       "2000"},
  };
  // Box 0 opens, 1 name, 2 height (abc), 3 the refusal, 4 height again, 5..8 the rest, 9 confirm.
  const size_t inputAt[] = {1, 2, 4, 5, 6, 7, 8};
  for (size_t i = 0; i < 7; ++i) {
    const auto& box = b[inputAt[i]];
    EXPECT_EQ(box["kind"], "input") << i;
    EXPECT_EQ(box["title"], prompts[i].title) << i;
    EXPECT_EQ(box["prompt"], prompts[i].prompt) << i;
    EXPECT_EQ(box["default"], prompts[i].defaultText) << i;
  }
  EXPECT_EQ(b[3]["kind"], "msgbox");
  EXPECT_EQ(b[3]["title"], "登録情報異常");
  EXPECT_EQ(b[3]["text"], "数値で入力して下さい");
  EXPECT_EQ(b[3]["icon"], "warning");
  EXPECT_EQ(b[3]["buttons"], "OK");
  EXPECT_EQ(b[9]["title"], "情報確認");
  EXPECT_EQ(b[9]["text"],
            "これまで登録されていたデータはクリアされ新たに登録した新情報でスタートします\n\n"
            "登録情報に間違いがなかったらＯＫボタンを押して下さい");
  EXPECT_EQ(b[9]["icon"], "warning");
  EXPECT_EQ(b[9]["buttons"], "OKCancel");
  EXPECT_EQ(b[9]["default"], "Cancel");
  EXPECT_EQ(b[10]["title"], "新規登録中止");
}

TEST(NewStart, ConfirmedStartEmptiesTheRecordsAndEndsSampleMode) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("ﾌﾟﾗｲﾍﾞｰﾄ.txt", kSampleProfile);
  dir.writeCp932("体重.txt", kWeights);
  dir.writeCp932("歩数.txt", "\"2024/03/01\",8000\r\n\"2024/03/02\",12000\r\n");
  const std::vector<std::string> emptied = {"連続体重.txt", "体脂肪率.txt", "歩数.txt",    "栄養.txt",    "ﾘｽﾄ1.txt",
                                            "ﾘｽﾄ2.txt",     "ﾘｽﾄ3.txt",     "ﾘｽﾄ4.txt",    "筋トレ1.txt", "筋トレ2.txt",
                                            "筋トレ3.txt",  "筋トレ4.txt",  "筋トレ5.txt", "筋トレ6.txt"};
  dir.writeCp932("ﾘｽﾄ1.txt", "\"メモ\"\r\n");
  const std::string march =
      "1,1,1,1,1,1,1\r\n0,0,0,0,0,0,0\r\n0,0,0,0,0,0,0\r\n0,0,0,0,0,0,0\r\n"
      "0,0,0,0,0,0,0\r\n0,0\r\n";
  dir.writeCp932("2024年03月.txt", march);
  const std::string february =
      "0,0,0,0,1,2,1\r\n0,0,0,0,0,0,0\r\n0,0,0,0,0,0,0\r\n0,0,0,0,0,0,0\r\n"
      "0,0,0,0,0,0,0\r\n0,0\r\n";
  dir.writeCp932("2024年02月.txt", february);
  dir.writeCp932("補完.txt", "\"2024/03/02\"\r\n");
  const std::string settings = dir.readBytes("設定.txt");

  auto r = runDrive(dir.path(), std::string(kStart) + kAnswers +
                                    "answer OK\nclick cmdNew1\ndump\nclick cmdModori\ndump Label2(0) Label2(1)\n"
                                    "settext txtInpTaijyu 65.3\nenter txtInpTaijyu\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(r.dumps[0]["state"]["SampleMode"], true);

  const auto& boxes = r.dialogs(1);
  ASSERT_GE(boxes.size(), 2u);
  const auto& cleared = boxes[boxes.size() - 2];
  const auto& firstSteps = boxes.back();
  EXPECT_EQ(cleared["title"], "さぁスタートです。o(^-^)o");
  EXPECT_EQ(
      cleared["text"],
      "関連データを全てクリアしました。\n\nなお、体脂肪率と歩数のグラフＹ軸指定と一歩換算値は後ほど必要に応じて"
      "変更してください\n\nまず最初は次に開く画面の体重記入欄に現在の体重を入力してリターンキーを押してください。\n"
      "ここが勝利への道のスタート地点です！！");
  EXPECT_EQ(cleared["icon"], "information");
  EXPECT_EQ(firstSteps["title"], "さぁスタートです。o(^-^)o");
  EXPECT_EQ(firstSteps["text"],
            "今日からスタートでよければ、体重入力欄に本日の体重を入力してＥｎｔｅｒキーを押してください。\n\n"
            "以前からダイエットをしていてそれからのデータにしたい場合は\n"
            "左上の日付変更で日付をダイエットスタート日まで戻して、それから体重を入力してみてください。\n");
  EXPECT_EQ(firstSteps["icon"], "information");
  EXPECT_EQ(firstSteps["buttons"], "OK");

  for (const auto& name : emptied) {
    EXPECT_TRUE(dir.exists(name)) << name;
    EXPECT_EQ(dir.readBytes(name), "") << name;
  }
  // From the sample, every month goes aside as it was, the shown one too.
  EXPECT_FALSE(dir.exists("2024年02月.txt"));
  EXPECT_FALSE(dir.exists("2024年03月.txt"));
  EXPECT_EQ(dir.readUtf8("サンプル/2024年02月.txt"), february);
  EXPECT_EQ(dir.readUtf8("サンプル/2024年03月.txt"), march);
  EXPECT_FALSE(dir.exists("補完.txt"));
  EXPECT_EQ(dir.readUtf8("サンプル/補完.txt"), "\"2024/03/02\"\r\n");
  EXPECT_EQ(dir.readBytes("設定.txt"), settings);
  // The new profile, with the chart limits and step length of the old one.
  EXPECT_EQ(dir.readUtf8("ﾌﾟﾗｲﾍﾞｰﾄ.txt"),
            "\"氏名\",\"たろう\"\r\n\"身長\",170\r\n\"目標体重\",60\r\n\"目標期間\",30\r\n\"目標達成率\",70\r\n"
            "\"目標ｶﾛﾘｰ\",2000\r\n\"体脂肪率Ｙ軸MAX\",35\r\n\"体脂肪率Ｙ軸MIN\",5\r\n\"歩数Ｙ軸MAX\",40000\r\n"
            "\"歩数Ｙ軸MIN\",1000\r\n\"一歩換算\",0.65\r\n");

  const auto& after = r.dumps[1];
  const auto& s = after["state"];
  EXPECT_EQ(s["SampleMode"], false);
  EXPECT_EQ(s["Profile"]["TargetPeriod"], 30);
  EXPECT_EQ(s["Profile"]["TargetRate"], 70);
  EXPECT_EQ(s["Profile"]["TargetCalories"], 2000);
  EXPECT_EQ(s["WeightCount"], 0);
  EXPECT_EQ(s["MinWeight"], 999.9);
  EXPECT_EQ(s["MaxWeight"], 0);
  EXPECT_EQ(s["MinAverageWeight"], 999.9);
  EXPECT_EQ(s["MaxAverageWeight"], 0);
  EXPECT_EQ(s["TotalSteps"], 0);
  EXPECT_EQ(s["MaxSteps"], 0);
  EXPECT_EQ(s["MinSteps"], 100000);
  EXPECT_EQ(s["DayMarks"], std::vector<int>(37, 0));
  EXPECT_EQ(s["AchievementRate"], 0);
  const auto& c = after["controls"];
  // The chart is laid out for the new period and holds no point.
  EXPECT_EQ(c["MSChart1"]["rowCount"], 30);
  for (const auto& row : c["MSChart1"]["data"])
    for (const auto& cell : row) EXPECT_EQ(cell, "");
  for (const char* grid : {"msgTaiList", "msgShiList", "msgHosuList", "msgSuiList"})
    EXPECT_EQ(c[grid]["rows"], 1) << grid;
  for (const char* label : {"lblSyuu1000", "lblSyuu100", "lblSyuu10"}) EXPECT_EQ(c[label]["caption"], "") << label;
  EXPECT_EQ(c["fraMain"]["visible"], true);
  EXPECT_EQ(c["fraSettei"]["visible"], false);
  EXPECT_EQ(after["focus"], "txtInpTaijyu");
  EXPECT_EQ(boxTexts(c), (std::vector<std::string>{"たろう", "170", "60", "30", "70", "2000"}));

  // The sample's earlier months no longer show.
  EXPECT_EQ(r.dumps[2]["controls"]["Label2(0)"]["caption"], "0");
  EXPECT_EQ(r.dumps[2]["controls"]["Label2(1)"]["caption"], "0");

  // The old weights are gone, and sample mode is over at once: the first weight is taken.
  for (const auto& box : r.dialogs(3)) EXPECT_NE(box["title"], "サンプルモードでの制約") << box;
  EXPECT_EQ(dir.readUtf8("体重.txt"), "\"2024/03/15\",65.3\r\n");
}

TEST(NewStart, PeriodIsRoundedHalfToEven) {
  for (auto [typed, stored] : {std::pair{"30.5", 30}, {"31.5", 32}}) {
    TempFolder dir;
    dir.writeMinimalDiary();
    auto r = runDrive(dir.path(), std::string(kStart) + "answer OK\ninput たろう\ninput 170\n" + "input 60\ninput " +
                                      typed + "\ninput 70\ninput 2000\nanswer OK\nclick cmdNew1\ndump\n");
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    EXPECT_EQ(r.last()["state"]["Profile"]["TargetPeriod"], stored) << typed;
    // The box then shows the profile as stored, as after a start-up.
    EXPECT_EQ(r.last()["controls"]["txtPriData(3)"]["text"], std::to_string(stored));
  }
}

TEST(NewStart, ValuesTheProfileCannotHoldAreAskedAgain) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r = runDrive(dir.path(), std::string(kStart) +
                                    "answer OK\n"
                                    "input た\"ろう\ninput たろう😀\ninput \"た\\nろう\"\ninput たろう\n"
                                    "input 0\ninput -170\ninput 170\n"
                                    "input 60\n"
                                    "input 0\ninput 40000\ninput 30\n"
                                    "input 70\n"
                                    "input 40000\ninput -1800\n"
                                    "answer OK\nclick cmdNew1\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const auto& b = r.dialogs(1);
  int refusals = 0;
  for (const auto& box : b)
    if (box["kind"] == "msgbox" && box["title"] == "登録情報異常") {
      ++refusals;
      EXPECT_EQ(box["icon"], "warning");
      EXPECT_NE(box["text"], "数値で入力して下さい");  // each says what is wrong
    }
  EXPECT_EQ(refusals, 8);
  const auto& p = r.last()["state"]["Profile"];
  EXPECT_EQ(p["ProfileName"], "たろう");
  EXPECT_EQ(p["ProfileHeight"], 170);
  EXPECT_EQ(p["TargetPeriod"], 30);
  EXPECT_EQ(p["TargetCalories"], -1800);
  EXPECT_EQ(r.last()["state"]["SampleMode"], false);
}

TEST(NewStart, AFailedWriteChangesNoFileAndIsReportedNotCelebrated) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("体重.txt", kWeights);
  const std::string profileBefore = dir.readBytes("ﾌﾟﾗｲﾍﾞｰﾄ.txt");
  // Each step of the replacement fails once in turn: the journal (told as the first file's), then
  // every file in order.
  const char* const kFailing[] = {"「体重.txt」", "「体重.txt」", "「連続体重.txt」", "「体脂肪率.txt」"};
  for (int nth = 1; nth <= 4; ++nth) {
    SCOPED_TRACE(nth);
    store::failNthStep(store::IoStep::Rename, nth, EACCES);
    auto r = runDriveInProcess(dir.path(), std::string(kStart) + kAnswers + "answer OK\nclick cmdNew1\ndump\n");
    ASSERT_TRUE(store::injectedFailureFired());
    store::clearInjectedFailure();
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    const auto& b = r.dialogs(1);
    ASSERT_FALSE(b.empty());
    EXPECT_EQ(b.back()["icon"], "error");
    EXPECT_NE(b.back()["text"].get<std::string>().find(kFailing[nth - 1]), std::string::npos) << b.back();
    for (const auto& box : b) EXPECT_NE(box["title"], "さぁスタートです。o(^-^)o");
    // Nothing was emptied, the old profile stays, and the screen follows the disk.
    EXPECT_EQ(dir.readUtf8("体重.txt"), kWeights);
    EXPECT_EQ(dir.readBytes("ﾌﾟﾗｲﾍﾞｰﾄ.txt"), profileBefore);
    EXPECT_EQ(r.last()["state"]["WeightCount"], 3);
    EXPECT_EQ(r.last()["state"]["Profile"]["ProfileName"], "テスト");
    for (const auto& name : dir.list()) EXPECT_FALSE(store::isOwnTemporaryName(name)) << name;
  }
}
