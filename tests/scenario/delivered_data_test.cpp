// The delivered sample folder and the design-limits folder: written by the generators in tools/,
// read back by the program exactly as a user's diary would be.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "../../tools/limits_data.h"
#include "../../tools/sample_data.h"
#include "store/cp932.h"
#include "store/record.h"
#include "support/drive.h"
#include "support/temp_folder.h"

using testing_support::runDrive;
using testing_support::TempFolder;
namespace fs = std::filesystem;

namespace {

std::map<std::string, std::string> filesOf(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::directory_iterator(folder)) {
    std::ifstream in(e.path(), std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    files[e.path().filename().string()] = ss.str();
  }
  return files;
}

size_t lineCount(const TempFolder& dir, const std::string& name) {
  const std::string bytes = dir.readBytes(name);
  size_t n = 0;
  for (size_t p = bytes.find("\r\n"); p != std::string::npos; p = bytes.find("\r\n", p + 2)) ++n;
  return n;
}

// Reads every record of a file of fixed field count as texts, in the folder `dir`.
std::vector<std::vector<std::string>> recordsOf(const TempFolder& dir, const std::string& name, int fields) {
  store::RecordReader r(name, store::cp932ToUtf8(dir.readBytes(name)));
  std::vector<std::vector<std::string>> records;
  while (!r.atEnd()) {
    records.emplace_back();
    for (int i = 0; i < fields; ++i) records.back().push_back(r.readText());
  }
  return records;
}

void expectNoErrorBox(const nlohmann::json& dump) {
  for (const auto& d : dump["dialogs"]) EXPECT_NE(d["icon"], "error") << d.dump();
  EXPECT_EQ(dump["ended"], false);
}

}  // namespace

TEST(DeliveredSample, IsExactlyWhatTheGeneratorWrites) {
  TempFolder dir;
  {
    diarygen::InFolder in(dir.path());
    diarygen::writeSampleData();
  }
  const auto generated = filesOf(dir.path());
  const auto delivered = filesOf(ZORVEL_SAMPLE_DIR);
  ASSERT_EQ(generated.size(), delivered.size()) << "regenerate data/sample with make_sample_data";
  for (const auto& [name, bytes] : generated) {
    auto it = delivered.find(name);
    ASSERT_NE(it, delivered.end()) << name << " is missing from data/sample";
    EXPECT_EQ(it->second, bytes) << name << " differs from the generator's output";
  }
}

TEST(DeliveredSample, HoldsEveryFileInCp932WithCrLf) {
  const auto files = filesOf(ZORVEL_SAMPLE_DIR);
  for (const char* name :
       {"ﾌﾟﾗｲﾍﾞｰﾄ.txt", "設定.txt",       "体重.txt",    "連続体重.txt", "体脂肪率.txt", "歩数.txt",    "ｶﾛﾘｰ.txt",
        "栄養.txt",     "筋トレ題目.txt", "筋トレ1.txt", "筋トレ2.txt",  "筋トレ3.txt",  "筋トレ4.txt", "筋トレ5.txt",
        "筋トレ6.txt",  "ﾘｽﾄ題目.txt",    "ﾘｽﾄ1.txt",    "ﾘｽﾄ2.txt",     "ﾘｽﾄ3.txt",     "ﾘｽﾄ4.txt"})
    EXPECT_TRUE(files.count(name)) << name;
  int months = 0, days = 0, comments = 0;
  for (const auto& [name, bytes] : files) {
    if (name.find("年") != std::string::npos) ++months;
    if (name.rfind("日記", 0) == 0) ++comments;
    if (name.size() == 12 && std::isdigit(static_cast<unsigned char>(name[0]))) ++days;
    ASSERT_FALSE(bytes.empty()) << name;
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n") << name;
    for (size_t p = bytes.find('\n'); p != std::string::npos; p = bytes.find('\n', p + 1))
      ASSERT_TRUE(p > 0 && bytes[p - 1] == '\r') << name << ": a line ends without CR";
    EXPECT_NO_THROW(store::cp932ToUtf8(bytes)) << name;
  }
  EXPECT_GE(months, 2);
  EXPECT_GE(days, 3);
  EXPECT_EQ(days, comments);
}

TEST(DeliveredSample, StartsInSampleModeWithTheTourOnAndEveryLogLoaded) {
  TempFolder dir;
  dir.copySample();
  auto r = runDrive(dir.path(), "clock 2026/12/07 09:00:00\nstart\ndump List5(1) List5(4) List10(0) List10(2)\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const auto& dump = r.last();
  expectNoErrorBox(dump);
  ASSERT_EQ(dump["dialogs"].size(), 1u) << "only the tour's box: " << dump["dialogs"].dump();
  const auto& s = dump["state"];
  EXPECT_EQ(s["SampleMode"], true);
  EXPECT_EQ(s["HelpTourOn"], 1);
  EXPECT_EQ(s["Profile"]["ProfileName"], "Ｑ＆Ｚ");
  EXPECT_EQ(s["WeightCount"], lineCount(dir, "体重.txt"));
  EXPECT_EQ(s["FatCount"], lineCount(dir, "体脂肪率.txt"));
  EXPECT_EQ(s["StepCount"], lineCount(dir, "歩数.txt"));
  EXPECT_EQ(s["IntradayCount"], lineCount(dir, "連続体重.txt"));
  // Body fat is measured on days with a weight, so every record has its fat mass.
  EXPECT_EQ(s["FatMassCount"], s["FatCount"]);
  EXPECT_LT(s["MinWeight"].get<double>(), s["WeightKg"][0].get<double>()) << "the sample shows a diet that works";

  const auto& c = dump["controls"];
  EXPECT_EQ(c["List5(1)"]["items"].size(), lineCount(dir, "ﾘｽﾄ1.txt"));
  EXPECT_EQ(c["List5(4)"]["items"].size(), lineCount(dir, "ﾘｽﾄ4.txt"));
  size_t foods = 0, exercises = 0;
  for (const auto& item : recordsOf(dir, "ｶﾛﾘｰ.txt", 3)) {
    foods += item[0] == "ﾘｽﾄ1";
    exercises += item[0] == "ﾘｽﾄ3";
  }
  EXPECT_EQ(c["List10(0)"]["items"].size(), foods);
  EXPECT_EQ(c["List10(2)"]["items"].size(), exercises);
}

TEST(DeliveredSample, DiaryDaysAndCalendarMonthsReadBack) {
  TempFolder dir;
  dir.copySample();
  auto r = runDrive(dir.path(), "clock 2026/12/03 21:00:00\nstart\ndump txtDiary\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  expectNoErrorBox(r.last());

  // The day's totals are the sums of its file, section by section.
  store::RecordReader day("20261203.txt", dir.readUtf8("20261203.txt"));
  day.skipField();
  int intake = 0, exercise = 0;
  while (!day.atEnd()) {
    day.readText();
    const int kcal = day.readInt16();
    (day.readText() == "運動" ? exercise : intake) += kcal;
  }
  const auto& s = r.last()["state"];
  EXPECT_GT(intake, 0);
  EXPECT_EQ(s["IntakeTotal"], intake);
  EXPECT_EQ(s["ExerciseTotal"], exercise);
  const std::string comment = dir.readUtf8("日記20261203.txt");
  EXPECT_EQ(r.last()["controls"]["txtDiary"]["text"], comment);

  // The calendar of the month shown holds the month file's 37 marks.
  ASSERT_EQ(s["CalendarFileName"], "2026年12月.txt");
  store::RecordReader month("2026年12月.txt", dir.readUtf8("2026年12月.txt"));
  for (int i = 0; i < 37; ++i) EXPECT_EQ(s["DayMarks"][i], month.readInt16()) << "cell " << i;
}

// One case, because writing some 770 files, each flushed to disk, takes seconds.
TEST(LimitsData, FilesHoldTheDesignLimitsAndStartWhole) {
  TempFolder dir;
  {
    diarygen::InFolder in(dir.path());
    diarygen::writeLimitsData();
  }
  EXPECT_EQ(lineCount(dir, "体重.txt"), 730u);
  EXPECT_EQ(lineCount(dir, "連続体重.txt"), 3001u);
  EXPECT_EQ(lineCount(dir, "体脂肪率.txt"), 731u);
  EXPECT_EQ(lineCount(dir, "歩数.txt"), 731u);
  EXPECT_EQ(lineCount(dir, "栄養.txt"), 730u);
  EXPECT_EQ(lineCount(dir, "ｶﾛﾘｰ.txt"), 300u);
  for (int i = 1; i <= 6; ++i) EXPECT_EQ(lineCount(dir, "筋トレ" + std::to_string(i) + ".txt"), 1000u);
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(lineCount(dir, "ﾘｽﾄ" + std::to_string(i) + ".txt"), 500u);
  int months = 0, days = 0, comments = 0;
  for (const auto& name : dir.list()) {
    if (name.find("年") != std::string::npos) ++months;
    if (name.rfind("日記", 0) == 0) ++comments;
    if (name.size() == 12 && std::isdigit(static_cast<unsigned char>(name[0]))) ++days;
  }
  EXPECT_EQ(months, 24);
  EXPECT_EQ(days, 365);
  EXPECT_EQ(comments, 365);

  // One weight per day without a gap, as the entry field would have written them.
  const auto weights = recordsOf(dir, "体重.txt", 2);
  for (size_t i = 1; i < weights.size(); ++i) {
    auto prev = store::parseDate(weights[i - 1][0]), cur = store::parseDate(weights[i][0]);
    ASSERT_TRUE(prev && cur);
    ASSERT_EQ((*cur - *prev).count(), 1) << weights[i][0];
  }

  // The program reads it all, and two years of days are no end to the weight entry.
  auto r = runDrive(dir.path(), "clock 2026/12/07 09:00:00\nstart\ndump\nsettext txtInpTaijyu " + weights.back()[1] +
                                    "\nenter txtInpTaijyu\ndump txtInpTaijyu\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  ASSERT_EQ(r.dumps.size(), 2u);
  const auto& started = r.dumps[0];
  EXPECT_TRUE(started["dialogs"].empty()) << started["dialogs"].dump();
  EXPECT_EQ(started["state"]["SampleMode"], false);
  EXPECT_EQ(started["state"]["WeightCount"], 730);
  EXPECT_EQ(started["state"]["IntradayCount"], 3001);
  EXPECT_EQ(started["state"]["FatCount"], 731);
  EXPECT_EQ(started["state"]["StepCount"], 731);

  EXPECT_EQ(r.dumps[1]["state"]["WeightCount"], 731);
}

TEST(Generators, RefuseAFolderThatAlreadyHoldsFiles) {
  TempFolder dir;
  dir.writeCp932("体重.txt", "\"2026/01/01\",70\r\n");
  const auto cwd = fs::current_path();
  EXPECT_THROW(diarygen::InFolder in(dir.path()), std::runtime_error);
  EXPECT_EQ(fs::current_path(), cwd);
  EXPECT_EQ(dir.list().size(), 1u);
  EXPECT_EQ(dir.readUtf8("体重.txt"), "\"2026/01/01\",70\r\n");
}
