#include "memo/memo.h"

#include <cstdio>

#include "store/dates.h"
#include "store/record.h"

namespace memo {

std::string listFileName(int list) { return "ﾘｽﾄ" + std::to_string(list) + ".txt"; }

std::vector<std::string> readTitles(const std::string& fileName) {
  std::vector<std::string> titles(kListCount);
  store::RecordReader r(fileName);
  for (auto& t : titles) t = r.readText();
  return titles;
}

void writeTitles(const std::vector<std::string>& titles, const std::string& fileName) {
  std::vector<store::Record> records;
  for (const auto& t : titles) {
    store::Record rec;
    rec.text(t);
    records.push_back(rec);
  }
  store::rewriteRecords(fileName, records);
}

std::vector<std::string> readNotes(const std::string& fileName) {
  store::RecordReader r(fileName, store::kBusyLogLimit);
  return readNotes(r);
}

std::vector<std::string> readNotes(store::RecordReader& r, size_t expected) {
  std::vector<std::string> notes;
  notes.reserve(expected > 0 ? expected : r.recordsHint());
  while (!r.atEnd()) notes.push_back(r.readText());
  return notes;
}

int countNotes(store::RecordReader& r) {
  int n = 0;
  for (; !r.atEnd(); ++n) r.skipField();
  return n;
}

void appendNote(const std::string& fileName, const std::string& note) {
  store::Record rec;
  rec.text(note);
  store::appendRecords(fileName, {rec});
}

void writeNotes(const std::string& fileName, const std::vector<std::string>& notes) {
  std::vector<store::Record> records;
  for (const auto& n : notes) records.push_back(store::Record().text(n));
  store::rewriteRecords(fileName, records);
}

std::string datedNote(const std::string& selectedDate, const std::string& note) {
  std::string monthDay;
  if (auto d = store::parseDate(selectedDate)) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02u/%02u", store::monthOf(*d), store::dayOf(*d));
    monthDay = buf;
  } else {
    // The selector always holds a full date; keep its tail rather than lose the note.
    monthDay = selectedDate.size() >= 5 ? selectedDate.substr(selectedDate.size() - 5) : selectedDate;
  }
  return monthDay + " - " + note;
}

}  // namespace memo
