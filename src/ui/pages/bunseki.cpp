#include "ui/pages/builder.h"

namespace ui::pages {

void buildBunsekiPage(Form& f) {
  const std::string p = "fraBunseki";
  decoration(f, "lblBunsekiB1Cap", p, 120, 120, 3700, 330, "時系列体重データ");
  place(f, "Option1(0)", Kind::OptionButton, p, 120, 450, 1800, 330, "前日との差");
  place(f, "Option1(1)", Kind::OptionButton, p, 1950, 450, 1800, 330, "初日との差");
  place(f, "msgB1", Kind::Grid, p, 120, 850, 4900, 8800);
  f("Option1(0)").setValue(1);
  decoration(f, "lblBunsekiB2Cap", p, 5150, 120, 3300, 330, "区切り経過");
  place(f, "msgB2", Kind::Grid, p, 5150, 850, 3300, 8800);
  decoration(f, "lblBunsekiB3Cap", p, 8600, 120, 3300, 330, "体重平均推移");
  place(f, "Label5(0)", Kind::Label, p, 8600, 450, 3300, 330);
  place(f, "Label5(1)", Kind::Label, p, 8600, 780, 3300, 330);
  place(f, "msgB3", Kind::Grid, p, 8600, 1150, 3300, 8500);
  // The caption names the band width; the ranking rewrites it, this is the start-up choice.
  Control& fr = place(f, "fraB4", Kind::Frame, p, 12050, 120, 3300, 9550, "体重推移累積番付 < 0.5Kg刻み >");
  place(f, "Option2(0)", Kind::OptionButton, fr.name(), 120, 330, 1500, 330, "１.０Ｋｇ刻み");
  place(f, "Option2(1)", Kind::OptionButton, fr.name(), 1650, 330, 1500, 330, "０.５Ｋｇ刻み").setValue(1);
  place(f, "msgB4", Kind::Grid, fr.name(), 120, 730, 3060, 8700);
}

}  // namespace ui::pages
