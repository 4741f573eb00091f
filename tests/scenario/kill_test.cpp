// The program killed at random points of a run full of writes: the next start always succeeds and
// every file is wholly old or wholly new.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <random>
#include <thread>

#include "store/files.h"
#include "support/drive.h"
#include "support/temp_folder.h"

using testing_support::runDrive;
using testing_support::TempFolder;

namespace {

const char* const kStart = "clock 2024/01/05 09:00:00\nstart\n";
const char* const kWeights = "\"2024/01/03\",70\r\n\"2024/01/04\",69.8\r\n";

// A new start, then rounds of a calendar click, a memo note, a training count and a diary save;
// the diary's comment always tells how many entries the day file holds.
std::string writeHeavyScript() {
  std::string s = std::string(kStart) + "click cmdSettei\nanswer OK\ninput たろう\ninput 170\ninput 60\ninput 30\n" +
                  "input 70\ninput 2000\nanswer OK\nclick cmdNew1\nclick cmdMain\n";
  for (int i = 1; i <= 15; ++i) {
    const std::string n = std::to_string(i);
    s += "click cmdMono(" + std::to_string(7 + i % 20) + ")\ninput メモ" + n + "\nmouseup List5(2)\n" +
         "settext txtKin(1) " + n + "\nenter txtKin(1)\ninput 品" + n + "\ninput " + n + "\nclick cmdAsa\n" +
         "settext txtDiary " + n + "\nclick cmdHozon\n";
  }
  return s + "dump\n";
}

// Starts the driver on `folder` with `script` as its input; returns its process id.
pid_t spawnDrive(const std::string& folder, const std::string& scriptFile) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, scriptFile.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::string exe = ZORVEL_DRIVE_EXE;
  char* argv[] = {exe.data(), const_cast<char*>(folder.c_str()), nullptr};
  pid_t pid = -1;
  EXPECT_EQ(posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv, environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

int entriesOfDay(const std::string& dayFileUtf8) {
  int lines = 0;
  for (size_t at = dayFileUtf8.find("\r\n"); at != std::string::npos; at = dayFileUtf8.find("\r\n", at + 2)) ++lines;
  return lines == 0 ? 0 : lines - 1;  // the date line is no entry
}

}  // namespace

TEST(Kill, EveryKillLeavesAFolderThatStartsWithEachFileWhollyOldOrNew) {
  TempFolder io;
  { std::ofstream(io.file("script.txt"), std::ios::binary) << writeHeavyScript(); }
  // How long a whole run takes here sets the range of the kill times.
  TempFolder timing;
  timing.writeMinimalDiary();
  const auto begin = std::chrono::steady_clock::now();
  int status = 0;
  ::waitpid(spawnDrive(timing.path(), io.file("script.txt")), &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - begin);

  std::mt19937 random(20261207);
  std::uniform_int_distribution<long> when(0, whole.count());
  for (int kill = 0; kill < 24; ++kill) {
    SCOPED_TRACE("kill " + std::to_string(kill));
    TempFolder dir;
    dir.writeMinimalDiary();
    dir.writeCp932("体重.txt", kWeights);
    const pid_t pid = spawnDrive(dir.path(), io.file("script.txt"));
    std::this_thread::sleep_for(std::chrono::microseconds(when(random)));
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);

    auto r = runDrive(dir.path(), std::string(kStart) + "dump\n");
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    EXPECT_TRUE(r.dialogs(0).empty()) << r.dialogs(0);
    EXPECT_FALSE(r.last()["ended"]);
    // The new start: the old profile with the old weights, or the new one with none.
    const std::string name = r.last()["state"]["Profile"]["ProfileName"];
    EXPECT_EQ(dir.readUtf8("体重.txt"), name == "たろう" ? "" : kWeights) << name;
    // Appended logs end with a whole record.
    for (const char* log : {"ﾘｽﾄ2.txt", "筋トレ1.txt"}) {
      const std::string bytes = dir.readBytes(log);
      EXPECT_TRUE(bytes.empty() || bytes.ends_with("\r\n")) << log << ": " << bytes;
    }
    // The day file and its comment file were saved together.
    if (dir.exists("20240105.txt")) {
      const std::string comment = dir.readUtf8("日記20240105.txt");
      EXPECT_EQ(comment, std::to_string(entriesOfDay(dir.readUtf8("20240105.txt"))) + "\r\n");
    }
    for (const auto& file : dir.list()) EXPECT_FALSE(store::isOwnTemporaryName(file)) << file;
  }
}
