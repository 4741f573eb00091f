#include "form/pages/builder.h"

namespace form::pages {

// The two day-by-day tables get their full column widths side by side; the two short tables
// (milestones, ranking) share the remaining column, one above the other.
void buildBunsekiPage(Form& f) {
  const std::string p = "fraBunseki";
  const int gridW = 5290, gap = 100, top = 850, bottom = 9750;
  int x = 120;
  decoration(f, "lblBunsekiB1Cap", p, x, 120, gridW, 330, "時系列体重データ");
  place(f, "Option1(0)", Kind::OptionButton, p, x, 450, 1800, 330, "前日との差").setValue(1);
  place(f, "Option1(1)", Kind::OptionButton, p, x + 1900, 450, 1800, 330, "初日との差");
  place(f, "msgB1", Kind::Grid, p, x, top, gridW, bottom - top);

  x += gridW + gap;
  decoration(f, "lblBunsekiB3Cap", p, x, 120, gridW, 330, "体重平均推移");
  place(f, "Label5(1)", Kind::Label, p, x, 450, gridW, 330);
  place(f, "msgB3", Kind::Grid, p, x, top, gridW, bottom - top);

  x += gridW + gap;
  const int restW = kPageWidth - x - 120;
  decoration(f, "lblBunsekiB2Cap", p, x, 120, restW, 330, "区切り経過");
  place(f, "Label5(0)", Kind::Label, p, x, 450, restW, 330);
  place(f, "msgB2", Kind::Grid, p, x, top, restW, 3500);
  // The caption names the band width; the ranking rewrites it, this is the start-up choice.
  Control& fr =
      place(f, "fraB4", Kind::Frame, p, x, top + 3600, restW, bottom - top - 3600, "体重推移累積番付 < 0.5Kg刻み >");
  place(f, "Option2(0)", Kind::OptionButton, fr.name(), 120, 300, 1800, 330, "１.０Ｋｇ刻み");
  place(f, "Option2(1)", Kind::OptionButton, fr.name(), 2000, 300, 1800, 330, "０.５Ｋｇ刻み").setValue(1);
  place(f, "msgB4", Kind::Grid, fr.name(), 60, 680, restW - 120, fr.height() - 760);
}

}  // namespace form::pages
