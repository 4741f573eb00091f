#include "form/pages/builder.h"

namespace form::pages {

void buildManpoPage(Form& f) {
  const std::string p = "fraManpo";
  place(f, "lblHosu_Date", Kind::Label, p, 120, 150, 2400, 300);
  place(f, "txtInpHosuu", Kind::TextBox, p, 2520, 90, 1300, 375).setToolTip(kEnterTip);
  decoration(f, "lblHosuUnit", p, 3880, 150, 400, 300, "歩");
  place(f, "msgHosuList", Kind::Grid, p, 120, 600, 3000, 9000);
  place(f, "MSChart3", Kind::Chart, p, 3300, 600, 7400, 6000).setSeriesNames({"歩数"});
  decoration(f, "lblY3maxCap", p, 3300, 6700, 1300, 330, "Ｙ軸最大");
  place(f, "txtY3max", Kind::TextBox, p, 4600, 6660, 1100, 375).setToolTip(kEnterTip);
  decoration(f, "lblY3minCap", p, 5900, 6700, 1300, 330, "Ｙ軸最小");
  place(f, "txtY3min", Kind::TextBox, p, 7200, 6660, 1100, 375).setToolTip(kEnterTip);
  decoration(f, "lblIppoCap", p, 10900, 600, 1500, 330, "一歩の長さ");
  place(f, "txtIppo", Kind::TextBox, p, 12400, 560, 900, 375).setToolTip(kEnterTip);
  decoration(f, "lblIppoUnit", p, 13360, 600, 400, 330, "ｍ");
  decoration(f, "lblManpoHdrSteps", p, 11800, 1000, 1800, 330, "歩数");
  decoration(f, "lblManpoHdrKm", p, 13600, 1000, 1600, 330, "距離 (Km)");
  const char* rows[][3] = {{"合計", "lblTotal_Hosuu", "lblTotal_M"},
                           {"最高", "lblMax_Hosuu", "lblMax_M"},
                           {"最低", "lblMin_Hosuu", "lblMin_M"}};
  int y = 1400;
  for (int r = 0; r < 3; ++r) {
    decoration(f, std::string("lblManpoRow") + std::to_string(r), p, 10900, y + r * 360, 900, 330, rows[r][0]);
    place(f, rows[r][1], Kind::Label, p, 11800, y + r * 360, 1800, 330);
    place(f, rows[r][2], Kind::Label, p, 13600, y + r * 360, 1600, 330);
  }
  place(f, "lblTotalK", Kind::Label, p, 10900, y + 3 * 360 + 120, 4300, 330);
  // The three imaginary courses: how far into the current lap, and which lap.
  const char* bars[][4] = {{"shpBar10B", "shpBar10K", "lblSyuu10", "10Kmコース"},
                           {"shpBar100B", "shpBar100K", "lblSyuu100", "100Kmコース"},
                           {"shpBar1000B", "shpBar1000K", "lblSyuu1000", "1000Kmコース"}};
  for (int i = 0; i < 3; ++i) {
    int by = 7500 + i * 700;
    decoration(f, std::string("lblManpoCourse") + std::to_string(i), p, 3300, by, 1500, 330, bars[i][3]);
    place(f, bars[i][0], Kind::Shape, p, 4850, by, 7400, 300).setFillColor(0xFFFFFF);
    place(f, bars[i][1], Kind::Shape, p, 4850, by, 0, 300).setFillColor(0x00C000);
    place(f, bars[i][2], Kind::Label, p, 12450, by, 2600, 330);
  }
}

}  // namespace form::pages
