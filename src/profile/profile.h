#pragma once
// The user's profile and targets, kept in ﾌﾟﾗｲﾍﾞｰﾄ.txt.
#include <cstdint>
#include <string>
#include <vector>

#include "form/dialogs.h"
#include "form/form.h"
#include "store/record.h"

namespace profile {

inline constexpr const char* kProfileFile = "ﾌﾟﾗｲﾍﾞｰﾄ.txt";

struct Profile {
  std::string ProfileName;
  float ProfileHeight = 0;
  float TargetWeight = 0;
  int16_t TargetPeriod = 0;
  float TargetRate = 0;
  int16_t TargetCalories = 0;
  float FatAxisMax = 0;
  float FatAxisMin = 0;
  int32_t StepAxisMax = 0;
  int16_t StepAxisMin = 0;
  float StepLength = 0;
};

// Reads the eleven records by position (labels ignored) and fills the profile boxes.
// Throws store::StoreError on a missing, short or malformed file.
Profile ReadProfileFile();
// The six profile boxes of the settings page (txtPriData 0..5).
void ShowProfileDataBoxes(const Profile& p, form::Form& form);
// Those six and the axis and step-length boxes.
void ShowProfileInBoxes(const Profile& p, form::Form& form);
void LoadProfile(Profile& p, form::Form& form);
// Rewrites ﾌﾟﾗｲﾍﾞｰﾄ.txt whole; throws store::StoreError when it cannot.
void SaveProfile(const Profile& p);
// The records SaveProfile writes.
std::vector<store::Record> ProfileRecords(const Profile& p);

bool IsSampleProfile(const Profile& p);
void CheckSampleMode(const Profile& p, bool& SampleMode);

// The box every entry handler shows while the sample data is loaded.
void ShowSampleModeRefusal(form::Dialogs& dialogs);

}  // namespace profile
