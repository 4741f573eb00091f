#include "diary/day_diary.h"

#include <fstream>
#include <sstream>

#include "diary/calorie_items.h"
#include "store/cp932.h"
#include "store/dates.h"
#include "store/record.h"

namespace diary {

const std::array<const char*, kDayLists> kSectionWords = {"朝", "昼", "夕", "運動"};

namespace {

bool fitsInt16(long long v) { return v >= -32768 && v <= 32767; }

std::string digits8(std::string_view dateText) {
  if (auto d = store::parseDate(dateText)) return store::formatDigits8(*d);
  std::string digits;
  for (char c : dateText)
    if (c >= '0' && c <= '9') digits += c;
  return digits;
}

// The file's text up to the first line that is not CP932, lines joined by CR LF; nullopt when
// the file cannot be opened.
std::optional<std::string> readDecodableLines(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream ss;
  ss << in.rdbuf();
  const std::string bytes = ss.str();
  // CP932 trail bytes are never CR or LF, so the raw bytes split safely into lines.
  std::string text;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = bytes.find('\n', pos);
    bool lastLine = end == std::string::npos;
    std::string_view line(bytes.data() + pos, (lastLine ? bytes.size() : end) - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    try {
      text += store::cp932ToUtf8(line);
    } catch (const store::EncodingError&) {
      break;
    }
    if (lastLine) break;
    text += "\r\n";
    pos = end + 1;
  }
  return text;
}

}  // namespace

std::string dayFileName(std::string_view dateText) { return digits8(dateText) + ".txt"; }
std::string commentFileName(std::string_view dateText) { return "日記" + digits8(dateText) + ".txt"; }

bool CalorieBalance::totalsFit() const { return fitsInt16(intake) && fitsInt16(exercise) && fitsInt16(balance()); }
bool CalorieBalance::fits() const { return totalsFit() && fitsInt16(difference()); }

std::string differenceText(int difference) { return (difference > 0 ? "+" : "") + std::to_string(difference); }

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines(1);
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.emplace_back();
    } else {
      lines.back() += c;
    }
  }
  return lines;
}

DayDiary readDayDiary(std::string_view dateText) {
  DayDiary day;
  const std::string dayFile = dayFileName(dateText);
  if (auto text = readDecodableLines(dayFile)) {
    store::RecordReader r(dayFile, std::move(*text));
    try {
      r.skipField();  // the date line
      while (!r.atEnd()) {
        std::string name = r.readText();
        int16_t calories = r.readInt16();
        std::string section = r.readText();
        int list = 0;
        while (list < kDayLists && section != kSectionWords[list]) ++list;
        if (list == kDayLists) continue;
        CalorieBalance next{day.intake, day.exercise, 0};
        (list == kExerciseList ? next.exercise : next.intake) += calories;
        if (!next.totalsFit()) break;
        day.intake = next.intake;
        day.exercise = next.exercise;
        day.lists[list].push_back(CalorieItemEntry(name, calories));
      }
    } catch (const store::StoreError&) {
      // A damaged record: the day keeps what was read before it.
    }
  }
  if (auto text = readDecodableLines(commentFileName(dateText))) {
    std::vector<std::string> lines = splitLines(*text);
    if (lines.back().empty()) lines.pop_back();  // nothing after the last line end
    for (const auto& line : lines) day.comment += line + "\r\n";
  }
  return day;
}

void writeDayDiary(std::string_view dateText, const DayLists& lists, std::string_view comment) {
  std::vector<store::Record> records;
  records.push_back(store::Record().text(dateText));
  for (int list = 0; list < kDayLists; ++list)
    for (const auto& entry : lists[list])
      records.push_back(store::Record()
                            .text(entryName(entry))
                            .int16(static_cast<int16_t>(entryCalories(entry).value_or(0)))
                            .text(kSectionWords[list]));
  store::rewriteRecords(dayFileName(dateText), records);
  store::rewriteLines(commentFileName(dateText), splitLines(comment));
}

}  // namespace diary
