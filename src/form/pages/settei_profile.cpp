#include "form/pages/builder.h"

namespace form::pages {

// Settings page, left: the profile boxes under their heading, the profile change and the new start.
void buildSetteiProfile(Form& f) {
  const std::string p = "fraSettei";
  decoration(f, "lblPriTitle", p, 120, 150, 4880, 360, "プライベートデータ");
  const char* caps[] = {"氏名",           "身長（ｃｍ）",     "目標体重（Ｋｇ）",
                        "目標期間（日）", "目標達成率（％）", "目標カロリー（Ｋｃａｌ）"};
  for (int i = 0; i < 6; ++i) {
    int y = 600 + i * 450;
    decoration(f, "lblPriCap(" + std::to_string(i) + ")", p, 120, y + 30, 2400, 330, caps[i]);
    place(f, "txtPriData(" + std::to_string(i) + ")", Kind::TextBox, p, 2600, y, 2400, 375);
  }
  place(f, "cmdPHozon1", Kind::CommandButton, p, 2600, 3360, 2400, 450, "データ変更");
  Control& n = place(f, "cmdNew1", Kind::CommandButton, p, 120, 4110, 4880, 600,
                     "現状のデータを破棄して新規にスタートさせる時はこちら");
  n.setToolTip("データの新規スタート");
}

}  // namespace form::pages
