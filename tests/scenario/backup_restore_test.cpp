#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "backup/backup.h"
#include "support/drive.h"
#include "support/temp_folder.h"

using testing_support::runDrive;
using testing_support::TempFolder;
namespace fs = std::filesystem;

namespace {

const std::string kWeights = "\"2026/12/01\",70\r\n\"2026/12/02\",69.5\r\n\"2026/12/03\",69.2\r\n";

std::vector<std::string> backupFolders(const TempFolder& dir) {
  std::vector<std::string> out;
  for (const auto& e : fs::directory_iterator(dir.file("バックアップ"))) out.push_back(e.path().filename().string());
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace

TEST(DailyBackup, OncePerDayKeepingTheNewestThirtyAndNoneInSampleMode) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("体重.txt", kWeights);
  // Thirty-one older days, as a month of use leaves them.
  for (int i = 0; i < 31; ++i) {
    if (i == 10) continue;  // a day the program was not started
    const std::string day = backup::dayFolderName(store::makeDate(2026, 11, 6) + std::chrono::days(i));
    fs::create_directories(dir.file("バックアップ/" + day));
    dir.writeBytes("バックアップ/" + day + "/体重.txt", "");
  }
  fs::create_directories(dir.file("バックアップ/2026-11-01-復元前"));
  // A backup a killed program left half made: swept, as nothing says the last program ended well.
  fs::create_directories(dir.file("バックアップ/.2026-12-06.partial"));
  dir.writeBytes("バックアップ/.2026-12-06.partial/体重.txt", "");

  auto r = runDrive(dir.path(), "clock 2026/12/07 09:00:00\nstart\ndump lblDataFolder\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_TRUE(r.last()["dialogs"].empty());
  EXPECT_EQ(r.last()["state"]["DataFolder"], fs::canonical(dir.path()).string());
  EXPECT_EQ(r.last()["controls"]["lblDataFolder"]["caption"], fs::canonical(dir.path()).string());

  std::vector<std::string> folders = backupFolders(dir);
  // 30 old days + today = 31; the oldest goes; the safety copy is no day folder and stays.
  ASSERT_EQ(folders.size(), 31u);
  EXPECT_EQ(folders.front(), "2026-11-01-復元前");
  EXPECT_EQ(folders[1], "2026-11-07");
  EXPECT_EQ(folders.back(), "2026-12-07");
  for (const std::string& name : dir.list()) {
    if (name.size() > 4 && name.substr(name.size() - 4) == ".txt") {
      EXPECT_EQ(dir.readBytes("バックアップ/2026-12-07/" + name), dir.readBytes(name)) << name;
    }
  }

  // A second start on the same day keeps the morning's copy.
  dir.writeCp932("体重.txt", kWeights + "\"2026/12/04\",69\r\n");
  r = runDrive(dir.path(), "clock 2026/12/07 20:00:00\nstart\ndump lblDataFolder\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(dir.readUtf8("バックアップ/2026-12-07/体重.txt"), kWeights);
  EXPECT_EQ(backupFolders(dir).size(), 31u);

  TempFolder sample;
  sample.copySample();
  r = runDrive(sample.path(), "clock 2026/12/07 09:00:00\nstart\ndump lblDataFolder\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_TRUE(r.last()["state"]["SampleMode"]);
  EXPECT_FALSE(sample.exists("バックアップ"));
}

TEST(DailyBackup, AFailedBackupWarnsOnceAndTheDiaryStarts) {
  // バックアップ a file, or a link to a folder of the user's whose dated folders must all stay.
  TempFolder theirs;
  for (int day = 1; day <= 31; ++day)
    fs::create_directories(theirs.file(backup::dayFolderName(store::makeDate(2026, 10, day))));
  for (bool link : {false, true}) {
    TempFolder dir;
    dir.writeMinimalDiary();
    dir.writeCp932("体重.txt", kWeights);
    if (link)
      fs::create_directory_symlink(theirs.path(), dir.file("バックアップ"));
    else
      dir.writeBytes("バックアップ", "not a folder");
    auto r = runDrive(dir.path(), "clock 2026/12/07 09:00:00\nstart\ndump lblNowTaijyu\n");
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    const auto& d = r.last();
    ASSERT_EQ(d["dialogs"].size(), 1u);
    EXPECT_EQ(d["dialogs"][0]["title"], "バックアップ");
    EXPECT_EQ(d["dialogs"][0]["icon"], "warning");
    EXPECT_EQ(
        d["dialogs"][0]["text"].get<std::string>().rfind(
            "今日のバックアップを作れませんでした。データはそのまま使えます。\nフォルダー「バックアップ」を作れません"
            "でした。",
            0),
        0u)
        << d["dialogs"][0];
    EXPECT_FALSE(d["ended"]);
    EXPECT_EQ(d["state"]["WeightCount"], 3);
  }
  EXPECT_EQ(theirs.list().size(), 31u);
}

TEST(Restore, ListsDaysRefusesADamagedOneAndRestoresWithASafetyCopy) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("体重.txt", kWeights);
  fs::create_directories(dir.file("バックアップ/2026-12-02"));
  fs::create_directories(dir.file("バックアップ/2026-12-05"));
  for (const std::string& name : dir.list()) {
    if (name == "バックアップ") continue;
    dir.writeBytes("バックアップ/2026-12-02/" + name, dir.readBytes(name));
    dir.writeBytes("バックアップ/2026-12-05/" + name, dir.readBytes(name));
  }
  dir.writeCp932("バックアップ/2026-12-02/体重.txt", "\"2026/12/01\",70\r\n\"2026/12/02\",69.5\r\n");
  dir.writeCp932("バックアップ/2026-12-02/歩数.txt", "\"2026/12/02\",8000\r\n");
  dir.writeBytes("バックアップ/2026-12-05/ﾘｽﾄ1.txt", "\"\x82\"\r\n");  // a broken double-byte character

  auto r = runDrive(dir.path(),
                    "clock 2026/12/07 09:00:00\nstart\nclick cmdSettei\n"
                    "choose-cancel\nclick cmdBackup\ndump\n"
                    "choose 1\nchoose-cancel\nclick cmdBackup\ndump\n"
                    "choose 2\nanswer Cancel\nclick cmdBackup\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const auto& list = r.dialogs(0)[0];
  EXPECT_EQ(list["kind"], "list");
  EXPECT_EQ(list["title"], "バックアップから戻す");
  EXPECT_EQ(list["items"], (nlohmann::json{"2026-12-07  体重 3件  最終日 2026/12/03",
                                           "× 2026-12-05  体重 3件  最終日 2026/12/03  (ﾘｽﾄ1.txt が読めません)",
                                           "2026-12-02  体重 2件  最終日 2026/12/02"}));
  EXPECT_EQ(list["answer"], nullptr);

  // Refused, and the list again for another day.
  ASSERT_EQ(r.dialogs(1).size(), 3u);
  EXPECT_EQ(r.dialogs(1)[1]["text"],
            "「2026-12-05」のバックアップには読めないファイルがあるため、戻せません。\nﾘｽﾄ1.txt が読めません\n\n"
            "ほかの日のバックアップを選んでください。");
  EXPECT_EQ(r.dialogs(1)[2]["items"], list["items"]);

  const auto& confirm = r.dialogs(2)[1];
  EXPECT_EQ(confirm["text"],
            "「2026-12-02」のバックアップ（体重 2件）に戻します。\n今のデータは先に「バックアップ/2026-12-07-復元前」"
            "にコピーします。\n\nよろしいですか？");
  EXPECT_EQ(confirm["icon"], "warning");
  EXPECT_EQ(confirm["default"], "Cancel");
  EXPECT_FALSE(dir.exists("バックアップ/2026-12-07-復元前"));
  EXPECT_EQ(dir.readUtf8("体重.txt"), kWeights);

  // A diary day typed but not saved is asked about first; saved, it goes into the safety copy.
  r = runDrive(dir.path(),
               "clock 2026/12/07 10:00:00\nstart\ninput パン\ninput 200\nclick cmdAsa\n"
               "choose 2\nanswer OK\nanswer Yes\nclick cmdBackup\ndump lblNowTaijyu\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const auto& done = r.last();
  EXPECT_EQ(
      done["dialogs"].back()["text"],
      "「2026-12-02」のバックアップに戻しました。\n戻す前のデータは「バックアップ/2026-12-07-復元前」にあります。");
  EXPECT_EQ(dir.readUtf8("体重.txt"), "\"2026/12/01\",70\r\n\"2026/12/02\",69.5\r\n");
  EXPECT_EQ(dir.readUtf8("歩数.txt"), "\"2026/12/02\",8000\r\n");
  EXPECT_EQ(dir.readUtf8("バックアップ/2026-12-07-復元前/体重.txt"), kWeights);
  int asked = 0;
  for (const auto& box : done["dialogs"])
    asked += box.value("text", "") == "12/07の日記は保存されていません。保存しますか？";
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(dir.exists("バックアップ/2026-12-07-復元前/20261207.txt"));
  // Reloaded as at start-up: the figures come from the restored files.
  EXPECT_EQ(done["state"]["WeightCount"], 2);
  EXPECT_EQ(done["state"]["StepCount"], 1);
  EXPECT_EQ(done["controls"]["lblNowTaijyu"]["caption"], "69.5");
  EXPECT_FALSE(done["ended"]);
}

TEST(Restore, ABackupAStartWouldStopOnIsRefusedByFileAndLineAndTheChosenDayComesBackWhole) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("体重.txt", kWeights);
  dir.writeCp932("20261201.txt", "\"2026/12/01\"\r\n\"ごはん\",300,\"昼\"\r\n");
  // The good backup, and three a start could not run on: a damaged line, a missing file, a
  // weight out of range.
  const std::map<std::string, std::pair<std::string, std::string>> backups = {
      {"2026-12-01", {"体重.txt", "\"2026/12/01\",70\r\n"}},
      {"2026-12-02", {"体脂肪率.txt", "\"2026/12/01\",20\r\n\"2026/12/02\",abc\r\n"}},
      {"2026-12-03", {"ﾌﾟﾗｲﾍﾞｰﾄ.txt", ""}},
      {"2026-12-04", {"体重.txt", "\"2026/12/01\",70\r\n\"2026/12/02\",1500\r\n"}}};
  for (const auto& [day, file] : backups) {
    fs::create_directories(dir.file("バックアップ/" + day));
    for (const std::string& name : dir.list())
      if (name.ends_with(".txt") && name != "20261201.txt")
        dir.writeBytes("バックアップ/" + day + "/" + name, dir.readBytes(name));
    if (file.second.empty())
      fs::remove(dir.file("バックアップ/" + day + "/" + file.first));
    else
      dir.writeCp932("バックアップ/" + day + "/" + file.first, file.second);
  }
  // Days written after the good backup.
  dir.writeCp932("20261203.txt", "\"2026/12/03\"\r\n\"パン\",200,\"朝\"\r\n");
  dir.writeCp932("日記20261203.txt", "おいしい\r\n");
  auto dataFiles = [&](const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::directory_iterator(dir.file(folder)))
      if (e.path().extension() == ".txt")
        files[e.path().filename().string()] = dir.readBytes(folder + "/" + e.path().filename().string());
    return files;
  };

  // Newest first: today's backup, then the four.
  auto r = runDrive(dir.path(),
                    "clock 2026/12/07 10:00:00\nstart\nchoose 1\nchoose 2\nchoose 3\nchoose 4\n"
                    "answer OK\nclick cmdBackup\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const auto& boxes = r.last()["dialogs"];
  ASSERT_EQ(boxes.size(), 10u) << boxes;  // the last three: confirm, the chart's one-weight note, done
  const char* const kNamed[] = {"「体重.txt」の 2 行目: 体重「1500」", "「ﾌﾟﾗｲﾍﾞｰﾄ.txt」を読み込めませんでした。",
                                "「体脂肪率.txt」の 2 行目: "};
  for (int i = 0; i < 3; ++i) {
    const std::string text = boxes[2 * i + 1]["text"];
    EXPECT_NE(text.find(kNamed[i]), std::string::npos) << text;
    EXPECT_EQ(boxes[2 * i + 1]["icon"], "error");
    // The list comes again with the refused day marked.
    EXPECT_EQ(boxes[2 * i + 2]["items"][i + 1].get<std::string>().rfind("× ", 0), 0u) << boxes[2 * i + 2];
  }
  // The good day's files, all of them and only them; what came after is in the safety copy.
  EXPECT_EQ(dataFiles("."), dataFiles("バックアップ/2026-12-01"));
  EXPECT_EQ(dir.readUtf8("バックアップ/2026-12-07-復元前/日記20261203.txt"), "おいしい\r\n");
  EXPECT_EQ(r.last()["state"]["WeightCount"], 1);
}
