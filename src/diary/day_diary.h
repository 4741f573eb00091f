#pragma once
// One day of the diary: the three meal lists, the exercise list and the comment, kept in a day
// file (records) and a comment file (plain lines), both named after the date.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace diary {

// The day's lists in file order: morning, noon, evening meals, then exercise.
inline constexpr int kDayLists = 4;
inline constexpr int kExerciseList = 3;
extern const std::array<const char*, kDayLists> kSectionWords;  // 朝 昼 夕 運動
using DayLists = std::array<std::vector<std::string>, kDayLists>;

// "20240105.txt" and "日記20240105.txt" for the date text "2024/01/05".
std::string dayFileName(std::string_view dateText);
std::string commentFileName(std::string_view dateText);

// The day's calorie figures; all of them are 16-bit numbers in the files and on screen.
struct CalorieBalance {
  int intake = 0;
  int exercise = 0;
  int target = 0;
  int balance() const { return intake - exercise; }
  int difference() const { return balance() - target; }
  // Both totals and the balance fit in 16 bits.
  bool totalsFit() const;
  // ... and the difference from the target too.
  bool fits() const;
};
// The difference as shown: a leading "+" when above zero.
std::string differenceText(int difference);

// A file of the day that could not be read whole.
struct ReadProblem {
  std::string fileName;
  std::string message;    // names the file and the line where the reading stopped
  int unreadRecords = 0;  // lines with content from there on (records, or comment lines)
  static int total(const std::vector<ReadProblem>& problems);
};

// A record of a section the diary does not know (a hand edit): not shown and not counted, but
// written back as it was read when the day is saved, so that a save never loses it.
struct KeptRecord {
  std::string name;
  int16_t calories = 0;
  std::string section;
};

struct DayDiary {
  DayLists lists;  // entry texts
  std::vector<KeptRecord> kept;
  int intake = 0;
  int exercise = 0;
  std::string comment;                // each line followed by CR LF
  std::vector<ReadProblem> problems;  // empty when both files were read whole (or are missing)
};

// Reads what can be read: a missing file gives an empty day; a damaged record, an undecodable
// line or a total that would leave 16 bits ends the reading, keeps the entries before it and is
// reported in `problems`. Records of an unknown section are kept aside in `kept`.
DayDiary readDayDiary(std::string_view dateText);

// "20240105.txt.bak": the copy kept before a partly read day is replaced.
std::string backupFileName(const std::string& fileName);
// Copies the day's existing files to their backup names; returns those names. Throws
// store::StoreError.
std::vector<std::string> backupDayFiles(std::string_view dateText);

// Splits at CR LF, CR or LF. The piece after the last line end is kept even when empty.
std::vector<std::string> splitLines(std::string_view text);

// Rewrites both files of the day: the entries by list, then the records kept aside, and the
// comment followed by one CR LF (its own line ends stored as CR LF). Throws store::StoreError
// when a file cannot be written.
void writeDayDiary(std::string_view dateText, const DayLists& lists, std::string_view comment,
                   const std::vector<KeptRecord>& kept = {});

}  // namespace diary
