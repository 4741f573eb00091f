#pragma once
// The one record syntax of every data file: comma-separated fields, texts in double quotes
// (no escape), bare numbers with "." as decimal point, CR LF after each record, CP932 on disk.
#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace store {

// Any failure to read or write a data file; the message is Japanese and names the file.
// Texts about failed system calls come from file_error_text.h.
class StoreError : public std::runtime_error {
 public:
  // Damaged contents: `message` names the file and the line. At start-up the folder and how to
  // mend the line or put the file back are added.
  StoreError(std::string file, const std::string& message);
  StoreError(std::string file, const std::string& message, std::string startUpText)
      : std::runtime_error(message), file_(std::move(file)), startUp_(std::move(startUpText)) {}
  const std::string& file() const { return file_; }
  // The text when start-up stops on this error (without the notice that the program ends).
  const std::string& startUpText() const { return startUp_; }

 private:
  std::string file_;
  std::string startUp_;
};

// The most lines a file may hold before it is refused unread; 0 for no limit.
struct RecordLimit {
  size_t records = 0;
};
// Guards against a damaged file, never against long use: a log of one record a day may hold a
// record for every day from 1900 to 2100, each written over up to ten lines by hand.
inline constexpr size_t kDaysSince1900To2100 = 73'049;
inline constexpr RecordLimit kDailyLogLimit{10 * kDaysSince1900To2100};
// Logs of several records a day (weighings through the day, notes, training sets).
inline constexpr RecordLimit kBusyLogLimit{100 * kDaysSince1900To2100};

// Reads fields one after another; a line end separates fields exactly like a comma.
class RecordReader {
 public:
  // Opens and decodes the whole file; a missing or undecodable file is a StoreError, and so is
  // a folder, a link or anything but a plain file.
  explicit RecordReader(const std::string& fileName);
  // The same, refusing a file of more lines than `limit` before decoding it.
  RecordReader(const std::string& fileName, RecordLimit limit);
  // Reads from text already in memory (UTF-8); `fileName` is used in messages only.
  RecordReader(const std::string& fileName, std::string utf8Contents);

  // Room to reserve for the file's records: its lines, counted when it was opened with a limit
  // (0 otherwise), up to a bound, so that a file of blank lines reserves no great amount.
  size_t recordsHint() const { return std::min<size_t>(lines_, 1 << 16); }
  // True when nothing but line ends and blanks is left.
  bool atEnd() const;

  std::string readText();
  float readSingle();
  double readDouble();
  int16_t readInt16();
  int32_t readInt32();
  void skipField();  // a label field, read and thrown away

  // 1-based line of the field read last, for messages.
  int line() const { return fieldLine_; }
  const std::string& fileName() const { return fileName_; }
  // The number field read last, as it stands in the file, for messages.
  std::string lastNumberText() const { return std::string(lastNumber_); }

 private:
  // The next field, a view into the decoded text: no copy unless a text is kept.
  std::string_view next();
  double readNumber(double lo, double hi, const char* kind, bool whole);
  [[noreturn]] void fail(const std::string& what) const;

  std::string fileName_;
  std::string data_;
  size_t pos_ = 0;
  size_t lines_ = 0;
  int lineNo_ = 1;
  int fieldLine_ = 0;
  std::string_view lastNumber_;
};

// One record to be written: fields joined by commas.
class Record {
 public:
  Record& text(std::string_view value);
  Record& single(float value);
  Record& dbl(double value);
  Record& int16(int16_t value);
  Record& int32(int32_t value);
  // The record's line in UTF-8, without the CR LF.
  const std::string& line() const { return line_; }

 private:
  void separator();
  std::string line_;
  bool first_ = true;
};

// The records as the bytes of a file (CP932, CR LF after each).
std::string encodeRecords(const std::string& fileName, const std::vector<Record>& records);
// Plain text lines as the bytes of a file (CP932, CR LF after each).
std::string encodeTextLines(const std::string& fileName, const std::vector<std::string>& lines);
// Rewrite: a temporary file in the same folder, flushed to disk, renamed over the old one.
void rewriteRecords(const std::string& fileName, const std::vector<Record>& records);
// Append: open, write whole records, flush, close. Creates the file when missing. A last line
// without its line end gets one first; a failed append leaves the file as it was.
void appendRecords(const std::string& fileName, const std::vector<Record>& records);
// Plain text lines (CR LF after each), rewritten atomically like records.
void rewriteLines(const std::string& fileName, const std::vector<std::string>& lines);
// The whole file decoded to UTF-8; a missing or undecodable file is a StoreError.
std::string readAllText(const std::string& fileName);
bool fileExists(const std::string& fileName);

}  // namespace store
