#include "support/drive.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "drive/driver.h"
#include "support/temp_folder.h"

namespace testing_support {
namespace {
constexpr int kDriveSeconds = 120;
}

DriveResult runDrive(const std::string& folder, const std::string& script) {
  TempFolder io;
  {
    std::ofstream s(io.file("script.txt"), std::ios::binary);
    s << script;
  }
  // A driver that hangs (a box nobody answers, a loop) fails its test instead of holding up the suite.
  std::string cmd = std::string("timeout -k 5 ") + std::to_string(kDriveSeconds) + " '" + ZORVEL_DRIVE_EXE + "' '" +
                    folder + "' < '" + io.file("script.txt") + "' > '" + io.file("out.jsonl") + "' 2> '" +
                    io.file("err.txt") + "'";
  int status = std::system(cmd.c_str());
  DriveResult r;
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream out(io.file("out.jsonl"));
  std::string line;
  while (std::getline(out, line))
    if (!line.empty()) r.dumps.push_back(nlohmann::json::parse(line));
  r.stderrText = io.readBytes("err.txt");
  if (r.exitCode == 124 || r.exitCode == 137)
    r.stderrText += "zorvel-drive did not end within " + std::to_string(kDriveSeconds) + " s\n";
  return r;
}

DriveResult runDriveInProcess(const std::string& folder, const std::string& script) {
  char old[4096];
  if (!::getcwd(old, sizeof old)) throw std::runtime_error("getcwd failed");
  std::istringstream in(script);
  std::ostringstream out, err;
  DriveResult r;
  r.exitCode = drive::runScript(folder, in, out, err);
  if (::chdir(old) != 0) throw std::runtime_error("chdir back failed");
  std::istringstream lines(out.str());
  std::string line;
  while (std::getline(lines, line))
    if (!line.empty()) r.dumps.push_back(nlohmann::json::parse(line));
  r.stderrText = err.str();
  return r;
}

int waitForChild(int pid, int seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  int status = 0;
  while (::waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      ADD_FAILURE() << "a child process did not end within " << seconds << " s";
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return status;
}

}  // namespace testing_support
