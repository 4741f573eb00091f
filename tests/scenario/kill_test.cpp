// The program killed at every step of the store, one step after the other, in scripts full of
// writes: the next start always succeeds, every file is wholly one version and the folder holds
// one version of the diary, never a mix of two.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "backup/backup.h"
#include "drive/driver.h"
#include "store/data_folder.h"
#include "store/files.h"
#include "support/drive.h"
#include "support/temp_folder.h"

using testing_support::runDriveInProcess;
using testing_support::TempFolder;
namespace fs = std::filesystem;

namespace {

using Snapshot = std::map<std::string, std::string>;  // path below the data folder → bytes

// Every file below the data folder but the lock and the backups, which are checked apart.
Snapshot snapshotOf(const std::string& root) {
  Snapshot files;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
    const std::string relative = fs::relative(it->path(), root).string();
    if (relative == backup::kBackupFolder) {
      it.disable_recursion_pending();
      continue;
    }
    if (relative == store::kFolderLockFile || it->is_directory()) continue;
    std::ifstream in(it->path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    files[relative] = bytes.str();
  }
  return files;
}

// The names whose contents differ between two snapshots.
std::string differences(const Snapshot& a, const Snapshot& b) {
  std::string names;
  for (const auto& [name, bytes] : a)
    if (!b.count(name) || b.at(name) != bytes) names += " " + name;
  for (const auto& [name, bytes] : b)
    if (!a.count(name)) names += " +" + name;
  return names;
}

// The data files at the top of a snapshot, as a backup copies them.
Snapshot dataFilesOf(const Snapshot& s) {
  Snapshot top;
  for (const auto& [name, bytes] : s)
    if (name.find('/') == std::string::npos && name.ends_with(".txt")) top[name] = bytes;
  return top;
}

// A script handed to the driver line by line. Whenever the driver asks for the next line, every
// command before it has finished: the folder is quiet, and its state is taken with the count of
// store steps so far.
class QuietPoints : public std::streambuf {
 public:
  QuietPoints(std::vector<std::string> lines, std::string folder)
      : lines_(std::move(lines)), folder_(std::move(folder)) {}
  std::vector<Snapshot> states;  // states[k]: after the first k lines
  std::vector<long> steps;       // steps[k]: store steps taken by then

 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    if (states.size() > next_) return traits_type::eof();
    states.push_back(snapshotOf(folder_));
    steps.push_back(store::stepsTaken());
    if (next_ == lines_.size()) return traits_type::eof();
    line_ = lines_[next_++] + "\n";
    setg(line_.data(), line_.data(), line_.data() + line_.size());
    return traits_type::to_int_type(*gptr());
  }

 private:
  std::vector<std::string> lines_;
  std::string folder_;
  size_t next_ = 0;
  std::string line_;
};

std::vector<std::string> linesOf(const std::string& script) {
  std::vector<std::string> lines;
  std::istringstream in(script);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Runs the script in this process; the working folder is restored afterwards.
int runHere(const std::string& folder, std::istream& script) {
  const std::string old = fs::current_path().string();
  std::ostringstream out, err;
  const int code = drive::runScript(folder, script, out, err);
  fs::current_path(old);
  return code;
}

// The folders are made in memory where there is one: a kill costs no flush to a disk.
std::string scratchRoot() { return fs::is_directory("/dev/shm") ? "/dev/shm" : fs::temp_directory_path().string(); }

struct Story {
  const char* name;
  std::function<void(const TempFolder&)> prepare;
  std::string script;  // its first line sets the clock
};

// Kills the story at each of its store steps in turn and checks the folder each kill leaves.
void killAtEveryStep(const Story& story) {
  const std::vector<std::string> lines = linesOf(story.script);
  TempFolder whole(scratchRoot());
  story.prepare(whole);
  QuietPoints points(lines, whole.path());
  {
    std::istream in(&points);
    store::resetStepCount();
    ASSERT_EQ(runHere(whole.path(), in), 0) << story.name;
  }
  const long total = points.steps.back();
  // Which line each step belongs to, for the messages: the kills must cover the whole script.
  std::string spread;
  for (size_t k = 1; k < points.steps.size(); ++k)
    if (points.steps[k] > points.steps[k - 1])
      spread += "\n  " + lines[k - 1] + ": steps " + std::to_string(points.steps[k - 1] + 1) + "-" +
                std::to_string(points.steps[k]);
  ASSERT_GT(total, 0) << story.name;
  // A command that changed the folder took steps of its own, so some kill lands inside it.
  for (size_t k = 1; k < points.steps.size(); ++k)
    if (points.states[k] != points.states[k - 1])
      EXPECT_GT(points.steps[k], points.steps[k - 1])
          << story.name << ": " << lines[k - 1] << " wrote uncounted" << spread;

  for (long n = 1; n <= total + 1; ++n) {
    SCOPED_TRACE(std::string(story.name) + ", killed at step " + std::to_string(n) + " of " + std::to_string(total) +
                 spread);
    TempFolder dir(scratchRoot());
    story.prepare(dir);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      std::istringstream in(story.script);
      store::resetStepCount();
      store::endProcessAtStep(n);
      ::_exit(runHere(dir.path(), in));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    // Every step up to the last one is reached; one more lets the script end.
    ASSERT_EQ(WEXITSTATUS(status), n <= total ? store::kEndedAtStepStatus : 0);

    auto r = runDriveInProcess(dir.path(), lines.front() + "\nstart\ndump\n");
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    EXPECT_FALSE(r.last()["ended"]) << r.last()["dialogs"];
    for (const auto& box : r.last()["dialogs"])
      EXPECT_TRUE(box["icon"] == "information" || box["icon"] == "none") << box;
    // The state before the command the kill cut short, or after it: nothing between.
    size_t k = 1;
    while (points.steps[k] < n && k + 1 < points.steps.size()) ++k;
    const Snapshot now = snapshotOf(dir.path());
    EXPECT_TRUE(now == points.states[k - 1] || now == points.states[k])
        << "cut short: " << lines[k - 1] << "\nunlike the state before:" << differences(points.states[k - 1], now)
        << "\nunlike the state after:" << differences(points.states[k], now);
    // Backups are whole copies of one state, with nothing half made beside them.
    if (!dir.exists(backup::kBackupFolder)) continue;
    for (const auto& e : fs::directory_iterator(dir.file(backup::kBackupFolder))) {
      const std::string name = e.path().filename().string();
      EXPECT_TRUE(backup::isDayFolderName(name.substr(0, 10)) && name[0] != '.') << name;
      if (!fs::exists(e.path() / backup::kMarkFile)) continue;  // made by the preparation
      Snapshot copy;
      for (const auto& f : fs::directory_iterator(e.path()))
        if (f.path().extension() == ".txt")
          copy[f.path().filename().string()] = dir.readBytes(fs::relative(f.path(), dir.path()).string());
      bool whole = false;
      for (const auto& state : points.states) whole = whole || copy == dataFilesOf(state);
      EXPECT_TRUE(whole) << name;
    }
  }
}

const char* const kWeights = "\"2024/01/03\",70\r\n\"2024/01/04\",69.8\r\n";

void minimalWithHistory(const TempFolder& dir) {
  dir.writeMinimalDiary();
  dir.writeCp932("体重.txt", kWeights);
  dir.writeCp932("筋トレ1.txt", "\"2024/01/03\",20\r\n\"2024/01/04\",25\r\n");
  dir.writeCp932("20240104.txt", "\"2024/01/04\"\r\n\"パン\",200,\"朝\"\r\n");
  dir.writeCp932("日記20240104.txt", "1\r\n");
  dir.writeCp932("weights.csv", "日付,体重\r\n2024/01/05,69.6\r\n2024/01/06,69.5\r\n2024/01/07,69.1\r\n");
  // An older backup to go back to, and a month of daily ones for the pruning.
  const std::string older = "バックアップ/2024-01-03/";
  fs::create_directories(dir.file(older));
  for (const auto& name : dir.list())
    if (name.ends_with(".txt") && name != "20240104.txt" && name != "日記20240104.txt")
      dir.writeBytes(older + name, dir.readBytes(name));
  dir.writeCp932(older + "体重.txt", "\"2024/01/03\",70\r\n");
  dir.writeCp932(older + "20240103.txt", "\"2024/01/03\"\r\n\"ごはん\",300,\"昼\"\r\n");
  for (int day = 1; day <= 31; ++day) {
    const std::string name = "バックアップ/2023-12-" + std::string(day < 10 ? "0" : "") + std::to_string(day);
    fs::create_directories(dir.file(name));
    dir.writeBytes(name + "/体重.txt", "");
  }
}

}  // namespace

TEST(Kill, AtEveryStoreStepTheNextStartFindsOneWholeVersionOfTheDiary) {
  std::vector<Story> stories;
  // Every round writes its files a different way: rewrite, append, the journal, undo.
  std::string writes =
      "clock 2024/01/05 09:00:00\nstart\nclick cmdSettei\nanswer OK\ninput たろう\ninput 170\n"
      "input 60\ninput 30\ninput 70\ninput 2000\nanswer OK\nclick cmdNew1\nclick cmdMain\n";
  for (int i = 1; i <= 2; ++i) {
    const std::string n = std::to_string(i);
    writes += "click cmdMono(" + std::to_string(8 + i) + ")\ninput メモ" + n +
              "\nmouseup List5(2)\nsettext txtKin(1) " + n + "\nenter txtKin(1)\ninput 品" + n + "\ninput " + n +
              "\nclick cmdAsa\nsettext txtDiary " + n + "\nclick cmdHozon\n";
  }
  writes +=
      "settext txtInpTaijyu 68.5\nenter txtInpTaijyu\ninput 68\nmenu msgB1 1 修正\nanswer Yes\n"
      "menu msgB1 1 元に戻す\n";
  stories.push_back({"writes of every kind", minimalWithHistory, writes});
  // The day's backup with its pruning, a training rename, a CSV import and a restore.
  stories.push_back({"backup, rename, import and restore", minimalWithHistory,
                     "clock 2024/01/07 09:00:00\nstart\nanswer OK\ninput 懸垂\ninput 20\ndblclick fraKin(1)\n"
                     "file weights.csv\nclick cmdCsvIn\nchoose 1\nanswer OK\nclick cmdBackup\n"});
  stories.push_back({"new start from the sample", [](const TempFolder& dir) { dir.copySample(); },
                     "clock 2026/12/07 09:00:00\nstart\nclick cmdSettei\nanswer OK\ninput たろう\ninput 170\n"
                     "input 60\ninput 30\ninput 70\ninput 2000\nanswer OK\nclick cmdNew1\n"});
  for (const Story& story : stories) killAtEveryStep(story);
}

// A new data folder killed while the sample is copied in: the next start copies the rest.
TEST(Kill, AtEveryStepOfSeedingANewFolderTheNextStartHasTheWholeSample) {
  TempFolder sample(scratchRoot());
  sample.copySample();
  for (long n = 1;; ++n) {
    SCOPED_TRACE("killed at step " + std::to_string(n));
    TempFolder dir(scratchRoot());
    const std::string folder = dir.file("diary");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      store::resetStepCount();
      store::endProcessAtStep(n);
      ::_exit(store::prepareDataFolder(folder, sample.path()) ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_NE(WEXITSTATUS(status), 1);
    ASSERT_FALSE(store::prepareDataFolder(folder, sample.path()));
    for (const auto& name : sample.list()) EXPECT_EQ(dir.readBytes("diary/" + name), sample.readBytes(name)) << name;
    if (WEXITSTATUS(status) == 0) break;  // the seed went through before step n
  }
}
