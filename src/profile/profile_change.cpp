#include "profile/profile_change.h"

#include <cfloat>
#include <cmath>

#include "store/cp932.h"
#include "store/numbers.h"
#include "store/typed_number.h"
#include "words/messages.h"

namespace profile {

ProfileTexts ReadProfileBoxes(const form::Form& form) {
  ProfileTexts t;
  for (int i = 0; i < 6; ++i) t[i] = form("txtPriData", i).text();
  return t;
}

Profile ProfileFromTexts(const ProfileTexts& t, Profile p) {
  p.ProfileName = t[0];
  p.ProfileHeight = static_cast<float>(store::ValTyped(t[1]));
  p.TargetWeight = static_cast<float>(store::ValTyped(t[2]));
  p.TargetPeriod = static_cast<int16_t>(store::roundHalfEven(store::ValTyped(t[3])));
  p.TargetRate = static_cast<float>(store::ValTyped(t[4]));
  p.TargetCalories = static_cast<int16_t>(store::roundHalfEven(store::ValTyped(t[5])));
  return p;
}

namespace {

bool fitsSingle(double v) { return std::fabs(v) <= static_cast<double>(FLT_MAX); }

}  // namespace

std::optional<std::string> ProfileTextProblem(int box, const std::string& text) {
  if (box == 0) {
    // The record syntax has no escape for a quote, and the file holds only what CP932 can.
    if (text.find('"') != std::string::npos) return words::quoteRefused("名前");
    if (text.find_first_of("\r\n") != std::string::npos) return words::lineBreakRefused("名前");
    if (auto bad = store::firstUnencodable(text)) return words::unstorableChar(*bad);
    return std::nullopt;
  }
  const double v = store::ValTyped(text);
  switch (box) {
    case 1:
      if (!(v > 0) || !fitsSingle(v)) return words::positiveRefused("身長");
      break;
    case 2:
      if (!(v > 0)) return words::positiveRefused("目標体重");
      if (!fitsSingle(v)) return words::tooLarge("目標体重");
      break;
    case 3: {
      const double days = store::roundHalfEven(v);
      if (days < 1 || days > 32767) return words::rangeRefused("目標期間", 1, 32767, "日数");
      break;
    }
    case 4:
      if (!fitsSingle(v)) return words::tooLarge("目標達成率");
      break;
    case 5: {
      const double kcal = store::roundHalfEven(v);
      if (kcal < -32768 || kcal > 32767) return words::rangeRefused("目標カロリー", -32768, 32767, "数値");
      break;
    }
    default: break;
  }
  return std::nullopt;
}

std::optional<std::string> ProfileTextsProblem(const ProfileTexts& texts) {
  for (int i = 0; i < 6; ++i)
    if (auto problem = ProfileTextProblem(i, texts[i])) return problem;
  return std::nullopt;
}

}  // namespace profile
