// The program killed at every step of the store in turn, in scripts full of writes: the next start
// always succeeds and finds the folder as it was before the command cut short or after it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "backup/backup.h"
#include "drive/driver.h"
#include "store/data_folder.h"
#include "store/files.h"
#include "support/drive.h"
#include "support/temp_folder.h"

using testing_support::TempFolder;
namespace fs = std::filesystem;

namespace {

using Snapshot = std::map<std::string, std::string>;  // path in the folder → bytes

// Every file below the folder but the lock and the backups.
Snapshot snapshotOf(const TempFolder& dir) {
  Snapshot files;
  for (const auto& e : fs::recursive_directory_iterator(dir.path())) {
    const std::string path = fs::relative(e.path(), dir.path()).string();
    if (e.is_regular_file() && path != store::kFolderLockFile && !path.starts_with(backup::kBackupFolder))
      files[path] = dir.readBytes(path);
  }
  return files;
}

std::string differences(const Snapshot& a, const Snapshot& b) {
  std::string names;
  for (const auto& [name, bytes] : a) names += !b.count(name) ? " -" + name : b.at(name) != bytes ? " " + name : "";
  for (const auto& [name, bytes] : b) names += a.count(name) ? "" : " +" + name;
  return names;
}

// The first `lines` lines of the script, run in this process.
int runHere(const TempFolder& dir, const std::vector<std::string>& script, size_t lines) {
  std::string text;
  for (size_t i = 0; i < lines; ++i) text += script[i] + "\n";
  std::istringstream in(text);
  std::ostringstream out, err;
  const fs::path old = fs::current_path();
  const int code = drive::runScript(dir.path(), in, out, err);
  fs::current_path(old);
  return code;
}

// In memory where there is one: a kill costs no flush to a disk.
std::string scratch() { return fs::is_directory("/dev/shm") ? "/dev/shm" : fs::temp_directory_path().string(); }

void killAtEveryStep(const char* name, void (*prepare)(const TempFolder&), const std::string& script) {
  std::vector<std::string> lines;
  std::istringstream split(script);
  for (std::string line; std::getline(split, line);) lines.push_back(line);
  // The folder after each line, and the steps taken by then; where the steps of each command lie
  // goes into every message: the kills must cover the whole script.
  std::vector<Snapshot> states;
  std::vector<long> steps;
  std::string spread;
  for (size_t k = 0; k <= lines.size(); ++k) {
    TempFolder dir(scratch());
    prepare(dir);
    store::resetStepCount();
    runHere(dir, lines, k);
    states.push_back(snapshotOf(dir));
    steps.push_back(store::stepsTaken());
    if (k > 0 && steps[k] > steps[k - 1]) {
      spread += "\n  " + lines[k - 1] + ": " + std::to_string(steps[k - 1] + 1) + "-" + std::to_string(steps[k]);
    } else if (k > 0) {
      EXPECT_EQ(states[k], states[k - 1]) << name << ": " << lines[k - 1] << " wrote uncounted";
    }
  }
  for (long n = 1; n <= steps.back() + 1; ++n) {
    SCOPED_TRACE(std::string(name) + ", killed at step " + std::to_string(n) + " of" + spread);
    TempFolder dir(scratch());
    prepare(dir);
    const pid_t child = ::fork();
    if (child == 0) {
      store::resetStepCount();
      store::endProcessAtStep(n);
      ::_exit(runHere(dir, lines, lines.size()));
    }
    const int status = testing_support::waitForChild(child);
    // Every step is reached; one more lets the script end.
    ASSERT_EQ(status, (n <= steps.back() ? store::kEndedAtStepStatus : 0) << 8);

    auto r = testing_support::runDriveInProcess(dir.path(), lines[0] + "\nstart\ndump\n");
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    EXPECT_FALSE(r.last()["ended"]) << r.last()["dialogs"];
    for (const auto& box : r.last()["dialogs"])
      EXPECT_TRUE(box["icon"] == "information" || box["icon"] == "none") << box;
    size_t k = 1;
    while (steps[k] < n && k + 1 < steps.size()) ++k;
    const Snapshot now = snapshotOf(dir);
    EXPECT_TRUE(now == states[k - 1] || now == states[k])
        << "cut short: " << lines[k - 1] << "\nunlike before:" << differences(states[k - 1], now)
        << "\nunlike after:" << differences(states[k], now);
    if (!dir.exists(backup::kBackupFolder)) continue;
    for (const auto& e : fs::directory_iterator(dir.file(backup::kBackupFolder))) {
      EXPECT_NE(e.path().filename().string()[0], '.') << e.path();  // no backup half made
    }
  }
}

void minimalWithHistory(const TempFolder& dir) {
  dir.writeMinimalDiary();
  dir.writeCp932("体重.txt", "\"2024/01/03\",70\r\n\"2024/01/04\",69.8\r\n");
  dir.writeCp932("筋トレ1.txt", "\"2024/01/03\",20\r\n");
  dir.writeCp932("20240104.txt", "\"2024/01/04\"\r\n\"パン\",200,\"朝\"\r\n");
  dir.writeCp932("weights.csv", "日付,体重\r\n2024/01/05,69.6\r\n2024/01/06,69.5\r\n");
  dir.writeCp932("gap.csv", "日付,体重,体脂肪率\r\n2024/01/07,69.6,25.1\r\n");
  dir.writeBytes("export.xml",
                 "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<HealthData locale=\"ja_JP\">\n"
                 " <Record type=\"HKQuantityTypeIdentifierBodyMass\" sourceName=\"x\" unit=\"kg\" value=\"69.5\""
                 " startDate=\"2024-01-08 07:00:00 +0900\"/>\n"
                 " <Record type=\"HKQuantityTypeIdentifierBodyFatPercentage\" sourceName=\"x\" unit=\"%\""
                 " value=\"0.25\" startDate=\"2024-01-08 07:00:00 +0900\"/>\n"
                 " <Record type=\"HKQuantityTypeIdentifierStepCount\" sourceName=\"x\" unit=\"count\" value=\"5000\""
                 " startDate=\"2024-01-08 08:00:00 +0900\"/>\n</HealthData>\n");
  // A backup to go back to, from before the day above, and a month of daily ones to prune.
  fs::create_directories(dir.file("バックアップ/2024-01-03"));
  for (const auto& name : dir.list())
    if (name.ends_with(".txt") && name != "20240104.txt")
      dir.writeBytes("バックアップ/2024-01-03/" + name, dir.readBytes(name));
  dir.writeCp932("バックアップ/2024-01-03/20240103.txt", "\"2024/01/03\"\r\n\"ごはん\",300,\"昼\"\r\n");
  for (int day = 1; day <= 30; ++day) {
    const std::string folder = "バックアップ/" + backup::dayFolderName(store::makeDate(2023, 12, day));
    fs::create_directories(dir.file(folder));
    dir.writeBytes(folder + "/体重.txt", "");
  }
}

const char* const kNewStart =
    "click cmdSettei\nanswer OK\ninput たろう\ninput 170\ninput 60\ninput 30\ninput 70\ninput 2000\nanswer OK\n"
    "click cmdNew1\n";

}  // namespace

TEST(Kill, AtEveryStoreStepTheNextStartFindsOneWholeVersionOfTheDiary) {
  // Every kind of write: rewrite, append, the journal, correction and undo.
  std::string writes = std::string("clock 2024/01/05 09:00:00\nstart\n") + kNewStart + "click cmdMain\n";
  for (const std::string n : {"1", "2"})
    writes += "click cmdMono(1" + n + ")\ninput メモ\nmouseup List5(2)\nsettext txtKin(1) " + n +
              "\nenter txtKin(1)\ninput 品\ninput " + n + "\nclick cmdAsa\nsettext txtDiary " + n +
              "\nclick cmdHozon\n";
  writes +=
      "settext txtInpTaijyu 68.5\nenter txtInpTaijyu\ninput 68\nmenu msgB1 1 修正\nanswer Yes\n"
      "menu msgB1 1 元に戻す\n";
  killAtEveryStep("writes", minimalWithHistory, writes);
  // The day's backup with its pruning, a training rename, a CSV import and a restore.
  killAtEveryStep("backup, rename, import, restore", minimalWithHistory,
                  "clock 2024/01/07 09:00:00\nstart\nanswer OK\ninput 懸垂\ninput 20\ndblclick fraKin(1)\n"
                  "file weights.csv\nclick cmdCsvIn\nchoose 1\nanswer OK\nclick cmdBackup\n");
  // Days filled in: an entry after a gap, its undo, and an import after a gap with body fat;
  // then a phone's export with weight, body fat and steps (three logs in one step).
  killAtEveryStep("filled days, a phone's export", minimalWithHistory,
                  "clock 2024/01/08 09:00:00\nstart\nanswer Yes\nsettext txtInpTaijyu 69.4\nenter txtInpTaijyu\n"
                  "answer Yes\nmenu msgB1 1 元に戻す\nfile gap.csv\nanswer Yes\nclick cmdCsvIn\n"
                  "file export.xml\nclick cmdCsvIn\n");
  killAtEveryStep(
      "new start from the sample", [](const TempFolder& dir) { dir.copySample(); },
      std::string("clock 2026/12/07 09:00:00\nstart\n") + kNewStart);
}

// A new data folder killed while the sample is copied in: the next start copies the rest.
TEST(Kill, AtEveryStepOfSeedingANewFolderTheNextStartHasTheWholeSample) {
  TempFolder sample(scratch());
  sample.copySample();
  for (long n = 1, status = 1; status != 0; ++n) {
    TempFolder dir(scratch());
    const pid_t child = ::fork();
    if (child == 0) {
      store::endProcessAtStep(n);
      ::_exit(store::prepareDataFolder(dir.file("diary"), sample.path()) ? 1 : 0);
    }
    const int ended = testing_support::waitForChild(child);
    ASSERT_TRUE(WIFEXITED(ended)) << n;
    status = WEXITSTATUS(ended);  // 0: the seed went through before step n
    ASSERT_NE(status, 1);
    ASSERT_FALSE(store::prepareDataFolder(dir.file("diary"), sample.path()));
    for (const auto& name : sample.list()) EXPECT_EQ(dir.readBytes("diary/" + name), sample.readBytes(name)) << n;
  }
}
