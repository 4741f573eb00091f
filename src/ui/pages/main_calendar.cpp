#include "ui/pages/builder.h"

namespace ui::pages {

// Right half of the main page, bottom: the lazy calendar, Sunday first.
void buildMainCalendar(Form& f) {
  const std::string p = "fraMain";
  const int x0 = 8700, y0 = 5800, cw = 780, ch = 420;
  place(f, "cmdModori", Kind::CommandButton, p, x0, y0, 600, 360).setPicture("arrowLeft");
  place(f, "Label1", Kind::Label, p, x0 + 700, y0 + 30, 2200, 330);
  place(f, "cmdOkuri", Kind::CommandButton, p, x0 + 3000, y0, 600, 360).setPicture("arrowRight");
  // Mark 1 (smiling) covers mark 0 (sulky) while it is visible.
  place(f, "Image4(0)", Kind::Image, p, x0 + 3800, y0 - 60, 480, 480).setPicture("sulky");
  place(f, "Image4(1)", Kind::Image, p, x0 + 3800, y0 - 60, 480, 480).setPicture("smile");
  for (int i = 0; i <= 3; ++i) place(f, "Label2(" + std::to_string(i) + ")", Kind::Label, p, x0 + 4400 + (i % 2) * 900, y0 - 60 + (i / 2) * 300, 850, 300);
  f("Label2", 3).setCaption("%");
  const char* days[] = {"日", "月", "火", "水", "木", "金", "土"};
  for (int i = 0; i < 7; ++i)
    place(f, "Command1(" + std::to_string(i) + ")", Kind::CommandButton, p, x0 + i * cw, y0 + 450, cw, 300, days[i]);
  for (int i = 0; i <= 36; ++i)
    place(f, "cmdMono(" + std::to_string(i) + ")", Kind::CommandButton, p, x0 + (i % 7) * cw, y0 + 750 + (i / 7) * ch, cw, ch);
}

}  // namespace ui::pages
