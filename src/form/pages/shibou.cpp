#include "form/pages/builder.h"

namespace form::pages {

void buildShibouPage(Form& f) {
  const std::string p = "fraShibou";
  place(f, "lblShi_Date", Kind::Label, p, 120, 150, 2600, 300);
  place(f, "txtInpShibou", Kind::TextBox, p, 2760, 90, 1200, 375).setToolTip(kEnterTip);
  decoration(f, "lblShibouUnit", p, 4020, 150, 400, 300, "%");
  place(f, "msgShiList", Kind::Grid, p, 120, 600, 3000, 9000);
  place(f, "MSChart2", Kind::Chart, p, 3300, 600, 11700, 8400).setSeriesNames({"体脂肪率"});
  decoration(f, "lblY2maxCap", p, 3300, 9100, 1300, 330, "Ｙ軸最大");
  place(f, "txtY2max", Kind::TextBox, p, 4600, 9060, 900, 375).setToolTip(kEnterTip);
  decoration(f, "lblY2minCap", p, 5700, 9100, 1300, 330, "Ｙ軸最小");
  place(f, "txtY2min", Kind::TextBox, p, 7000, 9060, 900, 375).setToolTip(kEnterTip);
  place(f, "Check2", Kind::CheckBox, p, 8200, 9060, 2600, 375, "脂肪量換算表示へ");
  Control& fr = place(f, "fraSuii", Kind::Frame, p, 3300, 600, 11700, 8400, "脂肪量の推移");
  fr.setVisible(false);
  // Wide enough for all six columns without a horizontal scroll bar.
  place(f, "msgSuiList", Kind::Grid, "fraSuii", 120, 300, 7950, 7950);
  place(f, "MSChart4", Kind::Chart, "fraSuii", 8150, 300, 3450, 7950).setSeriesNames({"脂肪量"});
}

}  // namespace form::pages
