#include "calendar/lazy_calendar.h"

#include <cstdio>

#include "store/files.h"
#include "store/numbers.h"
#include "store/record.h"

namespace calendar {

int MonthLayout::dayInCell(int cell) const {
  int day = cell - firstCell + 1;
  return day >= 1 && day <= days ? day : 0;
}

MonthLayout layoutMonth(int year, unsigned month) {
  MonthLayout l;
  l.firstCell = static_cast<int>(store::weekdayOf(store::makeDate(year, month, 1)));
  l.days = static_cast<int>(store::daysInMonth(year, month));
  return l;
}

std::string monthCaption(int year, unsigned month) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d", year);
  std::string caption = std::string(buf) + "年";
  std::snprintf(buf, sizeof buf, "%02u", month);
  return caption + buf + "月";
}

std::string monthFileName(int year, unsigned month) { return monthCaption(year, month) + ".txt"; }

MonthRead readMonth(const std::string& fileName) {
  MonthRead out;
  out.marks.assign(kCellCount, kNoMark);
  store::OpenedFile file(fileName);
  if (file.missing()) return out;
  try {
    store::RecordReader r(file, store::RecordLimit{0});
    for (int i = 0; i < kCellCount && !r.atEnd(); ++i) out.marks[i] = r.readInt16();
  } catch (const store::StoreError& e) {
    // The marks read before the damage stay; the caller decides whether to say so.
    out.damage = e.what();
  }
  return out;
}

std::vector<int> readMonthMarks(const std::string& fileName) { return readMonth(fileName).marks; }

void writeMonthMarks(const std::string& fileName, const std::vector<int>& marks) {
  std::vector<store::Record> lines;
  for (int first = 0; first < kCellCount; first += 7) {
    store::Record line;
    for (int i = first; i < first + 7 && i < kCellCount; ++i)
      line.int16(static_cast<int16_t>(i < static_cast<int>(marks.size()) ? marks[i] : kNoMark));
    lines.push_back(line);
  }
  store::rewriteRecords(fileName, lines);
}

int nextMark(int mark) {
  ++mark;
  return mark > kBadDay ? kNoMark : mark;
}

std::optional<form::Color> loadedMarkColour(int mark) {
  switch (mark) {
    case kNoMark: return std::nullopt;
    case kGoodDay: return kGoodColour;
    case kBadDay: return kBadColour;
    default: return kUnknownMarkColour;
  }
}

std::optional<form::Color> clickedMarkColour(int mark) {
  if (mark == kGoodDay) return kGoodColour;
  if (mark == kBadDay) return kBadColour;
  return std::nullopt;
}

Achievement achievementOf(const std::vector<int>& marks, float targetRatePercent) {
  Achievement a;
  for (int m : marks) {
    if (m == kGoodDay) ++a.good;
    if (m == kBadDay) ++a.bad;
  }
  if (a.good + a.bad != 0) a.rate = static_cast<float>(a.good) / static_cast<float>(a.good + a.bad);
  a.rateText = store::formatNumber(static_cast<double>(a.rate * 100.0f), "0.0");
  const float target = targetRatePercent / 100.0f;
  a.smiling = !(target > a.rate);
  return a;
}

}  // namespace calendar
