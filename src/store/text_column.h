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
  // Reads the next field of `r` as a text (RecordReader::readText) and adds it. Inlined into the
  // loaders' loops like the reader's own hot paths (the compiler would not: 0.16 M instructions
  // of calls at a start on the limits folder).
  [[gnu::always_inline]] void read(RecordReader& r) {
    const std::string_view text = r.readTextView();
    if (!file_) file_ = r.bytes();
    const size_t at = file_ == r.bytes() ? r.placeInBytes(text) : std::string_view::npos;
    if (at != std::string_view::npos)
      changing().places.push_back({at, text.size(), false});
    else
      push_back(text);
  }
  void push_back(std::string_view text);
  void reserve(size_t n) { changing().places.reserve(n); }
  size_t size() const { return data_ ? data_->places.size() : 0; }
  bool empty() const { return size() == 0; }
  std::string_view back() const { return (*this)[size() - 1]; }
  std::string_view operator[](size_t i) const {
    const Place& p = data_->places[i];
    return std::string_view((p.own ? data_->own.data() : file_->data()) + p.at, p.size);
  }

 private:
  struct Place {
    size_t at, size;
    bool own;  // in `own` rather than file_
  };
  struct Data {
    std::string own;  // the texts decoded, or not from file_
    std::vector<Place> places;
  };
  // A copy shares its places until one of the two changes: a chart keeps a copy of thousands of
  // dates made at every start.
  Data& changing() {
    if (!data_)
      data_ = std::make_shared<Data>();
    else if (data_.use_count() > 1)
      data_ = std::make_shared<Data>(*data_);
    return *data_;
  }
  std::shared_ptr<const std::string> file_;
  std::shared_ptr<Data> data_;
};

}  // namespace store
