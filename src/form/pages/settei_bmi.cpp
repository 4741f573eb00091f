#include "form/pages/builder.h"

namespace form::pages {

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
  // 500 twips per BMI unit from 17 to 32; Shape2(2) starts at BMI 24 and the pointer's tip is the
  // middle of its 480 twips, as on the main page. The slider runs under the same scale.
  const int scaleLeft = x0 + 1000, scaleTop = 1500;
  struct Segment {
    int index;
    double from, to;
    Color color;
  };
  const Segment segments[6] = {{5, 16.6, 17, 0xC0C0FF}, {0, 17, 20, 0xC0FFFF},   {1, 20, 24, 0xC0FFC0},
                               {2, 24, 26.4, 0xFFFFC0}, {3, 26.4, 30, 0xFFC0FF}, {4, 30, 32.4, 0xFFC0C0}};
  auto at = [&](double bmi) { return scaleLeft + static_cast<int>((bmi - 17) * 500); };
  for (const Segment& g : segments)
    place(f, "Shape2(" + std::to_string(g.index) + ")", Kind::Shape, p, at(g.from), scaleTop, at(g.to) - at(g.from),
          300)
        .setFillColor(g.color);
  place(f, "Image2", Kind::Image, p, at(17) - 240, scaleTop - 360, 480, 360).setPicture("pointer");
  // The thumb's middle follows the value; the ends of the track are left for the arrow buttons.
  Control& s = place(f, "HScroll1", Kind::ScrollBar, p, at(17) - 480, scaleTop + 400, at(32) - at(17) + 960, 300);
  s.setRange(170, 320, 1, 10);
  s.setValue(170);
  for (int b = 17; b <= 32; ++b)
    decoration(f, "lblBmiScale" + std::to_string(b), p, at(b) - 120, scaleTop + 750, 400, 300, std::to_string(b));
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

}  // namespace form::pages
