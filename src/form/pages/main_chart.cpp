#include "form/pages/builder.h"

namespace form::pages {

// Right half of the main page, top: the weight chart and its four view switches.
void buildMainChart(Form& f) {
  const std::string p = "fraMain";
  Control& chart = place(f, "MSChart1", Kind::Chart, p, 7500, 90, 7590, 5190);
  chart.setChartColumnCount(4);
  // The four views, then the trend line, which goes with any of them.
  const char* checks[][2] = {{"Check3", "体重推移"},
                             {"Check4", "移動平均"},
                             {"Check5", "進度確認"},
                             {"Check6", "平均推移"},
                             {"Check7", "トレンド"}};
  int x = 7500;
  for (auto& c : checks) {
    place(f, c[0], Kind::CheckBox, p, x, 5340, 1450, 330, c[1]);
    x += 1518;
  }
  // The daily weights are the view the chart opens with.
  f("Check3").setValue(1);
  chart.setSeriesNames({checks[0][1], checks[1][1], checks[2][1], checks[3][1]});

  // The span of days shown, the target period first: a few days' weights need not be squeezed
  // into a corner of the period.
  decoration(f, "lblChartSpanCap", p, 7500, 5720, 1250, 330, "表示期間");
  const char* spans[] = {"4週間", "3か月", "目標期間", "全期間"};
  for (int i = 0; i < 4; ++i)
    place(f, "Option4(" + std::to_string(i) + ")", Kind::OptionButton, p, 8750 + i * 1500, 5720, 1450, 330, spans[i]);
  f("Option4(2)").setValue(1);
}

}  // namespace form::pages
