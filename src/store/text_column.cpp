#include "store/text_column.h"

namespace store {

void TextColumn::push_back(std::string_view text) {
  places_.push_back({own_.size(), text.size(), true});
  own_.append(text);
}

}  // namespace store
