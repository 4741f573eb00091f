#include "entry_case.h"

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iomanip>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/frmMain.h"
#include "app/weight_area.h"
#include "store/numbers.h"
#include "store/record.h"

namespace fs = std::filesystem;

namespace bench {
namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0) { return std::chrono::duration<double, std::milli>(Clock::now() - t0).count(); }

// Time this thread spent on the processor: waiting for the disk in a flush is not in it.
double cpuMs() {
  timespec t{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Every box is answered OK (Yes for a question); nothing in the timed steps asks.
class QuietDialogs : public form::Dialogs {
 public:
  form::Answer MsgBox(const std::string&, const std::string&, form::Icon, form::Buttons buttons) override {
    return buttons == form::Buttons::YesNo || buttons == form::Buttons::YesNoCancel ? form::Answer::Yes
                                                                                    : form::Answer::OK;
  }
  std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  void showHelp(const std::string&) override {}
  void closeHelp() override {}
};

// The last day of the diary, so that the entry of that day follows the 729 weights before it.
class LastDayClock : public form::Clock {
 public:
  explicit LastDayClock(store::Date day) : day_(day) {}
  store::DateTime now() const override { return {day_, 9, 0, 0}; }

 private:
  store::Date day_;
};

std::string readBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void writeBytes(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << bytes;
}

class InFolder {
 public:
  explicit InFolder(const fs::path& dir) : old_(fs::current_path()) { fs::current_path(dir); }
  ~InFolder() {
    std::error_code ec;
    fs::current_path(old_, ec);
  }
  InFolder(const InFolder&) = delete;
  InFolder& operator=(const InFolder&) = delete;

 private:
  fs::path old_;
};

struct Run {
  double startup, entry, entryCpu;
};

Run runOnce(store::Date lastDay, const std::string& shortLog, bool appending) {
  writeBytes("体重.txt", shortLog);
  app::SetIncrementalWeightEntry(appending);
  QuietDialogs dialogs;
  LastDayClock clock(lastDay);
  app::frmMain m(dialogs, clock);
  auto t0 = Clock::now();
  m.Form_Load();
  const double startup = msSince(t0);
  if (m.ended()) throw std::runtime_error("the diary did not start");
  const int before = m.Weight.WeightCount;
  // Close to the last weight, so that no question about a typo stops the entry.
  m.SetText("txtInpTaijyu", store::shortestSingle(m.Weight.WeightKg.back() + 0.3f));
  t0 = Clock::now();
  const double cpu0 = cpuMs();
  m.PressEnter("txtInpTaijyu");
  const double entryCpu = cpuMs() - cpu0;
  const double entry = msSince(t0);
  app::SetIncrementalWeightEntry(true);
  if (m.Weight.WeightCount != before + 1) throw std::runtime_error("the entry was not taken");
  return {startup, entry, entryCpu};
}

double appendOnce() {
  const auto t0 = Clock::now();
  store::appendRecords("entry-case-fsync.txt", {store::Record().text("2026/12/06").single(80.5f)});
  return msSince(t0);
}

void line(std::ostream& out, const std::string& name, double ms) {
  out << std::left << std::setw(52) << name << std::right << std::fixed << std::setprecision(3) << std::setw(10) << ms
      << " ms\n";
}

}  // namespace

EntryCase runEntryCase(const fs::path& folder, int runs, std::ostream& out) {
  const fs::path logPath = folder / "体重.txt";
  const std::string fullLog = readBytes(logPath);
  // The log without its last day: the entry of that day is accepted and recomputes 730 days.
  const size_t cut = fullLog.rfind("\r\n", fullLog.size() - 3);
  if (cut == std::string::npos) throw std::runtime_error("no weight log in " + folder.string());
  const std::string shortLog = fullLog.substr(0, cut + 2);
  const std::string lastLine = fullLog.substr(cut + 2);
  const std::optional<store::Date> lastDay = store::parseDate(lastLine.substr(1, 10));
  if (!lastDay) throw std::runtime_error("cannot read the last day of " + logPath.string());

  std::vector<double> startup, entry, wholeEntry, append, entryCpu, wholeEntryCpu;
  {
    InFolder in(folder);
    runOnce(*lastDay, shortLog, true);  // warm the file cache and the daily backup
    for (int i = 0; i < runs; ++i) {
      // Alternated so that both ways meet the same state of the machine.
      const Run a = runOnce(*lastDay, shortLog, true);
      const Run w = runOnce(*lastDay, shortLog, false);
      startup.push_back(a.startup);
      startup.push_back(w.startup);
      entry.push_back(a.entry);
      wholeEntry.push_back(w.entry);
      entryCpu.push_back(a.entryCpu);
      wholeEntryCpu.push_back(w.entryCpu);
      append.push_back(appendOnce());
    }
    std::error_code ec;
    fs::remove("entry-case-fsync.txt", ec);
  }
  writeBytes(logPath, fullLog);

  EntryCase r{median(startup), median(entry),    median(wholeEntry),
              median(append),  median(entryCpu), median(wholeEntryCpu)};
  line(out, "start-up in process (729 weights), median", r.startup);
  line(out, "weight entry, appending its rows, median", r.entry);
  line(out, "weight entry, recomputing everything, median", r.wholeEntry);
  line(out, "one record appended and flushed alone, median", r.appendFsync);
  line(out, "weight entry, appending its rows, processor time", r.entryCpu);
  line(out, "weight entry, recomputing everything, processor time", r.wholeEntryCpu);
  out << std::fixed << std::setprecision(3) << "entry vs start-up: " << r.entry / r.startup
      << " (recomputing everything: " << r.wholeEntry / r.startup << ")\n"
      << "entry beyond its append and flush: " << r.entry - r.appendFsync << " ms by the clock, its processor time "
      << r.entryCpu << " ms (goal: at most 1 ms)\n";
  return r;
}

}  // namespace bench
