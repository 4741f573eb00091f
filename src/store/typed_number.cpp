#include "store/typed_number.h"

#include "store/numbers.h"

namespace store {

std::string asciiNumberText(std::string_view typed) {
  std::string out;
  out.reserve(typed.size());
  for (size_t i = 0; i < typed.size();) {
    const auto b = [&](size_t k) { return static_cast<unsigned char>(typed[i + k]); };
    if (i + 3 <= typed.size()) {
      // U+FF0B..U+FF19 are EF BC 8B..99: ＋ ， － ． ／ ０..９
      if (b(0) == 0xEF && b(1) == 0xBC && b(2) >= 0x8B && b(2) <= 0x99 && b(2) != 0x8C && b(2) != 0x8F) {
        out += static_cast<char>(b(2) - 0x8B + '+');
        i += 3;
        continue;
      }
      if (b(0) == 0xE2 && b(1) == 0x88 && b(2) == 0x92) {  // − U+2212
        out += '-';
        i += 3;
        continue;
      }
      if (b(0) == 0xE3 && b(1) == 0x80 && b(2) == 0x80) {  // ideographic space
        out += ' ';
        i += 3;
        continue;
      }
    }
    out += typed[i++];
  }
  return out;
}

double ValTyped(std::string_view typed) { return Val(asciiNumberText(typed)); }

}  // namespace store
