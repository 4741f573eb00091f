#include "form/pages/builder.h"

namespace form::pages {

// Left half of the main page: the weight entry, the progress table, the bars and the BMI scale.
void buildMainProgress(Form& f) {
  const std::string p = "fraMain";
  place(f, "lblTai_Date", Kind::Label, p, 120, 150, 2400, 300);
  Control& in = place(f, "txtInpTaijyu", Kind::TextBox, p, 2520, 90, 1200, 375);
  in.setToolTip(kEnterTip);
  decoration(f, "lblMainKgUnit", p, 3780, 150, 500, 300, "Kg");

  // Progress table: a row of headers, then start / now / difference columns.
  int x0 = 120, cw = 1650, y = 600, rh = 330;
  decoration(f, "lblMainHdrStart", p, x0 + 1300, y, cw, rh, "スタート");
  decoration(f, "lblMainHdrNow", p, x0 + 1300 + cw, y, cw, rh, "現在");
  decoration(f, "lblMainHdrDiff", p, x0 + 1300 + 2 * cw, y, cw, rh, "差");
  const char* rows[][4] = {{"日付", "lblStDate", "lblNowDate", "lblDate_Sa"},
                           {"体重", "lblStTaijyu", "lblNowTaijyu", "lblTaijyu_Sa"},
                           {"体脂肪率", "lblStShibou", "lblNowShibou", "lblShibou_Sa"},
                           {"ＢＭＩ", "lblStBmi", "lblNowBmi", "lblBmi_Sa"}};
  int r = 0;
  for (auto& row : rows) {
    int ry = y + rh * (r + 1);
    decoration(f, std::string("lblMainRow") + std::to_string(r), p, x0, ry, 1300, rh, row[0]);
    for (int c = 0; c < 3; ++c) place(f, row[c + 1], Kind::Label, p, x0 + 1300 + c * cw, ry, cw - 60, rh);
    ++r;
  }
  place(f, "lblTaijyu_Zou", Kind::Label, p, x0 + 1300 + 3 * cw - 60, y + rh * 2, 700, rh);
  place(f, "lblBmi_Zou", Kind::Label, p, x0 + 1300 + 3 * cw - 60, y + rh * 4, 700, rh);
  for (int i = 0; i <= 3; ++i) place(f, "lblTani(" + std::to_string(i) + ")", Kind::Label, p, 0, 0, 0, 0);
  f("lblTani", 0).setGeometry(x0 + 1300 + 3 * cw - 60, y + rh * 1, 700, rh);
  f("lblTani", 2).setGeometry(x0 + 1300 + 3 * cw - 60, y + rh * 3, 700, rh);
  f("lblTani", 1).setGeometry(x0 + 1300 + 3 * cw + 600, y + rh * 2, 300, rh);
  f("lblTani", 3).setGeometry(x0 + 1300 + 3 * cw + 600, y + rh * 3, 300, rh);

  // Period and target bars with their captions.
  int by = y + rh * 5 + 150;
  decoration(f, "lblMainKikan", p, x0, by, 1300, rh, "期間");
  place(f, "shpJikanB", Kind::Shape, p, x0 + 1300, by + 30, 4000, 240).setFillColor(0xFFFFFF);
  place(f, "shpJikanK", Kind::Shape, p, x0 + 1300, by + 30, 0, 240).setFillColor(0x0000FF);
  place(f, "lblKikanT", Kind::Label, p, x0 + 5400, by, 1500, rh);
  decoration(f, "lblMainMokuhyo", p, x0, by + rh + 60, 1300, rh, "目標");
  place(f, "shpTaiB", Kind::Shape, p, x0 + 1300, by + rh + 90, 4000, 240).setFillColor(0xFFFFFF);
  place(f, "shpTaiK", Kind::Shape, p, x0 + 1300, by + rh + 90, 0, 240).setFillColor(0xFF0000);
  place(f, "lblTaiT", Kind::Label, p, x0 + 5400, by + rh + 60, 1500, rh);

  // Figures: days elapsed, totals, days and kilograms left, forecast, best weight.
  int fy = by + 2 * rh + 240;
  place(f, "Label6(2)", Kind::Label, p, x0, fy, 3400, rh);
  place(f, "lblTai_Zougen", Kind::Label, p, x0 + 3400, fy, 3300, rh);
  place(f, "Label9(10)", Kind::Label, p, x0, fy + rh, 6700, rh);
  place(f, "Label9(11)", Kind::Label, p, x0, fy + 2 * rh, 3400, rh);
  place(f, "Label9(12)", Kind::Label, p, x0 + 3400, fy + 2 * rh, 3300, rh);
  place(f, "Label6(4)", Kind::Label, p, x0, fy + 3 * rh, 6700, rh);
  place(f, "Label6(3)", Kind::Label, p, x0, fy + 4 * rh, 1300, rh, "予想達成日");
  place(f, "Label9(13)", Kind::Label, p, x0 + 1300, fy + 4 * rh, 5400, rh);
  decoration(f, "lblMainBest", p, x0, fy + 5 * rh, 1300, rh, "最高記録");
  place(f, "Label9(14)", Kind::Label, p, x0 + 1300, fy + 5 * rh, 5400, rh);
  place(f, "lblTrend_Yosou", Kind::Label, p, x0, fy + 6 * rh, 4300, rh);
  place(f, "lblTrend_Shuu", Kind::Label, p, x0 + 4300, fy + 6 * rh, 2400, rh);

  // BMI and the obesity scale with its pointer.
  int sy = fy + 7 * rh + 200;
  decoration(f, "lblMainBmiCap", p, x0, sy, 700, rh, "ＢＭＩ");
  place(f, "Label6(0)", Kind::Label, p, x0 + 700, sy, 900, rh);
  decoration(f, "lblMainHimanCap", p, x0 + 1700, sy, 900, rh, "肥満度");
  place(f, "Label6(1)", Kind::Label, p, x0 + 2600, sy, 1000, rh);
  place(f, "lblMHyouka", Kind::Label, p, x0 + 3700, sy, 2400, rh);
  // The scale runs 246 twips per BMI unit from 17 to 32. Shape1(2) starts at BMI 24: the
  // pointer is placed from its left edge, and the pointer's tip is the middle of its 480 twips.
  const int scaleLeft = x0 + 360, scaleTop = sy + rh + 360;
  struct Segment {
    int index;
    double from, to;
    Color color;
  };
  const Segment segments[6] = {{5, 16.5, 17, 0xC0C0FF}, {0, 17, 20, 0xC0FFFF},   {1, 20, 24, 0xC0FFC0},
                               {2, 24, 26.4, 0xFFFFC0}, {3, 26.4, 30, 0xFFC0FF}, {4, 30, 32.5, 0xFFC0C0}};
  auto at = [&](double bmi) { return scaleLeft + static_cast<int>((bmi - 17) * 246); };
  for (const Segment& g : segments)
    place(f, "Shape1(" + std::to_string(g.index) + ")", Kind::Shape, p, at(g.from), scaleTop, at(g.to) - at(g.from),
          200)
        .setFillColor(g.color);
  for (double b : {17.0, 20.0, 24.0, 26.4, 30.0, 32.0}) {
    std::string text = b == 26.4 ? "26.4" : std::to_string(static_cast<int>(b));
    decoration(f, "lblMainBmiScale" + std::to_string(static_cast<int>(b * 10)), p,
               at(b) - 60 * static_cast<int>(text.size()), scaleTop + 210, 600, 250, text);
  }
  Control& ptr = place(f, "Image1", Kind::Image, p, at(17) - 240, scaleTop - 300, 480, 300);
  ptr.setPicture("pointer");
}

}  // namespace form::pages
