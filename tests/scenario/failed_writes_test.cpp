// Every writer of the program under a failing disk: each system call of the store fails in turn.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>

#include "store/files.h"
#include "support/drive.h"
#include "support/temp_folder.h"

using nlohmann::json;
using testing_support::runDrive;
using testing_support::runDriveInProcess;
using testing_support::TempFolder;

namespace {

const char* const kStart = "clock 2024/01/05 09:00:00\nstart\ndump\n";

struct Writer {
  const char* name;
  const char* script;
};

// One script per file the program writes in the course of its use.
const Writer kWriters[] = {
    {"weight", "settext txtInpTaijyu 69\nenter txtInpTaijyu\n"},
    {"body fat", "settext txtInpShibou 20\nenter txtInpShibou\n"},
    {"steps", "settext txtInpHosuu 5000\nenter txtInpHosuu\n"},
    {"intra-day weight", "settext txtInpRenTai 69.5\nenter txtInpRenTai\n"},
    {"training count", "settext txtKin(1) 30\nenter txtKin(1)\n"},
    {"memo note", "input 買い物\nmouseup List5(2)\n"},
    {"calorie item", "input りんご\ninput 120\nclick Command2(0)\n"},
    {"nutrition", "click Check1(0)\nclick Command3\n"},
    {"calendar", "click cmdMono(9)\n"},
    {"diary day", "input A\ninput 1\nclick cmdAsa\nsettext txtDiary メモ\nclick cmdHozon\n"},
    {"tour switch", "click chkHelp\n"},
    {"profile", "click cmdSettei\nclick cmdPHozon1\n"},
    {"weight correction", "input 68\nmenu msgB1 1 修正\n"},
    {"training rename", "input 懸垂\ninput 20\ndblclick fraKin(1)\n"},
};

void prepare(const TempFolder& dir) {
  dir.writeMinimalDiary();
  // The last weight has no line end after it, as a hand edit leaves it.
  dir.writeCp932("体重.txt", "\"2024/01/03\",70\r\n\"2024/01/04\",69.8");
  // The day's backup is made: start-up writes nothing, so every failure lands in the writer.
  std::filesystem::create_directories(dir.file("バックアップ/2024-01-05"));
}

std::map<std::string, std::string> snapshot(const TempFolder& dir) {
  std::map<std::string, std::string> files;
  for (const auto& name : dir.list())
    if (name != store::kFolderLockFile) files[name] = dir.readBytes(name);
  return files;
}

}  // namespace

TEST(FailedWrites, EveryWriterLeavesTheDiskAsItWasAndSaysWhichFile) {
  for (const Writer& w : kWriters) {
    std::set<store::IoStep> failed;
    for (store::IoStep step : {store::IoStep::Open, store::IoStep::Write, store::IoStep::Fsync, store::IoStep::Rename,
                               store::IoStep::Link}) {
      for (int nth = 1;; ++nth) {
        SCOPED_TRACE(std::string(w.name) + ", step " + std::to_string(static_cast<int>(step)) + ", call " +
                     std::to_string(nth));
        TempFolder dir;
        prepare(dir);
        const auto before = snapshot(dir);
        store::failNthStep(step, nth, ENOSPC);
        auto r = runDriveInProcess(dir.path(), std::string(kStart) + w.script + "dump\n");
        const bool fired = store::injectedFailureFired();
        store::clearInjectedFailure();
        ASSERT_EQ(r.exitCode, 0) << r.stderrText;
        if (!fired) break;
        failed.insert(step);
        EXPECT_EQ(snapshot(dir), before);
        // One error box, naming the file, and no success claimed.
        int errors = 0;
        for (const auto& box : r.dialogs(1)) {
          if (box.value("icon", "") != "error") continue;  // input boxes have no icon
          ++errors;
          const std::string text = box["text"];
          EXPECT_NE(text.find(".txt」"), std::string::npos) << text;
          EXPECT_NE(text.find("No space left on device"), std::string::npos) << text;
        }
        EXPECT_EQ(errors, 1) << r.dialogs(1);
        // What the program holds is what the disk holds: a fresh start shows the same state.
        auto fresh = runDrive(dir.path(), kStart);
        ASSERT_EQ(fresh.exitCode, 0) << fresh.stderrText;
        EXPECT_TRUE(fresh.dialogs(0).empty()) << fresh.dialogs(0);
        json failedState = r.last()["state"], freshState = fresh.last()["state"];
        // Unsaved diary entries and the page's help text are the screen's own, not the disk's.
        for (const char* shownOnly : {"DragSourceList", "IntakeTotal", "ExerciseTotal", "HelpText"})
          failedState.erase(shownOnly), freshState.erase(shownOnly);
        EXPECT_TRUE(failedState == freshState)
            << "after the failure: " << failedState.dump() << "\nfresh start: " << freshState.dump();
      }
    }
    // Every writer opens, writes and flushes (a rewrite, its temporary): each was made to fail.
    for (store::IoStep step : {store::IoStep::Open, store::IoStep::Write, store::IoStep::Fsync})
      EXPECT_TRUE(failed.count(step)) << w.name << " never failed at step " << static_cast<int>(step);
  }
}

// A file the user made read-only is left alone by every writer, an append and a rewrite alike.
TEST(FailedWrites, EveryWriterRefusesAReadOnlyFileByName) {
  for (const Writer& w : kWriters) {
    SCOPED_TRACE(w.name);
    TempFolder dir;
    prepare(dir);
    dir.writeCp932("2024年01月.txt",
                   "0,0,0,0,0,0,0\r\n0,0,0,0,0,0,0\r\n0,0,0,0,0,0,0\r\n0,0,0,0,0,0,0\r\n"
                   "0,0,0,0,0,0,0\r\n0,0\r\n");
    dir.writeCp932("20240105.txt", "\"2024/01/05\"\r\n");
    dir.writeCp932("日記20240105.txt", "\r\n");
    for (const auto& name : dir.list())
      if (name.ends_with(".txt")) std::filesystem::permissions(dir.file(name), std::filesystem::perms::owner_read);
    const auto before = snapshot(dir);
    auto r = runDrive(dir.path(), std::string(kStart) + w.script + "dump\n");
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    int errors = 0;
    for (const auto& box : r.dialogs(1)) {
      if (box.value("icon", "") != "error") continue;
      ++errors;
      EXPECT_NE(box["text"].get<std::string>().find(".txt」に書き込めませんでした。読み取り専用のファイルです。"),
                std::string::npos)
          << box["text"];
    }
    EXPECT_EQ(errors, 1) << r.dialogs(1);
    EXPECT_EQ(snapshot(dir), before);
  }
}

TEST(FailedWrites, AppendsAfterAHandEditedLastLineKeepEveryRecord) {
  TempFolder dir;
  prepare(dir);
  dir.writeCp932("ﾘｽﾄ2.txt", "\"01/04 手で書いたメモ\"");
  auto r = runDrive(dir.path(), std::string(kStart) + "settext txtInpTaijyu 69.5\nenter txtInpTaijyu\n" +
                                    "input 買い物\nmouseup List5(2)\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(dir.readUtf8("体重.txt"), "\"2024/01/03\",70\r\n\"2024/01/04\",69.8\r\n\"2024/01/05\",69.5\r\n");
  auto again = runDrive(dir.path(), std::string(kStart) + "dump List5(2)\n");
  ASSERT_EQ(again.exitCode, 0) << again.stderrText;
  EXPECT_TRUE(again.dialogs(0).empty()) << again.dialogs(0);
  EXPECT_EQ(again.last()["state"]["WeightCount"], 3);
  EXPECT_EQ(again.last()["controls"]["List5(2)"]["items"].size(), 2u) << again.last()["controls"]["List5(2)"];
}

// USB sticks (FAT, exFAT) have no hard links: saves, an undo and a new start work all the same on
// a real exFAT (the store's seam refusing links is in store_safety_test).
TEST(FailedWrites, WithoutHardLinksSavesAnUndoAndANewStartWork) {
  const std::string story = std::string(kStart) +
                            "input A\ninput 1\nclick cmdAsa\nsettext txtDiary メモ\nclick cmdHozon\n"
                            "input B\ninput 2\nclick cmdAsa\nclick cmdHozon\n"
                            "input 68\nmenu msgB1 1 修正\nanswer Yes\nkey cmdMain Ctrl+Z\ndump\n"
                            "click cmdSettei\nanswer OK\ninput たろう\ninput 170\ninput 60\ninput 30\ninput 70\n"
                            "input 2000\nanswer OK\nclick cmdNew1\ndump\n";
  auto check = [](const TempFolder& dir, const testing_support::DriveResult& r) {
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    for (const auto& dump : r.dumps)
      for (const auto& box : dump["dialogs"]) EXPECT_NE(box.value("icon", ""), "error") << box;
    EXPECT_EQ(r.dumps[1]["state"]["WeightKg"][0], 70);  // the correction taken back
    EXPECT_EQ(r.last()["state"]["Profile"]["ProfileName"], "たろう");
    EXPECT_EQ(dir.readBytes("体重.txt"), "");
    const std::string day = dir.readUtf8("20240105.txt");
    EXPECT_TRUE(day.find("\"A\"") != std::string::npos && day.find("\"B\"") != std::string::npos) << day;
    for (const auto& name : dir.list()) EXPECT_FALSE(store::isOwnTemporaryName(name)) << name;
  };
  // A real exFAT, mounted from an image through FUSE, where the machine lets us.
  TempFolder image;
  const std::string here = "cd '" + image.path() + "' && ";
  if (::geteuid() != 0 ||
      std::system((here + "mkdir stick && truncate -s 32M img && mkfs.exfat img >/dev/null 2>&1 && losetup -f --show "
                          "img >dev 2>/dev/null && { mount.exfat-fuse $(cat dev) stick >/dev/null 2>&1 || "
                          "{ losetup -d $(cat dev); false; }; }")
                      .c_str()) != 0)
    GTEST_SKIP() << "no exFAT could be mounted here (root, /dev/fuse, exfatprogs, exfat-fuse): the seam alone was used";
  {
    SCOPED_TRACE("on exFAT");
    TempFolder onStick(image.file("stick"));
    prepare(onStick);
    check(onStick, runDrive(onStick.path(), story));
  }
  EXPECT_EQ(std::system((here + "umount stick && losetup -d $(cat dev)").c_str()), 0);
}
