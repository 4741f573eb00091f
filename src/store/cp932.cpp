#include "store/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace store {
namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1))
      throw EncodingError(std::string("文字コード変換 ") + from + " → " + to + " が使えません");
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
  Converter c("UTF-8", "CP932");
  std::string out;
  if (auto bad = c.run(bytes, out)) {
    throw EncodingError(
        "Shift-JIS（CP932）として読めないバイトがあります（先頭から " + std::to_string(*bad + 1) + " バイト目）。", {},
        *bad);
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
    throw EncodingError("「" + ch + "」は Shift-JIS で保存できない文字です", ch);
  }
  return out;
}

}  // namespace store
