#include "form/pages/builder.h"

namespace form::pages {

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
    // The list wide enough for "2024/01/05 _ 30", the bar narrow beside it.
    place(f, idx("lstKin", i), Kind::ListBox, q, 90, 300, 1900, 7700);
    decoration(f, idx("lblKinInCap", i), q, 90, 8170, 600, 330, "入力");
    place(f, idx("txtKin", i), Kind::TextBox, q, 690, 8120, 1300, 375).setToolTip("入力後Ｅｎｔｅｒキー");
    decoration(f, idx("lblKinTotalCap", i), q, 90, 8650, 600, 330, "合計");
    place(f, idx("lblTotal", i), Kind::Label, q, 690, 8650, 1300, 330)
        .setToolTip("ダブルクリックで目標値を変更できます");
    place(f, idx("shpBarB", i), Kind::Shape, q, 2070, 300, 300, 8900).setFillColor(0xFFFFFF);
    place(f, idx("shpBarK", i), Kind::Shape, q, 2070, 9200, 300, 0).setFillColor(0xFF8000);
  }
}

}  // namespace form::pages
