#pragma once
// Numbers as people type them: a Japanese input method gives full-width digits (１５８．５) by
// default, and they mean the same as their ASCII forms.
#include <string>
#include <string_view>

namespace store {

// `typed` with full-width digits, period, minus (－ and −), plus and the ideographic space in
// their ASCII forms; every other character as it is.
std::string asciiNumberText(std::string_view typed);

// Val of the typed text read as above.
double ValTyped(std::string_view typed);

}  // namespace store
