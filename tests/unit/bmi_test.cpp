#include "profile/bmi.h"

#include <gtest/gtest.h>

#include <string>

TEST(BmiGrades, BoundariesFallAsTheTableSays) {
  struct Case {
    float bmi;
    std::string grade;
    form::Color color;
  } cases[] = {{16.9f, "やせ過ぎ", 0xC0C0FF},         {17.0f, "やせ気味", 0xC0FFFF},
               {19.99f, "やせ気味", 0xC0FFFF},        {20.0f, "スタンダード", 0xC0FFC0},
               {24.0f, "スタンダード", 0xC0FFC0},     {24.1f, "でぶメゾフォルテ", 0xFFFFC0},
               {26.4f, "でぶメゾフォルテ", 0xFFFFC0}, {26.5f, "でぶフォルテ", 0xFFC0FF},
               {29.9f, "でぶフォルテ", 0xFFC0FF},     {30.0f, "でぶフォルテシモ", 0xFFC0C0},
               {45.0f, "でぶフォルテシモ", 0xFFC0C0}};
  for (const Case& c : cases) {
    EXPECT_EQ(profile::gradeOf(c.bmi).name, c.grade) << c.bmi;
    EXPECT_EQ(profile::gradeOf(c.bmi).color, c.color) << c.bmi;
  }
}

TEST(BmiFigures, WorkedExampleForOneSixtyEightFive) {
  std::optional<float> bmi = profile::bmiOf(65.3f, 168.5f);
  ASSERT_TRUE(bmi);
  EXPECT_NEAR(*bmi, 23.0, 0.001);
  EXPECT_EQ(profile::sliderValueOf(*bmi), 230);
  std::optional<double> standard = profile::standardWeight(168.5f);
  ASSERT_TRUE(standard);
  EXPECT_NEAR(*standard, 62.46, 0.01);
  EXPECT_EQ(profile::obesityDegreeText("65.3", "62.5", "62.5"), "4.5");
  std::optional<double> at264 = profile::weightAtBmi(168.5f, 26.4f);
  ASSERT_TRUE(at264);
  EXPECT_NEAR(*at264, 2.839225 * 26.4, 0.001);
}

TEST(BmiFigures, NoHeightGivesNoFigures) {
  EXPECT_FALSE(profile::bmiOf(65, 0));
  EXPECT_FALSE(profile::bmiOf(65, -170));
  EXPECT_FALSE(profile::standardWeight(0));
  EXPECT_EQ(profile::obesityDegreeText("65.3", "", ""), "");
}

TEST(BmiPointer, ClampedToTheScaleAndPlacedFromTheReferenceShape) {
  EXPECT_EQ(profile::clampToScale(35), 32);
  EXPECT_EQ(profile::clampToScale(15), 17);
  EXPECT_EQ(profile::clampToScale(22.5f), 22.5f);
  // BMI 24 stands 240 twips left of the reference; each unit below moves it further left.
  EXPECT_EQ(profile::pointerLeft(5000, 24, 246), 4760);
  EXPECT_EQ(profile::pointerLeft(5000, 17, 246), 5000 - (7 * 246 + 240));
  EXPECT_EQ(profile::pointerLeft(5000, 32, 500), 5000 + 8 * 500 - 240);
  // Slider halves go to the even neighbour.
  EXPECT_EQ(profile::sliderValueOf(32), 320);
  EXPECT_EQ(profile::sliderValueOf(17), 170);
  EXPECT_EQ(profile::sliderValueOf(22.25f), 222);
  EXPECT_EQ(profile::sliderValueOf(22.75f), 228);
}
