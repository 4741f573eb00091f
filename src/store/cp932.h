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
  explicit EncodingError(const std::string& what, std::string character = {}, size_t offset = 0)
      : std::runtime_error(what), character_(std::move(character)), offset_(offset) {}
  // The offending UTF-8 character when encoding; empty when decoding.
  const std::string& character() const { return character_; }
  // When decoding, the 0-based offset of the first byte that is no CP932.
  size_t offset() const { return offset_; }

 private:
  std::string character_;
  size_t offset_ = 0;
};

std::string cp932ToUtf8(std::string_view bytes);  // throws EncodingError
std::string utf8ToCp932(std::string_view text);   // throws EncodingError
// Checks that `bytes` are CP932 without decoding them, counting their line ends ('\n') up to
// the first byte that is none. Returns that byte's offset: the byte itself, or the lead byte of
// a pair (where iconv stops).
std::optional<size_t> checkCp932(std::string_view bytes, size_t& lineEnds);
// Bytes checkCp932 accepted, decoded; ASCII is copied as it stands.
std::string checkedCp932ToUtf8(std::string_view bytes);

// The first character of `text` that CP932 cannot hold (or that is not valid UTF-8), if any.
std::optional<std::string> firstUnencodable(std::string_view text);

}  // namespace store
