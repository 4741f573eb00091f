#include "csv/diary_export.h"

#include <algorithm>
#include <array>
#include <tuple>

#include "calendar/lazy_calendar.h"
#include "csv/csv.h"
#include "diary/calorie_items.h"
#include "diary/day_diary.h"
#include "memo/memo.h"
#include "nutrition/nutrition.h"
#include "records/body_fat.h"
#include "records/intraday.h"
#include "records/steps.h"
#include "records/weight_log.h"
#include "store/folder_files.h"
#include "store/numbers.h"
#include "store/record.h"
#include "training/training.h"

namespace csv {
namespace {

const std::array<const char*, nutrition::kGroupCount> kGroupNames = {"乳製品", "卵",   "肉",   "魚介", "豆類", "野菜",
                                                                     "芋類",   "果物", "穀物", "砂糖", "油脂"};
// The diary's sections as the buttons name them.
const std::array<const char*, diary::kDayLists> kSectionNames = {"朝", "昼", "夜", "運動"};

std::string kgText(float kg) { return store::shortestSingle(kg); }

// With filled days (補完.txt), a third column marks them with 1.
CsvFile weights(records::WeightSeries& w) {
  const bool filledDays = store::fileExists(records::kFilledFile);
  std::vector<Row> rows{{"日付", "体重kg"}};
  if (filledDays) rows[0].push_back("補完");
  if (store::fileExists(records::kWeightFile)) {
    records::LoadWeightLog(w);
    for (int i = 0; i < w.WeightCount; ++i) {
      rows.push_back({textCell(w.WeightDate[i]), kgText(w.WeightKg[i])});
      if (filledDays) rows.back().push_back(w.isFilled(static_cast<size_t>(i)) ? "1" : "");
    }
  }
  return {"体重.csv", document(rows)};
}

CsvFile intraday() {
  std::vector<Row> rows{{"日付", "時刻", "体重kg"}};
  if (store::fileExists(records::kIntradayFile)) {
    const records::IntradaySeries s = records::ReadIntradayWeightLog();
    for (size_t i = 0; i < s.IntradayDate.size(); ++i)
      rows.push_back({textCell(s.IntradayDate[i]), textCell(s.IntradayTime[i]), kgText(s.IntradayWeightKg[i])});
  }
  return {"連続体重.csv", document(rows)};
}

CsvFile bodyFat(const records::WeightSeries& w) {
  std::vector<Row> rows{{"日付", "体脂肪率%", "脂肪量kg"}};
  if (store::fileExists(records::kBodyFatFile)) {
    const records::BodyFatSeries s = records::ReadBodyFatLog();
    for (int i = 0; i < s.FatCount; ++i) {
      std::string mass;
      // The fat mass needs the day's weight; a day without one leaves the cell empty.
      auto it = std::find(w.WeightDate.begin(), w.WeightDate.end(), s.FatDate[i]);
      if (it != w.WeightDate.end())
        mass = store::formatNumber(s.FatPercent[i] / 100 * w.WeightKg[it - w.WeightDate.begin()], "0.00");
      rows.push_back({textCell(s.FatDate[i]), kgText(s.FatPercent[i]), mass});
    }
  }
  return {"体脂肪率.csv", document(rows)};
}

CsvFile steps(float stepLength) {
  std::vector<Row> rows{{"日付", "歩数", "距離km"}};
  if (store::fileExists(records::kStepFile)) {
    const records::StepSeries s = records::ReadStepLog();
    for (int i = 0; i < s.StepCount; ++i) {
      const int whole = records::WholeSteps(s.StepValue[i]);
      rows.push_back({textCell(s.StepDate[i]), std::to_string(whole),
                      store::formatNumber(static_cast<double>(stepLength) * whole / 1000, "0.00")});
    }
  }
  return {"歩数.csv", document(rows)};
}

CsvFile nutritionChecks() {
  Row header{"日付"};
  header.insert(header.end(), kGroupNames.begin(), kGroupNames.end());
  std::vector<Row> rows{header};
  if (store::fileExists(nutrition::kNutritionFile)) {
    for (const nutrition::NutritionRecord& r : nutrition::readNutritionLog()) {
      Row row{textCell(r.date)};
      for (const std::string& mark : r.marks) row.push_back(mark == nutrition::kTicked ? "1" : "0");
      rows.push_back(row);
    }
  }
  return {"栄養.csv", document(rows)};
}

CsvFile trainingCounts() {
  std::vector<Row> rows{{"種目", "日付", "回数"}};
  if (store::fileExists(training::kTitlesFile)) {
    const std::vector<training::ExerciseTitle> titles = training::readTitles();
    for (int n = 1; n <= training::kExerciseCount && n <= static_cast<int>(titles.size()); ++n) {
      const std::string file = training::logFileName(n);
      if (!store::fileExists(file)) continue;
      for (const training::TrainingEntry& e : training::readLog(file))
        rows.push_back({textCell(titles[n - 1].title), textCell(e.date), training::numberText(e.count)});
    }
  }
  return {"筋トレ.csv", document(rows)};
}

bool isDayFileName(const std::string& name) {
  if (name.size() != 12 || name.compare(8, 4, ".txt") != 0) return false;
  return std::all_of(name.begin(), name.begin() + 8, [](char c) { return c >= '0' && c <= '9'; });
}

CsvFile dayDiaries() {
  std::vector<Row> rows{{"日付", "区分", "品目", "kcal"}};
  for (const std::string& name : store::dataFileNames(".")) {
    if (!isDayFileName(name)) continue;
    const std::string date = name.substr(0, 4) + "/" + name.substr(4, 2) + "/" + name.substr(6, 2);
    const diary::DayDiary day = diary::readDayDiary(date);
    for (int list = 0; list < diary::kDayLists; ++list)
      for (const std::string& entry : day.lists[list]) {
        const std::optional<int> kcal = diary::entryCalories(entry);
        rows.push_back(
            {date, kSectionNames[list], textCell(diary::entryName(entry)), kcal ? std::to_string(*kcal) : ""});
      }
  }
  return {"日記.csv", document(rows)};
}

// The なんでも日記 of each day (日記YYYYMMDD.txt), its lines kept as lines of the cell.
CsvFile dayComments() {
  std::vector<Row> rows{{"日付", "コメント"}};
  for (const std::string& name : store::dataFileNames(".")) {
    if (name.rfind("日記", 0) != 0 || !isDayFileName(name.substr(std::string("日記").size()))) continue;
    const std::string digits = name.substr(std::string("日記").size(), 8);
    const std::string date = digits.substr(0, 4) + "/" + digits.substr(4, 2) + "/" + digits.substr(6, 2);
    std::string comment = diary::readDayDiary(date).comment;
    while (!comment.empty() && (comment.back() == '\n' || comment.back() == '\r')) comment.pop_back();
    if (!comment.empty()) rows.push_back({date, textCell(comment)});
  }
  return {"日記コメント.csv", document(rows)};
}

// Every marked day of every month file (YYYY年M月.txt), in date order: 緑 good, 赤 bad.
CsvFile calendarMarks() {
  struct Month {
    int year;
    unsigned month;
    std::string file;
  };
  std::vector<Month> months;
  for (const std::string& name : store::dataFileNames(".")) {
    if (!store::isDayOrMonthFileName(name) || name.find("年") == std::string::npos) continue;
    const size_t yearEnd = name.find("年");
    const int year = std::stoi(name.substr(0, yearEnd));
    const unsigned month = static_cast<unsigned>(std::stoi(name.substr(yearEnd + std::string("年").size())));
    if (month >= 1 && month <= 12) months.push_back({year, month, name});
  }
  std::sort(months.begin(), months.end(),
            [](const Month& a, const Month& b) { return std::tie(a.year, a.month) < std::tie(b.year, b.month); });
  std::vector<Row> rows{{"日付", "印"}};
  for (const Month& mo : months) {
    const std::vector<int> marks = calendar::readMonthMarks(mo.file);
    const calendar::MonthLayout layout = calendar::layoutMonth(mo.year, mo.month);
    for (size_t cell = 0; cell < marks.size(); ++cell) {
      const int day = layout.dayInCell(static_cast<int>(cell));
      if (day == 0 || (marks[cell] != calendar::kGoodDay && marks[cell] != calendar::kBadDay)) continue;
      rows.push_back({store::formatDate(store::makeDate(mo.year, mo.month, static_cast<unsigned>(day))),
                      marks[cell] == calendar::kGoodDay ? "緑" : "赤"});
    }
  }
  return {"カレンダー.csv", document(rows)};
}

CsvFile memos() {
  std::vector<Row> rows{{"リスト", "題目", "内容"}};
  if (store::fileExists(memo::kTitlesFile)) {
    const std::vector<std::string> titles = memo::readTitles();
    for (int n = 1; n <= memo::kListCount && n <= static_cast<int>(titles.size()); ++n) {
      const std::string file = memo::listFileName(n);
      if (!store::fileExists(file)) continue;
      for (const std::string& note : memo::readNotes(file))
        rows.push_back({std::to_string(n), textCell(titles[n - 1]), textCell(note)});
    }
  }
  return {"メモ.csv", document(rows)};
}

}  // namespace

std::vector<CsvFile> exportDiary(float stepLength) {
  records::WeightSeries w;
  std::vector<CsvFile> out;
  out.push_back(weights(w));
  out.push_back(intraday());
  out.push_back(bodyFat(w));
  out.push_back(steps(stepLength));
  out.push_back(nutritionChecks());
  out.push_back(trainingCounts());
  out.push_back(dayDiaries());
  out.push_back(memos());
  out.push_back(dayComments());
  out.push_back(calendarMarks());
  return out;
}

}  // namespace csv
