#include <gtest/gtest.h>

#include <filesystem>

#include "csv/csv.h"
#include "csv/weight_import.h"
#include "store/data_folder.h"
#include "support/temp_folder.h"

using testing_support::TempFolder;

TEST(CsvText, QuotesOnlyWhatNeedsItAndReadsItBack) {
  EXPECT_EQ(csv::field("65.3"), "65.3");
  EXPECT_EQ(csv::field("ご飯, 大盛り"), "\"ご飯, 大盛り\"");
  EXPECT_EQ(csv::field("\"特製\"カレー"), "\"\"\"特製\"\"カレー\"");
  EXPECT_EQ(csv::field("一行目\r\n二行目"), "\"一行目\r\n二行目\"");
  EXPECT_EQ(csv::document({{"日付", "品目"}, {"2026/12/01", "a,b"}}),
            "\xEF\xBB\xBF日付,品目\r\n2026/12/01,\"a,b\"\r\n");

  // What we write reads back as it was; LF-only files, a missing last line end and empty
  // lines are read too.
  const std::vector<csv::Row> rows{{"a", "x,y", "say \"hi\""}, {"", "two\r\nlines", "z"}};
  EXPECT_EQ(csv::parse(csv::document(rows)), rows);
  EXPECT_EQ(csv::parse("a,b\n\n1,2"), (std::vector<csv::Row>{{"a", "b"}, {"1", "2"}}));
}

namespace {
records::WeightSeries seriesEndingOn(store::Date last, float kg, int count = 1) {
  records::WeightSeries s;
  for (int i = count - 1; i >= 0; --i) {
    s.WeightDay.push_back(last - std::chrono::days(i));
    s.WeightDate.push_back(store::formatDate(s.WeightDay.back()));
    s.WeightKg.push_back(kg);
  }
  s.WeightCount = count;
  return s;
}
}  // namespace

TEST(WeightCsv, ReadsEachLayoutByItsHeader) {
  const store::Date last = store::makeDate(2026, 12, 1);
  // Our own export.
  csv::WeightCsv own = csv::readWeightCsv("\xEF\xBB\xBF日付,体重kg\r\n2026/12/01,70\r\n2026/12/02,69.5\r\n", last);
  ASSERT_EQ(own.rows.size(), 1u);
  EXPECT_EQ(own.rows[0].day, store::makeDate(2026, 12, 2));
  EXPECT_EQ(own.rows[0].kg, 69.5f);
  EXPECT_EQ(own.alreadyInDiary, 1);

  // date,weight in any order with other columns; dates with dashes.
  csv::WeightCsv plain = csv::readWeightCsv("note,Weight,DATE\nmorning,68.2,2026-12-03\n,68,2026-12-02\n", last);
  ASSERT_EQ(plain.rows.size(), 2u);
  EXPECT_EQ(plain.rows[0].day, store::makeDate(2026, 12, 2));
  EXPECT_EQ(plain.rows[1].kg, 68.2f);

  // A scale app's export: newest first, several weighings a day; the day's first one counts.
  csv::WeightCsv scale = csv::readWeightCsv(
      "\"dateTime\",\"weight\",\"fat\"\n\"2026-12-03 21:10\",\"68.9\",\"20\"\n\"2026-12-03 06:55\",\"68.1\",\"\"\n"
      "\"2026-12-02 07:00:30\",\"68.4\",\"\"\n\"2026/12/02 07:00:10\",\"68.6\",\"\"\n",
      last);
  ASSERT_EQ(scale.rows.size(), 2u);
  EXPECT_EQ(scale.rows[0].kg, 68.6f);
  EXPECT_EQ(scale.rows[1].kg, 68.1f);
  EXPECT_EQ(scale.laterWeighings, 2);

  // Shift-JIS from a spreadsheet saved in Japan.
  csv::WeightCsv sjis = csv::readWeightCsv("\x93\xfa\x95\x74,\x91\xcc\x8f\x64\r\n2026/12/05,67\r\n", std::nullopt);
  ASSERT_EQ(sjis.rows.size(), 1u);
  EXPECT_EQ(sjis.rows[0].day, store::makeDate(2026, 12, 5));
}

TEST(WeightCsv, CountsRefusedRowsAndRefusesATableWithoutItsColumns) {
  csv::WeightCsv t = csv::readWeightCsv(
      "date,weight\n2026/13/01,70\nyesterday,70\n2026/12/02,\n2026/12/03,abc\n2026/12/04,-1\n2026/12/05 25:00,70\n"
      "2026/12/06,70.2\n",
      std::nullopt);
  EXPECT_EQ(t.rows.size(), 1u);
  EXPECT_EQ(t.refused.at("日付が読めない行"), 3);
  EXPECT_EQ(t.refused.at("体重が読めない行"), 3);

  EXPECT_TRUE(csv::readWeightCsv("day,kg\n2026/12/01,70\n", std::nullopt).unusable);
  EXPECT_TRUE(csv::readWeightCsv("", std::nullopt).unusable);
  EXPECT_TRUE(csv::readWeightCsv("date,weight\n", std::nullopt).rows.empty());
}

TEST(WeightCsv, AppendsByTheEntryRulesWithOneAnswerForEveryGap) {
  const records::WeightSeries s = seriesEndingOn(store::makeDate(2026, 12, 1), 70);
  const csv::WeightCsv t =
      csv::readWeightCsv("date,weight\n2026/12/02,69.8\n2026/12/05,69\n2026/12/07,68.5\n", std::nullopt);
  EXPECT_TRUE(csv::hasGaps(t, s));

  const csv::WeightAppend filled = csv::planWeightAppend(t, s, true);
  EXPECT_EQ(filled.imported, 3);
  EXPECT_EQ(filled.filled, 3);
  std::string lines;
  for (const auto& r : filled.records) lines += r.line() + "\n";
  EXPECT_EQ(lines,
            "\"2026/12/02\",69.8\n\"2026/12/03\",69.8\n\"2026/12/04\",69.8\n\"2026/12/05\",69\n\"2026/12/06\",69\n"
            "\"2026/12/07\",68.5\n");

  // Without filling, the entry rule stops at the first gap.
  const csv::WeightAppend stopped = csv::planWeightAppend(t, s, false);
  EXPECT_EQ(stopped.imported, 1);
  EXPECT_EQ(stopped.afterGap, 2);
  EXPECT_EQ(csv::importSummary(t, stopped),
            "体重を 1 日分読み込みました。\n\n読み飛ばした行: 0\n読み込めなかった行: 2\n"
            "  間の日をうめなかったため入れられない行: 2");

  // The log's limit counts the filled days too.
  const records::WeightSeries nearlyFull = seriesEndingOn(store::makeDate(2026, 12, 1), 70, 727);
  const csv::WeightAppend limited = csv::planWeightAppend(t, nearlyFull, true);
  EXPECT_EQ(limited.imported, 1);
  EXPECT_EQ(limited.overLimit, 2);
}

TEST(DataFolder, ChosenInOrderAndPreparedWithoutTouchingARefusedPlace) {
  TempFolder program, user;
  const std::string prog = program.path(), data = user.file("Zorvel");
  EXPECT_EQ(store::chooseDataFolder("/a", "/b", prog, data).folder, "/a");
  EXPECT_EQ(store::chooseDataFolder(std::nullopt, "/b", prog, data).folder, "/b");
  EXPECT_EQ(store::chooseDataFolder("", std::nullopt, prog, data).folder, data);
  program.writeMinimalDiary();
  const store::DataFolderChoice portable = store::chooseDataFolder(std::nullopt, "", prog, data);
  EXPECT_EQ(portable.folder, prog);
  EXPECT_EQ(portable.origin, store::FolderOrigin::ProgramFolder);

  // A new folder is made and seeded; a file already there is kept.
  TempFolder seed;
  seed.copySample();
  ASSERT_EQ(store::prepareDataFolder(data, seed.path()), std::nullopt);
  EXPECT_TRUE(std::filesystem::exists(data + "/ﾌﾟﾗｲﾍﾞｰﾄ.txt"));
  EXPECT_EQ(std::filesystem::file_size(data + "/体重.txt"), std::filesystem::file_size(seed.file("体重.txt")));
  user.writeBytes("Zorvel/体重.txt", "");
  std::filesystem::remove(data + "/ﾌﾟﾗｲﾍﾞｰﾄ.txt");
  ASSERT_EQ(store::prepareDataFolder(data, seed.path()), std::nullopt);
  EXPECT_EQ(user.readBytes("Zorvel/体重.txt"), "");
  // A diary folder with a profile takes nothing from the seed.
  std::filesystem::remove(data + "/歩数.txt");
  ASSERT_EQ(store::prepareDataFolder(data, seed.path()), std::nullopt);
  EXPECT_FALSE(std::filesystem::exists(data + "/歩数.txt"));

  // A folder that cannot be made: the message names it, and nothing is created.
  user.writeBytes("plain-file", "x");
  const std::string bad = user.file("plain-file") + "/日記";
  EXPECT_EQ(store::prepareDataFolder(bad, seed.path()),
            "データフォルダー「" + bad +
                "」を作れませんでした。場所の途中にフォルダーではないものがあります（Not a directory）。\n"
                "場所を確かめてから、もう一度お試しください。");
  EXPECT_EQ(
      store::prepareDataFolder(user.file("plain-file"), ""),
      "データフォルダー「" + user.file("plain-file") +
          "」はフォルダーではなくファイルです。\n別のフォルダーを指定するか、このファイルを別の場所へ移してください。");
  EXPECT_EQ(user.readBytes("plain-file"), "x");
}
