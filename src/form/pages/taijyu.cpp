#include "form/pages/builder.h"

namespace form::pages {

void buildTaijyuPage(Form& f) {
  const std::string p = "fraTaijyu";
  decoration(f, "lblRenTaiCap", p, 120, 150, 2400, 300, "体重の記録");
  place(f, "txtInpRenTai", Kind::TextBox, p, 2520, 90, 1200, 375).setToolTip(kEnterTip);
  decoration(f, "lblRenTaiUnit", p, 3780, 150, 500, 300, "Kg");
  place(f, "msgTaiList", Kind::Grid, p, 120, 600, 4600, 9000);
  place(f, "MSChart5", Kind::Chart, p, 5000, 600, 10200, 9000).setSeriesNames({"体重"});
}

}  // namespace form::pages
