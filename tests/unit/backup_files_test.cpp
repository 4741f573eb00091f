#include <gtest/gtest.h>

#include "backup/backup.h"
#include "store/folder_files.h"
#include "support/temp_folder.h"

using testing_support::InFolder;
using testing_support::TempFolder;

TEST(BackupFiles, SafetyCopiesNeverOverwriteAndRestoreKeepsLaterFiles) {
  TempFolder dir;
  dir.writeCp932("体重.txt", "\"2026/12/01\",70\r\n");
  dir.writeBytes("notes.md", "not a data file");
  InFolder here(dir);
  const store::Date today = store::makeDate(2026, 12, 7);
  ASSERT_TRUE(backup::makeDailyBackup(today));
  EXPECT_FALSE(backup::makeDailyBackup(today));
  EXPECT_EQ(store::fileNamesIn("バックアップ/2026-12-07"), std::vector<std::string>{"体重.txt"});

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
  EXPECT_TRUE(dir.exists("20261202.txt"));
  // Atomic writes leave no temporary file behind.
  EXPECT_EQ(store::fileNamesIn("."), (std::vector<std::string>{"20261202.txt", "notes.md", "体重.txt"}));
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
