#include "store/record.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "store/cp932.h"
#include "store/files.h"
#include "store/numbers.h"
#include "words/file_errors.h"
#include "words/messages.h"

namespace store {
namespace {

std::string quoteName(const std::string& f) { return "「" + f + "」"; }

// The bytes decoded, or a StoreError naming the file and the line of the first byte that is no CP932.
std::string decodeFile(const std::string& fileName, const std::string& bytes) {
  try {
    return cp932ToUtf8(bytes);
  } catch (const EncodingError& e) {
    const size_t end = std::min(e.offset(), bytes.size());
    const int line =
        1 + static_cast<int>(std::count(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
    // The text already says how to mend the file: at start-up only the folder is added.
    const std::string text = notCp932Text(fileName, line);
    throw StoreError(fileName, text, text + "\n" + placeText(folderOfPath(fileName)));
  }
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

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

RecordReader::RecordReader(const std::string& fileName, RecordLimit limit) : fileName_(fileName) {
  std::string bytes = readFileBytes(fileName);
  if (limit.records > 0) {
    // Counted on the raw bytes, before anything is decoded or kept.
    size_t lines = static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
    if (!bytes.empty() && bytes.back() != '\n') ++lines;
    lines_ = lines;
    if (lines > limit.records) {
      const std::string text = words::tooManyLines(quoteName(fileName), lines, limit.records);
      throw StoreError(fileName, text, text + "\n" + placeText(folderOfPath(fileName)) + words::kMoveOldRecords);
    }
  }
  data_ = decodeFile(fileName, bytes);
}

RecordReader::RecordReader(const std::string& fileName, std::string utf8Contents)
    : fileName_(fileName), data_(std::move(utf8Contents)) {}

bool RecordReader::atEnd() const {
  for (size_t i = pos_; i < data_.size(); ++i)
    if (!isBlank(data_[i]) && !isLineEnd(data_[i]) && data_[i] != '\x1a') return false;
  return true;
}

void RecordReader::fail(const std::string& what) const {
  throw StoreError(fileName_, lineText(fileName_, fieldLine_) + what);
}

std::string_view RecordReader::next() {
  const char* const d = data_.data();
  const char* const e = d + data_.size();
  const char* p = d + pos_;
  while (p < e && isBlank(*p)) ++p;
  fieldLine_ = lineNo_;
  if (p >= e) fail(words::kDataEndsEarly);
  std::string_view f;
  if (*p == '"') {
    const char* q = static_cast<const char*>(std::memchr(p + 1, '"', static_cast<size_t>(e - p - 1)));
    if (!q) q = e;
    f = std::string_view(p + 1, static_cast<size_t>(q - p - 1));
    // A text may run over lines; most do not.
    if (f.find('\n') != std::string_view::npos) lineNo_ += static_cast<int>(std::count(f.begin(), f.end(), '\n'));
    p = q < e ? q + 1 : e;
    while (p < e && *p != ',' && !isLineEnd(*p)) ++p;
  } else {
    const char* q = p;
    while (q < e && *q != ',' && !isLineEnd(*q)) ++q;
    f = std::string_view(p, static_cast<size_t>(q - p));
    while (!f.empty() && isBlank(f.back())) f.remove_suffix(1);
    p = q;
  }
  // The separator: a comma, or one line end (CR LF, LF or CR).
  if (p < e) {
    if (*p == ',') {
      ++p;
    } else if (*p == '\r') {
      ++p;
      if (p < e && *p == '\n') ++p;
      ++lineNo_;
    } else if (*p == '\n') {
      ++p;
      ++lineNo_;
    }
  }
  pos_ = static_cast<size_t>(p - d);
  return f;
}

std::string RecordReader::readText() { return std::string(next()); }

void RecordReader::skipField() { next(); }

double RecordReader::readNumber(double lo, double hi, const char* kind, bool whole) {
  const std::string_view f = next();
  lastNumber_ = f;
  auto v = parseNumberField(f);
  if (!v) fail(words::notANumber(f));
  double value = whole ? roundHalfEven(*v) : *v;
  if (!(value >= lo && value <= hi)) fail(words::numberOutOfRange(kind, f));
  return value;
}

float RecordReader::readSingle() { return static_cast<float>(readNumber(-3.4e38, 3.4e38, words::kAnyNumber, false)); }
double RecordReader::readDouble() { return readNumber(-1.7e308, 1.7e308, words::kAnyNumber, false); }
int16_t RecordReader::readInt16() { return static_cast<int16_t>(readNumber(-32768, 32767, words::kInt16Range, true)); }
int32_t RecordReader::readInt32() {
  return static_cast<int32_t>(readNumber(-2147483648.0, 2147483647.0, words::kInt32Range, true));
}

// ---- writing ----

void Record::separator() {
  if (!first_) line_ += ',';
  first_ = false;
}
Record& Record::text(std::string_view value) {
  separator();
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

std::string readAllText(const std::string& fileName) { return decodeFile(fileName, readFileBytes(fileName)); }

bool fileExists(const std::string& fileName) {
  struct stat st {};
  return ::stat(fileName.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace store
