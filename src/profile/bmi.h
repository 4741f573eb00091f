#pragma once
// Body-mass index, the six obesity grades and where the BMI pointers stand on their scales.
#include <optional>
#include <string>

#include "form/control.h"

namespace profile {

struct ObesityGrade {
  const char* name;
  form::Color color;
};

// The grade of a BMI; the bounds are compared in single precision.
ObesityGrade gradeOf(float bmi);

// kg / (height in m)², worked in double and kept as single; none for a height of 0 or less.
std::optional<float> bmiOf(float kg, float heightCm);

// The scale runs from 17 to 32; the pointers and the slider stop at its ends.
inline constexpr float kScaleLowest = 17, kScaleHighest = 32;
float clampToScale(float bmi);

// Left edge of a pointer picture, in twips, from the left edge of its reference shape: BMI 24 is
// 240 twips left of the reference, `twipsPerUnit` twips per BMI unit.
int pointerLeft(int referenceLeft, float pointerBmi, int twipsPerUnit);

// Slider position (BMI × 10), halves to the even neighbour.
int sliderValueOf(float pointerBmi);

// The weight at BMI 22; none without a height.
std::optional<double> standardWeight(float heightCm);
// The weight a BMI means for a height; none without a height.
std::optional<double> weightAtBmi(float heightCm, float bmi);

// The obesity degree worked from the three figures as shown ("65.3", "62.5", "62.5"), so the
// result agrees with what the user can check by hand; "" when the divisor shows as 0.
std::string obesityDegreeText(const std::string& weightShown, const std::string& standardShown,
                              const std::string& divisorShown);

}  // namespace profile
