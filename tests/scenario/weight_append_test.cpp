// A weight appended by the entry updates the tables and the chart by its own row. Whatever the
// diary and whatever happens in between, every dump must be what recomputing everything gives,
// and what a new start-up on the same files shows.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/frmMain.h"
#include "app/weight_area.h"
#include "drive/driver.h"
#include "records/weight_entry.h"
#include "scenario/weight_diary.h"
#include "store/dates.h"
#include "store/record.h"
#include "support/drive.h"
#include "support/temp_folder.h"

using testing_support::DriveResult;
using testing_support::runDriveInProcess;
using testing_support::TempFolder;

namespace {

// One run of the driver in this process, its dumps kept as the lines it printed: comparing the
// texts is what makes many full dumps affordable.
struct RawRun {
  int exitCode = 0;
  std::vector<std::string> dumps;
  std::string stderrText;
};

RawRun runRaw(const std::string& folder, const std::string& script, bool appending) {
  char old[4096];
  if (!::getcwd(old, sizeof old)) throw std::runtime_error("getcwd failed");
  std::istringstream in(script);
  std::ostringstream out, err;
  RawRun r;
  app::SetIncrementalWeightEntry(appending);
  r.exitCode = drive::runScript(folder, in, out, err);
  app::SetIncrementalWeightEntry(true);
  if (::chdir(old) != 0) throw std::runtime_error("chdir back failed");
  std::istringstream lines(out.str());
  std::string line;
  while (std::getline(lines, line)) {
    if (line.empty()) continue;
    // The runs differ in their folders alone.
    for (size_t at = line.find(folder); at != std::string::npos; at = line.find(folder, at))
      line.replace(at, folder.size(), "FOLDER");
    r.dumps.push_back(line);
  }
  r.stderrText = err.str();
  return r;
}

class OkDialogs : public form::Dialogs {
 public:
  form::Answer MsgBox(const std::string&, const std::string&, form::Icon, form::Buttons) override {
    return form::Answer::OK;
  }
  std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  void showHelp(const std::string&) override {}
  void closeHelp() override {}
};

class FixedClock : public form::Clock {
 public:
  store::DateTime now() const override { return {store::makeDate(2004, 6, 1), 9, 0, 0}; }
};

// "65.0" for 650.
std::string tenths(int t) { return std::to_string(t / 10) + "." + std::to_string(t % 10); }

// A random diary and a random story on it: entries on the next day (most of them), entries
// after a gap (filled or refused), new lows and highs, weights with more decimals than a tenth,
// same-day refusals, corrections, deleting the last day, taking an entry back, switching the
// tables' options and the chart's views, and changing the target in the profile.
struct Story {
  std::string diaryWeights;  // 体重.txt
  std::string target = "60", period = "100";
  std::string script;
  std::string finalOptions;  // the option clicks to show the same tables on a new start
  int steps = 0;
};

Story makeStory(unsigned seed, int initialRecords, int events, bool entriesOnly) {
  std::mt19937 rng(seed);
  auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  Story s;
  s.target = std::to_string(pick(50, 75));
  s.period = std::to_string(pick(5, 90));
  store::Date last = store::makeDate(2020, 1, 1) + std::chrono::days(pick(0, 900));
  std::vector<int> kg;  // tenths
  int weight = pick(600, 950);
  for (int i = 0; i < initialRecords; ++i) {
    weight = std::clamp(weight + pick(-7, 6), 300, 1500);
    kg.push_back(weight);
  }
  const store::Date first = last - std::chrono::days(std::max(0, initialRecords - 1));
  for (int i = 0; i < initialRecords; ++i)
    s.diaryWeights +=
        "\"" + store::formatDate(first + std::chrono::days(i)) + "\"," + tenths(kg[static_cast<size_t>(i)]) + "\r\n";
  if (initialRecords == 0) last = last - std::chrono::days(1);

  const store::Date today = last + std::chrono::days(3 * events + 30);
  s.script = "clock " + store::formatDate(today) + " 08:00:00\nstart\ndump\n";
  int count = initialRecords;
  int option1 = 0, option2 = 1;
  auto entryText = [&](int tenthsValue) {
    // Now and then a weight with more decimals than the log keeps, or one between the bands.
    switch (pick(0, 9)) {
      case 0: return tenths(tenthsValue) + "4";  // x.x4: between two half-kilogram bands
      case 1: return tenths(tenthsValue) + "123456";
      case 2: return tenths(tenthsValue) + "9";
      default: return tenths(tenthsValue);
    }
  };
  auto enter = [&](store::Date day, const std::string& text) {
    s.script +=
        "settext txtDate " + store::formatDate(day) + "\nsettext txtInpTaijyu " + text + "\nenter txtInpTaijyu\n";
  };
  // A weight far from the one before it is asked about first: the story says Yes.
  auto confirmed = [&](int beforeTenths, const std::string& text) {
    const float typed = static_cast<float>(std::stod(text)), before = static_cast<float>(beforeTenths / 10.0);
    if (records::UnlikelyWeight(before, typed)) s.script += "answer Yes\n";
  };
  auto nextWeight = [&]() {
    const int lo = kg.empty() ? 700 : *std::min_element(kg.begin(), kg.end());
    const int hi = kg.empty() ? 700 : *std::max_element(kg.begin(), kg.end());
    const int r = pick(0, 9);
    if (r == 0) return std::max(10, lo - pick(1, 15));    // a new low
    if (r == 1) return std::min(9999, hi + pick(1, 20));  // a new high
    if (r == 2) return lo;                                // as low as the lowest
    return std::clamp((kg.empty() ? 700 : kg.back()) + pick(-8, 6), 10, 9999);
  };
  for (int e = 0; e < events; ++e) {
    const int r = pick(0, 99);
    if (r < 55 || count < 2 || entriesOnly) {
      const int w = nextWeight();
      last = last + std::chrono::days(1);
      const std::string text = entryText(w);
      if (count > 0) confirmed(kg.back(), text);
      enter(last, text);
      kg.push_back(w);
      ++count;
    } else if (r < 63) {
      const int gap = pick(2, 4);
      const bool fill = pick(0, 1) == 1;
      const int w = nextWeight();
      confirmed(kg.back(), tenths(w));
      s.script += fill ? "answer Yes\n" : "answer No\n";
      enter(last + std::chrono::days(gap), tenths(w));
      if (fill) {
        for (int i = 1; i < gap; ++i) kg.push_back(kg.back());
        kg.push_back(w);
        count += gap;
        last = last + std::chrono::days(gap);
      }
    } else if (r < 68) {
      // An entry taken back at once: the next one appends to what the reload built.
      const int w = nextWeight();
      confirmed(kg.back(), tenths(w));
      enter(last + std::chrono::days(1), tenths(w));
      s.script += "answer Yes\nkey cmdMain Ctrl+Z\n";
    } else if (r < 72) {
      const int row = pick(1, count);
      const int w = std::clamp(kg[static_cast<size_t>(row - 1)] + pick(-20, 20), 10, 9999);
      s.script += "input " + tenths(w) + "\n";
      if (row > 1) confirmed(kg[static_cast<size_t>(row - 2)], tenths(w));
      s.script += "menu msgB1 " + std::to_string(row) + " 修正\n";
      kg[static_cast<size_t>(row - 1)] = w;
    } else if (r < 75 && count > 2) {
      s.script += "answer OK\nmenu msgB1 " + std::to_string(count) + " 削除\n";
      kg.pop_back();
      --count;
      last = last - std::chrono::days(1);
    } else if (r < 81) {
      const bool first = pick(0, 1) == 1;
      int& option = first ? option1 : option2;
      option = pick(0, 1);
      s.script += std::string("click ") + (first ? "Option1(" : "Option2(") + std::to_string(option) + ")\n";
    } else if (r < 86) {
      static const char* const views[] = {"Check3", "Check4", "Check5", "Check6", "Check7"};
      s.script += std::string("check ") + views[pick(0, 4)] + " " + std::to_string(pick(0, 1)) + "\n";
    } else if (r < 90) {
      s.script += "settext txtPriData(2) " + std::to_string(pick(50, 75)) + "\nsettext txtPriData(3) " +
                  std::to_string(pick(5, 90)) + "\nclick cmdPHozon1\n";
    } else {
      enter(last, tenths(nextWeight()));  // the same day again: refused
    }
    s.script += "dump\n";
    ++s.steps;
  }
  s.finalOptions = "click Option1(" + std::to_string(option1) + ")\nclick Option2(" + std::to_string(option2) + ")\n";
  return s;
}

void writeStoryDiary(const TempFolder& dir, const Story& s) {
  weight_diary::writeDiary(dir, "165", s.target, s.period);
  dir.writeCp932("体重.txt", s.diaryWeights);
}

// Where two dumps differ, for the failure message.
std::string difference(const nlohmann::json& a, const nlohmann::json& b) {
  std::string out = nlohmann::json::diff(b, a).dump();
  return out.size() > 2000 ? out.substr(0, 2000) + "…" : out;
}

void expectSameRuns(unsigned seed, int initialRecords, int events, bool entriesOnly = false) {
  SCOPED_TRACE("seed " + std::to_string(seed) + ", " + std::to_string(initialRecords) + " records");
  const Story story = makeStory(seed, initialRecords, events, entriesOnly);
  TempFolder appending, recomputing;
  writeStoryDiary(appending, story);
  writeStoryDiary(recomputing, story);
  const RawRun a = runRaw(appending.path(), story.script, true);
  const RawRun w = runRaw(recomputing.path(), story.script, false);
  ASSERT_EQ(a.exitCode, 0) << a.stderrText << (a.dumps.empty() ? "" : a.dumps.back()) << "\n" << story.script;
  ASSERT_EQ(w.exitCode, 0) << w.stderrText;
  ASSERT_EQ(a.dumps.size(), static_cast<size_t>(story.steps) + 1);
  ASSERT_EQ(a.dumps.size(), w.dumps.size());
  for (size_t i = 0; i < a.dumps.size(); ++i)
    ASSERT_TRUE(a.dumps[i] == w.dumps[i])
        << "dump " << i
        << " differs: " << difference(nlohmann::json::parse(a.dumps[i]), nlohmann::json::parse(w.dumps[i]));
  EXPECT_EQ(appending.readBytes("体重.txt"), recomputing.readBytes("体重.txt"));

  // A new start-up on the files the appending run left shows the same tables, chart data and series.
  const nlohmann::json last = nlohmann::json::parse(a.dumps.back());
  const DriveResult fresh = runDriveInProcess(
      appending.path(), "clock " + last["state"]["ReferenceDate"].get<std::string>() + " 08:00:00\nstart\n" +
                            story.finalOptions + "dump msgB1 msgB2 msgB3 msgB4 MSChart1 Label5(0) Label5(1)\n");
  ASSERT_EQ(fresh.exitCode, 0) << fresh.stderrText;
  const auto& started = fresh.last();
  for (const char* grid : {"msgB1", "msgB2", "msgB3", "msgB4"})
    EXPECT_EQ(started["controls"][grid]["cells"], last["controls"][grid]["cells"]) << grid;
  EXPECT_EQ(started["controls"]["MSChart1"]["data"], last["controls"]["MSChart1"]["data"]);
  for (const char* label : {"Label5(0)", "Label5(1)"})
    EXPECT_EQ(started["controls"][label]["caption"], last["controls"][label]["caption"]) << label;
  for (const char* key : {"WeightCount", "WeightDate", "WeightKg", "MinWeight", "MinWeightDate", "MaxWeight",
                          "AverageWeight", "MaxAverageWeight", "MinAverageWeight", "WeightTrend"})
    EXPECT_EQ(started["state"][key], last["state"][key]) << key;
}

}  // namespace

TEST(WeightAppend, RandomStoriesGiveWhatRecomputingEverythingGives) {
  const int initial[] = {0, 1, 2, 9, 40, 120};
  for (unsigned seed = 1; seed <= 6; ++seed) expectSameRuns(seed, initial[seed - 1], 25);
}

TEST(WeightAppend, AStoryOfEntriesOnlyOnALongDiary) {
  // Plain next-day entries on a diary long enough for every table: the common case.
  expectSameRuns(21, 300, 20, true);
}

TEST(WeightAppend, TheAppendingWayIsTakenOnlyWhereItApplies) {
  TempFolder dir;
  weight_diary::writeDiary(dir);
  weight_diary::writeWeights(dir, store::makeDate(2004, 5, 1), {70.0f});
  testing_support::InFolder in(dir);
  OkDialogs dialogs;
  FixedClock clock;
  app::frmMain m(dialogs, clock);
  m.Form_Load();
  ASSERT_FALSE(m.ended());
  auto append = [&](const std::string& date, float kg) {
    store::appendRecords("体重.txt", {store::Record().text(date).single(kg)});
    return app::RecomputeAfterWeightAppend(m, date, kg);
  };
  // A second record brings the chart's first drawing: everything is recomputed.
  EXPECT_FALSE(append("2004/05/02", 69.5f));
  app::RecomputeAfterWeightChange(m);
  EXPECT_TRUE(append("2004/05/03", 69.25f));
  EXPECT_EQ(m.Weight.WeightCount, 3);
  EXPECT_EQ(m.Weight.WeightDate.back(), "2004/05/03");
  // The log keeps seven figures: the series holds what a load reads back, not the typed value.
  EXPECT_TRUE(append("2004/05/04", 68.123456789f));
  EXPECT_EQ(m.Weight.WeightKg.back(), 68.12346f);
  EXPECT_EQ(m.form("msgB1").cell(4, 2), "68.1Kg");
  app::SetIncrementalWeightEntry(false);
  EXPECT_FALSE(append("2004/05/05", 68.0f));
  app::SetIncrementalWeightEntry(true);
  app::RecomputeAfterWeightChange(m);
  // A weight the load would refuse is left to the whole recompute and its error.
  EXPECT_FALSE(app::RecomputeAfterWeightAppend(m, "2004/05/06", 0.0f));
  EXPECT_FALSE(app::RecomputeAfterWeightAppend(m, "2004/13/06", 68.0f));
  EXPECT_EQ(m.Weight.WeightCount, 5);
}
