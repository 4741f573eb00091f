// What the user reads when a data file cannot be written or read: the file, the folder, what
// happened in plain words with the system's text in brackets, and what to do.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "store/files.h"
#include "support/drive.h"
#include "support/temp_folder.h"

using testing_support::runDrive;
using testing_support::runDriveInProcess;
using testing_support::TempFolder;

namespace {

const char* const kStart = "clock 2024/01/05 09:00:00\nstart\ndump\n";

// The folder as the program names it: absolute, links resolved.
std::string place(const TempFolder& dir) { return "場所：" + std::filesystem::canonical(dir.path()).string(); }

const std::string kRestoreByHand =
    "データフォルダーの「バックアップ」フォルダーにある日付のフォルダーから、同じ名前のファイルをデータフォルダーに"
    "コピーしてください。";

// The text of the one start-up error box; fails the test when the program started.
std::string startUpError(const TempFolder& dir) {
  auto r = runDrive(dir.path(), kStart);
  EXPECT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_TRUE(r.last()["ended"]);
  for (const auto& box : r.dialogs(0))
    if (box["title"] == "起動エラー") return box["text"];
  ADD_FAILURE() << "no start-up error: " << r.dialogs(0);
  return "";
}

}  // namespace

TEST(FileErrorText, AFailedSaveSaysWhatHappenedWhereAndWhatToDo) {
  struct Case {
    const char* script;
    store::IoStep step;
    int err;
    std::string expected;  // without the place line
  };
  const Case cases[] = {
      {"settext txtInpTaijyu 69\nenter txtInpTaijyu\n", store::IoStep::Write, ENOSPC,
       "「体重.txt」に書き込めませんでした。ディスクの空きがありません（No space left on device）。\n@\n"
       "不要なファイルを削除するなどしてディスクの空きを増やしてから、もう一度お試しください。"},
      {"click cmdSettei\nclick cmdPHozon1\n", store::IoStep::Open, EACCES,
       "「ﾌﾟﾗｲﾍﾞｰﾄ.txt」に書き込めませんでした。アクセス権がありません（Permission denied）。\n@\n"
       "この場所のフォルダーとファイルに読み書きの許可があるか確かめてください。"},
      {"input 買い物\nmouseup List5(2)\n", store::IoStep::Fsync, EROFS,
       "「ﾘｽﾄ2.txt」に書き込めませんでした。ディスクが読み取り専用です（Read-only file system）。\n@\n"
       "書き込みのできるディスクを使うか、ディスクの読み取り専用の設定を解除してください。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    TempFolder dir;
    dir.writeMinimalDiary();
    // The day's backup is made, so start-up writes nothing and the failure lands in the save.
    std::filesystem::create_directories(dir.file("バックアップ/2024-01-05"));
    store::failNthStep(c.step, 1, c.err);
    auto r = runDriveInProcess(dir.path(), std::string(kStart) + c.script + "dump\n");
    const bool fired = store::injectedFailureFired();
    store::clearInjectedFailure();
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    ASSERT_TRUE(fired);
    std::string expected = c.expected;
    expected.replace(expected.find('@'), 1, place(dir));
    std::vector<std::string> errors;
    for (const auto& box : r.dialogs(1))
      if (box.value("icon", "") == "error") errors.push_back(box["text"]);
    ASSERT_EQ(errors.size(), 1u) << r.dialogs(1);
    EXPECT_EQ(errors[0], expected);
  }
}

TEST(FileErrorText, StartUpOnAFileItCannotUseNamesFileFolderRemedyAndTheEnd) {
  // A folder where a data file belongs.
  {
    TempFolder dir;
    dir.writeMinimalDiary();
    std::filesystem::remove(dir.file("体重.txt"));
    std::filesystem::create_directory(dir.file("体重.txt"));
    EXPECT_EQ(startUpError(dir),
              "「体重.txt」を読み込めませんでした。ファイルではなくフォルダーです（Is a directory）。\n" + place(dir) +
                  "\nこのフォルダーを別の場所へ移してから、" + kRestoreByHand + "\n\nプログラムを終了します。");
  }
  // A byte that is no Shift-JIS on the third line.
  {
    TempFolder dir;
    dir.writeMinimalDiary();
    dir.writeBytes("体重.txt", "\"2024/01/03\",70\r\n\"2024/01/04\",69.8\r\n\"2024/01/05\",69\x85\x40\r\n");
    EXPECT_EQ(startUpError(dir),
              "「体重.txt」の 3 行目: Shift-JIS（CP932）として読めない文字があります。このファイルは Shift-JIS（CP932）"
              "のテキストではありません。テキストエディターで文字コードを Shift_JIS（CP932）、改行を CRLF "
              "にして保存し直してください。\n" +
                  place(dir) + "\n\nプログラムを終了します。");
  }
  // A record whose number field holds something else, on line 2.
  {
    TempFolder dir;
    dir.writeMinimalDiary();
    dir.writeCp932("体重.txt", "\"2024/01/03\",70\r\n\"2024/01/04\",六十九\r\n");
    EXPECT_EQ(startUpError(dir), "「体重.txt」の 2 行目: 数値の欄に「六十九」とあります。\n" + place(dir) +
                                     "\nテキストエディターでこの行を直すか、" + kRestoreByHand +
                                     "\n\nプログラムを終了します。");
  }
}

TEST(FileErrorText, DamagedLogsAreReportedInStartUpsOrderAlsoWhenReadAhead) {
  // The memo lists and training logs are read on a second thread; damage in both is still
  // reported for the file start-up comes to first, and the weight log comes before them all.
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeBytes("ﾘｽﾄ2.txt", "\"牛乳\"\r\n\"\x85\x40\"\r\n");
  dir.writeCp932("筋トレ3.txt", "\"2024/01/04\",20\r\n\"2024/01/05\",abc\r\n");
  const std::string memoError =
      "「ﾘｽﾄ2.txt」の 2 行目: Shift-JIS（CP932）として読めない文字があります。このファイルは Shift-JIS（CP932）"
      "のテキストではありません。テキストエディターで文字コードを Shift_JIS（CP932）、改行を CRLF "
      "にして保存し直してください。\n" +
      place(dir) + "\n\nプログラムを終了します。";
  EXPECT_EQ(startUpError(dir), memoError);

  dir.writeCp932("体重.txt", "\"2024/01/04\",七十\r\n");
  EXPECT_EQ(startUpError(dir), "「体重.txt」の 1 行目: 数値の欄に「七十」とあります。\n" + place(dir) +
                                   "\nテキストエディターでこの行を直すか、" + kRestoreByHand +
                                   "\n\nプログラムを終了します。");

  dir.writeCp932("体重.txt", "\"2024/01/04\",70\r\n");
  dir.writeCp932("ﾘｽﾄ2.txt", "\"牛乳\"\r\n\"卵\"\r\n");
  EXPECT_EQ(startUpError(dir), "「筋トレ3.txt」の 2 行目: 数値の欄に「abc」とあります。\n" + place(dir) +
                                   "\nテキストエディターでこの行を直すか、" + kRestoreByHand +
                                   "\n\nプログラムを終了します。");

  // Mended, the lists hold what the files hold, and the training total counts every entry.
  dir.writeCp932("筋トレ3.txt", "\"2024/01/04\",20\r\n\"2024/01/05\",15.5\r\n");
  auto r = runDrive(dir.path(), std::string(kStart) + "dump List5(2) lstKin(3)\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_FALSE(r.last()["ended"]);
  EXPECT_EQ(r.last()["controls"]["List5(2)"]["items"], nlohmann::json::array({"牛乳", "卵"}));
  EXPECT_EQ(r.last()["controls"]["lstKin(3)"]["items"],
            nlohmann::json::array({"2024/01/04 _ 20", "2024/01/05 _ 15.5"}));
}
