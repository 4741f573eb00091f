#pragma once
// Taking the six profile boxes of the settings page into the profile.
#include <array>
#include <optional>
#include <string>

#include "form/form.h"
#include "profile/profile.h"

namespace profile {

// Texts of txtPriData 0..5: name, height, target weight, target period, target rate, target calories.
using ProfileTexts = std::array<std::string, 6>;

ProfileTexts ReadProfileBoxes(const form::Form& form);

// The profile with the six values taken from the texts (leading numbers; period and calories
// rounded half to even); the axis limits and the step length are kept from `base`.
Profile ProfileFromTexts(const ProfileTexts& texts, Profile base);

// Why the text of box `box` cannot be stored, or nullopt when it can. A number box is judged by
// its leading number only; whether the text is a number at all is the caller's question.
std::optional<std::string> ProfileTextProblem(int box, const std::string& text);
// The first problem of the six texts, in box order.
std::optional<std::string> ProfileTextsProblem(const ProfileTexts& texts);

// The title of the box that refuses a profile value.
inline constexpr const char* kRefusalTitle = "登録情報異常";

}  // namespace profile
