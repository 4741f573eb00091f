#include "diary/day_diary.h"

#include "diary/calorie_items.h"
#include "store/cp932.h"
#include "store/dates.h"
#include "store/files.h"
#include "store/record.h"
#include "words/file_errors.h"
#include "words/messages.h"

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

// What a day's file gave: its text up to the first line that is not CP932 (lines joined by
// CR LF), and that line (0 when every line decoded).
struct Decoded {
  std::string text;
  int badLine = 0;
};

Decoded decodeLines(const std::string& bytes) {
  // CP932 trail bytes are never CR or LF, so the raw bytes split safely into lines.
  Decoded d;
  size_t pos = 0;
  int line = 1;
  while (pos < bytes.size()) {
    size_t end = bytes.find('\n', pos);
    bool lastLine = end == std::string::npos;
    std::string_view raw(bytes.data() + pos, (lastLine ? bytes.size() : end) - pos);
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    try {
      d.text += store::cp932ToUtf8(raw);
    } catch (const store::EncodingError&) {
      d.badLine = line;
      break;
    }
    if (lastLine) break;
    d.text += "\r\n";
    pos = end + 1;
    ++line;
  }
  return d;
}

// Lines holding anything from `line` (1-based) on: what a reading that stopped there left out.
int linesFrom(const std::string& bytes, int line) {
  int count = 0, current = 1;
  bool content = false;
  for (char c : bytes) {
    if (c == '\n') {
      if (content && current >= line) ++count;
      content = false;
      ++current;
    } else if (c != '\r' && c != ' ' && c != '\t' && c != '\x1a') {
      content = true;
    }
  }
  if (content && current >= line) ++count;
  return count;
}

using store::lineText;

// The file's bytes; nullopt when there is no file. Anything else that stops the reading is a
// problem of the day.
std::optional<std::string> dayFileBytes(const std::string& fileName, std::vector<ReadProblem>& problems) {
  store::OpenedFile file(fileName);
  if (file.missing()) return std::nullopt;
  try {
    return file.read();
  } catch (const store::StoreError& e) {
    problems.push_back({fileName, e.what(), 0});
    return std::nullopt;
  }
}

}  // namespace

std::string dayFileName(std::string_view dateText) { return digits8(dateText) + ".txt"; }
std::string commentFileName(std::string_view dateText) { return "日記" + digits8(dateText) + ".txt"; }

bool CalorieBalance::totalsFit() const { return fitsInt16(intake) && fitsInt16(exercise) && fitsInt16(balance()); }
bool CalorieBalance::fits() const { return totalsFit() && fitsInt16(difference()); }

std::string differenceText(int difference) {
  std::string text = std::to_string(difference);
  if (difference > 0) text.insert(text.begin(), '+');
  return text;
}

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
  if (auto bytes = dayFileBytes(dayFile, day.problems)) {
    Decoded decoded = decodeLines(*bytes);
    store::RecordReader r(dayFile, std::move(decoded.text));
    int stoppedAt = 0;
    std::string why;
    try {
      r.skipField();  // the date line
      while (!r.atEnd()) {
        std::string name = r.readText();
        const int line = r.line();
        int16_t calories = r.readInt16();
        std::string section = r.readText();
        int list = 0;
        while (list < kDayLists && section != kSectionWords[list]) ++list;
        if (list == kDayLists) {
          day.kept.push_back({std::move(name), calories, std::move(section)});
          continue;
        }
        CalorieBalance next{day.intake, day.exercise, 0};
        (list == kExerciseList ? next.exercise : next.intake) += calories;
        if (!next.totalsFit()) {
          stoppedAt = line;
          why = lineText(dayFile, line) + words::kDayCaloriesTooLarge;
          break;
        }
        day.intake = next.intake;
        day.exercise = next.exercise;
        day.lists[list].push_back(CalorieItemEntry(name, calories));
      }
    } catch (const store::StoreError& e) {
      stoppedAt = r.line();
      why = e.what();
    }
    // Lines that are not CP932 end the text early; the records in them count as unread too.
    if (decoded.badLine > 0 && (stoppedAt == 0 || decoded.badLine < stoppedAt)) {
      if (stoppedAt == 0 || why.find(words::kDataEndsEarly) != std::string::npos) {
        stoppedAt = decoded.badLine;
        why = store::notCp932Text(dayFile, decoded.badLine);
      }
    }
    if (stoppedAt > 0) day.problems.push_back({dayFile, why, linesFrom(*bytes, stoppedAt)});
  }
  const std::string commentFile = commentFileName(dateText);
  if (auto bytes = dayFileBytes(commentFile, day.problems)) {
    Decoded decoded = decodeLines(*bytes);
    std::vector<std::string> lines = splitLines(decoded.text);
    if (lines.back().empty()) lines.pop_back();  // nothing after the last line end
    for (const auto& line : lines) day.comment += line + "\r\n";
    if (decoded.badLine > 0)
      day.problems.push_back(
          {commentFile, store::notCp932Text(commentFile, decoded.badLine), linesFrom(*bytes, decoded.badLine)});
  }
  return day;
}

int ReadProblem::total(const std::vector<ReadProblem>& problems) {
  int n = 0;
  for (const auto& p : problems) n += p.unreadRecords;
  return n;
}

std::string backupFileName(const std::string& fileName) { return fileName + ".bak"; }

std::vector<std::string> backupDayFiles(std::string_view dateText) {
  std::vector<std::string> copies;
  for (const std::string& name : {dayFileName(dateText), commentFileName(dateText)}) {
    if (!store::pathExists(name)) continue;
    store::rewriteFileBytes(backupFileName(name), store::readFileBytes(name));
    copies.push_back(backupFileName(name));
  }
  return copies;
}

void writeDayDiary(std::string_view dateText, const DayLists& lists, std::string_view comment,
                   const std::vector<KeptRecord>& kept) {
  std::vector<store::Record> records;
  records.push_back(store::Record().text(dateText));
  for (int list = 0; list < kDayLists; ++list)
    for (const auto& entry : lists[list])
      records.push_back(store::Record()
                            .text(entryName(entry))
                            .int16(static_cast<int16_t>(entryCalories(entry).value_or(0)))
                            .text(kSectionWords[list]));
  for (const KeptRecord& k : kept) records.push_back(store::Record().text(k.name).int16(k.calories).text(k.section));
  // Both files or neither: a day file without its comment file would be half a save.
  const std::string dayFile = dayFileName(dateText), commentFile = commentFileName(dateText);
  store::replaceFiles({{dayFile, store::encodeRecords(dayFile, records)},
                       {commentFile, store::encodeTextLines(commentFile, splitLines(comment))}});
}

}  // namespace diary
