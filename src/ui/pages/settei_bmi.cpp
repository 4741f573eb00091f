#include "ui/pages/builder.h"

namespace ui::pages {

// Settings page, right: the BMI meter with its slider, pointer and obesity formula.
void buildSetteiBmi(Form& f) {
  const std::string p = "fraSettei";
  const int x0 = 5400;
  decoration(f, "lblBmiMeterCap", p, x0, 120, 9800, 330, "　ＢＭＩメーター (Body Mass Index)　と　肥満度　");
  decoration(f, "lblSetteiBmiCap", p, x0, 600, 900, 330, "ＢＭＩ");
  place(f, "Label9(25)", Kind::Label, p, x0 + 900, 600, 900, 330);
  place(f, "lblHyouka", Kind::Label, p, x0 + 2000, 600, 2600, 330);
  decoration(f, "lblSetteiWeightCap", p, x0 + 4800, 600, 1300, 330, "体重（Ｋｇ）");
  place(f, "Label9(28)", Kind::Label, p, x0 + 6100, 600, 900, 330);
  decoration(f, "lblSetteiHeightCap", p, x0 + 7100, 600, 1300, 330, "身長（ｍ）");
  place(f, "Label9(30)", Kind::Label, p, x0 + 8400, 600, 900, 330);
  const Color scale[6] = {0xC0C0FF, 0xC0FFFF, 0xC0FFC0, 0xFFFFC0, 0xFFC0FF, 0xFFC0C0};
  const double bounds[7] = {17, 17, 20, 24, 26.4, 30, 32};
  int scaleLeft = x0 + 600;  // 500 twips per BMI unit from 17
  for (int i = 0; i < 6; ++i) {
    int l = scaleLeft + static_cast<int>((bounds[i] - 17) * 500);
    int w = std::max(240, static_cast<int>((bounds[i + 1] - bounds[i]) * 500));
    if (i == 0) l -= 240;
    place(f, "Shape2(" + std::to_string(i) + ")", Kind::Shape, p, l, 1500, w, 300).setFillColor(scale[i]);
  }
  place(f, "Image2", Kind::Image, p, scaleLeft, 1150, 240, 330).setPicture("pointer");
  Control& s = place(f, "HScroll1", Kind::ScrollBar, p, scaleLeft, 1900, 7500, 300);
  s.setRange(170, 320, 1, 10);
  s.setValue(170);
  for (int b = 17; b <= 32; ++b)
    decoration(f, "lblBmiScale" + std::to_string(b), p, scaleLeft + (b - 17) * 500 - 200, 2250, 400, 300,
               std::to_string(b));
  // (体重 － 標準体重) ÷ 標準体重 ×１００ = 肥満度
  int fy = 3000;
  decoration(f, "lblFormula0", p, x0, fy, 9800, 330,
             "(体重（Ｋｇ） － 標準体重（Ｋｇ）) ÷ 標準体重（Ｋｇ） ×１００ = 肥満度（％）");
  decoration(f, "lblFormula1", p, x0, fy + 450, 200, 330, "(");
  place(f, "lblTai", Kind::Label, p, x0 + 200, fy + 450, 900, 330);
  decoration(f, "lblFormula2", p, x0 + 1100, fy + 450, 400, 330, "－");
  place(f, "lblHyojun(0)", Kind::Label, p, x0 + 1500, fy + 450, 900, 330);
  decoration(f, "lblFormula3", p, x0 + 2400, fy + 450, 600, 330, ") ÷");
  place(f, "lblHyojun(1)", Kind::Label, p, x0 + 3000, fy + 450, 900, 330);
  decoration(f, "lblFormula4", p, x0 + 3900, fy + 450, 1000, 330, "×１００ =");
  place(f, "lblHiman", Kind::Label, p, x0 + 4900, fy + 450, 900, 330);
  decoration(f, "lblFormula5", p, x0 + 5800, fy + 450, 400, 330, "％");
}

}  // namespace ui::pages
