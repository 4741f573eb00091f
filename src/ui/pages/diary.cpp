#include "ui/pages/builder.h"

namespace ui::pages {

namespace {
std::string idx(const char* base, int i) { return std::string(base) + "(" + std::to_string(i) + ")"; }
}  // namespace

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

}  // namespace ui::pages
