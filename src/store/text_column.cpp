#include "store/text_column.h"

namespace store {

void TextColumn::push_back(std::string_view text) {
  Data& d = changing();
  d.places.push_back({d.own.size(), text.size(), true});
  d.own.append(text);
}

}  // namespace store
