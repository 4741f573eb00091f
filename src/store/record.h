#pragma once
// The one record syntax of every data file: comma-separated fields, texts in double quotes
// (no escape), bare numbers with "." as decimal point, CR LF after each record, CP932 on disk.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "store/numbers.h"

namespace store {

class OpenedFile;

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
  // The same, from a file opened earlier.
  RecordReader(OpenedFile& file, RecordLimit limit);
  // Reads from text already in memory (UTF-8); `fileName` is used in messages only.
  RecordReader(const std::string& fileName, std::string utf8Contents);
  // Reads again the bytes of a file another reader read and checked (bytes()), for records
  // parsed only when first needed; `fileName` is used in messages only.
  RecordReader(const std::string& fileName, std::shared_ptr<const std::string> checkedBytes);

  // The bytes read, to be read again later by a reader of their own.
  const std::shared_ptr<const std::string>& bytes() const { return owner_; }
  // Where `text` lies in bytes(), or npos when it lies elsewhere.
  size_t placeInBytes(std::string_view text) const {
    const std::less_equal<const char*> le;  // views of different buffers compare too
    return le(data_.data(), text.data()) && le(text.data() + text.size(), data_.data() + data_.size())
               ? static_cast<size_t>(text.data() - data_.data())
               : std::string_view::npos;
  }

  // Room to reserve for the file's records: its lines, counted when it was opened with a limit
  // (0 otherwise), up to a bound, so that a file of blank lines reserves no great amount.
  size_t recordsHint() const { return std::min<size_t>(lines_, 1 << 16); }
  // True when nothing but line ends and blanks is left.
  bool atEnd() const;

  std::string readText();
  // The next text as readText() gives it, without copying it where it can: a view into
  // bytes() when it stands there as it reads (ASCII, quoted on one line), else into a buffer
  // of the reader's own, good until the next read.
  std::string_view readTextView();
  float readSingle();
  double readDouble();
  int16_t readInt16();
  int32_t readInt32();
  void skipField();  // a label field, read and thrown away

  // 1-based line of the field read last, for messages.
  int line() const { return fieldLine_; }
  const std::string& fileName() const { return fileName_; }
  // The number field read last, as it stands in the file, for messages.
  std::string lastNumberText() const { return textOf(lastNumber_); }

 private:
  friend class TextIs;
  // The next field, a view into the file as read: no copy unless a text is kept.
  std::string_view next();
  std::string readOtherText();
  bool otherTextIs(std::string_view utf8);
  // Reads the next field when it is a quoted text on one line right before a separator (most
  // are): its text as stored, and whether that is ASCII (or UTF-8 already). False, with
  // nothing read, for any other field.
  bool quotedOnOneLine(std::string_view& text, bool& ascii);
  // A field as UTF-8.
  std::string textOf(std::string_view field) const;
  // A field of non-ASCII CP932 decoded, looking first among the last short texts decoded.
  const std::string& decodeRecent(std::string_view stored);
  static bool isBlankByte(char c) { return c == ' ' || c == '\t'; }
  static bool isLineEndByte(char c) { return c == '\r' || c == '\n'; }
  // Ends at `p` the field that begins at pos_ when a field may end there (a separator or the
  // end of the data): notes its line and moves past the separator. False, with nothing moved,
  // for any other byte. The fast paths test and take the separator in one look.
  bool endFieldAt(const char* p);
  enum class NumberKind { Any, Int16, Int32 };
  double readNumber(double lo, double hi, NumberKind kind, bool whole);
  // Reads the next field when it is a plain decimal right before a separator (most numbers
  // are); false, with nothing read, for any other field.
  bool plainNumber(double& value);
  // Any other number field: blanks, an empty field, an exponent, or no number (a StoreError).
  double otherNumber();
  [[noreturn]] void failRange(NumberKind kind) const;
  [[noreturn]] void fail(const std::string& what) const;
  // Checks the bytes read: CP932, and at most `limit` lines.
  void check(RecordLimit limit);

  std::string fileName_;
  // The file's bytes, checked to be CP932 and decoded field by field as texts are read (the
  // separators are ASCII below 0x40, so they never occur inside a double-byte character); or
  // text given as UTF-8.
  std::shared_ptr<const std::string> owner_;
  std::string_view data_;
  bool cp932_ = false;
  struct RecentText {
    std::string stored, text;
  };
  static constexpr size_t kRecentSize = 15;  // fits std::string's own buffer
  std::array<RecentText, 4> recent_;
  std::string longText_;
  size_t nextRecent_ = 0;
  size_t pos_ = 0;
  size_t lines_ = 0;
  int lineNo_ = 1;
  int fieldLine_ = 0;
  std::string_view lastNumber_;
};

// Whether each next text of a reader is `utf8`, as a log's marks are asked record after record:
// the stored forms last seen to decode to it, and not to, are compared in place, undecoded.
class TextIs {
 public:
  explicit TextIs(std::string utf8) : utf8_(std::move(utf8)) {}
  // Reads the next field as RecordReader::readText would and tells whether it is `utf8`.
  bool next(RecordReader& r);

 private:
  bool learn(RecordReader& r, std::string_view stored);
  // A short text compared byte by byte in place (a mark is two or three bytes).
  struct ShortText {
    static constexpr size_t kMax = 15;
    std::array<char, kMax> bytes{};
    size_t size = static_cast<size_t>(-1);  // none: no text is that long
    bool operator==(std::string_view s) const {
      if (s.size() != size || size > kMax) return false;
      if (size == 2) {  // one double-byte character, the usual mark: one load each
        uint16_t a = 0, b = 0;
        std::memcpy(&a, bytes.data(), 2);
        std::memcpy(&b, s.data(), 2);
        return a == b;
      }
      for (size_t i = 0; i < size; ++i)
        if (bytes[i] != s[i]) return false;
      return true;
    }
    void assign(std::string_view s) {
      size = s.size();
      std::copy(s.begin(), s.end(), bytes.begin());
    }
  };
  std::string utf8_;
  ShortText yes_, no_;
};

// The hot paths of reading, inline so that each loader's loop keeps the reader in registers.

enum class TextKind { Ascii, OneLine, OverLines };
// Whether [p, end) is ASCII, which reads as it stands, and whether it runs over lines.
inline TextKind kindOfText(const char* p, const char* end) {
  constexpr uint64_t kHigh = 0x8080808080808080u, kLow7 = 0x7F7F7F7F7F7F7F7Fu, kLineEnds = 0x0A0A0A0A0A0A0A0Au;
  bool ascii = true;
  for (uint64_t word; end - p >= 8; p += 8) {
    std::memcpy(&word, p, 8);
    const uint64_t x = word ^ kLineEnds;
    if (~(((x & kLow7) + kLow7) | x) & kHigh) return TextKind::OverLines;  // a zero byte: '\n'
    ascii = ascii && !(word & kHigh);
  }
  for (; p < end; ++p) {
    if (*p == '\n') return TextKind::OverLines;
    ascii = ascii && static_cast<unsigned char>(*p) < 0x80;
  }
  return ascii ? TextKind::Ascii : TextKind::OneLine;
}

inline bool RecordReader::atEnd() const {
  for (size_t i = pos_; i < data_.size(); ++i)
    if (!isBlankByte(data_[i]) && !isLineEndByte(data_[i]) && data_[i] != '\x1a') return false;
  return true;
}

inline bool RecordReader::endFieldAt(const char* p) {
  const char* const e = data_.data() + data_.size();
  const int line = lineNo_;
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
    } else {
      return false;
    }
  }
  fieldLine_ = line;
  pos_ = static_cast<size_t>(p - data_.data());
  return true;
}

inline bool RecordReader::quotedOnOneLine(std::string_view& text, bool& ascii) {
  const char* const p = data_.data() + pos_;
  const char* const e = data_.data() + data_.size();
  if (p == e || *p != '"') return false;
  // One pass to the closing quote, sixteen bytes at a time, stopping early at a line end (CR or
  // LF: a text never holds one) and noting any byte above ASCII on the way; the last few bytes
  // (and, without SSE2, all of them) one at a time.
  const char* q = p + 1;
  unsigned high = 0;
  bool stopped = false;
#if defined(__SSE2__)
  const __m128i quotes = _mm_set1_epi8('"'), lineFeeds = _mm_set1_epi8('\n'), returns = _mm_set1_epi8('\r');
  while (!stopped && e - q >= 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
    unsigned before = 0xFFFF;
    const __m128i lineEnds = _mm_or_si128(_mm_cmpeq_epi8(v, lineFeeds), _mm_cmpeq_epi8(v, returns));
    const unsigned stops =  // bit k for byte k
        static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, quotes), lineEnds)));
    if (stops) {
      const int at = std::countr_zero(stops);
      before = (1u << at) - 1;
      q += at;
      stopped = true;
    } else {
      q += 16;
    }
    high |= static_cast<unsigned>(_mm_movemask_epi8(v)) & before;
  }
#endif
  for (; !stopped && q < e; ++q) {
    if (*q == '"' || isLineEndByte(*q)) break;
    high |= static_cast<unsigned char>(*q) & 0x80u;
  }
  if (q == e || *q != '"' || !endFieldAt(q + 1)) return false;
  text = std::string_view(p + 1, static_cast<size_t>(q - p - 1));
  ascii = high == 0 || !cp932_;
  return true;
}

inline std::string RecordReader::readText() {
  // Most texts (dates, times, marks, names) are quoted on one line, right before a separator.
  std::string_view text;
  bool ascii = false;
  if (quotedOnOneLine(text, ascii)) return ascii ? std::string(text) : decodeRecent(text);
  return readOtherText();
}

inline std::string_view RecordReader::readTextView() {
  std::string_view text;
  bool ascii = false;
  if (quotedOnOneLine(text, ascii)) return ascii ? text : std::string_view(decodeRecent(text));
  return longText_ = readOtherText();
}

inline bool TextIs::next(RecordReader& r) {
  // A mark seen before, quoted right before a separator (nearly every field of the nutrition
  // log): its two bytes compared where they lie, without the scan for the closing quote. What
  // was seen before was read by that scan, so it holds no quote and no line end.
  const char* const p = r.data_.data() + r.pos_;
  if (r.data_.size() - r.pos_ >= 4 && p[0] == '"' && p[3] == '"') {
    const std::string_view stored(p + 1, 2);
    const bool yes = yes_ == stored;
    if ((yes || no_ == stored) && r.endFieldAt(p + 4)) return yes;
  }
  std::string_view text;
  bool ascii = false;
  if (!r.quotedOnOneLine(text, ascii)) return r.otherTextIs(utf8_);
  if (ascii) return text == utf8_;
  if (yes_ == text) return true;
  if (no_ == text) return false;
  return learn(r, text);
}

inline void RecordReader::skipField() {
  std::string_view text;
  bool ascii = false;
  if (!quotedOnOneLine(text, ascii)) next();
}

inline bool RecordReader::plainNumber(double& value) {
  const char* const p = data_.data() + pos_;
  const char* const q = scanPlainDecimal(p, data_.data() + data_.size(), value);
  if (q == p || !endFieldAt(q)) return false;
  lastNumber_ = std::string_view(p, static_cast<size_t>(q - p));
  return true;
}

inline double RecordReader::readNumber(double lo, double hi, NumberKind kind, bool whole) {
  double v = 0;
  if (!plainNumber(v)) v = otherNumber();
  const double value = whole ? roundHalfEven(v) : v;
  if (!(value >= lo && value <= hi)) failRange(kind);
  return value;
}

inline float RecordReader::readSingle() {
  return static_cast<float>(readNumber(-3.4e38, 3.4e38, NumberKind::Any, false));
}
inline double RecordReader::readDouble() { return readNumber(-1.7e308, 1.7e308, NumberKind::Any, false); }
inline int16_t RecordReader::readInt16() {
  return static_cast<int16_t>(readNumber(-32768, 32767, NumberKind::Int16, true));
}
inline int32_t RecordReader::readInt32() {
  return static_cast<int32_t>(readNumber(-2147483648.0, 2147483647.0, NumberKind::Int32, true));
}

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
  // A text holds a line break: the record would not read back, and is never written.
  bool holdsLineBreak() const { return lineBreak_; }

 private:
  void separator();
  std::string line_;
  bool first_ = true;
  bool lineBreak_ = false;
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
