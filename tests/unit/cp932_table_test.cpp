// The table decoder against iconv itself, on every single byte and every pair of bytes, and the
// way back: what a code decodes to is stored again by the encoder as a code of that character.
#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "store/cp932.h"

namespace {

// iconv's decoding of `in`: the text, or the offset of the first byte it refuses.
struct Decoded {
  std::string text;
  std::optional<size_t> bad;
};

class IconvDecoder {
 public:
  IconvDecoder() : cd_(iconv_open("UTF-8", "CP932")) {}
  ~IconvDecoder() {
    if (ok()) iconv_close(cd_);
  }
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  Decoded operator()(const std::string& in) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    Decoded d;
    std::vector<char> buf(in.size() * 4 + 16);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = buf.data();
    size_t dstLeft = buf.size();
    const size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
    d.text.assign(buf.data(), dst);
    if (r == static_cast<size_t>(-1) || r > 0) d.bad = static_cast<size_t>(src - in.data());
    return d;
  }

 private:
  iconv_t cd_;
};

Decoded tableDecode(const std::string& in) {
  try {
    return {store::cp932ToUtf8(in), std::nullopt};
  } catch (const store::EncodingError& e) {
    // The message counts bytes from 1.
    const std::string what = e.what();
    const size_t from = what.find("先頭から ") + std::string("先頭から ").size();
    return {{}, std::stoul(what.substr(from)) - 1};
  }
}

void expectSame(IconvDecoder& iconvDecode, const std::string& in, int& failures) {
  const Decoded want = iconvDecode(in), got = tableDecode(in);
  if (got.bad != want.bad || (!want.bad && got.text != want.text)) {
    std::string hex;
    for (unsigned char c : in) hex += " " + std::to_string(c);
    ADD_FAILURE() << "bytes" << hex << ": " << (got.bad ? "refused at " + std::to_string(*got.bad) : got.text) << " vs "
                  << (want.bad ? "refused at " + std::to_string(*want.bad) : want.text);
    ++failures;
  }
}

}  // namespace

TEST(Cp932Table, EverySingleByteAndEveryPairDecodeAsIconvDecodesThem) {
  IconvDecoder iconvDecode;
  ASSERT_TRUE(iconvDecode.ok());
  int failures = 0, pairs = 0;
  for (int a = 0; a < 256 && failures < 20; ++a) {
    const std::string one(1, static_cast<char>(a));
    expectSame(iconvDecode, one, failures);
    expectSame(iconvDecode, one + "A", failures);
    for (int b = 0; b < 256 && failures < 20; ++b) {
      const std::string two{static_cast<char>(a), static_cast<char>(b)};
      expectSame(iconvDecode, two, failures);
      if (!iconvDecode(two).bad) ++pairs;
    }
  }
  EXPECT_GT(pairs, 7000);
}

TEST(Cp932Table, RandomTextsOfMixedBytesDecodeAsIconvDecodesThem) {
  IconvDecoder iconvDecode;
  ASSERT_TRUE(iconvDecode.ok());
  std::mt19937 rng(932);
  // Long texts too: runs of half-width kana take three bytes for one, more than the decoder
  // first makes room for.
  const std::string samples[] = {"体重", "ﾌﾟﾗｲﾍﾞｰﾄ", "①Ⅱ㈱", "\"2026/12/07\",65.3\r\n", "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄ"};
  int failures = 0;
  for (int i = 0; i < 20000 && failures < 20; ++i) {
    std::string text;
    const int parts = 1 + static_cast<int>(rng() % (i % 20 == 0 ? 400 : 8));
    for (int k = 0; k < parts; ++k) {
      if (rng() % 3 == 0) {
        text += static_cast<char>(rng() % 256);
      } else {
        const std::string& s = samples[rng() % 5];
        text += store::utf8ToCp932(s);
      }
    }
    expectSame(iconvDecode, text, failures);
  }
}

TEST(Cp932Table, EveryCodeIsStoredBackAsACodeOfTheSameCharacter) {
  IconvDecoder iconvDecode;
  ASSERT_TRUE(iconvDecode.ok());
  int codes = 0, same = 0;
  for (int a = 0x81; a < 256; ++a) {
    if (!tableDecode(std::string(1, static_cast<char>(a))).bad) continue;  // no lead byte
    for (int b = 0; b < 256; ++b) {
      const std::string two{static_cast<char>(a), static_cast<char>(b)};
      const Decoded d = tableDecode(two);
      if (d.bad || d.text.empty() || static_cast<unsigned char>(d.text[0]) < 0x80) continue;
      ++codes;
      ASSERT_FALSE(store::firstUnencodable(d.text).has_value()) << a << " " << b;
      const std::string back = store::utf8ToCp932(d.text);
      if (back == two) ++same;
      // A character with two codes (NEC and IBM rows) is stored under one of them.
      EXPECT_EQ(tableDecode(back).text, d.text) << a << " " << b;
    }
  }
  EXPECT_GT(codes, 7000);
  EXPECT_GT(same, codes * 9 / 10);
}

// Every pair again, amid two-byte text and line ends, and where the check's blocks of sixteen
// bytes meet (the pair's first byte ends one): the same offsets as iconv, and the line ends
// before them.
TEST(Cp932Table, EveryPairAmidTwoByteTextIsCheckedAsIconvDecodesIt) {
  IconvDecoder iconvDecode;
  ASSERT_TRUE(iconvDecode.ok());
  const std::string kanji = store::utf8ToCp932("体重体重");
  const std::string head = "\n" + kanji + "abcdef", tail = kanji + "\n" + kanji;
  int failures = 0;
  for (int a = 0; a < 256 && failures < 20; ++a)
    for (int b = 0; b < 256 && failures < 20; ++b) {
      const std::string in = head + std::string{static_cast<char>(a), static_cast<char>(b)} + tail;
      const std::optional<size_t> want = iconvDecode(in).bad;
      size_t lines = 0;
      const std::optional<size_t> got = store::checkCp932(in, lines);
      const size_t end = want.value_or(in.size());
      const auto wantLines = static_cast<size_t>(std::count(in.begin(), in.begin() + static_cast<long>(end), '\n'));
      if (got != want || lines != wantLines) {
        ADD_FAILURE() << "pair " << a << " " << b << ": " << got.value_or(0) << " vs " << want.value_or(0) << ", lines "
                      << lines << " vs " << wantLines;
        ++failures;
      }
    }
}
