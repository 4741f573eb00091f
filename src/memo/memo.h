#pragma once
// Four memo lists: titles in ﾘｽﾄ題目.txt, notes in ﾘｽﾄ1.txt to ﾘｽﾄ4.txt.
#include <string>
#include <vector>

namespace store {
class RecordReader;
}

namespace memo {

inline constexpr int kListCount = 4;
inline constexpr int kDatedList = 4;
inline constexpr const char* kTitlesFile = "ﾘｽﾄ題目.txt";

// ﾘｽﾄ1.txt … ﾘｽﾄ4.txt.
std::string listFileName(int list);

// The four titles; throws store::StoreError when the file is missing or short.
std::vector<std::string> readTitles(const std::string& fileName = kTitlesFile);
void writeTitles(const std::vector<std::string>& titles, const std::string& fileName = kTitlesFile);

std::vector<std::string> readNotes(const std::string& fileName);
// Every note `r` has left; `expected`, when known (countNotes), is the room to reserve.
std::vector<std::string> readNotes(store::RecordReader& r, size_t expected = 0);
// How many notes `r` has left, each checked but not kept.
int countNotes(store::RecordReader& r);
void appendNote(const std::string& fileName, const std::string& note);
// Rewrites the whole list (a correction or a deletion).
void writeNotes(const std::string& fileName, const std::vector<std::string>& notes);

// The note of the dated list: "01/05 - X" for a selected date of 2024/01/05.
std::string datedNote(const std::string& selectedDate, const std::string& note);

}  // namespace memo
