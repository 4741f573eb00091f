#include <gtest/gtest.h>

#include <filesystem>

#include "csv/csv.h"
#include "csv/weight_import.h"
#include "records/weight_entry.h"
#include "store/data_folder.h"
#include "support/temp_folder.h"

using testing_support::TempFolder;

TEST(CsvText, QuotesOnlyWhatNeedsItAndReadsItBack) {
  EXPECT_EQ(csv::field("65.3"), "65.3");
  EXPECT_EQ(csv::field("ご飯, 大盛り"), "\"ご飯, 大盛り\"");
  EXPECT_EQ(csv::field("\"特製\"カレー"), "\"\"\"特製\"\"カレー\"");
  EXPECT_EQ(csv::field("一行目\r\n二行目"), "\"一行目\r\n二行目\"");
  EXPECT_EQ(csv::textCell("\r1"), "'\r1");  // the export's story has the other cases
  EXPECT_EQ(csv::document({{"日付", "品目"}, {"2026/12/01", "a,b"}}),
            "\xEF\xBB\xBF日付,品目\r\n2026/12/01,\"a,b\"\r\n");

  // What we write reads back as it was; LF-only files, a missing last line end and empty
  // lines are read too.
  const std::vector<csv::Row> rows{{"a", "x,y", "say \"hi\""}, {"", "two\r\nlines", "z"}};
  EXPECT_EQ(csv::parse(csv::document(rows)), rows);
  EXPECT_EQ(csv::parse("a,b\n\n1,2"), (std::vector<csv::Row>{{"a", "b"}, {"1", "2"}}));
  // A quote opens a field only at its start, blanks aside; one never closed keeps its line.
  EXPECT_EQ(csv::parse("a, \"b,c\",6\"8,\r\"x\ny"), (std::vector<csv::Row>{{"a", "b,c", "6\"8", ""}, {"x"}, {"y"}}));
}

namespace {
// Today is after every row of these tests.
csv::WeightCsv readWeightCsvBy(std::string_view bytes, std::optional<store::Date> lastDay) {
  return csv::readWeightCsv(bytes, lastDay, store::makeDate(2026, 12, 31));
}
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
  csv::WeightCsv own = readWeightCsvBy("\xEF\xBB\xBF日付,体重kg\r\n2026/12/01,70\r\n2026/12/02,69.5\r\n", last);
  ASSERT_EQ(own.rows.size(), 1u);
  EXPECT_EQ(own.rows[0].day, store::makeDate(2026, 12, 2));
  EXPECT_EQ(own.rows[0].kg, 69.5f);
  EXPECT_EQ(own.alreadyInDiary, 1);

  // date,weight in any order with other columns and blanks; dates with dashes.
  csv::WeightCsv plain = readWeightCsvBy("note,Weight,DATE \nmorning,68.2,2026-12-03\n,68,2026-12-02\n", last);
  ASSERT_EQ(plain.rows.size(), 2u);
  EXPECT_EQ(plain.rows[0].day, store::makeDate(2026, 12, 2));
  EXPECT_EQ(plain.rows[1].kg, 68.2f);

  // A scale app's export: newest first, several weighings a day; the day's first one counts.
  csv::WeightCsv scale = readWeightCsvBy(
      "\"dateTime\",\"weight\",\"fat\"\n\"2026-12-03 21:10\",\"68.9\",\"20\"\n\"2026-12-03 06:55\",\"68.1\",\"\"\n"
      "\"2026-12-02 07:00:30\",\"68.4\",\"\"\n\"2026/12/02 07:00:10\",\"68.6\",\"\"\n",
      last);
  ASSERT_EQ(scale.rows.size(), 2u);
  EXPECT_EQ(scale.rows[0].kg, 68.6f);
  EXPECT_EQ(scale.rows[1].kg, 68.1f);
  EXPECT_EQ(scale.laterWeighings, 2);

  // Shift-JIS from a spreadsheet saved in Japan.
  csv::WeightCsv sjis = readWeightCsvBy("\x93\xfa\x95\x74,\x91\xcc\x8f\x64\r\n2026/12/05,67\r\n", std::nullopt);
  ASSERT_EQ(sjis.rows.size(), 1u);
  EXPECT_EQ(sjis.rows[0].day, store::makeDate(2026, 12, 5));
}

TEST(WeightCsv, CountsRefusedRowsAndRefusesATableWithoutItsColumns) {
  csv::WeightCsv t = readWeightCsvBy(
      "date,weight\n2026/13/01,70\nyesterday,70\n2026/12/02,\n2026/12/03,abc\n2026/12/04,-1\n2026/12/05 25:00,70\n"
      "2026/12/06,70.2\n",
      std::nullopt);
  EXPECT_EQ(t.rows.size(), 1u);
  EXPECT_EQ(t.refused.at("日付が読めない行"), 3);
  EXPECT_EQ(t.refused.at("体重が読めない行"), 3);

  EXPECT_TRUE(readWeightCsvBy("day,kg\n2026/12/01,70\n", std::nullopt).unusable);
  EXPECT_TRUE(readWeightCsvBy("", std::nullopt).unusable);
  EXPECT_TRUE(readWeightCsvBy("date,weight\n", std::nullopt).rows.empty());
}

// Every row after the header is a day read, or counted with the reason it was not.
TEST(WeightCsv, EveryRowIsReadOrCountedWithItsReason) {
  const csv::WeightCsv t = csv::readWeightCsv(
      "date,note,weight\r\n"
      "2026/12/01,in the diary,70\r\n"
      "2026/12/02,\"a note\r\nover two lines\",69\r\n"
      "2026/12/03,,\"68.5\r\n"  // a quote left open in the weight column
      "2026/12/04,,68,5\r\n"    // a decimal comma without quotes
      "2026/12/05,,67.5\r\n"
      "2026/12/06,note,67,\t\r\n"             // a blank field after the header's columns
      "2026/12/08,,66\r\n2027/01/10,,65\r\n"  // after today
      "2026/12/06 20:00,,66.8\r\n"            // the day's second weighing
      "2026/12/07,\"left open,66.2\r\n"       // a quote in the note column that never closes
      "2026/12/07,,66.5\r\n",
      store::makeDate(2026, 12, 1), store::makeDate(2026, 12, 7));
  EXPECT_EQ(csv::importCounts(t, {}),
            "読み飛ばした行: 2\n  登録済みの日付の行: 1\n  同じ日の 2 回目以降の行: 1\n"
            "読み込めなかった行: 5\n  「\"」が閉じていない行: 2\n  今日より後の日付の行: 2\n"
            "  見出しより列の多い行（小数点にコンマ？）: 1");
  EXPECT_EQ(t.dataRows, 11);

  // Days without a weight are counted however far apart the rows are.
  const csv::WeightCsv late = readWeightCsvBy("date,weight\n2026/12/01,70\n2026/12/03,69\n", std::nullopt);
  EXPECT_EQ(csv::missingDays(late, seriesEndingOn(store::makeDate(1990, 1, 1), 80)), 13482 + 1);
}

TEST(WeightCsv, AppendsByTheEntryRulesWithOneAnswerForEveryGap) {
  const records::WeightSeries s = seriesEndingOn(store::makeDate(2026, 12, 1), 70);
  const csv::WeightCsv t =
      readWeightCsvBy("date,weight\n2026/12/02,69.8\n2026/12/05,69\n2026/12/07,68.5\n", std::nullopt);
  EXPECT_EQ(csv::missingDays(t, s), 3);

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
  const records::WeightSeries nearlyFull = seriesEndingOn(store::makeDate(2026, 12, 1), 70, records::kWeightLimit - 3);
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
