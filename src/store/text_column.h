#pragma once
// The texts of one field of a log, in record order. A log may hold thousands of records, so a
// text that stands in the file as it reads is kept as its place in the file's bytes, which the
// column shares with the reader: reading and copying a column copies no text.
#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/record.h"

namespace store {

class TextColumn {
 public:
  TextColumn() = default;
  TextColumn(std::initializer_list<std::string_view> texts) {
    for (std::string_view t : texts) push_back(t);
  }
  // Reads the next field of `r` as a text (RecordReader::readText) and adds it.
  void read(RecordReader& r) {
    const std::string_view text = r.readTextView();
    if (!file_) file_ = r.bytes();
    const size_t at = file_ == r.bytes() ? r.placeInBytes(text) : std::string_view::npos;
    if (at != std::string_view::npos)
      places_.push_back({at, text.size(), false});
    else
      push_back(text);
  }
  void push_back(std::string_view text);
  void reserve(size_t n) { places_.reserve(n); }
  size_t size() const { return places_.size(); }
  bool empty() const { return places_.empty(); }
  std::string_view back() const { return (*this)[size() - 1]; }
  std::string_view operator[](size_t i) const {
    const Place& p = places_[i];
    return std::string_view((p.own ? own_.data() : file_->data()) + p.at, p.size);
  }

 private:
  struct Place {
    size_t at, size;
    bool own;  // in own_ rather than file_
  };
  std::shared_ptr<const std::string> file_;
  std::string own_;  // the texts decoded, or not from file_
  std::vector<Place> places_;
};

}  // namespace store
