#include <gtest/gtest.h>

#include "profile/new_start.h"
#include "profile/profile_change.h"

TEST(NewStartAnswers, WholeTextMustReadAsANumber) {
  for (const char* yes :
       {"170", " 170 ", "-5", "+3", "168.5", ".5", "5.", "1e2", "\t42\t", "１７０", "－５．５", "　１７０　"})
    EXPECT_TRUE(profile::IsNumberAnswer(yes)) << yes;
  for (const char* no : {"", "  ", "abc", "170cm", "1.2.3", "-", ".", "１，０００", "1,000", "12 3"})
    EXPECT_FALSE(profile::IsNumberAnswer(no)) << no;
}

TEST(ProfileTexts, TakenByLeadingNumberWithWholeNumbersRoundedToEven) {
  profile::Profile base;
  base.ProfileName = "前";
  base.FatAxisMax = 30;
  base.FatAxisMin = 10;
  base.StepAxisMax = 40000;
  base.StepAxisMin = 5;
  base.StepLength = 0.7f;
  const auto p = profile::ProfileFromTexts({"たろう", "170cm", " 65.5", "30.5", "abc", "1999.5"}, base);
  EXPECT_EQ(p.ProfileName, "たろう");
  EXPECT_EQ(p.ProfileHeight, 170.0f);
  EXPECT_EQ(p.TargetWeight, 65.5f);
  EXPECT_EQ(p.TargetPeriod, 30);
  EXPECT_EQ(p.TargetRate, 0.0f);
  EXPECT_EQ(p.TargetCalories, 2000);
  // The chart limits and the step length are not the six boxes' business.
  EXPECT_EQ(p.FatAxisMax, 30.0f);
  EXPECT_EQ(p.FatAxisMin, 10.0f);
  EXPECT_EQ(p.StepAxisMax, 40000);
  EXPECT_EQ(p.StepAxisMin, 5);
  EXPECT_EQ(p.StepLength, 0.7f);
  EXPECT_EQ(profile::ProfileFromTexts({"", "", "", "31.5", "", "-0.5"}, base).TargetPeriod, 32);
}

TEST(ProfileTexts, ValuesTheFileCannotHoldAreRefused) {
  using profile::ProfileTextProblem;
  EXPECT_FALSE(ProfileTextProblem(0, "たろう"));
  EXPECT_FALSE(ProfileTextProblem(0, ""));  // an empty name may be stored
  EXPECT_TRUE(ProfileTextProblem(0, "た\"ろう"));
  EXPECT_TRUE(ProfileTextProblem(0, "たろう😀"));

  EXPECT_TRUE(ProfileTextProblem(1, "0"));
  EXPECT_TRUE(ProfileTextProblem(1, "-170"));
  EXPECT_TRUE(ProfileTextProblem(1, "abc"));
  EXPECT_TRUE(ProfileTextProblem(1, "1e39"));
  EXPECT_FALSE(ProfileTextProblem(1, "0.1"));

  EXPECT_TRUE(ProfileTextProblem(2, "-3"));
  EXPECT_TRUE(ProfileTextProblem(2, "0"));
  EXPECT_TRUE(ProfileTextProblem(2, "abc"));
  EXPECT_FALSE(ProfileTextProblem(2, "６５．５"));
  EXPECT_TRUE(ProfileTextProblem(2, "1e39"));
  EXPECT_TRUE(ProfileTextProblem(4, "-1e39"));
  EXPECT_FALSE(ProfileTextProblem(4, "0"));

  // Period and calories are judged as they would be stored, after rounding.
  EXPECT_TRUE(ProfileTextProblem(3, "0"));
  EXPECT_TRUE(ProfileTextProblem(3, "0.5"));
  EXPECT_FALSE(ProfileTextProblem(3, "0.6"));
  EXPECT_FALSE(ProfileTextProblem(3, "32767.4"));
  EXPECT_TRUE(ProfileTextProblem(3, "32767.5"));
  EXPECT_FALSE(ProfileTextProblem(5, "-32768"));
  EXPECT_TRUE(ProfileTextProblem(5, "-32769"));
  EXPECT_FALSE(ProfileTextProblem(5, "32767"));
  EXPECT_TRUE(ProfileTextProblem(5, "40000"));

  const auto first = profile::ProfileTextsProblem({"ok", "0", "", "0", "", "99999"});
  ASSERT_TRUE(first);
  EXPECT_EQ(*first, *ProfileTextProblem(1, "0"));
  EXPECT_FALSE(profile::ProfileTextsProblem({"Ｑ＆Ｚ", "168.5", "65", "150", "70", "2000"}));
}
