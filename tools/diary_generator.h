#pragma once
// Pieces shared by the data-folder generators: a reproducible random source, the folder they
// write into, and one writer per kind of data file, all going through the program's own store
// so the files are exactly what the program itself would write.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "store/dates.h"
#include "store/record.h"

namespace diarygen {

using store::Date;
using store::Record;

// Integer-only generator (xorshift64*): the same seed gives the same files on every machine.
class Rng {
 public:
  explicit Rng(uint64_t seed) : s_(seed ? seed : 0x9E3779B97F4A7C15ull) {}
  uint32_t next() {
    s_ ^= s_ >> 12;
    s_ ^= s_ << 25;
    s_ ^= s_ >> 27;
    return static_cast<uint32_t>((s_ * 0x2545F4914F6CDD1Dull) >> 32);
  }
  // Whole number in [lo, hi].
  int range(int lo, int hi) { return lo + static_cast<int>(next() % static_cast<uint32_t>(hi - lo + 1)); }
  // Chance in per mille, so no floating point decides which records exist.
  bool chance(int perMille) { return range(0, 999) < perMille; }
  // Noise in tenths: a whole number of tenths in [-amp, amp].
  double tenths(int amp) { return range(-amp, amp) / 10.0; }

 private:
  uint64_t s_;
};

// Rounds to one decimal the way a user types a scale's reading.
inline double oneDecimalDouble(double v) { return std::round(v * 10.0) / 10.0; }
inline float oneDecimal(double v) { return static_cast<float>(oneDecimalDouble(v)); }

inline Date addDays(Date d, int n) { return d + std::chrono::days{n}; }

// Runs the writers inside `folder`: the store opens files by bare name in the current folder.
// The folder must be new or empty, so a generator never mixes its files into a real diary.
class InFolder {
 public:
  explicit InFolder(const std::string& folder) {
    namespace fs = std::filesystem;
    fs::create_directories(folder);
    if (!fs::is_empty(folder)) throw std::runtime_error(folder + " is not empty; give a new or empty folder");
    previous_ = fs::current_path();
    fs::current_path(folder);
  }
  ~InFolder() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
  }
  InFolder(const InFolder&) = delete;
  InFolder& operator=(const InFolder&) = delete;

 private:
  std::filesystem::path previous_;
};

struct ProfileValues {
  std::string name;
  float height, targetWeight;
  int16_t targetPeriod;
  float targetRate;
  int16_t targetCalories;
  float fatAxisMax, fatAxisMin;
  int32_t stepAxisMax;
  int16_t stepAxisMin;
  float stepLength;
};

inline void writeProfile(const ProfileValues& p) {
  store::rewriteRecords(
      "ﾌﾟﾗｲﾍﾞｰﾄ.txt",
      {Record().text("氏名").text(p.name), Record().text("身長").single(p.height),
       Record().text("目標体重").single(p.targetWeight), Record().text("目標期間").int16(p.targetPeriod),
       Record().text("目標達成率").single(p.targetRate), Record().text("目標ｶﾛﾘｰ").int16(p.targetCalories),
       Record().text("体脂肪率Ｙ軸MAX").single(p.fatAxisMax), Record().text("体脂肪率Ｙ軸MIN").single(p.fatAxisMin),
       Record().text("歩数Ｙ軸MAX").int32(p.stepAxisMax), Record().text("歩数Ｙ軸MIN").int16(p.stepAxisMin),
       Record().text("一歩換算").single(p.stepLength)});
}

inline void writeSettings(int16_t helpTour) {
  store::rewriteRecords("設定.txt", {Record().text("ヘルプツアー").int16(helpTour)});
}

// 体重.txt, 体脂肪率.txt and 歩数.txt share one layout: date, single-precision value.
struct DatedValue {
  Date date;
  float value;
};
inline void writeDatedValues(const std::string& file, const std::vector<DatedValue>& values) {
  std::vector<Record> records;
  records.reserve(values.size());
  for (const auto& v : values) records.push_back(Record().text(store::formatDate(v.date)).single(v.value));
  store::rewriteRecords(file, records);
}

struct Weighing {
  store::DateTime at;
  double kg;
};
inline void writeIntradayWeights(const std::vector<Weighing>& weighings) {
  std::vector<Record> records;
  records.reserve(weighings.size());
  for (const auto& w : weighings)
    records.push_back(Record().text(store::formatDate(w.at.date)).text(store::formatTime(w.at)).dbl(w.kg));
  store::rewriteRecords("連続体重.txt", records);
}

inline constexpr int kFoodGroups = 11;
struct NutritionDay {
  Date date;
  std::array<bool, kFoodGroups> eaten;
};
inline void writeNutrition(const std::vector<NutritionDay>& days) {
  std::vector<Record> records;
  records.reserve(days.size());
  for (const auto& d : days) {
    Record r;
    r.text(store::formatDate(d.date));
    for (bool e : d.eaten) r.text(e ? "●" : "×");
    records.push_back(std::move(r));
  }
  store::rewriteRecords("栄養.txt", records);
}

struct Exercise {
  std::string title;
  double target;
};
inline void writeTrainingTitles(const std::array<Exercise, 6>& exercises) {
  std::vector<Record> records;
  for (size_t i = 0; i < exercises.size(); ++i)
    records.push_back(
        Record().text("ﾘｽﾄ" + std::to_string(i + 1) + "題目").text(exercises[i].title).dbl(exercises[i].target));
  store::rewriteRecords("筋トレ題目.txt", records);
}

struct TrainingCount {
  Date date;
  double count;
};
// `exercise` is 1 to 6.
inline void writeTrainingLog(int exercise, const std::vector<TrainingCount>& counts) {
  std::vector<Record> records;
  records.reserve(counts.size());
  for (const auto& c : counts) records.push_back(Record().text(store::formatDate(c.date)).dbl(c.count));
  store::rewriteRecords("筋トレ" + std::to_string(exercise) + ".txt", records);
}

inline void writeMemoTitles(const std::array<std::string, 4>& titles) {
  std::vector<Record> records;
  for (const auto& t : titles) records.push_back(Record().text(t));
  store::rewriteRecords("ﾘｽﾄ題目.txt", records);
}

// `list` is 1 to 4; notes of list 4 carry their "MM/DD - " prefix already.
inline void writeMemoList(int list, const std::vector<std::string>& notes) {
  std::vector<Record> records;
  records.reserve(notes.size());
  for (const auto& n : notes) records.push_back(Record().text(n));
  store::rewriteRecords("ﾘｽﾄ" + std::to_string(list) + ".txt", records);
}

// A registered item: category 0 food, 1 drink, 2 exercise.
struct CalorieItem {
  int category;
  std::string name;
  int16_t calories;
};
inline void writeCalorieItems(const std::vector<CalorieItem>& items) {
  std::vector<Record> records;
  records.reserve(items.size());
  for (const auto& it : items)
    records.push_back(Record().text("ﾘｽﾄ" + std::to_string(it.category + 1)).text(it.name).int16(it.calories));
  store::rewriteRecords("ｶﾛﾘｰ.txt", records);
}

inline std::string monthFileName(int year, unsigned month) {
  std::string name = std::to_string(year) + "年";
  if (month < 10) name += '0';
  name += std::to_string(month);
  name += "月.txt";
  return name;
}

// One month of the lazy calendar; marks[day - 1] is 0 none, 1 green, 2 red.
inline void writeCalendarMonth(int year, unsigned month, const std::vector<int>& marks) {
  std::array<int16_t, 37> cells{};
  const unsigned first = store::weekdayOf(store::makeDate(year, month, 1));
  for (size_t day = 1; day <= marks.size(); ++day) cells[first + day - 1] = static_cast<int16_t>(marks[day - 1]);
  std::vector<Record> lines;
  for (size_t row = 0; row < 6; ++row) {
    Record r;
    for (size_t c = row * 7; c < std::min<size_t>(row * 7 + 7, cells.size()); ++c) r.int16(cells[c]);
    lines.push_back(std::move(r));
  }
  store::rewriteRecords(monthFileName(year, month), lines);
}

// One saved diary day: the day file with its entries and the comment file.
struct DiaryEntry {
  std::string name;
  int16_t calories;
  std::string section;  // "朝", "昼", "夕" or "運動"
};
inline void writeDiaryDay(Date day, const std::vector<DiaryEntry>& entries, const std::vector<std::string>& comment) {
  std::vector<Record> records{Record().text(store::formatDate(day))};
  // Saved in the order morning, noon, evening, exercise, whatever order they are given in.
  for (const char* section : {"朝", "昼", "夕", "運動"})
    for (const auto& e : entries)
      if (e.section == section) records.push_back(Record().text(e.name).int16(e.calories).text(e.section));
  const std::string digits = store::formatDigits8(day);
  store::rewriteRecords(digits + ".txt", records);
  store::rewriteLines("日記" + digits + ".txt", comment);
}

}  // namespace diarygen
