// The window benchmark: the diary's window on a fresh limits folder against the bare reference
// window, each started several times in turns on the offscreen platform. Prints the medians of the
// time to the first frame (as each program measures it from main(), and as seen from here from
// the start of the process), both peak memories (the child's ru_maxrss) and the ratios.
//   window_bench [RUNS]
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

struct Run {
  double inProcessMs = 0;  // main() to the first frame, as the program reports it
  double fromExecMs = 0;   // fork to the report, as seen here
  double peakMb = 0;
};

[[noreturn]] void fail(const std::string& what) {
  std::fprintf(stderr, "window_bench: %s\n", what.c_str());
  std::exit(1);
}

// Runs `args` with its output on a pipe; the run is timed up to its "first-frame-ms" line (when
// `timed`), and must end well.
Run runOnce(const std::vector<std::string>& args, bool timed = true) {
  int out[2];
  if (pipe(out) != 0) fail("pipe");
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid < 0) fail("fork");
  if (pid == 0) {
    dup2(out[1], STDOUT_FILENO);
    close(out[0]);
    close(out[1]);
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) dup2(null, STDERR_FILENO);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(out[1]);
  Run run;
  std::string text;
  char buffer[512];
  bool seen = false;
  for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) {
    text.append(buffer, static_cast<size_t>(n));
    const size_t line = text.find("first-frame-ms");
    if (!seen && line != std::string::npos && text.find('\n', line) != std::string::npos) {
      seen = true;
      run.fromExecMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
  }
  close(out[0]);
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) fail("wait4");
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) fail(args[0] + " failed (output: " + text + ")");
  if (!timed) return run;
  const size_t at = text.find("first-frame-ms");
  if (at == std::string::npos) fail(args[0] + " did not report its first frame (output: " + text + ")");
  run.inProcessMs = std::atof(text.c_str() + at + std::strlen("first-frame-ms"));
  run.peakMb = usage.ru_maxrss / 1024.0;
  return run;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Summary {
  double inProcessMs, fromExecMs, peakMb;
};

Summary summarize(const std::vector<Run>& runs) {
  std::vector<double> a, b, c;
  for (const Run& r : runs) a.push_back(r.inProcessMs), b.push_back(r.fromExecMs), c.push_back(r.peakMb);
  return {median(a), median(b), median(c)};
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  setenv("QT_QPA_PLATFORM", "offscreen", 1);

  char pattern[] = "/tmp/zorvel-window-bench-XXXXXX";
  if (!mkdtemp(pattern)) fail("mkdtemp");
  const std::filesystem::path work = pattern;
  const std::string data = (work / "data").string();
  runOnce({ZORVEL_LIMITS_EXE, data}, false);
  if (!std::filesystem::exists(std::filesystem::path(data) / "体重.txt")) fail("the limits folder was not made");

  const std::vector<std::string> program = {ZORVEL_EXE,         "--data", data, "--clock", "2026/12/07 09:00:00",
                                            "--quit-after-show"};
  const std::vector<std::string> bare = {ZORVEL_BARE_EXE};
  // The first start makes the day's backup and fills the file caches; it is not counted.
  runOnce(program);
  runOnce(bare);
  std::vector<Run> windowRuns, bareRuns;
  for (int i = 0; i < runs; ++i) {
    windowRuns.push_back(runOnce(program));
    bareRuns.push_back(runOnce(bare));
  }
  std::filesystem::remove_all(work);

  const Summary w = summarize(windowRuns), b = summarize(bareRuns);
  std::printf("window start-up to the first frame, limits folder, offscreen, medians of %d runs\n", runs);
  std::printf("%-28s %12s %12s %10s\n", "", "from main ms", "from exec ms", "peak MB");
  std::printf("%-28s %12.1f %12.1f %10.1f\n", "zorvel (limits folder)", w.inProcessMs, w.fromExecMs, w.peakMb);
  std::printf("%-28s %12.1f %12.1f %10.1f\n", "bare window (chart, table)", b.inProcessMs, b.fromExecMs, b.peakMb);
  std::printf("%-28s %11.2fx %11.2fx %9.2fx\n", "ratio", w.inProcessMs / b.inProcessMs, w.fromExecMs / b.fromExecMs,
              w.peakMb / b.peakMb);
  std::printf("goals: time ratio (from exec) <= 2x, peak memory ratio <= 1.4x\n");
  return 0;
}
