#include "support/drive.h"

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "support/temp_folder.h"

namespace testing_support {

DriveResult runDrive(const std::string& folder, const std::string& script) {
  TempFolder io;
  {
    std::ofstream s(io.file("script.txt"), std::ios::binary);
    s << script;
  }
  std::string cmd = std::string("'") + ZORVEL_DRIVE_EXE + "' '" + folder + "' < '" + io.file("script.txt") + "' > '" +
                    io.file("out.jsonl") + "' 2> '" + io.file("err.txt") + "'";
  int status = std::system(cmd.c_str());
  DriveResult r;
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream out(io.file("out.jsonl"));
  std::string line;
  while (std::getline(out, line))
    if (!line.empty()) r.dumps.push_back(nlohmann::json::parse(line));
  r.stderrText = io.readBytes("err.txt");
  return r;
}

}  // namespace testing_support
