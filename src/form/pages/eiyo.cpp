#include "form/pages/builder.h"

namespace form::pages {

namespace {
std::string idx(const char* base, int i) { return std::string(base) + "(" + std::to_string(i) + ")"; }

const char* const kGroupCaptions[] = {"乳製品", "卵",   "肉",   "魚介", "豆類", "野菜",
                                      "芋類",   "果物", "穀物", "砂糖", "油脂"};
}  // namespace

void buildEiyoPage(Form& f) {
  const std::string p = "fraEiyo";
  // Left: one row per food group with its tick, bar and share.
  for (int i = 0; i <= 10; ++i) {
    int y = 150 + i * 420;
    place(f, idx("Check1", i), Kind::CheckBox, p, 120, y, 1300, 375, kGroupCaptions[i]);
    place(f, idx("shpEiyoB", i), Kind::Shape, p, 1500, y + 60, 3600, 255).setFillColor(0xFFFFFF);
    place(f, idx("shpEiyoK", i), Kind::Shape, p, 1500, y + 60, 0, 255).setFillColor(0xFF0000);
    place(f, idx("Label7", i), Kind::Label, p, 5200, y + 30, 1000, 330);
  }
  place(f, "Command3", Kind::CommandButton, p, 120, 4900, 1300, 420, "保存");
  place(f, "Option3(0)", Kind::OptionButton, p, 1600, 4920, 2500, 375, "過去１０日間分表示").setValue(1);
  place(f, "Option3(1)", Kind::OptionButton, p, 4200, 4920, 1900, 375, "全部表示");

  // Middle: the saved days; right: the groups that are short.
  decoration(f, "lblEiyoRireki", p, 6400, 150, 3600, 330, "チェック履歴");
  place(f, "List6", Kind::ListBox, p, 6400, 480, 3600, 4820);
  Control& lacking = place(f, "fraEiyoFusoku", Kind::Frame, p, 10200, 120, 5160, 5180, "　不足栄養リスト　");
  place(f, "List7", Kind::ListBox, lacking.name(), 120, 330, 4920, 4730);

  // Bottom: what each group provides.
  Control& advice = place(f, "fraEiyoHataraki", Kind::Frame, p, 120, 5450, 15240, 4300, "　主な栄養素と働き　");
  place(f, "List11", Kind::ListBox, advice.name(), 120, 330, 15000, 3850);
}

}  // namespace form::pages
