// Start-ups and saves on folders a hand edit, a crash or a second program has left damaged.
#include <gtest/gtest.h>

#include <filesystem>

#include "store/cp932.h"
#include "store/files.h"
#include "support/drive.h"
#include "support/temp_folder.h"

using nlohmann::json;
using testing_support::InFolder;
using testing_support::runDrive;
using testing_support::TempFolder;

namespace {

const char* const kStart = "clock 2024/01/05 09:00:00\nstart\ndump\n";

// The text of the one start-up error box, or "" when the program started.
std::string startupError(const TempFolder& dir) {
  auto r = runDrive(dir.path(), kStart);
  EXPECT_EQ(r.exitCode, 0) << r.stderrText;
  for (const auto& box : r.dialogs(0))
    if (box["title"] == "起動エラー") {
      EXPECT_TRUE(r.last()["ended"]);
      return box["text"];
    }
  return "";
}

}  // namespace

TEST(DamagedFolder, StartUpRefusesFilesItCannotTrustNamingFileAndLine) {
  const std::string weights = "\"2024/01/03\",70\r\n\"2024/01/04\",69.8\r\n";
  const std::pair<std::string, std::string> cases[] = {
      // A number beyond any range is damage, not 0 kg.
      {weights + "\"2024/01/05\",1e400\r\n", "「体重.txt」の 3 行目: 数値の欄に「1e400」とあります。"},
      {weights + "\"2024/01/05\"," + std::string(10000, '9') + "\r\n", "「体重.txt」の 3 行目: 数値の欄に"},
      // Weights the entry would never take.
      {"\"2024/01/03\",99999999999\r\n",
       "「体重.txt」の 1 行目: 体重「99999999999」は 0 より大きく 999.9 以下ではありません。"},
      {weights + "\"2024/01/05\",0\r\n", "「体重.txt」の 3 行目: 体重「0」は"},
      {weights + "\"2024/01/05\",-3\r\n", "「体重.txt」の 3 行目: 体重「-3」は"},
      {weights + "\"2024/01/05\",1000\r\n", "「体重.txt」の 3 行目: 体重「1000」は"},
  };
  for (const auto& [content, expected] : cases) {
    SCOPED_TRACE(expected);
    TempFolder dir;
    dir.writeMinimalDiary();
    dir.writeCp932("体重.txt", content);
    EXPECT_EQ(startupError(dir).rfind(expected, 0), 0u) << startupError(dir);
  }

  // More weights than a hundred years of days is damage, refused before it is read.
  TempFolder big;
  big.writeMinimalDiary();
  std::string lines;
  for (int i = 0; i < 36601; ++i) lines += "\"2024/01/03\",70\r\n";
  big.writeCp932("体重.txt", lines);
  EXPECT_EQ(startupError(big),
            "「体重.txt」には 36601 行の記録があり、扱える 36600 行を超えています。\n場所：" +
                std::filesystem::canonical(big.path()).string() +
                "\n古い記録をテキストエディターで別のファイルに移してください。\n\nプログラムを終了します。");

  // A folder or a link in a file's place, whichever file it is.
  for (const char* name : {"体重.txt", "歩数.txt", "ﾌﾟﾗｲﾍﾞｰﾄ.txt", "設定.txt", "ﾘｽﾄ題目.txt", "ｶﾛﾘｰ.txt"}) {
    SCOPED_TRACE(name);
    TempFolder dir;
    dir.writeMinimalDiary();
    std::filesystem::remove(dir.file(name));
    std::filesystem::create_directory(dir.file(name));
    const std::string text = startupError(dir);
    EXPECT_EQ(text.rfind(std::string("「") + name +
                             "」を読み込めませんでした。ファイルではなくフォルダーです（Is a directory）。\n",
                         0),
              0u)
        << text;
  }
  TempFolder linked, elsewhere;
  linked.writeMinimalDiary();
  elsewhere.writeCp932("体重.txt", weights);
  std::filesystem::remove(linked.file("体重.txt"));
  std::filesystem::create_symlink(elsewhere.file("体重.txt"), linked.file("体重.txt"));
  EXPECT_EQ(
      startupError(linked).rfind("「体重.txt」を読み込めませんでした。ファイルではなくシンボリックリンクです（", 0),
      0u);
}

// A quote left open at a line end stops the start in every file that holds texts, named at its
// line, whatever the line ends: it never swallows the records after it.
TEST(DamagedFolder, AQuoteLeftOpenStopsTheStartInEveryFileAtItsLine) {
  const std::string note(30, 'n');  // long enough to be scanned sixteen bytes at a time
  const std::pair<std::string, std::string> cases[] = {
      {"体重.txt", "\"2024/01/03\",70\r\n\"2024/01/04,69\r\n\"2024/01/05\",68\r\n"},
      {"体脂肪率.txt", "\"2024/01/03\",20\n\"2024/01/04,21\n\"2024/01/05\",22\n"},
      {"歩数.txt", "\"2024/01/03\",2000\r\"2024/01/04,2100\r\"2024/01/05\",2200\r"},
      {"連続体重.txt",
       "\"2024/01/03\",\"07:00:00\",70\r\n\"2024/01/04\",\"07:00:00,69\r\n\"2024/01/05\",\"07:00:00\",68\r\n"},
      {"栄養.txt",
       "\"2024/01/03\",\"●\",\"●\",\"●\",\"●\",\"●\",\"●\",\"●\",\"●\",\"●\",\"●\",\"●\"\r\n\"2024/01/04\",\"●\",\"●\","
       "\"●\",\"●\",\"●\",\"●\",\"●\",\"●\",\"●\",\"●\",\"●\r\n\"2024/01/05\",\"●\",\"●\",\"●\",\"●\",\"●\",\"●\","
       "\"●\",\"●\",\"●\",\"●\",\"●\"\r\n"},
      {"ｶﾛﾘｰ.txt", "\"ﾘｽﾄ1\",\"ご飯\",235\r\n\"ﾘｽﾄ1\",\"パン,158\r\n\"ﾘｽﾄ2\",\"牛乳\",134\r\n"},
      {"ﾘｽﾄ1.txt", "\"first note\"\r\n\"" + note + "\r\n\"third note\"\r\n"},
      {"ﾘｽﾄ2.txt", "\"first note\"\n\"second note\n\"third note\"\n"},
      {"筋トレ1.txt", "\"2024/01/03\",10\r\n\"2024/01/04,11\r\n\"2024/01/05\",12\r\n"},
      {"ﾘｽﾄ題目.txt", "\"買い物リスト\"\r\n\"やりたいこと\r\n\"欲しい物\"\r\n\"ひとこと日記\"\r\n"},
      {"筋トレ題目.txt",
       "\"ﾘｽﾄ1題目\",\"腹筋\",50\r\n\"ﾘｽﾄ2題目\",\"腕立て伏せ,30\r\n\"ﾘｽﾄ3題目\",\"スクワット\",50\r\n"},
      {"ﾌﾟﾗｲﾍﾞｰﾄ.txt", "\"氏名\",\"テスト\"\r\n\"身長,170\r\n"},
      {"設定.txt", "\"ヘルプツアー\"\r\n\"0\r\n"},
  };
  for (const auto& [file, content] : cases) {
    SCOPED_TRACE(file);
    TempFolder dir;
    dir.writeMinimalDiary();
    dir.writeCp932(file, content);
    const std::string text = startupError(dir);
    EXPECT_EQ(
        text.rfind("「" + file + "」の 2 行目: 「\"」で始まる文字の欄が、その行のうちに「\"」で閉じていません。\n", 0),
        0u)
        << text;
    EXPECT_EQ(dir.readUtf8(file), content);
  }
}

TEST(DamagedFolder, ADiaryDayReadInPartIsSaidAndKeptBeforeASaveReplacesIt) {
  TempFolder dir;
  dir.writeMinimalDiary();
  const std::string day = store::utf8ToCp932(
      "\"2024/01/05\"\r\n\"A\",100,\"朝\"\r\n\"B\",99999,\"昼\"\r\n\"C\",50,\"夕\"\r\n\"D\",20,\"運動\"\r\n");
  // The second line of the comment is no CP932.
  const std::string comment = store::utf8ToCp932("一行目\r\n") + "\x85\x40\r\n" + store::utf8ToCp932("三行目\r\n");
  dir.writeBytes("20240105.txt", day);
  dir.writeBytes("日記20240105.txt", comment);
  const std::string save = "settext txtDiary 新しいメモ\nclick cmdHozon\ndump List8(0) List8(1)\n";
  auto r = runDrive(dir.path(),
                    std::string(kStart) + "answer Cancel\n" + save + "answer OK\n" + save + "click cmdHozon\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;

  // One warning at the start, naming both files and lines.
  ASSERT_EQ(r.dialogs(0).size(), 1u) << r.dialogs(0);
  EXPECT_EQ(r.dialogs(0)[0]["icon"], "warning");
  EXPECT_EQ(
      r.dialogs(0)[0]["text"],
      "「20240105.txt」の 3 行目: 整数（-32768 から 32767）の範囲を超えた数値「99999」があります。\n"
      "「日記20240105.txt」の 2 行目: Shift-JIS（CP932）として読めない文字があります。このファイルは Shift-JIS（CP932）"
      "のテキストではありません。テキストエディターで文字コードを Shift_JIS（CP932）、改行を CRLF "
      "にして保存し直してください。\n\n読み込めたところまでを表示しています。ファイルを直すと、次にこの日を開いたときに"
      "全部を表示します。");
  // The save asks first, Cancel being the default; cancelled, nothing is written.
  ASSERT_EQ(r.dialogs(1).size(), 1u) << r.dialogs(1);
  EXPECT_EQ(r.dialogs(1)[0]["icon"], "warning");
  EXPECT_EQ(r.dialogs(1)[0]["default"], "Cancel");
  EXPECT_NE(r.dialogs(1)[0]["text"].get<std::string>().find("読み込めなかった記録が 5 件"), std::string::npos)
      << r.dialogs(1)[0];
  // Confirmed: the old files are kept beside the new ones, and the next save asks no more.
  ASSERT_EQ(r.dialogs(2).size(), 2u) << r.dialogs(2);
  EXPECT_EQ(r.dialogs(2)[1]["text"], "保存しました");
  EXPECT_EQ(dir.readBytes("20240105.txt.bak"), day);
  EXPECT_EQ(dir.readBytes("日記20240105.txt.bak"), comment);
  EXPECT_EQ(dir.readUtf8("20240105.txt"), "\"2024/01/05\"\r\n\"A\",100,\"朝\"\r\n");
  EXPECT_EQ(dir.readUtf8("日記20240105.txt"), "新しいメモ\r\n");
  ASSERT_EQ(r.dialogs(3).size(), 1u);
  EXPECT_EQ(r.dialogs(3)[0]["text"], "保存しました");
}

TEST(DamagedFolder, ACalendarMonthReadInPartIsNotRewrittenUntilMended) {
  TempFolder dir;
  dir.writeMinimalDiary();
  // January 2024 begins on a Monday: day 5 is cell 5, day 15 cell 15; cell 16 is damaged.
  const std::string month =
      "0,0,0,0,0,1,0\r\n0,0,0,0,0,0,0\r\n0,0,x,2,0,0,0\r\n0,0,0,0,0,0,0\r\n0,0,0,0,0,0,0\r\n0,0\r\n";
  dir.writeCp932("2024年01月.txt", month);
  auto r = runDrive(dir.path(), std::string(kStart) + "click cmdMono(9)\ndump cmdMono(9)\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_TRUE(r.dialogs(0).empty()) << r.dialogs(0);  // reading stays silent
  ASSERT_EQ(r.dialogs(1).size(), 1u) << r.dialogs(1);
  EXPECT_EQ(r.dialogs(1)[0]["icon"], "warning");
  EXPECT_EQ(r.dialogs(1)[0]["text"],
            "「2024年01月.txt」の 3 行目: "
            "数値の欄に「x」とあります。\n\nこの月のファイルを直すまで、カレンダーの印は変えられません。");
  EXPECT_TRUE(r.last()["controls"]["cmdMono(9)"]["backColor"].is_null());
  EXPECT_EQ(dir.readUtf8("2024年01月.txt"), month);

  // Mended by hand while the program runs: the click works on the marks the file holds now.
  dir.writeCp932("2024年01月.txt",
                 "0,0,0,0,0,1,0\r\n0,0,0,0,0,0,0\r\n0,0,1,2,0,0,0\r\n0,0,0,0,0,0,0\r\n0,0,0,0,0,0,0\r\n0,0\r\n");
  auto fixed = runDrive(dir.path(), std::string(kStart) + "click cmdMono(9)\ndump Label2(0) Label2(1)\n");
  ASSERT_EQ(fixed.exitCode, 0) << fixed.stderrText;
  EXPECT_TRUE(fixed.dialogs(1).empty()) << fixed.dialogs(1);
  EXPECT_EQ(fixed.last()["controls"]["Label2(0)"]["caption"], "3");
  EXPECT_EQ(dir.readUtf8("2024年01月.txt"),
            "0,0,0,0,0,1,0\r\n0,0,1,0,0,0,0\r\n0,0,1,2,0,0,0\r\n0,0,0,0,0,0,0\r\n0,0,0,0,0,0,0\r\n0,0\r\n");
}

TEST(DamagedFolder, ASecondProgramOnTheFolderTouchesNothingAndLeftoversAreCleared) {
  TempFolder dir;
  dir.writeMinimalDiary();
  // Temporaries a killed program left behind; they are never data and go at the next start.
  dir.writeBytes(".~zorvel-k1ll3d", "\"2024/01/04\",6");
  dir.writeBytes("体重.txt.tmp~", "\"2024/01/04\",6");
  {
    InFolder in(dir);
    store::FolderLock other;  // the first program, still running
    ASSERT_EQ(other.take(), store::FolderLock::Result::Taken);
    auto r = runDrive(dir.path(), std::string(kStart) + "click cmdMono(9)\n");
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    ASSERT_EQ(r.dialogs(0).size(), 1u);
    EXPECT_EQ(r.dialogs(0)[0]["text"],
              "このデータフォルダーは別の Zorvel で使用中です。\nもう一方の Zorvel を終了してから起動してください。");
    EXPECT_TRUE(r.last()["ended"]);
    EXPECT_TRUE(dir.exists(".~zorvel-k1ll3d"));
    EXPECT_FALSE(dir.exists("2024年01月.txt"));
  }
  auto r = runDrive(dir.path(), kStart);
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_TRUE(r.dialogs(0).empty()) << r.dialogs(0);
  EXPECT_FALSE(dir.exists(".~zorvel-k1ll3d"));
  EXPECT_FALSE(dir.exists("体重.txt.tmp~"));
}

TEST(DamagedFolder, ALockThatCannotBeTakenRefusesTheStartNamingItsFile) {
  for (const std::string what : {"フォルダー", "シンボリックリンク"}) {
    TempFolder dir;
    dir.writeMinimalDiary();
    if (what == "フォルダー")
      std::filesystem::create_directory(dir.file(".zorvel.lock"));
    else
      std::filesystem::create_symlink("elsewhere", dir.file(".zorvel.lock"));
    const std::string text = startupError(dir);
    EXPECT_EQ(text.rfind("「.zorvel.lock」でデータフォルダーをロックできませんでした。ファイルではなく" + what, 0), 0u);
    EXPECT_TRUE(text.ends_with("プログラムを終了します。")) << text;
    EXPECT_FALSE(dir.exists("バックアップ"));  // it never ran
  }
}

TEST(DamagedFolder, AWeightLogWithADayTwiceOrBackwardsWarnsOnceAndStarts) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("体重.txt",
                 "\"2024/01/02\",70\r\n\"2024/01/03\",69.8\r\n\"2024/01/03\",69.7\r\n\"2024/01/01\",69\r\n");
  auto r = runDrive(dir.path(), kStart);
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  ASSERT_EQ(r.dialogs(0).size(), 1u) << r.dialogs(0);
  const json& box = r.dialogs(0)[0];
  EXPECT_EQ(box["icon"], "warning");
  EXPECT_EQ(box["text"].get<std::string>().rfind(
                "「体重.txt」の 3 行目: 日付「2024/01/03」が前の記録の日付「2024/01/03」の後ではありません。", 0),
            0u)
      << box;
  EXPECT_EQ(r.last()["state"]["WeightCount"], 4);
}

TEST(DamagedFolder, TypedNumbersTooLargeForADoubleAreRefusedNotStoredAsZero) {
  TempFolder dir;
  dir.writeMinimalDiary();
  const std::string profile = dir.readBytes("ﾌﾟﾗｲﾍﾞｰﾄ.txt");
  const std::string huge(10000, '9');
  auto r = runDrive(dir.path(), std::string(kStart) + "settext txtInpTaijyu " + huge + "\nenter txtInpTaijyu\ndump\n" +
                                    "click cmdSettei\nsettext txtPriData(2) " + huge + "\nclick cmdPHozon1\ndump\n" +
                                    "settext txtY2max " + huge + "\nenter txtY2max\ndump\n" + "settext txtIppo " +
                                    huge + "\nenter txtIppo\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  for (size_t i = 1; i <= 4; ++i) {
    SCOPED_TRACE(i);
    ASSERT_EQ(r.dialogs(i).size(), 1u) << r.dialogs(i);
    EXPECT_NE(r.dialogs(i)[0]["icon"], "information") << r.dialogs(i)[0];
  }
  EXPECT_EQ(r.dialogs(1)[0]["text"], "体重が大きすぎます。999.9Kg 以下で入力してください。");
  EXPECT_EQ(r.dialogs(2)[0]["text"], "目標体重の数値が大きすぎます。");
  EXPECT_EQ(r.last()["state"]["WeightCount"], 0);
  EXPECT_EQ(dir.readBytes("ﾌﾟﾗｲﾍﾞｰﾄ.txt"), profile);
}
