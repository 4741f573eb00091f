#include "ui/pages/builder.h"

namespace ui::pages {

// Settings page, left: the profile boxes, the new start and the profile change.
void buildSetteiProfile(Form& f) {
  const std::string p = "fraSettei";
  const char* caps[] = {"氏名", "身長（ｃｍ）", "目標体重（Ｋｇ）", "目標期間（日）", "目標達成率（％）", "目標ｶﾛﾘｰ（Kcal）"};
  for (int i = 0; i < 6; ++i) {
    int y = 200 + i * 450;
    decoration(f, "lblPriCap(" + std::to_string(i) + ")", p, 120, y + 30, 2400, 330, caps[i]);
    place(f, "txtPriData(" + std::to_string(i) + ")", Kind::TextBox, p, 2600, y, 2400, 375);
  }
  Control& n = place(f, "cmdNew1", Kind::CommandButton, p, 120, 3000, 4880, 600, "現状のデータを破棄して新規にスタートさせる時はこちら");
  n.setToolTip("データの新規スタート");
  place(f, "cmdPHozon1", Kind::CommandButton, p, 120, 3700, 4880, 500, "データ変更");
}

}  // namespace ui::pages
