#include "form/pages/builder.h"

namespace form::pages {

namespace {
std::string idx(const char* base, int i) { return std::string(base) + "(" + std::to_string(i) + ")"; }
}  // namespace

void buildMemoPage(Form& f) {
  const std::string p = "fraMemo";
  for (int i = 1; i <= 4; ++i) {
    int x = 120 + ((i - 1) % 2) * 7700, y = 120 + ((i - 1) / 2) * 4850;
    Control& fr = place(f, idx("fraDaimoku", i), Kind::Frame, p, x, y, 7500, 4700);
    fr.setToolTip("ダブルクリックで題目を変更できます");
    place(f, idx("List5", i), Kind::ListBox, fr.name(), 120, 300, 7260, 4280);
  }
}

}  // namespace form::pages
