#pragma once
// Runs zorvel-drive on a folder with a script and parses its JSON Lines output.
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace testing_support {

struct DriveResult {
  int exitCode = 0;
  std::vector<nlohmann::json> dumps;  // one per `dump` (and the error object on exit 3)
  std::string stderrText;

  const nlohmann::json& last() const { return dumps.back(); }
  // The dialogs of dump i.
  const nlohmann::json& dialogs(size_t i) const { return dumps.at(i).at("dialogs"); }
};

DriveResult runDrive(const std::string& folder, const std::string& script);
// The same driver run inside this process (the working folder is restored afterwards), so that a
// failure injected into the store reaches it.
DriveResult runDriveInProcess(const std::string& folder, const std::string& script);
// The status of the child process `pid` as waitpid() gives it; a child still running after
// `seconds` is killed and the test fails, instead of hanging.
int waitForChild(int pid, int seconds = 60);

}  // namespace testing_support
