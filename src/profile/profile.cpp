#include "profile/profile.h"

#include "store/numbers.h"
#include "store/record.h"

namespace profile {

namespace {
const char* const kLabels[11] = {"氏名",        "身長",        "目標体重",        "目標期間",
                                 "目標達成率",  "目標ｶﾛﾘｰ",    "体脂肪率Ｙ軸MAX", "体脂肪率Ｙ軸MIN",
                                 "歩数Ｙ軸MAX", "歩数Ｙ軸MIN", "一歩換算"};
}

Profile ReadProfileFile() {
  store::RecordReader r(kProfileFile);
  Profile p;
  r.skipField();
  p.ProfileName = r.readText();
  r.skipField();
  p.ProfileHeight = r.readSingle();
  r.skipField();
  p.TargetWeight = r.readSingle();
  r.skipField();
  p.TargetPeriod = r.readInt16();
  r.skipField();
  p.TargetRate = r.readSingle();
  r.skipField();
  p.TargetCalories = r.readInt16();
  r.skipField();
  p.FatAxisMax = r.readSingle();
  r.skipField();
  p.FatAxisMin = r.readSingle();
  r.skipField();
  p.StepAxisMax = r.readInt32();
  r.skipField();
  p.StepAxisMin = r.readInt16();
  r.skipField();
  p.StepLength = r.readSingle();
  return p;
}

void ShowProfileDataBoxes(const Profile& p, form::Form& form) {
  form("txtPriData", 0).setText(p.ProfileName);
  form("txtPriData", 1).setText(store::shortestSingle(p.ProfileHeight));
  form("txtPriData", 2).setText(store::shortestSingle(p.TargetWeight));
  form("txtPriData", 3).setText(std::to_string(p.TargetPeriod));
  form("txtPriData", 4).setText(store::shortestSingle(p.TargetRate));
  form("txtPriData", 5).setText(std::to_string(p.TargetCalories));
}

void ShowProfileInBoxes(const Profile& p, form::Form& form) {
  ShowProfileDataBoxes(p, form);
  form("txtY2max").setText(store::shortestSingle(p.FatAxisMax));
  form("txtY2min").setText(store::shortestSingle(p.FatAxisMin));
  form("txtY3max").setText(std::to_string(p.StepAxisMax));
  form("txtY3min").setText(std::to_string(p.StepAxisMin));
  form("txtIppo").setText(store::shortestSingle(p.StepLength));
}

void LoadProfile(Profile& p, form::Form& form) {
  p = ReadProfileFile();
  ShowProfileInBoxes(p, form);
}

std::vector<store::Record> ProfileRecords(const Profile& p) {
  using store::Record;
  std::vector<Record> recs(11);
  recs[0].text(kLabels[0]).text(p.ProfileName);
  recs[1].text(kLabels[1]).single(p.ProfileHeight);
  recs[2].text(kLabels[2]).single(p.TargetWeight);
  recs[3].text(kLabels[3]).int16(p.TargetPeriod);
  recs[4].text(kLabels[4]).single(p.TargetRate);
  recs[5].text(kLabels[5]).int16(p.TargetCalories);
  recs[6].text(kLabels[6]).single(p.FatAxisMax);
  recs[7].text(kLabels[7]).single(p.FatAxisMin);
  recs[8].text(kLabels[8]).int32(p.StepAxisMax);
  recs[9].text(kLabels[9]).int16(p.StepAxisMin);
  recs[10].text(kLabels[10]).single(p.StepLength);
  return recs;
}

void SaveProfile(const Profile& p) { store::rewriteRecords(kProfileFile, ProfileRecords(p)); }

bool IsSampleProfile(const Profile& p) {
  return p.ProfileName == "Ｑ＆Ｚ" && p.ProfileHeight == 168.5f && p.TargetWeight == 65.0f && p.TargetPeriod == 150 &&
         p.TargetRate == 70.0f && p.TargetCalories == 2000;
}

void CheckSampleMode(const Profile& p, bool& SampleMode) {
  if (IsSampleProfile(p)) SampleMode = true;
}

void ShowSampleModeRefusal(form::Dialogs& dialogs) {
  dialogs.MsgBox(
      "現在はサンプルモードになっています。\n\n設定ボタンで開く画面でご自分のダイエットデータにしてからお試しください。"
      "\n\n",
      "サンプルモードでの制約", form::Icon::Warning, form::Buttons::OK);
}

}  // namespace profile
