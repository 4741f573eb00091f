#include "form/pages/builder.h"

namespace form::pages {

namespace {
std::string idx(const char* base, int i) { return std::string(base) + "(" + std::to_string(i) + ")"; }
}  // namespace

void buildDiaryPage(Form& f) {
  const std::string p = "fraDiary";
  // Left: the day's three meals and the exercise, each list with its direct-entry button.
  decoration(f, "lblDiaryInCap", p, 120, 100, 5540, 300, "入カロリー（ 上から　朝 ： 昼 ： 夜 ）");
  const char* meals[][2] = {{"cmdAsa", "朝"}, {"cmdHiru", "昼"}, {"cmdYoru", "夜"}};
  for (int i = 0; i < 3; ++i) {
    int y = 450 + i * 1750;
    place(f, meals[i][0], Kind::CommandButton, p, 120, y, 500, 1650, meals[i][1]);
    place(f, idx("List8", i), Kind::ListBox, p, 660, y, 5000, 1650);
  }
  decoration(f, "lblDiaryOutCap", p, 120, 5750, 5540, 300, "出カロリー（ 運動 ）");
  place(f, "cmdUndo", Kind::CommandButton, p, 120, 6100, 500, 1650, "運");
  place(f, "List9", Kind::ListBox, p, 660, 6100, 5000, 1650);

  // Middle: the registered items, dragged from here onto the day's lists.
  decoration(f, "lblDiaryTourokuCap", p, 5900, 100, 4100, 300, "登録リスト（上から 食物 ： 飲物 ： 運動）");
  const char* kinds[] = {"食べ物", "飲み物", "運動"};
  for (int i = 0; i < 3; ++i) {
    int y = 450 + i * 2450;
    place(f, idx("List10", i), Kind::ListBox, p, 5900, y, 4100, 2350)
        .setToolTip("登録リストの品目を朝・昼・夜・運動のリストへドラッグするか、選んで Enter キーで加えられます");
    place(f, idx("Command2", i), Kind::CommandButton, p, 10100, y, 1200, 450, kinds[i]);
  }
  decoration(f, "lblDiaryShinkiCap", p, 10100, 100, 1200, 300, "新規登録");

  // Right: the day's calorie figures and the comment.
  decoration(f, "lblDiaryBalanceCap", p, 11500, 100, 3800, 300, "カロリー収支状況 と なんでも日記");
  const char* rows[] = {"入カロリー合計", "出カロリー合計", "カロリー収支", "目標カロリー差"};
  const int vals[] = {15, 16, 17, 22};
  for (int i = 0; i < 4; ++i) {
    int y = 500 + i * 400;
    place(f, idx("Label16", i), Kind::Label, p, 11500, y, 1700, 330, rows[i]);
    place(f, idx("Label9", vals[i]), Kind::Label, p, 13200, y, 1100, 330);
    decoration(f, idx("lblDiaryKcal", i), p, 14350, y, 700, 330, "Kcal");
  }
  decoration(f, "lblDiaryNandemoCap", p, 11500, 2250, 3800, 300, "なんでも日記");
  place(f, "txtDiary", Kind::TextBox, p, 11500, 2600, 3800, 5150);
  place(f, "cmdHozon", Kind::CommandButton, p, 11500, 7900, 3800, 600, "ダイエット日記の保存");
}

}  // namespace form::pages
