#include "ui/pages/builder.h"

namespace ui::pages {

namespace {
std::string idx(const char* base, int i) { return std::string(base) + "(" + std::to_string(i) + ")"; }
}  // namespace

void buildEiyoPage(Form& f) {
  const std::string p = "fraEiyo";
  for (int i = 0; i <= 10; ++i) {
    int y = 150 + i * 420;
    place(f, idx("Check1", i), Kind::CheckBox, p, 120, y, 2800, 375);
    place(f, idx("shpEiyoB", i), Kind::Shape, p, 3000, y + 60, 3000, 255).setFillColor(0xFFFFFF);
    place(f, idx("shpEiyoK", i), Kind::Shape, p, 3000, y + 60, 0, 255).setFillColor(0x00C000);
    place(f, idx("Label7", i), Kind::Label, p, 6100, y + 30, 900, 330);
  }
  place(f, "Command3", Kind::CommandButton, p, 120, 4900, 1500, 450, "保存");
  place(f, "Option3(0)", Kind::OptionButton, p, 1800, 4950, 2200, 375);
  place(f, "Option3(1)", Kind::OptionButton, p, 4100, 4950, 2200, 375);
  decoration(f, "lblEiyoFusokuCap", p, 7200, 150, 7900, 330, "　不足栄養リスト　");
  place(f, "List6", Kind::ListBox, p, 7200, 500, 7900, 2600);
  decoration(f, "lblEiyoHatarakiCap", p, 7200, 3200, 7900, 330, "　主な栄養素と働き　");
  place(f, "List7", Kind::ListBox, p, 7200, 3550, 7900, 2600);
  place(f, "List11", Kind::ListBox, p, 120, 5500, 6900, 4100);
}

}  // namespace ui::pages
