#include "form/pages/builder.h"

namespace form {

void buildMainForm(Form& f) {
  using namespace pages;
  buildShell(f);
  buildMainProgress(f);
  buildMainChart(f);
  buildMainCalendar(f);
  buildTaijyuPage(f);
  buildShibouPage(f);
  buildManpoPage(f);
  buildKintorePage(f);
  buildEiyoPage(f);
  buildDiaryPage(f);
  buildMemoPage(f);
  buildBunsekiPage(f);
  buildSetteiProfile(f);
  buildSetteiBmi(f);
  buildSetteiData(f);
}

namespace pages {

void buildShell(Form& f) {
  // Date selector at the top left, then the ten page buttons, help, quit and the tour switch.
  place(f, "txtDate", Kind::TextBox, "", 60, 120, 1500, 375);
  Control& vs = place(f, "VScroll1", Kind::ScrollBar, "", 1560, 60, 255, 495);
  vs.setRange(0, 365, 1, 1);
  vs.setValue(365);

  const char* buttons[][2] = {{"cmdMain", "メイン"},  {"cmdTaijyu", "体重"},    {"cmdSuii", "体脂肪"},
                              {"cmdManpo", "歩数計"}, {"cmdKintore", "筋トレ"}, {"cmdEiyo", "栄養"},
                              {"cmdDiary", "日記"},   {"cmdMemo", "メモ"},      {"cmdBunseki", "分析"},
                              {"cmdSettei", "設定"}};
  int x = 1980;
  for (auto& b : buttons) {
    place(f, b[0], Kind::CommandButton, "", x, 90, 1050, 435, b[1]);
    x += 1080;
  }
  x += 180;
  place(f, "cmdHelp", Kind::CommandButton, "", x, 90, 900, 435, "ヘルプ");
  place(f, "cmdOwari", Kind::CommandButton, "", x + 930, 90, 900, 435, "終了");
  Control& help = place(f, "chkHelp", Kind::CheckBox, "", x + 1920, 45, 540, 525);
  help.setPicture("smile");
  help.setToolTip("ヘルプツアーのＯｎ／Ｏｆｆです");

  for (const char* page : {"fraMain", "fraTaijyu", "fraShibou", "fraManpo", "fraKintore", "fraEiyo", "fraDiary",
                           "fraMemo", "fraBunseki", "fraSettei"})
    place(f, page, Kind::Frame, "", kPageLeft, kPageTop, kPageWidth, kPageHeight);
}

}  // namespace pages
}  // namespace form
