// Times start-up and one weight entry on a diary at the design limits, through the same
// scripted driver the scenario tests use, in this process.
//   zorvel_bench [RUNS]      (default 10 runs of each case)
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include "drive/driver.h"
#include "limits_data.h"

namespace fs = std::filesystem;

namespace {

struct Timing {
  double min, median, mean;  // milliseconds
};

Timing summarise(std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  const double mean = std::accumulate(ms.begin(), ms.end(), 0.0) / ms.size();
  return {ms.front(), ms[ms.size() / 2], mean};
}

std::string readFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void writeFile(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// One run of `script`; the folder's weight log is put back first, so every run sees the same files.
double runOnce(const fs::path& folder, const std::string& script, const std::string& weightLog) {
  writeFile(folder / "体重.txt", weightLog);
  std::istringstream in(script);
  std::ostringstream out, err;
  const auto t0 = std::chrono::steady_clock::now();
  const int status = drive::runScript(folder.string(), in, out, err);
  const auto t1 = std::chrono::steady_clock::now();
  if (status != 0) {
    std::cerr << "zorvel_bench: the driver ended with status " << status << "\n" << err.str() << out.str() << "\n";
    std::exit(1);
  }
  return std::chrono::duration<double, std::milli>(t1 - t0).count();
}

Timing measure(const fs::path& folder, const std::string& script, const std::string& weightLog, int runs) {
  runOnce(folder, script, weightLog);  // warm the file cache
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) ms.push_back(runOnce(folder, script, weightLog));
  return summarise(ms);
}

void report(const std::string& name, const Timing& t) {
  std::cout << std::left << std::setw(44) << name << std::right << std::fixed << std::setprecision(1) << std::setw(10)
            << t.min << std::setw(10) << t.median << std::setw(10) << t.mean << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  const fs::path base = fs::temp_directory_path() / ("zorvel-bench-" + std::to_string(::getpid()));
  const fs::path folder = base / "limits";
  try {
    std::cout << "Writing a diary at the design limits to " << folder << " ...\n";
    {
      diarygen::InFolder in(folder.string());
      diarygen::writeLimitsData();
    }
  } catch (const std::exception& e) {
    std::cerr << "zorvel_bench: " << e.what() << "\n";
    return 1;
  }
  const std::string fullLog = readFile(folder / "体重.txt");
  // The log without its last day, so that one entry is accepted and its recompute runs on 730 days.
  const std::string shortLog = fullLog.substr(0, fullLog.rfind("\r\n", fullLog.size() - 3) + 2);

  const std::string dayAfter = "clock 2026/12/07 09:00:00\n";
  const std::string lastDay = "clock 2026/12/06 09:00:00\n";
  std::cout << runs << " runs each, milliseconds\n"
            << std::left << std::setw(44) << "case" << std::right << std::setw(10) << "min" << std::setw(10) << "median"
            << std::setw(10) << "mean"
            << "\n";
  const Timing start = measure(folder, dayAfter + "start\n", fullLog, runs);
  report("start-up", start);
  report("start-up + dump of every control", measure(folder, dayAfter + "start\ndump\n", fullLog, runs));
  const Timing before = measure(folder, lastDay + "start\n", shortLog, runs);
  const Timing entry =
      measure(folder, lastDay + "start\nsettext txtInpTaijyu 80.5\nenter txtInpTaijyu\n", shortLog, runs);
  report("start-up (729 weights)", before);
  report("start-up (729 weights) + weight entry", entry);
  std::cout << "weight entry and its recompute, by the medians: " << std::fixed << std::setprecision(1)
            << entry.median - before.median << " ms\n";

  std::error_code ec;
  fs::remove_all(base, ec);
  return 0;
}
