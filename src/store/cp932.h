#pragma once
// Conversion between the data files' CP932 and the UTF-8 used in memory.
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace store {

// Raised when bytes are not valid CP932 or a text has a character CP932 cannot hold.
class EncodingError : public std::runtime_error {
 public:
  explicit EncodingError(const std::string& what, std::string character = {})
      : std::runtime_error(what), character_(std::move(character)) {}
  // The offending UTF-8 character when encoding; empty when decoding.
  const std::string& character() const { return character_; }

 private:
  std::string character_;
};

std::string cp932ToUtf8(std::string_view bytes);  // throws EncodingError
std::string utf8ToCp932(std::string_view text);   // throws EncodingError

// The first character of `text` that CP932 cannot hold (or that is not valid UTF-8), if any.
std::optional<std::string> firstUnencodable(std::string_view text);

}  // namespace store
