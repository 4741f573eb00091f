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

// Start on `today`, type `text` into the weight box for the date `date` and press Enter.
std::string entry(const std::string& date, const std::string& text) {
  return "settext txtDate " + date + "\nsettext txtInpTaijyu " + text + "\nenter txtInpTaijyu\n";
}

const char* kStart = "clock 2004/05/10 08:00:00\nstart\ndump\n";

}  // namespace

TEST(WeightEntry, FirstEntryIsWrittenWithoutChecksAndStartEqualsNow) {
  TempFolder dir;
  writeDiary(dir);
  auto r = runDrive(dir.path(), std::string(kStart) + entry("2004/05/10", "65.3") +
                                    "dump lblStDate lblNowDate lblStTaijyu lblNowTaijyu lblTai_Zougen txtInpTaijyu\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(dir.readUtf8("体重.txt"), "\"2004/05/10\",65.3\r\n");
  // No date check, no question and no record message for the first record.
  for (const auto& box : r.dialogs(1)) {
    EXPECT_NE(box["icon"], "error") << box;
    EXPECT_NE(box["icon"], "question") << box;
    EXPECT_EQ(box["text"].get<std::string>().find("最高記録"), std::string::npos) << box;
  }
  const auto& c = r.last()["controls"];
  EXPECT_EQ(c["lblStDate"]["caption"], "2004/05/10");
  EXPECT_EQ(c["lblNowDate"]["caption"], "2004/05/10");
  EXPECT_EQ(c["lblStTaijyu"]["caption"], "65.3");
  EXPECT_EQ(c["lblNowTaijyu"]["caption"], "65.3");
  EXPECT_EQ(c["lblTai_Zougen"]["caption"], "0.0Kg同");
  EXPECT_EQ(c["txtInpTaijyu"]["text"], "65.3");
  EXPECT_EQ(r.last()["state"]["WeightCount"], 1);
}

TEST(WeightEntry, TextsThatAreNoWeightAreRefused) {
  TempFolder dir;
  writeDiary(dir);
  writeWeights(dir, day(2004, 5, 1), {70});
  std::string script = kStart;
  for (const char* text : {"0", "-5", "abc"}) script += entry("2004/05/02", text) + "dump\n";
  script += "settext txtInpTaijyu \nenter txtInpTaijyu\ndump\n";
  auto r = runDrive(dir.path(), script);
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  for (size_t i = 1; i <= 3; ++i) {
    ASSERT_EQ(r.dialogs(i).size(), 1u) << i;
    const auto& box = r.dialogs(i)[0];
    EXPECT_EQ(box["text"], "０以下か文字が入力されたようです");
    EXPECT_EQ(box["title"], "メッセージ");
    EXPECT_EQ(box["icon"], "error");
    EXPECT_EQ(box["buttons"], "OK");
  }
  ASSERT_EQ(r.dialogs(4).size(), 1u);
  EXPECT_EQ(r.dialogs(4)[0]["text"], "入力がまだのようです");
  EXPECT_EQ(r.dialogs(4)[0]["title"], "メッセージ");
  EXPECT_EQ(r.dialogs(4)[0]["icon"], "error");
  EXPECT_EQ(dir.readUtf8("体重.txt"), "\"2004/05/01\",70\r\n");
  EXPECT_EQ(r.last()["state"]["WeightCount"], 1);
}

TEST(WeightEntry, LeadingNumberIsTakenAndTheNextDayAppendsOneLine) {
  TempFolder dir;
  writeDiary(dir);
  writeWeights(dir, day(2004, 5, 1), {66});
  auto r = runDrive(dir.path(), std::string(kStart) + entry("2004/05/02", "65.3kg") + entry("2004/05/03", "  65") +
                                    "dump lblNowDate\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(dir.readUtf8("体重.txt"), "\"2004/05/01\",66\r\n\"2004/05/02\",65.3\r\n\"2004/05/03\",65\r\n");
  EXPECT_EQ(r.last()["controls"]["lblNowDate"]["caption"], "2004/05/03");
  EXPECT_EQ(r.last()["state"]["WeightCount"], 3);
}

TEST(WeightEntry, SameOrEarlierDayIsRefusedNamingTheLastStoredDate) {
  TempFolder dir;
  writeDiary(dir);
  // The last date as stored, even written without leading zeros by hand.
  dir.writeCp932("体重.txt", "\"2004/05/01\",70\r\n\"2004/5/3\",69\r\n");
  auto r = runDrive(dir.path(),
                    std::string(kStart) + entry("2004/05/03", "68") + "dump\n" + entry("2004/05/02", "68") + "dump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const std::string expected =
      "すでに登録済みの日付(2004/5/3)以前の日付で保存しようとしています\n正しい日付で保存し直してください\n\n"
      "※データの修正は「体重.txt」をダブルクリックで開いて直接編集できます。";
  for (size_t i : {1, 2}) {
    ASSERT_EQ(r.dialogs(i).size(), 1u);
    EXPECT_EQ(r.dialogs(i)[0]["text"], expected);
    EXPECT_EQ(r.dialogs(i)[0]["title"], "Zorvel");
    EXPECT_EQ(r.dialogs(i)[0]["icon"], "error");
  }
  EXPECT_EQ(dir.readUtf8("体重.txt"), "\"2004/05/01\",70\r\n\"2004/5/3\",69\r\n");
}

TEST(WeightEntry, SkippedDaysFilledOnYesAndNothingWrittenOnNo) {
  const std::string question =
      "2004/05/02～2004/05/03までのデータが保存されていません\n最終日のデータ (65.3Kg)でうめておきますか？\n\n"
      "『はい』をクリックすると自動的に65.3Kgでうめます\n自分で保存し直す場合は『いいえ』をクリックしてください";
  {
    TempFolder dir;
    writeDiary(dir);
    writeWeights(dir, day(2004, 5, 1), {65.3f});
    auto r =
        runDrive(dir.path(), std::string(kStart) + "answer No\n" + entry("2004/05/04", "65") + "dump lblNowDate\n");
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    ASSERT_EQ(r.dialogs(1).size(), 1u);
    const auto& box = r.dialogs(1)[0];
    EXPECT_EQ(box["text"], question);
    EXPECT_EQ(box["title"], "自動体重挿入");
    EXPECT_EQ(box["icon"], "question");
    EXPECT_EQ(box["buttons"], "YesNo");
    EXPECT_EQ(dir.readUtf8("体重.txt"), "\"2004/05/01\",65.3\r\n");
    EXPECT_EQ(r.last()["controls"]["lblNowDate"]["caption"], "2004/05/01");
  }
  {
    TempFolder dir;
    writeDiary(dir);
    writeWeights(dir, day(2004, 5, 1), {65.3f});
    auto r = runDrive(
        dir.path(), std::string(kStart) + "answer Yes\n" + entry("2004/05/04", "65") + "dump lblNowDate lblDate_Sa\n");
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    EXPECT_EQ(r.dialogs(1)[0]["text"], question);
    EXPECT_EQ(dir.readUtf8("体重.txt"),
              "\"2004/05/01\",65.3\r\n\"2004/05/02\",65.3\r\n\"2004/05/03\",65.3\r\n\"2004/05/04\",65\r\n");
    EXPECT_EQ(r.last()["controls"]["lblNowDate"]["caption"], "2004/05/04");
    EXPECT_EQ(r.last()["controls"]["lblDate_Sa"]["caption"], "3");
    EXPECT_EQ(r.last()["state"]["WeightCount"], 4);
  }
}

// Days the gap question filled are kept apart in 補完.txt and shown as such; correcting one
// makes it a weighing, Ctrl+Z takes the fill back with its entry, and the backup holds the file.
TEST(WeightEntry, FilledDaysAreMarkedAndKeptApart) {
  TempFolder dir, out;
  writeDiary(dir);
  writeWeights(dir, day(2004, 5, 1), {65.3f});
  const std::string before = dir.readBytes("体重.txt");
  const std::string fill = "answer Yes\n" + entry("2004/05/04", "65");
  auto r = runDrive(dir.path(), std::string(kStart) + fill + "dump msgB1 msgB3 MSChart1\nfile " + out.path() +
                                    "\nclick cmdCsvOut\ninput 65.1\nmenu msgB1 2 修正\ndump msgB1\n"
                                    "answer Yes\nkey cmdMain Ctrl+Z\nanswer Yes\nkey cmdMain Ctrl+Z\ndump msgB1\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const auto& shown = r.dumps[1]["controls"];
  EXPECT_EQ(shown["msgB1"]["cells"][1][2], "65.3Kg");
  EXPECT_EQ(shown["msgB1"]["cells"][2][2], "65.3Kg（補完）");
  EXPECT_EQ(shown["msgB1"]["cells"][3][2], "65.3Kg（補完）");
  EXPECT_EQ(shown["msgB3"]["cells"][3][1], "65.3Kg（補完）");
  EXPECT_EQ(r.dumps[1]["state"]["FilledDays"], nlohmann::json({"2004/05/02", "2004/05/03"}));
  const auto& data = shown["MSChart1"]["data"];
  EXPECT_EQ(data[0][0], "65.3");
  EXPECT_EQ(data[1][0], "");
  EXPECT_EQ(data[2][0], "");
  EXPECT_EQ(data[3][0], "65");
  EXPECT_EQ(out.readBytes("体重.csv"),
            "\xEF\xBB\xBF日付,体重kg,補完\r\n2004/05/01,65.3,\r\n2004/05/02,65.3,1\r\n"
            "2004/05/03,65.3,1\r\n2004/05/04,65,\r\n");
  // The corrected day is a weighing now; the other stays filled.
  EXPECT_EQ(r.dumps[2]["controls"]["msgB1"]["cells"][2][2], "65.1Kg");
  EXPECT_EQ(r.dumps[2]["controls"]["msgB1"]["cells"][3][2], "65.3Kg（補完）");
  EXPECT_EQ(r.last()["controls"]["msgB1"]["rows"], 2);
  EXPECT_EQ(dir.readBytes("体重.txt"), before);
  EXPECT_FALSE(dir.exists("補完.txt"));

  r = runDrive(dir.path(), std::string(kStart) + fill);
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(dir.readUtf8("補完.txt"), "\"2004/05/02\"\r\n\"2004/05/03\"\r\n");
  r = runDrive(dir.path(), "clock 2004/05/11 08:00:00\nstart\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(dir.readUtf8("バックアップ/2004-05-11/補完.txt"), "\"2004/05/02\"\r\n\"2004/05/03\"\r\n");
}

TEST(WeightEntry, BestRecordBeatenOrEqualled) {
  TempFolder dir;
  writeDiary(dir);
  writeWeights(dir, day(2004, 5, 1), {66, 65.3f});
  auto r = runDrive(dir.path(), std::string(kStart) + entry("2004/05/03", "64.8") + "dump\n" +
                                    entry("2004/05/04", "64.8") + "dump\n" + entry("2004/05/05", "65") + "dump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  ASSERT_EQ(r.dialogs(1).size(), 1u);
  EXPECT_EQ(r.dialogs(1)[0]["text"], "最高記録を 0.5Kg 更新しました  ");
  EXPECT_EQ(r.dialogs(1)[0]["title"], "Zorvel");
  EXPECT_EQ(r.dialogs(1)[0]["icon"], "information");
  ASSERT_EQ(r.dialogs(2).size(), 1u);
  EXPECT_EQ(r.dialogs(2)[0]["text"], "最高記録と並びました  ");
  EXPECT_EQ(r.dialogs(2)[0]["icon"], "information");
  EXPECT_TRUE(r.dialogs(3).empty());
  EXPECT_EQ(r.last()["state"]["MinWeight"], 64.8);
  EXPECT_EQ(r.last()["state"]["MinWeightDate"], "2004/05/03");
}

// 85.7 typed for 58.6 is asked about before anything is stored, in every place a weight or a
// body-fat percentage goes in; No keeps the typed text and stores nothing.
TEST(WeightEntry, ATypoIsQuestionedBeforeItIsStored) {
  TempFolder dir, in;
  writeDiary(dir);
  writeWeights(dir, day(2004, 5, 1), {58.6f, 58.4f});
  dir.writeCp932("体脂肪率.txt", "\"2004/05/01\",25\r\n");
  dir.writeCp932("連続体重.txt", "\"2004/05/10\",\"07:00:00\",58.5\r\n");
  in.writeBytes("typo.csv", "date,weight\n2004/05/03,58.3\n2004/05/04,5.83\n2004/05/05,58.2\n");
  const std::string before = dir.readBytes("体重.txt");
  auto r = runDrive(dir.path(), std::string(kStart) + "answer No\n" + entry("2004/05/03", "85.7") +
                                    "dump txtInpTaijyu\nanswer No\n" + entry("2004/05/05", "5.84") + "dump\n" +
                                    "input 61.6\nanswer No\nmenu msgB1 2 修正\n"
                                    "answer No\nsettext txtInpShibou 30.1\nenter txtInpShibou\n"
                                    "answer No\nsettext txtInpRenTai 68\nenter txtInpRenTai\n"
                                    "file " +
                                    in.file("typo.csv") +
                                    "\nanswer No\nclick cmdCsvIn\n"
                                    "dump txtInpShibou txtInpRenTai\nanswer Yes\n" +
                                    entry("2004/05/03", "61.6") + "dump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  ASSERT_EQ(r.dialogs(1).size(), 1u);
  const auto& asked = r.dialogs(1)[0];
  EXPECT_EQ(asked["text"], "前回（05/02）の 58.4Kg から 27.3Kg 増えています。この体重で記録しますか？");
  EXPECT_EQ(asked["icon"], "question");
  EXPECT_EQ(asked["buttons"], "YesNo");
  EXPECT_EQ(asked["default"], "No");
  EXPECT_EQ(r.dumps[1]["controls"]["txtInpTaijyu"]["text"], "85.7");
  // Asked before the days between are.
  ASSERT_EQ(r.dialogs(2).size(), 1u);
  EXPECT_EQ(r.dialogs(2)[0]["text"], "前回（05/02）の 58.4Kg から 52.6Kg 減っています。この体重で記録しますか？");
  std::vector<nlohmann::json> others;
  for (const auto& box : r.dialogs(3))
    if (box["kind"] == "msgbox") others.push_back(box);
  ASSERT_EQ(others.size(), 4u) << r.dialogs(3);
  EXPECT_EQ(others[0]["text"], "前回（05/01）の 58.6Kg から 3.0Kg 増えています。この体重で記録しますか？");
  EXPECT_EQ(others[1]["text"], "前回（05/01）の 25.0% から 5.1% 増えています。この体脂肪率で記録しますか？");
  EXPECT_EQ(others[2]["text"], "前回（05/10）の 58.5Kg から 9.5Kg 増えています。この体重で記録しますか？");
  EXPECT_EQ(others[3]["text"],
            "読み込む記録のうち 2 件は、前の記録から体重が 5% より、体脂肪率が 5 ポイントより大きく変わっています。"
            "入力のまちがいでないか確かめてください。\nこのまま読み込みますか？");
  EXPECT_EQ(r.dumps[3]["controls"]["txtInpShibou"]["text"], "30.1");
  EXPECT_EQ(r.dumps[3]["controls"]["txtInpRenTai"]["text"], "68");
  EXPECT_EQ(r.dumps[3]["state"]["WeightCount"], 2);
  EXPECT_EQ(r.dumps[3]["state"]["FatCount"], 1);
  EXPECT_EQ(r.dumps[3]["state"]["IntradayCount"], 1);
  EXPECT_EQ(r.dumps[3]["state"]["UndoDepth"], 0);
  // Yes stores it; no best record greets a weight above the lowest.
  ASSERT_EQ(r.dialogs(4).size(), 1u);
  EXPECT_EQ(dir.readBytes("体重.txt").substr(0, before.size()), before);
  EXPECT_EQ(r.last()["state"]["WeightCount"], 3);
}

TEST(WeightEntry, HundredYearLimitRefusesEntriesAndLongGapFills) {
  const std::string limit =
      "保存データ量が２年分なりました。長々御愛用いただきうれしく思います。\n\n"
      "このフォルダとしてはこれ以上データを保存することはできません。\n\n"
      "もう一つZorvelのフォルダをコピーするなどして作成して\n新規にスタートしてください。";
  {
    // Two years of days are no end any more.
    TempFolder dir;
    writeDiary(dir);
    writeWeights(dir, day(2002, 5, 1), std::vector<float>(730, 70));
    const std::string next = store::formatDate(day(2002, 5, 1) + std::chrono::days(730));
    auto r = runDrive(dir.path(), std::string(kStart) + entry(next, "69.9") + "dump\n");
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    EXPECT_EQ(r.last()["state"]["WeightCount"], 731);
  }
  {
    // Two short of the limit: a fill of two days plus the entry would pass it (refused before
    // any question), one day plus the entry reaches it exactly, and the next entry is refused.
    TempFolder dir;
    writeDiary(dir);
    const int count = 36598;
    writeWeights(dir, day(1950, 1, 1), std::vector<float>(count, 70));
    const std::string before = dir.readBytes("体重.txt");
    const store::Date last = day(1950, 1, 1) + std::chrono::days(count - 1);
    const auto on = [&](int days) { return store::formatDate(last + std::chrono::days(days)); };
    auto r = runDrive(dir.path(), std::string(kStart) + entry(on(3), "69.9") + "dump\nanswer Yes\n" +
                                      entry(on(2), "69.9") + "dump\n" + entry(on(3), "69.9") + "dump\n");
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    ASSERT_EQ(r.dialogs(1).size(), 1u);
    EXPECT_EQ(r.dialogs(1)[0]["text"], limit);
    EXPECT_EQ(r.dialogs(1)[0]["title"], "データ上限");
    EXPECT_EQ(r.dialogs(1)[0]["icon"], "warning");
    ASSERT_EQ(r.dialogs(2).size(), 2u);
    EXPECT_EQ(r.dialogs(2)[0]["title"], "自動体重挿入");
    EXPECT_EQ(r.dialogs(2)[1]["text"], "最高記録を 0.1Kg 更新しました  ");
    ASSERT_EQ(r.dialogs(3).size(), 1u);
    EXPECT_EQ(r.dialogs(3)[0]["text"], limit);
    EXPECT_EQ(r.last()["state"]["WeightCount"], 36600);
    EXPECT_EQ(dir.readBytes("体重.txt").substr(0, before.size()), before);
  }
}

TEST(WeightEntry, SampleModeRefusesTheFocusAndTheEntry) {
  TempFolder dir;
  writeDiary(dir, "168.5", "65", "150");
  dir.writeCp932("ﾌﾟﾗｲﾍﾞｰﾄ.txt",
                 "\"氏名\",\"Ｑ＆Ｚ\"\r\n\"身長\",168.5\r\n\"目標体重\",65\r\n\"目標期間\",150\r\n\"目標達成率\",70\r\n"
                 "\"目標ｶﾛﾘｰ\",2000\r\n\"体脂肪率Ｙ軸MAX\",35\r\n\"体脂肪率Ｙ軸MIN\",15\r\n\"歩数Ｙ軸MAX\",40000\r\n"
                 "\"歩数Ｙ軸MIN\",0\r\n\"一歩換算\",.7\r\n");
  auto r =
      runDrive(dir.path(), std::string(kStart) + "focus txtInpTaijyu\ndump\n" + entry("2004/05/10", "65") + "dump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  ASSERT_TRUE(r.dumps[0]["state"]["SampleMode"]);
  ASSERT_EQ(r.dialogs(1).size(), 1u);
  EXPECT_EQ(r.dialogs(1)[0]["title"], "サンプルモードでの制約");
  EXPECT_EQ(r.dialogs(1)[0]["icon"], "warning");
  EXPECT_EQ(r.dumps[1]["focus"], "cmdMain");
  ASSERT_EQ(r.dialogs(2).size(), 1u);
  EXPECT_EQ(r.dialogs(2)[0]["title"], "サンプルモードでの制約");
  EXPECT_EQ(dir.readBytes("体重.txt"), "");
}
