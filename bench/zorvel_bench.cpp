// Times the diary's core on a folder at the design limits, in this process, and prints the
// ratios the speed goals are stated in. The machine is noisy, so every ratio is taken between
// medians measured in the same run, with the cases interleaved run by run.
//   zorvel_bench [RUNS]      (default 10 runs of each case)
// To add a case, add a row to `cases` (and, for a goal, a row to `ratios`) in main().
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iomanip>
#include <iostream>
#include <map>
#include <numeric>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "analysis/ranking.h"
#include "backup/backup.h"
#include "calendar/lazy_calendar.h"
#include "diary/calorie_items.h"
#include "drive/driver.h"
#include "entry_case.h"
#include "limits_data.h"
#include "memo/memo.h"
#include "nutrition/nutrition.h"
#include "profile/profile.h"
#include "records/body_fat.h"
#include "records/intraday.h"
#include "records/steps.h"
#include "records/weight_log.h"
#include "store/cp932.h"
#include "store/files.h"
#include "store/numbers.h"
#include "store/record.h"
#include "training/training.h"

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

double processorMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

long minorFaults() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_minflt;
}

// The processor time of the last timed() call, every thread of this process together, and its
// minor page faults: memory the C library had given back and the run touched again, processor
// time that no instruction count shows.
double lastProcessorMs = 0;
long lastFaults = 0;

// Every timed run starts from the same state of the processor's caches: a buffer eight times
// the size of this machine's second-level cache is swept first, untimed. Otherwise a case gains
// from the one before it: the floor, run right after start-up, found the same files' bytes in the
// cache.
void sweepCaches() {
  static std::vector<unsigned char> junk(8 << 20);
  static unsigned char fill = 0;
  std::memset(junk.data(), ++fill, junk.size());
  asm volatile("" : : "r"(junk.data()) : "memory");
}

// Wall time of f(), milliseconds; its processor time and faults go to lastProcessorMs and lastFaults.
template <class F>
double timed(F&& f) {
  sweepCaches();
  const long f0 = minorFaults();
  const double c0 = processorMs();
  const auto t0 = std::chrono::steady_clock::now();
  f();
  const auto t1 = std::chrono::steady_clock::now();
  lastProcessorMs = processorMs() - c0;
  lastFaults = minorFaults() - f0;
  return std::chrono::duration<double, std::milli>(t1 - t0).count();
}

// One run of a driver script on `folder`.
double runScript(const fs::path& folder, const std::string& script) {
  std::istringstream in(script);
  std::ostringstream out, err;
  int status = 0;
  const double ms = timed([&] { status = drive::runScript(folder.string(), in, out, err); });
  if (status != 0) {
    std::cerr << "zorvel_bench: the driver ended with status " << status << "\n" << err.str() << out.str() << "\n";
    std::exit(1);
  }
  return ms;
}

// The files the driver's start-up reads (the rest of the folder is only copied by the daily
// backup, which the warm-up run makes).
const char* const kStartupFiles[] = {
    "ﾌﾟﾗｲﾍﾞｰﾄ.txt",   "体重.txt",    "連続体重.txt", "体脂肪率.txt", "歩数.txt",    "ﾘｽﾄ題目.txt", "筋トレ題目.txt",
    "2026年12月.txt", "栄養.txt",    "ﾘｽﾄ1.txt",     "ﾘｽﾄ2.txt",     "ﾘｽﾄ3.txt",    "ﾘｽﾄ4.txt",    "筋トレ1.txt",
    "筋トレ2.txt",    "筋トレ3.txt", "筋トレ4.txt",  "筋トレ5.txt",  "筋トレ6.txt", "ｶﾛﾘｰ.txt",    "設定.txt"};

// The floor: what start-up cannot do without, once over every start-up file. Read it, check
// that it is CP932, split it into fields and parse the number fields; texts stay undecoded bytes
// and no field is copied.
double floorLoop(const fs::path& folder) {
  size_t fields = 0;
  double sum = 0;
  const double ms = timed([&] {
    for (const char* name : kStartupFiles) {
      const std::string bytes = store::readFileBytes((folder / name).string());
      size_t lineEnds = 0;
      if (store::checkCp932(bytes, lineEnds)) std::exit(1);
      const char* p = bytes.data();
      const char* const end = p + bytes.size();
      while (p < end) {
        if (*p == '"') {
          const void* close = std::memchr(p + 1, '"', static_cast<size_t>(end - p - 1));
          p = close ? static_cast<const char*>(close) + 1 : end;
        } else {
          double v = 0;
          const char* after = store::scanPlainDecimal(p, end, v);
          sum += v;
          p = after;
        }
        while (p < end && *p != ',' && *p != '\r' && *p != '\n') ++p;
        ++fields;
        while (p < end && (*p == ',' || *p == '\r' || *p == '\n')) ++p;
      }
    }
  });
  if (fields == 0 || sum == -1) std::exit(1);  // keeps the loop from being optimised away
  return ms;
}

// Start-up's own readers of the same files and nothing else: the records and the checked bytes
// start-up keeps, without the form, the figures, the lock, the journal or the backup. Between the
// floor and start-up, it shows how much of start-up's lead is the reading and how much the rest.
double readersAlone(const fs::path& folder) {
  const fs::path before = fs::current_path();
  fs::current_path(folder);  // the readers take the names as start-up does, in the data folder
  size_t kept = 0;
  const double ms = timed([&] {
    const profile::Profile profile = profile::ReadProfileFile();
    records::WeightSeries weights;
    records::LoadWeightLog(weights);
    const records::IntradaySeries intraday = records::ReadIntradayWeightLog();
    const records::BodyFatSeries fat = records::ReadBodyFatLog();
    const records::StepSeries steps = records::ReadStepLog();
    const auto memoTitles = memo::readTitles();
    const auto trainingTitles = training::readTitles();
    const auto month = calendar::readMonth("2026年12月.txt");
    std::vector<std::shared_ptr<const std::string>> bytes;
    {
      store::RecordReader r(nutrition::kNutritionFile, store::kDailyLogLimit);
      kept += nutrition::readTicks(r).size();
      bytes.push_back(r.bytes());
    }
    for (int i = 1; i <= memo::kListCount; ++i) {
      store::RecordReader r(memo::listFileName(i), store::kBusyLogLimit);
      kept += static_cast<size_t>(memo::countNotes(r));
      bytes.push_back(r.bytes());
    }
    for (int i = 1; i <= training::kExerciseCount; ++i) {
      store::RecordReader r(training::logFileName(i), store::kBusyLogLimit);
      kept += static_cast<size_t>(training::summariseLog(r).entries);
      bytes.push_back(r.bytes());
    }
    const diary::CheckedItems items = diary::checkCalorieItems();
    const std::string settings = store::readFileBytes("設定.txt");
    kept += static_cast<size_t>(weights.WeightCount + intraday.IntradayCount + fat.FatCount + steps.StepCount) +
            memoTitles.size() + trainingTitles.size() + bytes.size() + settings.size() + month.marks.size() +
            (profile.ProfileHeight > 0) + (items.bytes != nullptr);
  });
  fs::current_path(before);
  if (kept == 0) std::exit(1);
  return ms;
}

// The weights of the limits folder's log, and as many spread over 30.0-999.9 kg.
std::vector<float> limitsWeights(const fs::path& folder) {
  std::vector<float> kg;
  store::RecordReader r((folder / "体重.txt").string());
  while (!r.atEnd()) {
    r.skipField();
    kg.push_back(r.readSingle());
  }
  return kg;
}

// Weights typed anywhere from 30.0 to 999.9 kg, as a hand-edited or mistyped log may hold them.
std::vector<std::string> wideWeightTexts(size_t n) {
  std::mt19937 rng(999);
  std::uniform_int_distribution<int> tenths(300, 9999);
  std::vector<std::string> kg;
  for (size_t i = 0; i < n; ++i) {
    const int t = tenths(rng);
    kg.push_back(std::to_string(t / 10) + "." + std::to_string(t % 10));
  }
  return kg;
}

// The weight log `log` with its weights replaced by `kg`, one a line, dates kept.
std::string withWeights(const std::string& log, const std::vector<std::string>& kg) {
  std::string out;
  size_t line = 0;
  for (size_t pos = 0; pos < log.size() && line < kg.size(); ++line) {
    const size_t end = log.find("\r\n", pos);
    const size_t comma = log.find(',', pos);
    out += log.substr(pos, comma + 1 - pos) + kg[line] + "\r\n";
    pos = end + 2;
  }
  return out;
}

// The analysis page's ranking at 0.5 kg and at 1.0 kg, as the page builds it.
double ranking(const std::vector<float>& kg) {
  size_t rows = 0;
  const double ms = timed([&] {
    const auto [lo, hi] = std::minmax_element(kg.begin(), kg.end());
    for (float step : {0.5f, 1.0f}) {
      auto bands = analysis::makeBands(*lo, *hi, step);
      analysis::countAndRank(bands, kg, static_cast<int>(kg.size()), step);
      rows += analysis::rankingRows(bands, step).size();
    }
  });
  if (rows == 0) std::exit(1);
  return ms;
}

// Another process keeping every core busy while it lives.
class Busy {
 public:
  Busy() {
    const long cores = std::max(1L, sysconf(_SC_NPROCESSORS_ONLN));
    for (long i = 0; i < cores; ++i) {
      const pid_t pid = fork();
      if (pid == 0) {
        for (unsigned long n = 0;; ++n) asm volatile("" : "+r"(n));
      }
      if (pid > 0) children_.push_back(pid);
    }
  }
  ~Busy() {
    for (pid_t pid : children_) kill(pid, SIGKILL);
    for (pid_t pid : children_) waitpid(pid, nullptr, 0);
  }
  Busy(const Busy&) = delete;
  Busy& operator=(const Busy&) = delete;

 private:
  std::vector<pid_t> children_;
};

struct Case {
  std::string name;
  std::function<double()> run;  // one timed run, milliseconds
};

struct Ratio {
  std::string name, numerator, denominator;
  double goal;  // at most this; 0 for none
};

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  const fs::path base = fs::temp_directory_path() / ("zorvel-bench-" + std::to_string(::getpid()));
  const fs::path limits = base / "limits", sample = base / "sample", wide = base / "wide", years = base / "years";
  try {
    std::cout << "Writing a diary at the design limits to " << limits << " ...\n";
    {
      diarygen::InFolder in(limits.string());
      diarygen::writeLimitsData();
    }
    fs::copy(ZORVEL_SAMPLE_DIR, sample, fs::copy_options::recursive);
    fs::copy(limits, wide, fs::copy_options::recursive);
    diarygen::InFolder in(years.string());
    diarygen::writeLimitsData();
    diarygen::writeTwentyYearWeights();
  } catch (const std::exception& e) {
    std::cerr << "zorvel_bench: " << e.what() << "\n";
    return 1;
  }
  const std::string fullLog = readFile(limits / "体重.txt");
  // The log without its last day, so that one entry is accepted and its recompute runs on 730 days.
  const std::string shortLog = fullLog.substr(0, fullLog.rfind("\r\n", fullLog.size() - 3) + 2);
  const std::string yearsLog = readFile(years / "体重.txt");
  const std::string yearsShortLog = yearsLog.substr(0, yearsLog.rfind("\r\n", yearsLog.size() - 3) + 2);
  const std::vector<float> ordinaryKg = limitsWeights(limits);
  writeFile(wide / "体重.txt", withWeights(fullLog, wideWeightTexts(ordinaryKg.size())));
  const std::vector<float> wideKg = limitsWeights(wide);

  const std::string dayAfter = "clock 2026/12/07 09:00:00\n";
  const std::string lastDay = "clock 2026/12/06 09:00:00\n";
  // A case runs on the weight log `log`; one that changes the log puts the folder's own back after
  // its run. A file written just before a run slows the run (by a tenth of a millisecond on this
  // machine), so only a case that needs another log pays for the write.
  auto onLog = [](const fs::path& folder, const std::string& own, const std::string& log, const std::string& script) {
    return [folder, &own, log, script] {
      const fs::path file = folder / "体重.txt";
      if (readFile(file) != log) writeFile(file, log);
      const double ms = runScript(folder, script);
      if (readFile(file) != own) writeFile(file, own);
      return ms;
    };
  };
  auto onLimits = [&](const std::string& log, const std::string& script) {
    return onLog(limits, fullLog, log, script);
  };
  auto onYears = [&](const std::string& log, const std::string& script) { return onLog(years, yearsLog, log, script); };

  const std::vector<Case> cases = {
      {"start-up, sample folder", [&] { return runScript(sample, dayAfter + "start\n"); }},
      {"start-up, limits folder", onLimits(fullLog, dayAfter + "start\n")},
      {"floor: read, check, split, parse", [&] { return floorLoop(limits); }},
      {"start-up's readers alone, limits folder", [&] { return readersAlone(limits); }},
      {"start-up + dump of every control", onLimits(fullLog, dayAfter + "start\ndump\n")},
      {"start-up (729 weights)", onLimits(shortLog, lastDay + "start\n")},
      {"start-up (729 weights) + weight entry",
       onLimits(shortLog, lastDay + "start\nsettext txtInpTaijyu 75.5\nenter txtInpTaijyu\n")},
      {"start-up, limits folder, weights 30-999 kg", [&] { return runScript(wide, dayAfter + "start\n"); }},
      {"start-up, 20 years of weights", onYears(yearsLog, dayAfter + "start\n")},
      {"start-up (20 years less a day)", onYears(yearsShortLog, lastDay + "start\n")},
      {"start-up (20 years less a day) + weight entry",
       onYears(yearsShortLog, lastDay + "start\nsettext txtInpTaijyu 68.5\nenter txtInpTaijyu\n")},
      {"ranking, limits weights", [&] { return ranking(ordinaryKg); }},
      {"ranking, 30-999 kg weights", [&] { return ranking(wideKg); }},
  };
  const std::vector<Ratio> ratios = {
      {"start-up, limits vs sample", "start-up, limits folder", "start-up, sample folder", 2.0},
      {"start-up, limits vs floor", "start-up, limits folder", "floor: read, check, split, parse", 1.25},
      {"  readers alone vs floor", "start-up's readers alone, limits folder", "floor: read, check, split, parse", 0},
      {"  start-up vs its readers alone", "start-up, limits folder", "start-up's readers alone, limits folder", 0},
      {"start-up, limits with weights 30-999 kg vs limits", "start-up, limits folder, weights 30-999 kg",
       "start-up, limits folder", 2.0},
      {"ranking alone, 30-999 kg vs limits weights", "ranking, 30-999 kg weights", "ranking, limits weights", 0},
      {"start-up, 20 years vs limits (10x the weights)", "start-up, 20 years of weights", "start-up, limits folder",
       10.0},
  };

  for (const Case& c : cases) c.run();  // warm the file cache; the first start-up makes the day's backup
  std::map<std::string, std::vector<double>> ms, cpu, faults;
  for (int i = 0; i < runs; ++i)
    for (const Case& c : cases) {
      ms[c.name].push_back(c.run());
      cpu[c.name].push_back(lastProcessorMs);
      faults[c.name].push_back(static_cast<double>(lastFaults));
    }

  std::cout << runs << " runs each, milliseconds (processor: every thread of the process)\n"
            << std::left << std::setw(48) << "case" << std::right << std::setw(10) << "wall min" << std::setw(10)
            << "median" << std::setw(10) << "mean" << std::setw(12) << "processor" << std::setw(8) << "faults"
            << "\n";
  std::map<std::string, Timing> t, p;
  for (const Case& c : cases) {
    t[c.name] = summarise(ms[c.name]);
    p[c.name] = summarise(cpu[c.name]);
    std::cout << std::left << std::setw(48) << c.name << std::right << std::fixed << std::setprecision(2)
              << std::setw(10) << t[c.name].min << std::setw(10) << t[c.name].median << std::setw(10) << t[c.name].mean
              << std::setw(12) << p[c.name].median << std::setw(8) << std::setprecision(0)
              << summarise(faults[c.name]).median << "\n";
  }
  std::cout << "\nratios of the medians" << std::right << std::setw(33) << "wall" << std::setw(11) << "processor"
            << "   (goals by processor time)\n";
  for (const Ratio& r : ratios) {
    const double x = t[r.numerator].median / t[r.denominator].median;
    const double y = p[r.numerator].median / p[r.denominator].median;
    std::cout << std::left << std::setw(48) << r.name << std::right << std::fixed << std::setprecision(2)
              << std::setw(5) << x << "x" << std::setw(10) << y << "x";
    if (r.goal > 0) std::cout << "   goal <= " << r.goal << "x" << (y <= r.goal ? "  met" : "  NOT met");
    std::cout << "\n";
  }

  // Start-up again while another process keeps both cores busy: a start-up that waits on a
  // second thread shows here as wall time far beyond its processor time. Each run follows a
  // pause, as a program started by hand does: a process that never sleeps only measures its
  // share of the cores.
  {
    Busy busy;
    std::vector<double> wall, proc;
    const auto startUp = onLimits(fullLog, dayAfter + "start\n");
    for (int i = 0; i < 3 * runs; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      wall.push_back(startUp());
      proc.push_back(lastProcessorMs);
    }
    std::sort(wall.begin(), wall.end());
    const double p75 = wall[wall.size() * 3 / 4], procMedian = summarise(proc).median;
    std::cout << "\nstart-up, limits folder, both cores busy, " << wall.size()
              << " runs: wall 25th/50th/75th percentile " << wall[wall.size() / 4] << " / " << wall[wall.size() / 2]
              << " / " << p75 << " ms, processor median " << procMedian << " ms\n"
              << std::left << std::setw(48) << "wall 75th percentile vs processor" << std::right << std::setw(5)
              << p75 / procMedian << "x   goal <= 1.3x" << (p75 / procMedian <= 1.3 ? "  met" : "  NOT met") << "\n";
  }

  // The first start of a day copies the whole folder into the day's backup. Timed on its own,
  // after the rest: its writes would leave the cases run after it a cold cache.
  {
    std::vector<double> wall, proc;
    const fs::path made = base / "backups made";
    fs::create_directory(made);
    for (int i = 0; i < runs; ++i) {
      // As every morning, the day has no backup yet. It is moved away, not removed: on some file
      // systems, files removed a moment ago slow the making of the next ones, which no morning meets.
      fs::rename(limits / backup::kBackupFolder / "2026-12-07", made / std::to_string(i));
      wall.push_back(onLimits(fullLog, dayAfter + "start\n")());
      proc.push_back(lastProcessorMs);
    }
    const Timing w = summarise(wall), c = summarise(proc);
    std::cout << "\nfirst start of a day, limits folder (makes the day's backup), " << runs << " runs: wall median "
              << w.median << " ms (min " << w.min << "), processor median " << c.median << " ms\n"
              << std::left << std::setw(48) << "first start of a day vs any other, limits" << std::right << std::setw(8)
              << w.median / t["start-up, limits folder"].median << "x by the clock, "
              << c.median / p["start-up, limits folder"].median << "x by processor time (no goal)\n";
  }

  std::cout << "\n";
  writeFile(limits / "体重.txt", fullLog);
  const bench::EntryCase limitsEntry = bench::runEntryCase(limits, runs, std::cout);
  // The entry alone on both logs, timed around it: once an entry costs a tenth of a millisecond,
  // the difference of two start-ups' medians is lost in their noise.
  writeFile(years / "体重.txt", yearsLog);
  std::ostringstream unprinted;
  const bench::EntryCase yearsEntryCase = bench::runEntryCase(years, runs, unprinted);
  const double entryRatio = yearsEntryCase.entryCpu / limitsEntry.entryCpu;
  std::cout << std::left << std::setw(48) << "weight entry alone (processor), 20 years vs limits " << std::right
            << std::fixed << std::setprecision(3) << yearsEntryCase.entryCpu << " / " << limitsEntry.entryCpu << " ms "
            << std::setprecision(2) << entryRatio << "x   goal <= 10x" << (entryRatio <= 10 ? "  met" : "  NOT met")
            << "\n";

  std::error_code ec;
  fs::remove_all(base, ec);
  return 0;
}
