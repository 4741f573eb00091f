#include "profile/profile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "form/form.h"
#include "store/record.h"
#include "support/temp_folder.h"

using testing_support::InFolder;
using testing_support::TempFolder;

namespace {

const char* kSampleFile =
    "\"氏名\",\"Ｑ＆Ｚ\"\r\n\"身長\",168.5\r\n\"目標体重\",65\r\n\"目標期間\",150\r\n\"目標達成率\",70\r\n"
    "\"目標ｶﾛﾘｰ\",2000\r\n\"体脂肪率Ｙ軸MAX\",35\r\n\"体脂肪率Ｙ軸MIN\",15\r\n\"歩数Ｙ軸MAX\",40000\r\n"
    "\"歩数Ｙ軸MIN\",0\r\n\"一歩換算\",.7\r\n";

profile::Profile sample() {
  profile::Profile p;
  p.ProfileName = "Ｑ＆Ｚ";
  p.ProfileHeight = 168.5f;
  p.TargetWeight = 65;
  p.TargetPeriod = 150;
  p.TargetRate = 70;
  p.TargetCalories = 2000;
  return p;
}

}  // namespace

TEST(Profile, LoadsByPositionAndFillsTheBoxes) {
  TempFolder dir;
  // Labels edited by hand do not matter: values are taken by position.
  std::string text = kSampleFile;
  text.replace(text.find("身長"), std::string("身長").size(), "せのたけ");
  dir.writeCp932("ﾌﾟﾗｲﾍﾞｰﾄ.txt", text);
  InFolder in(dir);
  form::Form form;
  form::buildMainForm(form);
  profile::Profile p;
  profile::LoadProfile(p, form);
  EXPECT_EQ(p.ProfileName, "Ｑ＆Ｚ");
  EXPECT_EQ(p.ProfileHeight, 168.5f);
  EXPECT_EQ(p.StepAxisMax, 40000);
  EXPECT_EQ(p.StepLength, 0.7f);
  EXPECT_EQ(form("txtPriData", 0).text(), "Ｑ＆Ｚ");
  EXPECT_EQ(form("txtPriData", 1).text(), "168.5");
  EXPECT_EQ(form("txtPriData", 2).text(), "65");
  EXPECT_EQ(form("txtPriData", 3).text(), "150");
  EXPECT_EQ(form("txtY3max").text(), "40000");
  EXPECT_EQ(form("txtIppo").text(), "0.7");
}

TEST(Profile, SaveWritesElevenLabelledRecordsByteForByte) {
  TempFolder dir;
  dir.writeCp932("ﾌﾟﾗｲﾍﾞｰﾄ.txt", kSampleFile);
  InFolder in(dir);
  profile::Profile p = profile::ReadProfileFile();
  profile::SaveProfile(p);
  std::string expected = kSampleFile;
  expected.replace(expected.find(".7"), 2, "0.7");
  EXPECT_EQ(dir.readUtf8("ﾌﾟﾗｲﾍﾞｰﾄ.txt"), expected);
  profile::Profile back = profile::ReadProfileFile();
  EXPECT_EQ(back.StepAxisMax, 40000);  // a 32-bit field survives
}

TEST(Profile, ShortOrMalformedFilesAreErrorsNamingTheFile) {
  TempFolder dir;
  InFolder in(dir);
  EXPECT_THROW(profile::ReadProfileFile(), store::StoreError);  // missing
  std::string ten = kSampleFile;
  ten = ten.substr(0, ten.find("\"一歩換算\""));
  dir.writeCp932("ﾌﾟﾗｲﾍﾞｰﾄ.txt", ten);
  try {
    profile::ReadProfileFile();
    FAIL();
  } catch (const store::StoreError& e) {
    EXPECT_NE(std::string(e.what()).find("ﾌﾟﾗｲﾍﾞｰﾄ.txt"), std::string::npos);
  }
  std::string bad = kSampleFile;
  bad.replace(bad.find("150"), 3, "abc");
  dir.writeCp932("ﾌﾟﾗｲﾍﾞｰﾄ.txt", bad);
  EXPECT_THROW(profile::ReadProfileFile(), store::StoreError);
}

TEST(Profile, SampleModeComparesTheSixValuesExactly) {
  EXPECT_TRUE(profile::IsSampleProfile(sample()));
  auto p = sample();
  p.FatAxisMax = 99;
  p.StepLength = 0.8f;
  EXPECT_TRUE(profile::IsSampleProfile(p));  // axis limits and step length play no part
  p = sample();
  p.ProfileHeight = 168.6f;
  EXPECT_FALSE(profile::IsSampleProfile(p));
  p = sample();
  p.ProfileName = "Q&Z";  // width matters
  EXPECT_FALSE(profile::IsSampleProfile(p));
  p = sample();
  p.TargetCalories = 1999;
  bool mode = false;
  profile::CheckSampleMode(p, mode);
  EXPECT_FALSE(mode);
  profile::CheckSampleMode(sample(), mode);
  EXPECT_TRUE(mode);
}
