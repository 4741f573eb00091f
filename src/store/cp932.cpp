#include "store/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#include "words/messages.h"

namespace store {
namespace {

#include "cp932_table.inc"

constexpr bool asciiIsItself() {
  for (int b = 0; b < 0x80; ++b)
    if (kCp932Single[b] != b || kCp932Lead[b] >= 0) return false;
  return true;
}
static_assert(asciiIsItself(), "the decoder copies ASCII runs unchanged");

// Writes `u` as UTF-8 at `o`; returns the position after it.
char* putUtf8(char* o, uint16_t u) {
  if (u < 0x80) {
    *o++ = static_cast<char>(u);
  } else if (u < 0x800) {
    *o++ = static_cast<char>(0xC0 | u >> 6);
    *o++ = static_cast<char>(0x80 | (u & 0x3F));
  } else {
    *o++ = static_cast<char>(0xE0 | u >> 12);
    *o++ = static_cast<char>(0x80 | (u >> 6 & 0x3F));
    *o++ = static_cast<char>(0x80 | (u & 0x3F));
  }
  return o;
}

// Decodes by the table iconv's CP932 was read into; on bytes that are no character, returns
// the offset where iconv stops: the byte itself, or the lead byte of a pair.
std::optional<size_t> decodeCp932(std::string_view in, std::string& out) {
  // Written through a pointer, then cut to size: a start-up decodes every file, so no
  // per-character appends. The room fits Japanese text (two bytes in, three out); it grows to
  // the worst case (half-width kana, one byte in, three out) only when the rest might not fit.
  // Before each character the room left is at least the bytes left, which covers any ASCII.
  const auto* p = reinterpret_cast<const unsigned char*>(in.data());
  const size_t n = in.size();
  out.resize(n + n / 2 + 8);
  char* o = out.data();
  size_t i = 0;
  while (i < n) {
    if (p[i] < 0x80) {
      // Numbers, dates and separators: eight ASCII bytes at a time while they last.
      for (uint64_t word; i + 8 <= n; i += 8, o += 8) {
        std::memcpy(&word, p + i, 8);
        if (word & 0x8080808080808080u) break;
        std::memcpy(o, &word, 8);
      }
      while (i < n && p[i] < 0x80) *o++ = static_cast<char>(p[i++]);
      continue;
    }
    if (static_cast<size_t>(out.data() + out.size() - o) < n - i + 3) {
      const size_t at = static_cast<size_t>(o - out.data());
      out.resize(at + 3 * (n - i) + 8);
      o = out.data() + at;
    }
    uint16_t u;
    const int lead = kCp932Lead[p[i]];
    if (lead >= 0) {
      if (i + 1 >= n) return i;
      u = kCp932Pairs[static_cast<size_t>(lead) * 256 + p[i + 1]];
      if (u == 0xFFFF) return i;
      i += 2;
    } else {
      u = kCp932Single[p[i]];
      if (u == 0xFFFF) return i;
      ++i;
    }
    o = putUtf8(o, u);
  }
  out.resize(static_cast<size_t>(o - out.data()));
  return std::nullopt;
}

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) throw EncodingError(words::converterMissing(from, to));
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts all of `in`; on failure returns the byte offset of the bad input.
  std::optional<size_t> run(std::string_view in, std::string& out) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    out.clear();
    std::vector<char> buf(in.size() * 2 + 16);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    while (srcLeft > 0) {
      char* dst = buf.data();
      size_t dstLeft = buf.size();
      size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      out.append(buf.data(), dst - buf.data());
      if (r == static_cast<size_t>(-1)) {
        if (errno == E2BIG) continue;
        return static_cast<size_t>(src - in.data());
      }
      if (r > 0) return static_cast<size_t>(src - in.data());  // non-reversible substitution
    }
    return std::nullopt;
  }

 private:
  iconv_t cd_;
};

size_t utf8Length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;
}

}  // namespace

std::string cp932ToUtf8(std::string_view bytes) {
  std::string out;
  if (auto bad = decodeCp932(bytes, out)) {
    throw EncodingError(words::unencodableByte(*bad + 1), {}, *bad);
  }
  return out;
}

std::optional<std::string> firstUnencodable(std::string_view text) {
  Converter c("CP932", "UTF-8");
  std::string out;
  auto bad = c.run(text, out);
  if (!bad) return std::nullopt;
  size_t n = utf8Length(static_cast<unsigned char>(text[*bad]));
  return std::string(text.substr(*bad, n));
}

std::string utf8ToCp932(std::string_view text) {
  Converter c("CP932", "UTF-8");
  std::string out;
  if (auto bad = c.run(text, out)) {
    size_t n = utf8Length(static_cast<unsigned char>(text[*bad]));
    std::string ch(text.substr(*bad, n));
    throw EncodingError(words::unencodableChar(ch), ch);
  }
  return out;
}

}  // namespace store
