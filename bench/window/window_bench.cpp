// The window benchmark: the diary's window on a fresh limits folder against the bare reference
// window, each started several times in turns on the offscreen platform. Prints the medians of the
// time to the first frame (as each program measures it from main(), and as seen from here from
// the start of the process), the processor time each used, both peak memories (the child's
// ru_maxrss) and the ratios; with --xvfb on a display of its own Xvfb instead, where the window
// system's round trips count too, and the median of the ratios of each pair of runs. For comparison
// it also starts the bare window at the diary's own size.
//   window_bench [RUNS] [--xvfb]
#include <fcntl.h>
#include <signal.h>
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
  double processorMs = 0;  // the child's user and system time
  std::string frameSize;   // "WxH", the window's size at its first frame
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
  const std::string sizeKey = "first-frame-size ";
  if (const size_t size = text.find(sizeKey); size != std::string::npos) {
    const size_t from = size + sizeKey.size();
    run.frameSize = text.substr(from, text.find('\n', from) - from);
  }
  run.peakMb = usage.ru_maxrss / 1024.0;
  run.processorMs =
      (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
  return run;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Summary {
  double inProcessMs, fromExecMs, peakMb, processorMs;
};

Summary summarize(const std::vector<Run>& runs) {
  std::vector<double> a, b, c, d;
  for (const Run& r : runs)
    a.push_back(r.inProcessMs), b.push_back(r.fromExecMs), c.push_back(r.peakMb), d.push_back(r.processorMs);
  return {median(a), median(b), median(c), median(d)};
}

// An Xvfb of its own on a free display (told by -displayfd), DISPLAY set to it; its pid.
pid_t startXvfb() {
  int fds[2];
  if (pipe(fds) != 0) fail("pipe");
  const pid_t pid = fork();
  if (pid < 0) fail("fork");
  if (pid == 0) {
    close(fds[0]);
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) dup2(null, STDERR_FILENO);
    const std::string fd = std::to_string(fds[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1920x1200x24", "-nolisten", "tcp",
           static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  std::string number;
  char c;
  while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  close(fds[0]);
  if (number.empty()) fail("Xvfb did not start (is it installed?)");
  setenv("DISPLAY", (":" + number).c_str(), 1);
  return pid;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 7;
  bool xvfb = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--xvfb") == 0)
      xvfb = true;
    else
      runs = std::max(1, std::atoi(argv[i]));
  }
  const pid_t server = xvfb ? startXvfb() : 0;
  setenv("QT_QPA_PLATFORM", xvfb ? "xcb" : "offscreen", 1);

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
  const std::string frameSize = runOnce(program).frameSize;
  if (frameSize.empty()) fail("the diary did not report its window's size");
  runOnce(bare);
  // The goal's reference stays the bare window at 800x600; the same window at the diary's own size
  // shows how much of the difference is the larger frame's pixels alone.
  const std::vector<std::string> bareSized = {ZORVEL_BARE_EXE, frameSize};
  runOnce(bareSized);
  std::vector<Run> windowRuns, bareRuns, bareSizedRuns;
  for (int i = 0; i < runs; ++i) {
    windowRuns.push_back(runOnce(program));
    bareRuns.push_back(runOnce(bare));
    bareSizedRuns.push_back(runOnce(bareSized));
  }
  std::filesystem::remove_all(work);
  if (server) {
    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);
  }

  const Summary w = summarize(windowRuns);
  auto row = [](const char* name, const Summary& r) {
    std::printf("%-28s %12.1f %12.1f %12.1f %10.1f\n", name, r.inProcessMs, r.fromExecMs, r.processorMs, r.peakMb);
  };
  // The diary against one reference: the ratios of the medians, then the median of the paired ratios.
  auto against = [&](const char* name, const std::vector<Run>& reference) {
    const Summary r = summarize(reference);
    std::vector<double> paired;
    for (int i = 0; i < runs; ++i) paired.push_back(windowRuns[i].fromExecMs / reference[i].fromExecMs);
    std::printf("%-28s %11.2fx %11.2fx %11.2fx %9.2fx\n", name, w.inProcessMs / r.inProcessMs,
                w.fromExecMs / r.fromExecMs, w.processorMs / r.processorMs, w.peakMb / r.peakMb);
    std::printf("median of the paired ratios (from exec): %.2fx\n", median(paired));
  };
  std::printf("window start-up to the first frame, limits folder, %s, medians of %d runs\n",
              xvfb ? "Xvfb" : "offscreen", runs);
  std::printf("%-28s %12s %12s %12s %10s\n", "", "from main ms", "from exec ms", "processor ms", "peak MB");
  row("zorvel (limits folder)", w);
  row("bare window (chart, table)", summarize(bareRuns));
  against("ratio", bareRuns);
  std::printf("goals: time ratio (from exec) <= %s, peak memory ratio <= 1.4x\n", xvfb ? "1.10x" : "2x");
  std::printf("\nfor comparison, no goal: the bare window at the diary's size, %s\n", frameSize.c_str());
  row("bare window, diary's size", summarize(bareSizedRuns));
  against("zorvel vs it", bareSizedRuns);
  return 0;
}
