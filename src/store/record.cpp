#include "store/record.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "store/cp932.h"
#include "store/files.h"
#include "store/numbers.h"
#include "words/file_errors.h"
#include "words/messages.h"

namespace store {
namespace {

std::string quoteName(const std::string& f) { return "「" + f + "」"; }

// The StoreError for a file whose line `line` holds a byte that is no CP932.
[[noreturn]] void failNotCp932(const std::string& fileName, int line) {
  // The text already says how to mend the file: at start-up only the folder is added.
  const std::string text = notCp932Text(fileName, line);
  throw StoreError(fileName, text, text + "\n" + placeText(folderOfPath(fileName)));
}

std::string encodeLines(const std::string& fileName, const std::vector<std::string>& lines) {
  std::string bytes;
  for (const auto& l : lines) {
    try {
      bytes += utf8ToCp932(l);
    } catch (const EncodingError& e) {
      const std::string text = words::writeRefused(quoteName(fileName), e.what());
      throw StoreError(fileName, text, text);
    }
    bytes += "\r\n";
  }
  return bytes;
}

}  // namespace

// ---- reading ----

RecordReader::RecordReader(const std::string& fileName) : RecordReader(fileName, RecordLimit{0}) {}

RecordReader::RecordReader(const std::string& fileName, RecordLimit limit) : fileName_(fileName), cp932_(true) {
  owner_ = std::make_shared<const std::string>(readFileBytes(fileName));
  check(limit);
}

RecordReader::RecordReader(OpenedFile& file, RecordLimit limit) : fileName_(file.name()), cp932_(true) {
  owner_ = std::make_shared<const std::string>(file.read());
  check(limit);
}

void RecordReader::check(RecordLimit limit) {
  data_ = *owner_;
  // One pass checks the encoding and counts the lines; nothing is decoded until it is read.
  size_t lineEnds = 0;
  const std::optional<size_t> bad = checkCp932(data_, lineEnds);
  if (limit.records > 0) {
    size_t lines = lineEnds;
    if (bad)
      lines += static_cast<size_t>(std::count(data_.begin() + static_cast<std::ptrdiff_t>(*bad), data_.end(), '\n'));
    if (!data_.empty() && data_.back() != '\n') ++lines;
    lines_ = lines;
    if (lines > limit.records) {
      const std::string text = words::tooManyLines(quoteName(fileName_), lines, limit.records);
      throw StoreError(fileName_, text, text + "\n" + placeText(folderOfPath(fileName_)) + words::kMoveOldRecords);
    }
  }
  if (bad) failNotCp932(fileName_, 1 + static_cast<int>(lineEnds));
}

RecordReader::RecordReader(const std::string& fileName, std::string utf8Contents)
    : fileName_(fileName), owner_(std::make_shared<const std::string>(std::move(utf8Contents))), data_(*owner_) {}

RecordReader::RecordReader(const std::string& fileName, std::shared_ptr<const std::string> checkedBytes)
    : fileName_(fileName), owner_(std::move(checkedBytes)), data_(*owner_), cp932_(true) {}

void RecordReader::fail(const std::string& what) const {
  throw StoreError(fileName_, lineText(fileName_, fieldLine_) + what);
}

std::string_view RecordReader::next() {
  const char* const d = data_.data();
  const char* const e = d + data_.size();
  const char* p = d + pos_;
  while (p < e && isBlankByte(*p)) ++p;
  fieldLine_ = lineNo_;
  if (p >= e) fail(words::kDataEndsEarly);
  std::string_view f;
  if (*p == '"') {
    // No text the program writes holds a line break: a quote still open at the line's end is
    // damage (a hand edit, a lost quote), named at the line where it opened, never read on
    // into the records after it.
    const char* q = p + 1;
    while (q < e && *q != '"' && !isLineEndByte(*q)) ++q;
    if (q == e || *q != '"') fail(words::kQuoteNotClosed);
    f = std::string_view(p + 1, static_cast<size_t>(q - p - 1));
    p = q + 1;
    while (p < e && *p != ',' && !isLineEndByte(*p)) ++p;
  } else {
    const char* q = p;
    while (q < e && *q != ',' && !isLineEndByte(*q)) ++q;
    f = std::string_view(p, static_cast<size_t>(q - p));
    while (!f.empty() && isBlankByte(f.back())) f.remove_suffix(1);
    p = q;
  }
  endFieldAt(p);  // at a separator or the end: always true
  return f;
}

std::string RecordReader::textOf(std::string_view field) const {
  return cp932_ ? checkedCp932ToUtf8(field) : std::string(field);
}

std::string RecordReader::readOtherText() { return textOf(next()); }

const std::string& RecordReader::decodeRecent(std::string_view stored) {
  // Short texts repeat from record to record (marks, kinds of item): the last few are kept.
  if (stored.size() > kRecentSize) return longText_ = checkedCp932ToUtf8(stored);
  for (const RecentText& r : recent_)
    if (r.stored == stored) return r.text;
  RecentText& slot = recent_[nextRecent_++ % recent_.size()];
  slot.stored.assign(stored);
  slot.text = checkedCp932ToUtf8(stored);
  return slot.text;
}

bool TextIs::learn(RecordReader& r, std::string_view stored) {
  const bool is = r.decodeRecent(stored) == utf8_;
  if (stored.size() <= ShortText::kMax) (is ? yes_ : no_).assign(stored);
  return is;
}

bool RecordReader::otherTextIs(std::string_view utf8) {
  const std::string_view text = next();
  const bool ascii = !cp932_ || kindOfText(text.data(), text.data() + text.size()) == TextKind::Ascii;
  return ascii ? text == utf8 : decodeRecent(text) == utf8;
}

double RecordReader::otherNumber() {
  lastNumber_ = next();
  const std::optional<double> v = parseNumberField(lastNumber_);
  if (!v) fail(words::notANumber(textOf(lastNumber_)));
  return *v;
}

void RecordReader::failRange(NumberKind kind) const {
  const char* range = kind == NumberKind::Int16   ? words::kInt16Range
                      : kind == NumberKind::Int32 ? words::kInt32Range
                                                  : words::kAnyNumber;
  fail(words::numberOutOfRange(range, textOf(lastNumber_)));
}

// ---- writing ----

void Record::separator() {
  if (!first_) line_ += ',';
  first_ = false;
}
Record& Record::text(std::string_view value) {
  separator();
  lineBreak_ = lineBreak_ || value.find_first_of("\r\n") != std::string_view::npos;
  line_ += '"';
  line_ += value;
  line_ += '"';
  return *this;
}
Record& Record::single(float value) {
  separator();
  line_ += shortestSingle(value);
  return *this;
}
Record& Record::dbl(double value) {
  separator();
  line_ += shortestDouble(value);
  return *this;
}
Record& Record::int16(int16_t value) {
  separator();
  line_ += std::to_string(value);
  return *this;
}
Record& Record::int32(int32_t value) {
  separator();
  line_ += std::to_string(value);
  return *this;
}

static std::vector<std::string> linesOf(const std::vector<Record>& records) {
  std::vector<std::string> lines;
  lines.reserve(records.size());
  for (const auto& r : records) lines.push_back(r.line());
  return lines;
}

std::string encodeTextLines(const std::string& fileName, const std::vector<std::string>& lines) {
  return encodeLines(fileName, lines);
}

std::string encodeRecords(const std::string& fileName, const std::vector<Record>& records) {
  for (const auto& r : records)
    if (r.holdsLineBreak()) {
      const std::string text = words::writeRefused(quoteName(fileName), words::kLineBreakInText);
      throw StoreError(fileName, text, text);
    }
  return encodeLines(fileName, linesOf(records));
}

void rewriteRecords(const std::string& fileName, const std::vector<Record>& records) {
  rewriteFileBytes(fileName, encodeRecords(fileName, records));
}

void rewriteLines(const std::string& fileName, const std::vector<std::string>& lines) {
  rewriteFileBytes(fileName, encodeLines(fileName, lines));
}

void appendRecords(const std::string& fileName, const std::vector<Record>& records) {
  appendFileBytes(fileName, encodeRecords(fileName, records));  // encoded whole before the file is touched
}

std::string readAllText(const std::string& fileName) {
  const std::string bytes = readFileBytes(fileName);
  size_t lineEnds = 0;
  if (checkCp932(bytes, lineEnds)) failNotCp932(fileName, 1 + static_cast<int>(lineEnds));
  return checkedCp932ToUtf8(bytes);
}

bool fileExists(const std::string& fileName) {
  struct stat st {};
  return ::stat(fileName.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace store
