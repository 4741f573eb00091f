#include "ui/pages/builder.h"

namespace ui::pages {

namespace {
std::string idx(const char* base, int i) { return std::string(base) + "(" + std::to_string(i) + ")"; }
}  // namespace

void buildTaijyuPage(Form& f) {
  const std::string p = "fraTaijyu";
  decoration(f, "lblRenTaiCap", p, 120, 150, 2400, 300, "体重の記録");
  place(f, "txtInpRenTai", Kind::TextBox, p, 2520, 90, 1200, 375).setToolTip("入力後リターンキーを入力して下さい");
  decoration(f, "lblRenTaiUnit", p, 3780, 150, 500, 300, "Kg");
  place(f, "msgTaiList", Kind::Grid, p, 120, 600, 4600, 9000);
  place(f, "MSChart5", Kind::Chart, p, 5000, 600, 10200, 9000);
}

void buildShibouPage(Form& f) {
  const std::string p = "fraShibou";
  place(f, "lblShi_Date", Kind::Label, p, 120, 150, 2600, 300);
  place(f, "txtInpShibou", Kind::TextBox, p, 2760, 90, 1200, 375).setToolTip("入力後リターンキーを入力して下さい");
  decoration(f, "lblShibouUnit", p, 4020, 150, 400, 300, "%");
  place(f, "msgShiList", Kind::Grid, p, 120, 600, 3000, 9000);
  place(f, "MSChart2", Kind::Chart, p, 3300, 600, 11700, 8400);
  decoration(f, "lblY2maxCap", p, 3300, 9100, 1300, 330, "Ｙ軸最大");
  place(f, "txtY2max", Kind::TextBox, p, 4600, 9060, 900, 375).setToolTip("入力後リターンキーを入力して下さい");
  decoration(f, "lblY2minCap", p, 5700, 9100, 1300, 330, "Ｙ軸最小");
  place(f, "txtY2min", Kind::TextBox, p, 7000, 9060, 900, 375).setToolTip("入力後リターンキーを入力して下さい");
  place(f, "Check2", Kind::CheckBox, p, 8200, 9060, 2600, 375, "脂肪量換算表示へ");
  Control& fr = place(f, "fraSuii", Kind::Frame, p, 3300, 600, 11700, 8400, "脂肪量の推移");
  fr.setVisible(false);
  place(f, "msgSuiList", Kind::Grid, "fraSuii", 120, 300, 6300, 7950);
  place(f, "MSChart4", Kind::Chart, "fraSuii", 6500, 300, 5100, 7950);
}

void buildManpoPage(Form& f) {
  const std::string p = "fraManpo";
  place(f, "lblHosu_Date", Kind::Label, p, 120, 150, 2400, 300);
  place(f, "txtInpHosuu", Kind::TextBox, p, 2520, 90, 1300, 375).setToolTip("入力後リターンキーを入力して下さい");
  decoration(f, "lblHosuUnit", p, 3880, 150, 400, 300, "歩");
  place(f, "msgHosuList", Kind::Grid, p, 120, 600, 3000, 9000);
  place(f, "MSChart3", Kind::Chart, p, 3300, 600, 7400, 6000);
  decoration(f, "lblY3maxCap", p, 3300, 6700, 1300, 330, "Ｙ軸最大");
  place(f, "txtY3max", Kind::TextBox, p, 4600, 6660, 1100, 375).setToolTip("入力後リターンキーを入力して下さい");
  decoration(f, "lblY3minCap", p, 5900, 6700, 1300, 330, "Ｙ軸最小");
  place(f, "txtY3min", Kind::TextBox, p, 7200, 6660, 1100, 375).setToolTip("入力後リターンキーを入力して下さい");
  decoration(f, "lblIppoCap", p, 10900, 600, 1500, 330, "一歩の長さ");
  place(f, "txtIppo", Kind::TextBox, p, 12400, 560, 900, 375).setToolTip("入力後リターンキーを入力して下さい");
  decoration(f, "lblIppoUnit", p, 13360, 600, 400, 330, "ｍ");
  const char* rows[][3] = {{"合計", "lblTotal_Hosuu", "lblTotal_M"}, {"最高", "lblMax_Hosuu", "lblMax_M"},
                           {"最低", "lblMin_Hosuu", "lblMin_M"}};
  int y = 1100;
  for (int r = 0; r < 3; ++r) {
    decoration(f, std::string("lblManpoRow") + std::to_string(r), p, 10900, y + r * 360, 900, 330, rows[r][0]);
    place(f, rows[r][1], Kind::Label, p, 11800, y + r * 360, 1800, 330);
    place(f, rows[r][2], Kind::Label, p, 13600, y + r * 360, 1600, 330);
  }
  place(f, "lblTotalK", Kind::Label, p, 10900, y + 3 * 360, 4300, 330);
  const char* bars[][3] = {{"shpBar10B", "shpBar10K", "lblSyuu10"}, {"shpBar100B", "shpBar100K", "lblSyuu100"},
                           {"shpBar1000B", "shpBar1000K", "lblSyuu1000"}};
  for (int i = 0; i < 3; ++i) {
    int by = 7300 + i * 700;
    place(f, bars[i][0], Kind::Shape, p, 3300, by, 9000, 300).setFillColor(0xFFFFFF);
    place(f, bars[i][1], Kind::Shape, p, 3300, by, 0, 300).setFillColor(0x00C000);
    place(f, bars[i][2], Kind::Label, p, 12450, by, 2600, 330);
  }
}

void buildKintorePage(Form& f) {
  const std::string p = "fraKintore";
  for (int i = 1; i <= 6; ++i) {
    int x = 120 + (i - 1) * 2550;
    Control& fr = place(f, idx("fraKin", i), Kind::Frame, p, x, 120, 2450, 9600);
    fr.setToolTip("ダブルクリックで筋トレの項目を変更できます");
    std::string q = fr.name();
    place(f, idx("lstKin", i), Kind::ListBox, q, 90, 300, 1500, 6600);
    decoration(f, idx("lblKinInCap", i), q, 90, 7050, 600, 330, "入力");
    place(f, idx("txtKin", i), Kind::TextBox, q, 690, 7000, 900, 375).setToolTip("入力後リターンキーを入力して下さい");
    decoration(f, idx("lblKinTotalCap", i), q, 90, 7500, 600, 330, "合計");
    place(f, idx("lblTotal", i), Kind::Label, q, 690, 7500, 900, 330).setToolTip("ダブルクリックで目標値を変更できます");
    place(f, idx("shpBarB", i), Kind::Shape, q, 1750, 300, 500, 8400).setFillColor(0xFFFFFF);
    place(f, idx("shpBarK", i), Kind::Shape, q, 1750, 8700, 500, 0).setFillColor(0xFF8000);
  }
}

void buildEiyoPage(Form& f) {
  const std::string p = "fraEiyo";
  for (int i = 0; i <= 10; ++i) {
    int y = 150 + i * 420;
    place(f, idx("Check1", i), Kind::CheckBox, p, 120, y, 2800, 375);
    place(f, idx("shpEiyoB", i), Kind::Shape, p, 3000, y + 60, 3000, 255).setFillColor(0xFFFFFF);
    place(f, idx("shpEiyoK", i), Kind::Shape, p, 3000, y + 60, 0, 255).setFillColor(0x00C000);
    place(f, idx("Label7", i), Kind::Label, p, 6100, y + 30, 900, 330);
  }
  place(f, "Command3", Kind::CommandButton, p, 120, 4900, 1500, 450, "保存");
  place(f, "Option3(0)", Kind::OptionButton, p, 1800, 4950, 2200, 375);
  place(f, "Option3(1)", Kind::OptionButton, p, 4100, 4950, 2200, 375);
  decoration(f, "lblEiyoFusokuCap", p, 7200, 150, 7900, 330, "　不足栄養リスト　");
  place(f, "List6", Kind::ListBox, p, 7200, 500, 7900, 2600);
  decoration(f, "lblEiyoHatarakiCap", p, 7200, 3200, 7900, 330, "　主な栄養素と働き　");
  place(f, "List7", Kind::ListBox, p, 7200, 3550, 7900, 2600);
  place(f, "List11", Kind::ListBox, p, 120, 5500, 6900, 4100);
}

void buildDiaryPage(Form& f) {
  const std::string p = "fraDiary";
  const char* meals[][2] = {{"cmdAsa", "朝"}, {"cmdHiru", "昼"}, {"cmdYoru", "夜"}};
  for (int i = 0; i < 3; ++i) {
    int y = 150 + i * 1900;
    place(f, meals[i][0], Kind::CommandButton, p, 120, y, 500, 1800, meals[i][1]);
    place(f, idx("List8", i), Kind::ListBox, p, 660, y, 5000, 1800);
  }
  place(f, "cmdUndo", Kind::CommandButton, p, 120, 5850, 500, 1800, "運");
  place(f, "List9", Kind::ListBox, p, 660, 5850, 5000, 1800);
  decoration(f, "lblDiaryTourokuCap", p, 6000, 150, 5000, 330, "登録リスト（上から 食物 ： 飲物 ： 運動）");
  const char* kinds[] = {"食べ物", "飲み物", "運動"};
  for (int i = 0; i < 3; ++i) {
    int y = 500 + i * 2450;
    place(f, idx("List10", i), Kind::ListBox, p, 6000, y, 4000, 2350);
    place(f, idx("Command2", i), Kind::CommandButton, p, 10050, y, 1200, 450, kinds[i]);
  }
  decoration(f, "lblDiaryShinkiCap", p, 10050, 150, 1200, 330, "新規登録");
  decoration(f, "lblDiaryBalanceCap", p, 11500, 150, 3800, 330, "カロリー収支状況 と なんでも日記");
  const int vals[] = {15, 16, 17, 22};
  for (int i = 0; i < 4; ++i) {
    int y = 550 + i * 400;
    place(f, idx("Label16", i), Kind::Label, p, 11500, y, 1600, 330);
    place(f, idx("Label9", vals[i]), Kind::Label, p, 13100, y, 1200, 330);
    decoration(f, idx("lblDiaryKcal", i), p, 14350, y, 700, 330, "Kcal");
  }
  decoration(f, "lblDiaryNandemoCap", p, 11500, 2250, 3800, 330, "なんでも日記");
  place(f, "txtDiary", Kind::TextBox, p, 11500, 2600, 3800, 5050);
  place(f, "cmdHozon", Kind::CommandButton, p, 11500, 7800, 3800, 600, "ダイエット日記の保存");
}

void buildMemoPage(Form& f) {
  const std::string p = "fraMemo";
  for (int i = 1; i <= 4; ++i) {
    int x = 120 + ((i - 1) % 2) * 7700, y = 120 + ((i - 1) / 2) * 4850;
    Control& fr = place(f, idx("fraDaimoku", i), Kind::Frame, p, x, y, 7500, 4700);
    fr.setToolTip("ダブルクリックで題目を変更できます");
    place(f, idx("List5", i), Kind::ListBox, fr.name(), 120, 300, 7260, 4280);
  }
}

void buildBunsekiPage(Form& f) {
  const std::string p = "fraBunseki";
  decoration(f, "lblBunsekiB1Cap", p, 120, 120, 3700, 330, "時系列体重データ");
  place(f, "Option1(0)", Kind::OptionButton, p, 120, 450, 1800, 330, "前日との差");
  place(f, "Option1(1)", Kind::OptionButton, p, 1950, 450, 1800, 330, "初日との差");
  place(f, "msgB1", Kind::Grid, p, 120, 850, 4900, 8800);
  decoration(f, "lblBunsekiB2Cap", p, 5150, 120, 3300, 330, "区切り経過");
  place(f, "msgB2", Kind::Grid, p, 5150, 850, 3300, 8800);
  decoration(f, "lblBunsekiB3Cap", p, 8600, 120, 3300, 330, "体重平均推移");
  place(f, "Label5(0)", Kind::Label, p, 8600, 450, 3300, 330);
  place(f, "Label5(1)", Kind::Label, p, 8600, 780, 3300, 330);
  place(f, "msgB3", Kind::Grid, p, 8600, 1150, 3300, 8500);
  Control& fr = place(f, "fraB4", Kind::Frame, p, 12050, 120, 3300, 9550);
  place(f, "Option2(0)", Kind::OptionButton, fr.name(), 120, 330, 1500, 330);
  place(f, "Option2(1)", Kind::OptionButton, fr.name(), 1650, 330, 1500, 330);
  place(f, "msgB4", Kind::Grid, fr.name(), 120, 730, 3060, 8700);
}

}  // namespace ui::pages
