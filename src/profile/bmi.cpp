#include "profile/bmi.h"

#include <cmath>

#include "store/numbers.h"

namespace profile {

ObesityGrade gradeOf(float b) {
  if (b < 17.0f) return {"やせ過ぎ", 0xC0C0FF};
  if (b < 20.0f) return {"やせ気味", 0xC0FFFF};
  if (b <= 24.0f) return {"スタンダード", 0xC0FFC0};
  if (b <= 26.4f) return {"でぶメゾフォルテ", 0xFFFFC0};
  if (b < 30.0f) return {"でぶフォルテ", 0xFFC0FF};
  return {"でぶフォルテシモ", 0xFFC0C0};
}

std::optional<float> bmiOf(float kg, float heightCm) {
  if (!(heightCm > 0)) return std::nullopt;
  double m = static_cast<double>(heightCm) / 100;
  return static_cast<float>(static_cast<double>(kg) / (m * m));
}

float clampToScale(float bmi) {
  if (bmi > kScaleHighest) return kScaleHighest;
  if (bmi < kScaleLowest) return kScaleLowest;
  return bmi;
}

int pointerLeft(int referenceLeft, float pointerBmi, int twipsPerUnit) {
  double offset = (24.0 - static_cast<double>(pointerBmi)) * twipsPerUnit + 240;
  return referenceLeft - static_cast<int>(store::roundHalfEven(offset));
}

int sliderValueOf(float pointerBmi) { return static_cast<int>(store::roundHalfEven(pointerBmi * 10.0f)); }

std::optional<double> standardWeight(float heightCm) { return weightAtBmi(heightCm, 22); }

std::optional<double> weightAtBmi(float heightCm, float bmi) {
  if (!(heightCm > 0)) return std::nullopt;
  double m = static_cast<double>(heightCm) / 100;
  return m * m * static_cast<double>(bmi);
}

std::string obesityDegreeText(const std::string& weightShown, const std::string& standardShown,
                              const std::string& divisorShown) {
  double divisor = store::Val(divisorShown);
  if (divisor == 0) return {};
  return store::formatNumber((store::Val(weightShown) - store::Val(standardShown)) / divisor * 100, "0.0");
}

}  // namespace profile
