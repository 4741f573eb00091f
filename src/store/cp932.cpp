#include "store/cp932.h"

#include <iconv.h>

#include <array>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "words/messages.h"

namespace store {
namespace {

#include "cp932_table.inc"

// Whether the two bytes (first << 8 | second) are one character; false for any first byte that
// leads none. One lookup a pair where the check spends its time, in two-byte text.
constexpr std::array<uint8_t, 65536> pairTable() {
  std::array<uint8_t, 65536> t{};
  for (size_t a = 0; a < 256; ++a) {
    const int lead = kCp932Lead[a];
    if (lead < 0) continue;
    for (size_t b = 0; b < 256; ++b) t[a << 8 | b] = kCp932Pairs[static_cast<size_t>(lead) * 256 + b] != 0xFFFF;
  }
  return t;
}
constexpr auto kPairOk = pairTable();

// Bytes of 0x80 and above that are a character alone.
constexpr std::array<bool, 256> singleTable() {
  std::array<bool, 256> t{};
  for (size_t a = 0x80; a < 256; ++a) t[a] = kCp932Lead[a] < 0 && kCp932Single[a] != 0xFFFF;
  return t;
}
constexpr auto kSingleOk = singleTable();

// The position of the first byte from `i` on that is no ASCII, or `n`.
size_t skipAscii(const unsigned char* p, size_t i, size_t n) {
#if defined(__SSE2__)
  for (; i + 16 <= n; i += 16) {
    const auto high =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i))));
    if (high != 0) return i + static_cast<size_t>(std::countr_zero(high));
  }
#else
  for (uint64_t word; i + 8 <= n; i += 8) {
    std::memcpy(&word, p + i, 8);
    if (word & 0x8080808080808080u) break;
  }
#endif
  while (i < n && p[i] < 0x80) ++i;
  return i;
}

// The '\n' bytes among the first `n`.
size_t countLineEnds(const unsigned char* p, size_t n) {
  size_t lines = 0, i = 0;
#if defined(__SSE2__)
  // Each byte lane counts its line ends, up to 255 blocks before the lanes are added up.
  const __m128i lineEnd = _mm_set1_epi8('\n'), zero = _mm_setzero_si128();
  while (i + 16 <= n) {
    __m128i counts = zero;
    for (int k = 0; k < 255 && i + 16 <= n; ++k, i += 16)
      counts = _mm_sub_epi8(counts, _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)), lineEnd));
    const __m128i sums = _mm_sad_epu8(counts, zero);
    lines += static_cast<size_t>(_mm_cvtsi128_si32(sums) + _mm_extract_epi16(sums, 4));
  }
#endif
  for (; i < n; ++i) lines += p[i] == '\n';
  return lines;
}

constexpr bool asciiIsItself() {
  for (int b = 0; b < 0x80; ++b)
    if (kCp932Single[b] != b || kCp932Lead[b] >= 0) return false;
  return true;
}
static_assert(asciiIsItself(), "the decoder copies ASCII runs unchanged");

// Each character's UTF-8 bytes followed by their count, laid out as they lie in memory whatever
// the machine's byte order, so that the decoder stores the four bytes and moves on by the count.
// 0 for bytes that are no character.
constexpr uint32_t inMemoryOrder(unsigned b0, unsigned b1, unsigned b2, unsigned count) {
  return std::bit_cast<uint32_t>(
      std::array<unsigned char, 4>{static_cast<unsigned char>(b0), static_cast<unsigned char>(b1),
                                   static_cast<unsigned char>(b2), static_cast<unsigned char>(count)});
}
constexpr uint32_t packUtf8(uint16_t u) {
  if (u == 0xFFFF) return 0;
  if (u < 0x80) return inMemoryOrder(u, 0, 0, 1);
  if (u < 0x800) return inMemoryOrder(0xC0u | u >> 6, 0x80u | (u & 0x3F), 0, 2);
  return inMemoryOrder(0xE0u | u >> 12, 0x80u | (u >> 6 & 0x3F), 0x80u | (u & 0x3F), 3);
}
template <size_t N>
constexpr std::array<uint32_t, N> packedTable(const uint16_t (&codes)[N]) {
  std::array<uint32_t, N> t{};
  for (size_t i = 0; i < N; ++i) t[i] = packUtf8(codes[i]);
  return t;
}
constexpr auto kSingleUtf8 = packedTable(kCp932Single);
constexpr auto kPairUtf8 = packedTable(kCp932Pairs);
static_assert(std::endian::native == std::endian::little || std::endian::native == std::endian::big);
// The count is the fourth byte in memory: the top of the word on a little-endian machine.
constexpr int kCountShift = std::endian::native == std::endian::little ? 24 : 0;

// Stores the packed bytes at `o` (the count lands after the character, where the next one goes);
// returns the position after the character.
char* putPacked(char* o, uint32_t packed) {
  std::memcpy(o, &packed, 4);
  return o + (packed >> kCountShift & 0xFF);
}

// Decodes bytes checkCp932 accepted to `o`, which has room for 3 bytes a byte plus 4.
char* decodeChecked(std::string_view bytes, char* o) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t n = bytes.size();
  for (size_t i = 0; i < n;) {
    const int lead = kCp932Lead[p[i]];
    if (lead >= 0 && i + 1 < n) {
      o = putPacked(o, kPairUtf8[static_cast<size_t>(lead) * 256 + p[i + 1]]);
      i += 2;
    } else {
      o = putPacked(o, kSingleUtf8[p[i]]);
      ++i;
    }
  }
  return o;
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

// The position of the first byte from which `bytes` are no CP932, or their size.
size_t validUpTo(const unsigned char* p, size_t n) {
  size_t i = 0;
#if defined(__SSE2__)
  // Sixteen bytes at a time: ASCII costs nothing, and only the bytes of 0x80 and above are
  // looked at, each one a character alone or the first of a pair (whose second byte may be
  // ASCII, and may lie in the next block).
  while (i + 16 <= n) {
    auto high = static_cast<unsigned>(_mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i))));
    size_t next = i + 16;
    while (high != 0) {
      const auto at = static_cast<unsigned>(std::countr_zero(high));
      const size_t j = i + at;
      if (j + 1 < n && kPairOk[size_t{p[j]} << 8 | p[j + 1]]) {
        if (at == 15) {
          next = j + 2;
          break;
        }
        high &= ~(3u << at);
      } else if (kSingleOk[p[j]]) {
        high &= high - 1;
      } else {
        return j;
      }
    }
    i = next;
  }
#endif
  while (i < n) {
    if (p[i] < 0x80) {
      i = skipAscii(p, i, n);
    } else if (i + 1 < n && kPairOk[size_t{p[i]} << 8 | p[i + 1]]) {
      i += 2;
    } else if (kSingleOk[p[i]]) {
      ++i;
    } else {
      return i;
    }
  }
  return n;
}

}  // namespace

std::optional<size_t> checkCp932(std::string_view bytes, size_t& lineEnds) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t stop = validUpTo(p, bytes.size());
  // No byte of a two-byte character is a line end: the line ends before the stop are all
  // among its ASCII bytes.
  lineEnds = countLineEnds(p, stop);
  if (stop < bytes.size()) return stop;
  return std::nullopt;
}

std::string checkedCp932ToUtf8(std::string_view bytes) {
  size_t i = 0;
  for (uint64_t word; i + 8 <= bytes.size(); i += 8) {
    std::memcpy(&word, bytes.data() + i, 8);
    if (word & 0x8080808080808080u) break;
  }
  while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80) ++i;
  if (i == bytes.size()) return std::string(bytes);
  // Most texts are short (marks, names, notes): decoded on the stack, then copied once.
  constexpr size_t kShort = 128;
  if (bytes.size() <= kShort) {
    char buf[3 * kShort + 4];
    return std::string(buf, decodeChecked(bytes, buf));
  }
  std::string out(3 * bytes.size() + 4, '\0');
  out.resize(static_cast<size_t>(decodeChecked(bytes, out.data()) - out.data()));
  return out;
}

std::string cp932ToUtf8(std::string_view bytes) {
  size_t lineEnds = 0;
  if (auto bad = checkCp932(bytes, lineEnds)) throw EncodingError(words::unencodableByte(*bad + 1), {}, *bad);
  return checkedCp932ToUtf8(bytes);
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
