#include "records/weight_log.h"

#include <algorithm>

#include "records/body_fat.h"
#include "records/weight_entry.h"
#include "store/files.h"
#include "store/record.h"
#include "words/file_errors.h"
#include "words/messages.h"

namespace records {

bool IsLoadableWeight(float kg) { return kg > 0 && kg <= 999.9f; }

store::StoreError WeightRangeError(const std::string& fileName, int line, const std::string& field) {
  return store::StoreError(fileName, store::lineText(fileName, line) + words::weightOutOfRange(field));
}

void LoadWeightLog(WeightSeries& s) {
  s.WeightDate.clear();
  s.WeightDay.clear();
  s.WeightKg.clear();
  s.WeightCount = 0;
  s.FirstOutOfOrder.reset();
  store::RecordReader r(kWeightFile, store::RecordLimit{kWeightLimit});
  s.WeightDate.reserve(r.recordsHint());
  s.WeightDay.reserve(r.recordsHint());
  s.WeightKg.reserve(r.recordsHint());
  while (!r.atEnd()) {
    std::string date = r.readText();
    // Every figure counts days between records: a date we cannot read must stop the load here,
    // naming the line, rather than turn into nonsense further on.
    std::optional<store::Date> day = store::parseDate(date);
    if (!day)
      throw store::StoreError(kWeightFile, store::lineText(kWeightFile, r.line()) + words::dateUnreadable(date));
    if (!s.FirstOutOfOrder && !s.WeightDay.empty() && *day <= s.WeightDay.back())
      s.FirstOutOfOrder = WeightSeries::OutOfOrder{r.line(), date, s.WeightDate.back()};
    float kg = r.readSingle();
    // Every figure and table is sized from the weights: only what the entry accepts is read.
    if (!IsLoadableWeight(kg)) throw WeightRangeError(kWeightFile, r.line(), r.lastNumberText());
    if (kg > s.MaxWeight) s.MaxWeight = kg;
    if (kg < s.MinWeight) {
      s.MinWeight = kg;
      s.MinWeightDate = day;
    }
    s.WeightDate.push_back(std::move(date));
    s.WeightDay.push_back(*day);
    s.WeightKg.push_back(kg);
    ++s.WeightCount;
  }
  s.WeightFilled.clear();
  store::OpenedFile filledFile(kFilledFile);
  if (filledFile.missing()) return;
  std::vector<store::Date> filled;
  store::RecordReader f(filledFile, store::RecordLimit{kWeightLimit});
  while (!f.atEnd()) {
    const std::string date = f.readText();
    const std::optional<store::Date> day = store::parseDate(date);
    if (!day)
      throw store::StoreError(kFilledFile, store::lineText(kFilledFile, f.line()) + words::dateUnreadable(date));
    filled.push_back(*day);
  }
  if (filled.empty()) return;
  std::sort(filled.begin(), filled.end());
  s.WeightFilled.resize(s.WeightDay.size());
  for (size_t i = 0; i < s.WeightDay.size(); ++i)
    s.WeightFilled[i] = std::binary_search(filled.begin(), filled.end(), s.WeightDay[i]);
}

namespace {
std::vector<store::Record> dateRecords(const std::vector<std::string>& dates) {
  std::vector<store::Record> out;
  for (const std::string& d : dates) out.push_back(store::Record().text(d));
  return out;
}

// The file's bytes with `records` after them, as an append writes them.
std::string appended(const char* file, const std::vector<store::Record>& records) {
  std::string bytes = store::pathExists(file) ? store::readFileBytes(file) : std::string();
  if (!bytes.empty() && bytes.back() != '\n') bytes += "\r\n";
  return bytes + store::encodeRecords(file, records);
}
}  // namespace

void AppendWeights(const std::vector<store::Record>& records, const std::vector<std::string>& filledDates,
                   const std::vector<store::Record>& fats, const std::vector<store::FileContent>& others) {
  if (filledDates.empty() && fats.empty() && others.empty()) return store::appendRecords(kWeightFile, records);
  std::vector<store::FileContent> files = others;
  if (!records.empty()) files.push_back({kWeightFile, appended(kWeightFile, records)});
  if (!filledDates.empty()) files.push_back({kFilledFile, appended(kFilledFile, dateRecords(filledDates))});
  if (!fats.empty()) files.push_back({kBodyFatFile, appended(kBodyFatFile, fats)});
  store::replaceFiles(files);
}

void RewriteWeights(const std::vector<store::Record>& records, const std::vector<std::string>& filledDates) {
  store::FileChanges changes;
  changes.write.push_back({kWeightFile, store::encodeRecords(kWeightFile, records)});
  if (!filledDates.empty())
    changes.write.push_back({kFilledFile, store::encodeRecords(kFilledFile, dateRecords(filledDates))});
  else if (store::pathExists(kFilledFile))
    changes.remove.push_back(kFilledFile);
  store::changeFiles(changes);
}

std::vector<std::string> FilledDates(const WeightSeries& s) {
  std::vector<std::string> out;
  for (size_t i = 0; i < s.WeightDate.size(); ++i)
    if (s.isFilled(i)) out.push_back(s.WeightDate[i]);
  return out;
}

}  // namespace records
