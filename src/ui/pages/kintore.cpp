#include "ui/pages/builder.h"

namespace ui::pages {

namespace {
std::string idx(const char* base, int i) { return std::string(base) + "(" + std::to_string(i) + ")"; }
}  // namespace

void buildKintorePage(Form& f) {
  const std::string p = "fraKintore";
  for (int i = 1; i <= 6; ++i) {
    int x = 120 + (i - 1) * 2550;
    Control& fr = place(f, idx("fraKin", i), Kind::Frame, p, x, 120, 2450, 9600);
    fr.setToolTip("ダブルクリックで筋トレの項目を変更できます");
    std::string q = fr.name();
    place(f, idx("lstKin", i), Kind::ListBox, q, 90, 300, 1500, 6600);
    decoration(f, idx("lblKinInCap", i), q, 90, 7050, 600, 330, "入力");
    place(f, idx("txtKin", i), Kind::TextBox, q, 690, 7000, 900, 375).setToolTip("入力後Ｅｎｔｅｒキー");
    decoration(f, idx("lblKinTotalCap", i), q, 90, 7500, 600, 330, "合計");
    place(f, idx("lblTotal", i), Kind::Label, q, 690, 7500, 900, 330)
        .setToolTip("ダブルクリックで目標値を変更できます");
    place(f, idx("shpBarB", i), Kind::Shape, q, 1750, 300, 500, 8400).setFillColor(0xFFFFFF);
    place(f, idx("shpBarK", i), Kind::Shape, q, 1750, 8700, 500, 0).setFillColor(0xFF8000);
  }
}

}  // namespace ui::pages
