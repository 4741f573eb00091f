#include "training/training.h"

#include <cmath>

#include "store/files.h"
#include "store/numbers.h"
#include "store/record.h"
#include "store/typed_number.h"

namespace training {

std::string logFileName(int exercise) { return "筋トレ" + std::to_string(exercise) + ".txt"; }

std::vector<ExerciseTitle> readTitles(const std::string& fileName) {
  std::vector<ExerciseTitle> titles(kExerciseCount);
  store::RecordReader r(fileName);
  for (auto& t : titles) {
    r.skipField();
    t.title = r.readText();
    t.target = r.readDouble();
  }
  return titles;
}

namespace {

std::vector<store::Record> titleRecords(const std::vector<ExerciseTitle>& titles) {
  std::vector<store::Record> records;
  for (int i = 0; i < kExerciseCount; ++i) {
    store::Record rec;
    rec.text("ﾘｽﾄ" + std::to_string(i + 1) + "題目").text(titles.at(i).title).dbl(titles.at(i).target);
    records.push_back(rec);
  }
  return records;
}

}  // namespace

void writeTitles(const std::vector<ExerciseTitle>& titles, const std::string& fileName) {
  store::rewriteRecords(fileName, titleRecords(titles));
}

void writeRename(const std::vector<ExerciseTitle>& titles, int exercise, const std::string& titlesFile) {
  store::replaceFiles(
      {{titlesFile, store::encodeRecords(titlesFile, titleRecords(titles))}, {logFileName(exercise), ""}});
}

std::vector<TrainingEntry> readLog(const std::string& fileName) {
  store::RecordReader r(fileName, store::kBusyLogLimit);
  return readLog(r);
}

LogSummary summariseLog(store::RecordReader& r) {
  LogSummary s;
  while (!r.atEnd()) {
    r.skipField();
    s.total += r.readDouble();
    ++s.entries;
  }
  return s;
}

std::vector<TrainingEntry> readLog(store::RecordReader& r) {
  std::vector<TrainingEntry> entries;
  entries.reserve(r.recordsHint());
  while (!r.atEnd()) {
    TrainingEntry e;
    e.date = r.readText();
    // Read in double precision so that totals of fractional counts stay exact in display.
    e.count = r.readDouble();
    entries.push_back(std::move(e));
  }
  return entries;
}

void appendEntry(const std::string& fileName, const TrainingEntry& e) {
  store::Record rec;
  rec.text(e.date).dbl(e.count);
  store::appendRecords(fileName, {rec});
}

void writeLog(const std::string& fileName, const std::vector<TrainingEntry>& entries) {
  std::vector<store::Record> records;
  for (const auto& e : entries) records.push_back(store::Record().text(e.date).dbl(e.count));
  store::rewriteRecords(fileName, records);
}

void emptyLog(const std::string& fileName) { store::rewriteRecords(fileName, {}); }

std::string numberText(double v) { return store::shortestDouble(v); }

std::string entryLine(const TrainingEntry& e) { return e.date + " _ " + numberText(e.count); }

std::string frameCaption(const std::string& title, double target, bool afterTargetChange) {
  return title + (afterTargetChange ? " _ " : "  ") + numberText(target);
}

int barPercent(double total, double target) {
  if (!(target > 0) || !(total > 0)) return 0;
  double p = std::floor(total / target * 100.0);
  if (!(p < 100.0)) return 100;
  return static_cast<int>(p);
}

BarGeometry barGeometry(int percent, int backTop, int backHeight) {
  BarGeometry g;
  g.height = static_cast<int>(std::floor(static_cast<double>(percent) * backHeight / 100.0));
  g.top = backTop + backHeight - g.height;
  return g;
}

std::optional<std::string> countRefusal(const std::string& typed) {
  if (typed.empty()) return "入力がまだのようです";
  double v = store::ValTyped(typed);
  if (v == 0) return "０か文字が入力されたようです";
  if (v > kMaxCount) return "入力は 30000以下でお願いします";
  return std::nullopt;
}

}  // namespace training
