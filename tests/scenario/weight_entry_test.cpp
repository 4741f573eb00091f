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
  writeWeights(dir, day(2004, 5, 1), {70});
  auto r = runDrive(dir.path(), std::string(kStart) + entry("2004/05/02", "65.3kg") + entry("2004/05/03", "  65") +
                                    "dump lblNowDate\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(dir.readUtf8("体重.txt"), "\"2004/05/01\",70\r\n\"2004/05/02\",65.3\r\n\"2004/05/03\",65\r\n");
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

TEST(WeightEntry, TwoYearLimitRefusesEntriesAndLongGapFills) {
  const std::string limit =
      "保存データ量が２年分なりました。長々御愛用いただきうれしく思います。\n\n"
      "このフォルダとしてはこれ以上データを保存することはできません。\n\n"
      "もう一つZorvelのフォルダをコピーするなどして作成して\n新規にスタートしてください。";
  {
    TempFolder dir;
    writeDiary(dir);
    writeWeights(dir, day(2002, 5, 1), std::vector<float>(730, 70));
    const std::string before = dir.readBytes("体重.txt");
    const std::string next = store::formatDate(day(2002, 5, 1) + std::chrono::days(730));
    auto r = runDrive(dir.path(), std::string(kStart) + entry(next, "69") + "dump\n");
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    ASSERT_EQ(r.dialogs(1).size(), 1u);
    EXPECT_EQ(r.dialogs(1)[0]["text"], limit);
    EXPECT_EQ(r.dialogs(1)[0]["title"], "データ上限");
    EXPECT_EQ(r.dialogs(1)[0]["icon"], "warning");
    EXPECT_EQ(dir.readBytes("体重.txt"), before);
  }
  {
    // 728 records: a fill of two days plus the entry would pass the limit, one day plus the
    // entry reaches it exactly.
    TempFolder dir;
    writeDiary(dir);
    writeWeights(dir, day(2002, 5, 1), std::vector<float>(728, 70));
    const std::string before = dir.readBytes("体重.txt");
    const store::Date last = day(2002, 5, 1) + std::chrono::days(727);
    auto r = runDrive(dir.path(), std::string(kStart) + entry(store::formatDate(last + std::chrono::days(3)), "69") +
                                      "dump\nanswer Yes\n" +
                                      entry(store::formatDate(last + std::chrono::days(2)), "69") + "dump\n");
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    ASSERT_EQ(r.dialogs(1).size(), 1u);  // refused before any question
    EXPECT_EQ(r.dialogs(1)[0]["text"], limit);
    EXPECT_EQ(r.dialogs(1)[0]["title"], "データ上限");
    ASSERT_EQ(r.dialogs(2).size(), 2u);
    EXPECT_EQ(r.dialogs(2)[0]["title"], "自動体重挿入");
    EXPECT_EQ(r.dialogs(2)[1]["text"], "最高記録を 1.0Kg 更新しました  ");
    EXPECT_EQ(r.last()["state"]["WeightCount"], 730);
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
