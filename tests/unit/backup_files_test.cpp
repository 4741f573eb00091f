#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "backup/backup.h"
#include "store/files.h"
#include "store/folder_files.h"
#include "store/record.h"
#include "support/temp_folder.h"

using testing_support::InFolder;
using testing_support::TempFolder;
namespace fs = std::filesystem;

TEST(BackupFiles, SafetyCopiesNeverOverwriteAndRestorePutsTheDayBackWhole) {
  TempFolder dir;
  dir.writeCp932("体重.txt", "\"2026/12/01\",70\r\n");
  dir.writeBytes("notes.md", "not a data file");
  TempFolder outside;
  outside.writeCp932("歩数.txt", "\"2026/12/01\",9000\r\n");
  fs::create_symlink(outside.file("歩数.txt"), dir.file("歩数.txt"));  // neither copied nor removed
  InFolder here(dir);
  const store::Date today = store::makeDate(2026, 12, 7);
  ASSERT_TRUE(backup::makeDailyBackup(today));
  EXPECT_FALSE(backup::makeDailyBackup(today));
  // Marked last as ours; private to the user.
  EXPECT_EQ(store::fileNamesIn("バックアップ/2026-12-07"), (std::vector<std::string>{".zorvel-backup", "体重.txt"}));
  EXPECT_EQ(dir.readBytes("バックアップ/2026-12-07/.zorvel-backup"), "Zorvel backup 2026-12-07\n");
  EXPECT_EQ(fs::status(dir.file("バックアップ")).permissions(), fs::perms::owner_all);
  EXPECT_EQ(fs::status(dir.file("バックアップ/2026-12-07/体重.txt")).permissions(),
            fs::perms::owner_read | fs::perms::owner_write);

  dir.writeCp932("体重.txt", "\"2026/12/01\",70\r\n\"2026/12/02\",69\r\n");
  dir.writeCp932("20261202.txt", "\"2026/12/02\"\r\n");
  EXPECT_EQ(backup::makeSafetyCopy(today), "2026-12-07-復元前");
  EXPECT_EQ(backup::makeSafetyCopy(today), "2026-12-07-復元前-2");
  const std::vector<backup::BackupDay> days = backup::listBackups();
  ASSERT_EQ(days.size(), 3u);
  EXPECT_EQ(days[0].folder, "2026-12-07-復元前-2");
  EXPECT_EQ(days[0].weightCount, 2);
  EXPECT_EQ(days[2].folder, "2026-12-07");
  EXPECT_EQ(backup::describe(days[2]), "2026-12-07  体重 1件  最終日 2026/12/01");

  backup::restoreFiles("2026-12-07");
  EXPECT_EQ(dir.readUtf8("体重.txt"), "\"2026/12/01\",70\r\n");
  // The day as it was: a diary day written since is gone (kept in the safety copies), the
  // user's own file stays, and no temporary is left behind.
  EXPECT_EQ(store::fileNamesIn("."), (std::vector<std::string>{"notes.md", "体重.txt"}));
  EXPECT_TRUE(fs::is_symlink(dir.file("歩数.txt")));
  EXPECT_TRUE(dir.exists("バックアップ/2026-12-07-復元前/20261202.txt"));
}

// Where the disk fails a copy's flush, no backup takes the day's name.
TEST(BackupFiles, ADayIsBackedUpWholeOrNotAtAllWhateverTheFlushOfItsCopiesDoes) {
  for (int failure : {0, EIO, ENOSPC}) {
    SCOPED_TRACE(failure);
    TempFolder dir;
    dir.writeCp932("体重.txt", "\"2026/12/01\",70\r\n");
    dir.writeCp932("20261201.txt", "\"2026/12/01\"\r\n");
    InFolder here(dir);
    store::failCopyFlushes(failure);
    std::string problem;
    try {
      EXPECT_TRUE(backup::makeDailyBackup(store::makeDate(2026, 12, 7)));
    } catch (const store::StoreError& e) {
      problem = e.what();
    }
    store::failCopyFlushes(0);
    if (failure != 0) {
      EXPECT_NE(problem.find(".2026-12-07.partial"), std::string::npos) << problem;
      EXPECT_TRUE(store::folderNamesIn("バックアップ").empty());
    } else {
      EXPECT_EQ(problem, "");
      EXPECT_EQ(store::fileNamesIn("バックアップ/2026-12-07"),
                (std::vector<std::string>{".zorvel-backup", "20261201.txt", "体重.txt"}));
      EXPECT_EQ(dir.readBytes("バックアップ/2026-12-07/体重.txt"), dir.readBytes("体重.txt"));
    }
  }
}

TEST(BackupFiles, AFolderWithoutItsWeightLogOrWithABadDateIsMarked) {
  TempFolder dir;
  store::makeDirectories(dir.file("バックアップ/2026-12-01"));
  store::makeDirectories(dir.file("バックアップ/2026-12-02"));
  dir.writeCp932("バックアップ/2026-12-01/設定.txt", "\"ヘルプツアー\",0\r\n");
  dir.writeCp932("バックアップ/2026-12-02/体重.txt", "\"2026/12/01\",70\r\n\"いつか\",69\r\n");
  InFolder here(dir);
  const std::vector<backup::BackupDay> days = backup::listBackups();
  ASSERT_EQ(days.size(), 2u);
  EXPECT_EQ(backup::describe(days[0]),
            "× 2026-12-02  体重 1件  最終日 2026/12/01  (体重.txt の 2 行目の日付が読めません)");
  EXPECT_EQ(backup::describe(days[1]), "× 2026-12-01  体重 0件  (体重.txt がありません)");
}

TEST(BackupFiles, OnlyOurOwnFoldersArePrunedNeverThroughALinkNorTheNewestOrTodays) {
  TempFolder dir, outside;
  dir.writeCp932("体重.txt", "\"2026/11/01\",70\r\n");
  InFolder here(dir);
  auto folder = [&](const std::string& name, const std::string& file) {
    fs::create_directories(dir.file("バックアップ/" + name));
    dir.writeBytes("バックアップ/" + name + "/" + file, "x");
  };
  // The clock was set back: 35 of ours after today, one from before the mark among them.
  for (int i = 0; i < 35; ++i) {
    const std::string name = backup::dayFolderName(store::makeDate(2026, 11, 26) + std::chrono::days(i));
    folder(name, "体重.txt");
    if (i != 3) dir.writeBytes("バックアップ/" + name + "/.zorvel-backup", "Zorvel backup " + name + "\n");
  }
  folder("2019-05-05", "notes.doc");  // the user's own
  folder("2019-05-06", "体重.txt");   // marked for another day
  folder("2019-0x-05", "体重.txt");   // no date
  dir.writeBytes("バックアップ/2019-05-06/.zorvel-backup", "Zorvel backup 2019-05-07\n");
  outside.writeBytes("体重.txt", "theirs");
  fs::create_directory_symlink(outside.path(), dir.file("バックアップ/2019-05-07"));  // a link
  folder(".2026-11-01.partial", "体重.txt");                                          // a killed backup
  folder(".2026-11-02.partial", "notes.doc");
  folder(".notes.partial", "体重.txt");

  const store::Date today = store::makeDate(2026, 11, 15);
  ASSERT_TRUE(backup::makeDailyBackup(today));
  backup::pruneBackups(today);
  backup::sweepPartialBackups();
  // Today's and the newest thirty of ours stay, and what is not ours: the user's folders, the link,
  // and a partial folder with something else in it.
  std::vector<std::string> left = store::folderNamesIn("バックアップ");
  left.erase(left.begin() + 7, left.end() - 1);
  EXPECT_EQ(left, (std::vector<std::string>{".2026-11-02.partial", ".notes.partial", "2019-05-05", "2019-05-06",
                                            "2019-0x-05", "2026-11-15", "2026-12-01", "2026-12-30"}));
  EXPECT_EQ(store::folderNamesIn("バックアップ").size(), 36u);
  EXPECT_EQ(dir.readBytes("バックアップ/.2026-11-02.partial/notes.doc") + outside.readBytes("体重.txt"), "xtheirs");

  // A link at today's name is refused, naming it: nothing is written behind it.
  fs::remove_all(dir.file("バックアップ/2026-11-15"));
  fs::create_directory_symlink(outside.path(), dir.file("バックアップ/2026-11-15"));
  try {
    backup::makeDailyBackup(today);
    ADD_FAILURE() << "made through a link";
  } catch (const store::StoreError& e) {
    EXPECT_EQ(std::string(e.what()).rfind(
                  "フォルダー「2026-11-15」を作れませんでした。ファイルではなくシンボリックリンク", 0),
              0u);
  }
  EXPECT_EQ(outside.list().size(), 1u);
}
