#include <gtest/gtest.h>
#include <zip.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "support/drive.h"
#include "support/temp_folder.h"

using testing_support::runDrive;
using testing_support::TempFolder;

namespace {

const std::string kBom = "\xEF\xBB\xBF";

void writeSmallDiary(const TempFolder& dir) {
  dir.writeMinimalDiary();
  dir.writeCp932("体重.txt", "\"2026/12/01\",70\r\n\"2026/12/02\",69.5\r\n");
  dir.writeCp932("連続体重.txt", "\"2026/12/02\",\"07:05:09\",69.75\r\n");
  dir.writeCp932("体脂肪率.txt", "\"2026/12/02\",25\r\n\"2026/12/03\",24.5\r\n");
  dir.writeCp932("歩数.txt", "\"2026/12/02\",8000\r\n");
  dir.writeCp932("栄養.txt", "\"2026/12/02\",\"●\",\"×\",\"●\",\"×\",\"×\",\"●\",\"×\",\"×\",\"●\",\"×\",\"●\"\r\n");
  dir.writeCp932("筋トレ1.txt", "\"2026/12/02\",20\r\n\"2026/12/03\",12.5\r\n");
  dir.writeCp932("20261202.txt",
                 "\"2026/12/02\"\r\n\"ご飯, 大盛り\",300,\"朝\"\r\n\"ｶﾚｰ\",700,\"夕\"\r\n\"ｳｫｰｷﾝｸﾞ\",120,\"運動\"\r\n");
  dir.writeCp932("ﾘｽﾄ1.txt", "\"牛乳, 卵\"\r\n");
  dir.writeCp932("ﾘｽﾄ4.txt", "\"12/02 よく歩いた\"\r\n");
}

}  // namespace

TEST(CsvExport, EveryFileByteForByteAndReplacedOnlyAfterAQuestion) {
  TempFolder dir, out;
  writeSmallDiary(dir);
  dir.writeCp932("日記20261202.txt", "よく歩いた\r\n夜は軽め\r\n");
  dir.writeCp932("2026年12月.txt", "0,0,1,2,0,0,0\r\n");
  dir.writeCp932("2026年11月.txt", "2\r\n");
  out.writeBytes("体重.csv", "old");
  auto r = runDrive(dir.path(),
                    "clock 2026/12/07 09:00:00\nstart\nclick cmdSettei\ndump lblDataFolder\n"
                    "file-cancel\nclick cmdCsvOut\n"
                    "file " +
                        out.path() + "\nanswer No\nclick cmdCsvOut\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const auto& refused = r.dialogs(1);
  ASSERT_EQ(refused.size(), 3u);
  EXPECT_EQ(refused[0]["kind"], "folder");
  EXPECT_EQ(refused[0]["answer"], nullptr);
  EXPECT_EQ(refused[2]["text"], "次のファイルはすでにあります。置き換えますか？\n\n体重.csv");
  EXPECT_EQ(refused[2]["default"], "No");
  EXPECT_EQ(out.readBytes("体重.csv"), "old");
  EXPECT_EQ(out.list().size(), 1u);

  r = runDrive(dir.path(),
               "clock 2026/12/07 09:00:00\nstart\nfile " + out.path() + "\nanswer Yes\nclick cmdCsvOut\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;

  EXPECT_EQ(r.last()["dialogs"].back()["text"], "10 個の CSVファイルを書き出しました。\n" + out.path());
  EXPECT_EQ(out.readBytes("日記コメント.csv"), kBom + "日付,コメント\r\n2026/12/02,\"よく歩いた\r\n夜は軽め\"\r\n");
  EXPECT_EQ(out.readBytes("カレンダー.csv"), kBom + "日付,印\r\n2026/11/01,赤\r\n2026/12/01,緑\r\n2026/12/02,赤\r\n");
  EXPECT_EQ(out.readBytes("体重.csv"), kBom + "日付,体重kg\r\n2026/12/01,70\r\n2026/12/02,69.5\r\n");
  EXPECT_EQ(out.readBytes("連続体重.csv"), kBom + "日付,時刻,体重kg\r\n2026/12/02,07:05:09,69.75\r\n");
  EXPECT_EQ(out.readBytes("体脂肪率.csv"),
            kBom + "日付,体脂肪率%,脂肪量kg\r\n2026/12/02,25,17.38\r\n2026/12/03,24.5,\r\n");
  EXPECT_EQ(out.readBytes("歩数.csv"), kBom + "日付,歩数,距離km\r\n2026/12/02,8000,5.60\r\n");
  EXPECT_EQ(out.readBytes("栄養.csv"),
            kBom + "日付,乳製品,卵,肉,魚介,豆類,野菜,芋類,果物,穀物,砂糖,油脂\r\n2026/12/02,1,0,1,0,0,1,0,0,1,0,1\r\n");
  EXPECT_EQ(out.readBytes("筋トレ.csv"), kBom + "種目,日付,回数\r\n腹筋,2026/12/02,20\r\n腹筋,2026/12/03,12.5\r\n");
  EXPECT_EQ(out.readBytes("日記.csv"), kBom +
                                           "日付,区分,品目,kcal\r\n2026/12/02,朝,\"ご飯, 大盛り\",300\r\n"
                                           "2026/12/02,夜,ｶﾚｰ,700\r\n2026/12/02,運動,ｳｫｰｷﾝｸﾞ,120\r\n");
  EXPECT_EQ(out.readBytes("メモ.csv"),
            kBom + "リスト,題目,内容\r\n1,買い物リスト,\"牛乳, 卵\"\r\n4,ひとこと日記,12/02 よく歩いた\r\n");
}

// Texts a spreadsheet would take for formulas go out with a leading ', numbers as numbers; Calc
// (where it is installed, with its default import that runs formulas) then finds no formula.
TEST(CsvExport, TextsThatLookLikeFormulasStayTexts) {
  TempFolder dir, out;
  dir.writeMinimalDiary();
  const std::string link = "=HYPERLINK(CONCATENATE(CHAR(104),CHAR(116)),CHAR(121))";
  dir.writeCp932("ﾘｽﾄ1.txt",
                 "\"=1+2\"\r\n\"+1\"\r\n\"@SUM(A1)\"\r\n\"" + link + "\"\r\n\"-x\"\r\n\"\tz\"\r\n\"a=b\"\r\n");
  dir.writeCp932("20261202.txt", "\"2026/12/02\"\r\n\"=1+1\",-100,\"朝\"\r\n");
  auto r = runDrive(dir.path(), "clock 2026/12/07 09:00:00\nstart\nfile " + out.path() + "\nclick cmdCsvOut\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const std::string n = "\r\n1,買い物リスト,";
  EXPECT_EQ(out.readBytes("メモ.csv"), kBom + "リスト,題目,内容" + n + "'=1+2" + n + "'+1" + n + "'@SUM(A1)" + n +
                                           "\"'" + link + "\"" + n + "'-x" + n + "'\tz" + n + "a=b\r\n");
  EXPECT_EQ(out.readBytes("日記.csv"), kBom + "日付,区分,品目,kcal\r\n2026/12/02,朝,'=1+1,-100\r\n");

  // A file as it was written before shows that the check sees formulas.
  out.writeBytes("before.csv", kBom + "a\r\n=1+2\r\n");
  if (std::system("command -v soffice > /dev/null 2>&1") != 0)
    GTEST_SKIP() << "LibreOffice Calc (soffice) is not installed: the spreadsheet check is skipped";
  const std::string calc = "cd '" + out.path() + "' && soffice -env:UserInstallation=file://" + out.path() +
                           "/profile --headless --infilter=CSV:44,34,76,1 --convert-to fods before.csv メモ.csv "
                           "日記.csv > /dev/null 2>&1";
  ASSERT_EQ(std::system(calc.c_str()), 0) << calc;
  EXPECT_NE(out.readBytes("before.fods").find("table:formula="), std::string::npos);
  for (const char* name : {"メモ.fods", "日記.fods"}) {
    EXPECT_NE(out.readBytes(name).find("&apos;=1+"), std::string::npos) << name;
    EXPECT_EQ(out.readBytes(name).find("table:formula="), std::string::npos) << name;
  }
}

TEST(CsvImport, OwnExportComesBackByteForByteIntoAnEmptiedDiary) {
  TempFolder dir, out;
  dir.writeMinimalDiary();
  const std::string weights =
      "\"2026/11/28\",72.4\r\n\"2026/11/29\",72.1\r\n\"2026/11/30\",71.85\r\n\"2026/12/01\",72\r\n"
      "\"2026/12/02\",71.3\r\n\"2026/12/03\",70.95\r\n\"2026/12/04\",71.1\r\n";
  dir.writeCp932("体重.txt", weights);
  const std::string original = dir.readBytes("体重.txt");
  auto r = runDrive(dir.path(), "clock 2026/12/07 09:00:00\nstart\nfile " + out.path() + "\nclick cmdCsvOut\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;

  dir.writeBytes("体重.txt", "");
  r = runDrive(dir.path(), "clock 2026/12/07 10:00:00\nstart\nfile " + out.file("体重.csv") +
                               "\nclick cmdCsvIn\ndump lblNowTaijyu\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(dir.readBytes("体重.txt"), original);
  const auto& d = r.last();
  EXPECT_EQ(d["dialogs"].back()["text"], "体重を 7 日分読み込みました。\n\n読み飛ばした行: 0\n読み込めなかった行: 0");
  EXPECT_EQ(d["state"]["WeightCount"], 7);
  EXPECT_EQ(d["controls"]["lblNowTaijyu"]["caption"], "71.1");
}

TEST(CsvImport, ScaleExportWithGapsSkippedAndRefusedRowsAndOneQuestion) {
  TempFolder dir, in;
  dir.writeMinimalDiary();
  dir.writeCp932("体重.txt", "\"2026/12/01\",70\r\n\"2026/12/02\",69.5\r\n");
  in.writeBytes(
      "scale.csv",
      "\"dateTime\",\"weight\",\"fat\"\n\"2026-12-06 20:00\",\"68.9\",\"\"\n\"2026-12-06 07:10\",\"68.4\",\"\"\n"
      "\"2026-12-04 07:00\",\"69\",\"\"\n\"2026-12-02 07:00\",\"69.4\",\"\"\n\"someday\",\"69\",\"\"\n"
      "\"2026-12-05 07:00\",\"\",\"\"\n");
  in.writeBytes("bad.csv", "day;kg\n2026-12-03;69\n");
  in.writeBytes("none.csv", "date,weight\n2026/11/30,71\n");
  auto r = runDrive(dir.path(),
                    "clock 2026/12/07 09:00:00\nstart\n"
                    "file " +
                        in.file("bad.csv") +
                        "\nclick cmdCsvIn\n"
                        "file " +
                        in.file("none.csv") +
                        "\nclick cmdCsvIn\ndump\n"
                        "file " +
                        in.file("scale.csv") + "\nanswer Yes\nclick cmdCsvIn\ndump lblNowTaijyu\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const auto& refused = r.dialogs(0);
  ASSERT_EQ(refused.size(), 4u);
  EXPECT_EQ(refused[1]["text"], "「" + in.file("bad.csv") +
                                    "」を読み込めません。\n1 行目に日付（日付 / date）と体重（体重 / "
                                    "weight）の列名がありません。列名を書き足してから読み込んでください。");
  EXPECT_EQ(refused[3]["text"],
            "読み込める新しい体重の行がありません。\n\n読み飛ばした行: 1\n"
            "  登録済みの日付の行: 1\n読み込めなかった行: 0");

  const auto& d = r.last();
  ASSERT_EQ(d["dialogs"].size(), 3u);
  EXPECT_EQ(d["dialogs"][1]["title"], "自動体重挿入");
  EXPECT_EQ(d["dialogs"][1]["text"],
            "読み込む日付の間に体重のない日が 2 日あります。\n前の日の体重でうめておきますか？\n\n"
            "『いいえ』をクリックすると、間のあいた日より後の行は読み込みません");
  EXPECT_EQ(d["dialogs"][2]["text"],
            "体重を 2 日分読み込みました。\n間の 2 日は前の日の体重でうめました。\n\n読み飛ばした行: 2\n"
            "  登録済みの日付の行: 1\n  同じ日の 2 回目以降の行: 1\n読み込めなかった行: 2\n  体重が読めない行: 1\n"
            "  日付が読めない行: 1");
  EXPECT_EQ(dir.readUtf8("体重.txt"),
            "\"2026/12/01\",70\r\n\"2026/12/02\",69.5\r\n\"2026/12/03\",69.5\r\n\"2026/12/04\",69\r\n"
            "\"2026/12/05\",69\r\n\"2026/12/06\",68.4\r\n");
  EXPECT_EQ(d["state"]["WeightCount"], 6);
}

// A phone's export: stamps in UTC or with an offset land on the local day, and its body-fat
// column goes into the body-fat log in the same step as the weights.
TEST(CsvImport, PhoneStampsInLocalTimeAndBodyFatToo) {
  TempFolder dir, in;
  dir.writeMinimalDiary();
  dir.writeCp932("体重.txt", "\"2026/12/01\",70\r\n\"2026/12/02\",69.5\r\n");
  dir.writeCp932("体脂肪率.txt", "\"2026/12/02\",25\r\n");
  in.writeBytes("phone.csv",
                "dateTime,weight,fat\n2026-12-02T22:30:00Z,69.4,24.8\n2026-12-03T23:10:00.000+00:00,69.2,24.6\n"
                "2026-12-05T07:00:00+09:00,69.0,\n2026-12-06T07:00:00+09:00,68.9,abc\n");
  const char* const oldTz = std::getenv("TZ");
  const std::string keptTz = oldTz ? oldTz : "";
  ::setenv("TZ", "JST-9", 1);
  auto r = runDrive(dir.path(), "clock 2026/12/07 09:00:00\nstart\nfile " + in.file("phone.csv") +
                                    "\nclick cmdCsvIn\ndump lblNowShibou\n");
  if (oldTz)
    ::setenv("TZ", keptTz.c_str(), 1);
  else
    ::unsetenv("TZ");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(dir.readUtf8("体重.txt"),
            "\"2026/12/01\",70\r\n\"2026/12/02\",69.5\r\n\"2026/12/03\",69.4\r\n\"2026/12/04\",69.2\r\n"
            "\"2026/12/05\",69\r\n");
  EXPECT_EQ(dir.readUtf8("体脂肪率.txt"), "\"2026/12/02\",25\r\n\"2026/12/03\",24.8\r\n\"2026/12/04\",24.6\r\n");
  EXPECT_EQ(r.last()["dialogs"].back()["text"],
            "体重を 3 日分読み込みました。\n体脂肪率を 2 件読み込みました。\n\n読み飛ばした行: 0\n"
            "読み込めなかった行: 1\n  体脂肪率が読めない行: 1");
  EXPECT_EQ(r.last()["controls"]["lblNowShibou"]["caption"], "24.6");
}

// Rows after today, with more fields than the header or a quote left open are counted; the gap
// question counts every missing day; Ctrl+Z takes the import back; a gap of years is refused.
TEST(CsvImport, RefusedRowsAreCountedAndTheImportIsOneStepToTakeBack) {
  TempFolder dir, in, old;
  writeSmallDiary(dir);
  const std::string weights = dir.readBytes("体重.txt");
  in.writeBytes("rows.csv",
                "date,weight\r\n2026/12/04,68\r\n2026/12/05,68,1\r\n2026/12/05,\"67.5\r\n2026/12/06,67\r\n"
                "2026/12/08,66\r\n2027/01/10,65\r\n");
  auto r = runDrive(dir.path(), "clock 2026/12/07 09:00:00\nstart\ndump\nfile " + in.file("rows.csv") +
                                    "\nanswer Yes\nclick cmdCsvIn\ndump\nanswer Yes\nkey txtInpTaijyu Ctrl+Z\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  ASSERT_EQ(r.dialogs(1).size(), 3u) << r.dialogs(1);
  EXPECT_EQ(r.dialogs(1)[1]["text"].get<std::string>().rfind("読み込む日付の間に体重のない日が 2 日あります。", 0), 0u);
  EXPECT_EQ(r.dialogs(1)[2]["text"],
            "体重を 2 日分読み込みました。\n間の 2 日は前の日の体重でうめました。\n\n読み飛ばした行: 0\n"
            "読み込めなかった行: 4\n  「\"」が閉じていない行: 1\n  今日より後の日付の行: 2\n"
            "  見出しより列の多い行（小数点にコンマ？）: 1");
  EXPECT_EQ(r.dialogs(2)[0]["text"], "直前の操作（CSVからの体重 2 日分の読み込み）を取り消します。よろしいですか？");
  EXPECT_EQ(r.last()["state"]["WeightCount"], 2);
  EXPECT_EQ(dir.readBytes("体重.txt"), weights);

  // Years after the diary's last day: nothing is filled or written.
  old.writeMinimalDiary();
  old.writeCp932("体重.txt", "\"2025/11/28\",72\r\n\"2025/11/29\",72\r\n");
  in.writeBytes("gap.csv", "date,weight\r\n2026/12/01,70\r\n");
  r = runDrive(old.path(), "clock 2026/12/07 09:00:00\nstart\nfile " + in.file("gap.csv") + "\nclick cmdCsvIn\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  ASSERT_EQ(r.dialogs(0).size(), 2u) << r.dialogs(0);
  EXPECT_EQ(
      r.dialogs(0)[1]["text"],
      "体重の記録の最後の日 2025/11/29 と 2026/12/01 の間の 366 日は体重がありません。\n1 年（365 日）を超える間は"
      "前の日の体重でうめられないため、読み込みませんでした。\nこの体重を記録するには、設定ページの「データの新規"
      "スタート」で新しく始めてから読み込んでください。");
  EXPECT_EQ(old.readUtf8("体重.txt"), "\"2025/11/28\",72\r\n\"2025/11/29\",72\r\n");
}

namespace {

std::string healthRecord(const char* type, const char* source, const char* unit, const char* value, const char* start) {
  return std::string(" <Record type=\"HKQuantityTypeIdentifier") + type + "\" sourceName=\"" + source + "\" unit=\"" +
         unit + "\" creationDate=\"" + start + "\" startDate=\"" + start + "\" endDate=\"" + start + "\" value=\"" +
         value + "\"/>\n";
}

std::string healthXml() {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<HealthData locale=\"ja_JP\">\n"
         " <ExportDate value=\"2026-11-05 08:00:00 +0900\"/>\n" +
         healthRecord("BodyMass", "ヘルスケア", "kg", "70.2", "2026-11-01 07:00:00 +0900") +
         healthRecord("BodyMass", "ヘルスケア", "kg", "69.8", "2026-11-03 07:00:00 +0900") +
         healthRecord("BodyMass", "ヘルスケア", "kg", "69.9", "2026-11-03 20:00:00 +0900") +
         healthRecord("BodyMass", "体重計", "lb", "153.2", "2026-11-04 06:10:00 -0800") +
         healthRecord("BodyFatPercentage", "体重計", "%", "0.245", "2026-11-01 07:00:00 +0900") +
         healthRecord("BodyFatPercentage", "体重計", "%", "0.24", "2026-11-02 07:00:00 +0900") +
         healthRecord("BodyFatPercentage", "体重計", "%", "0.18", "2026-11-03 07:00:00 +0900") +
         healthRecord("BodyFatPercentage", "体重計", "%", "0.2", "2026-11-06 07:00:00 +0900") +
         healthRecord("StepCount", "iPhone", "count", "7000", "2026-11-02 09:00:00 +0900") +
         healthRecord("StepCount", "iPhone", "count", "3000", "2026-11-03 08:00:00 +0900") +
         healthRecord("StepCount", "Apple Watch", "count", "4000", "2026-11-03 08:00:00 +0900") +
         healthRecord("StepCount", "iPhone", "count", "2500", "2026-11-03 12:00:00 +0900") +
         healthRecord("StepCount", "Apple Watch", "count", "6000", "2026-11-04 09:00:00 -0800") + "</HealthData>\n";
}

void writeZip(const std::string& path, const std::string& entry, const std::string& bytes) {
  int code = 0;
  zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
  ASSERT_NE(z, nullptr);
  ASSERT_GE(zip_file_add(z, entry.c_str(), zip_source_buffer(z, bytes.data(), bytes.size(), 0), ZIP_FL_ENC_UTF_8), 0);
  ASSERT_EQ(zip_close(z), 0);
}

}  // namespace

// The same days from a phone's Health export (zipped or not) and from scales' CSVs: weights after
// the diary's last day with the gap filled and kept in 補完.txt, one question about the body fat's
// jump, body fat and steps where their logs have no record, all of it taken back by one Ctrl+Z.
TEST(CsvImport, HealthExportsAndScaleCsvsBringWeightsBodyFatAndSteps) {
  const std::string summary =
      "体重を 2 日分読み込みました。\n間の 1 日は前の日の体重でうめました。\n\n読み飛ばした行: 2\n"
      "  登録済みの日付の行: 1\n  同じ日の 2 回目以降の行: 1\n読み込めなかった行: 0\n\n体脂肪率を 2 "
      "日分読み込みました。"
      "\n読み飛ばした記録: 2\n  今日より後の日付: 1\n  記録のある日: 1\n\n歩数を 2 "
      "日分読み込みました。\n読み飛ばした記録: ";
  const std::string health = "2\n  同じ日により多く数えた機器がある: 1\n  記録のある日: 1",
                    scale = "1\n  記録のある日: 1";
  const struct {
    const char* name;
    std::string stepsSkipped;
  } cases[] = {{"書き出したデータ.zip", health}, {"export.xml", health}, {"体組成計.csv", scale}, {"scale.csv", scale}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder dir, in;
    const auto writeDiary = [&dir] {
      dir.writeMinimalDiary();
      dir.writeCp932("体重.txt", "\"2026/10/31\",70\r\n\"2026/11/01\",70\r\n");
      dir.writeCp932("体脂肪率.txt", "\"2026/10/31\",25\r\n\"2026/11/02\",25\r\n");
      dir.writeCp932("歩数.txt", "\"2026/11/02\",8000\r\n");
      std::filesystem::remove(dir.file("補完.txt"));
    };
    writeDiary();
    const std::string name = c.name;
    if (name == "書き出したデータ.zip")
      writeZip(in.file(name), "apple_health_export/書き出したデータ.xml", healthXml());
    else if (name == "export.xml")
      in.writeBytes(name, healthXml());
    else if (name == "体組成計.csv")
      in.writeCp932(
          name,
          "測定日,体重（kg）,体脂肪率（％）,歩数（歩）\r\n2026年11月1日,70.2,24.5,\r\n2026年11月2日,,24.0,7000\r\n"
          "2026年11月3日,69.8,18.0,5500\r\n2026年11月3日,69.9,,\r\n2026年11月4日,69.5,,6000\r\n"
          "2026年11月6日,,20.0,\r\n");
    else
      in.writeBytes(name,
                    "Date,Weight (kg),Body Fat (%),Steps\n2026-11-01 07:00,70.2,24.5,\n2026-11-02 07:00,,24.0,7000\n"
                    "2026-11-03 07:00,69.8,18.0,5500\n2026-11-03 20:00,69.9,,\n2026-11-04 06:10,69.5,,6000\n"
                    "2026-11-06 07:00,,20.0,\n");
    const std::vector<std::string> before = {dir.readBytes("体重.txt"), dir.readBytes("体脂肪率.txt"),
                                             dir.readBytes("歩数.txt")};
    const std::string import =
        "clock 2026/11/05 09:00:00\nstart\nfile " + in.file(name) + "\nanswer Yes\nanswer Yes\nclick cmdCsvIn\ndump\n";
    auto r = runDrive(dir.path(), import);
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    const auto& d = r.dialogs(0);
    ASSERT_EQ(d.size(), 4u) << d;
    EXPECT_EQ(d[1]["text"].get<std::string>().rfind("読み込む日付の間に体重のない日が 1 日あります。", 0), 0u);
    EXPECT_EQ(d[2]["text"],
              "読み込む記録のうち 1 件は、前の記録から体重が 5% より、体脂肪率が 5 ポイントより大きく変わっています。"
              "入力のまちがいでないか確かめてください。\nこのまま読み込みますか？");
    EXPECT_EQ(d[3]["text"], summary + c.stepsSkipped);
    EXPECT_EQ(dir.readUtf8("体重.txt"),
              "\"2026/10/31\",70\r\n\"2026/11/01\",70\r\n\"2026/11/02\",70\r\n\"2026/11/03\",69.8\r\n\"2026/11/"
              "04\",69.5\r\n");
    EXPECT_EQ(dir.readUtf8("補完.txt"), "\"2026/11/02\"\r\n");
    EXPECT_EQ(dir.readUtf8("体脂肪率.txt"),
              "\"2026/10/31\",25\r\n\"2026/11/01\",24.5\r\n\"2026/11/02\",25\r\n\"2026/11/03\",18\r\n");
    EXPECT_EQ(dir.readUtf8("歩数.txt"), "\"2026/11/02\",8000\r\n\"2026/11/03\",5500\r\n\"2026/11/04\",6000\r\n");

    writeDiary();
    r = runDrive(dir.path(), import + "answer Yes\nkey txtInpTaijyu Ctrl+Z\ndump\n");
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    EXPECT_EQ(r.dialogs(1)[0]["text"],
              "直前の操作（体重 2 日分・体脂肪率 2 日分・歩数 2 日分の読み込み）を取り消します。よろしいですか？");
    EXPECT_EQ(
        (std::vector<std::string>{dir.readBytes("体重.txt"), dir.readBytes("体脂肪率.txt"), dir.readBytes("歩数.txt")}),
        before);
    EXPECT_FALSE(dir.exists("補完.txt"));
  }

  // A download cut short: the box says why, and no file changes.
  TempFolder dir, in;
  dir.writeMinimalDiary();
  writeZip(in.file("export.zip"), "apple_health_export/export.xml", healthXml());
  const std::string whole = in.readBytes("export.zip");
  in.writeBytes("export.zip", whole.substr(0, whole.size() / 2));
  const auto logs = [&dir] {
    return std::vector<std::string>{dir.readBytes("体重.txt"), dir.readBytes("体脂肪率.txt"),
                                    dir.readBytes("歩数.txt")};
  };
  const std::vector<std::string> before = logs();
  auto r = runDrive(dir.path(),
                    "clock 2026/11/05 09:00:00\nstart\nfile " + in.file("export.zip") + "\nclick cmdCsvIn\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  ASSERT_EQ(r.dialogs(0).size(), 2u) << r.dialogs(0);
  EXPECT_EQ(
      r.dialogs(0)[1]["text"],
      "「" + in.file("export.zip") + "」を読み込めません。\nZIP ファイルが読めません（ZIP の目次が見つかりません）。");
  EXPECT_EQ(logs(), before);
}
