#include "form/pages/builder.h"

namespace form::pages {

// Right half of the main page, below the chart: the lazy calendar, Sunday first, with the
// month's counts and the smiling or sulky mark beside it.
void buildMainCalendar(Form& f) {
  const std::string p = "fraMain";
  const int x0 = 7700, y0 = 6090;
  const int cellW = 510, cellH = 430, pitch = 525, rowPitch = 480;
  const int gridW = 6 * pitch + cellW;

  // Month caption between the two arrows.
  place(f, "cmdModori", Kind::CommandButton, p, x0, y0, 510, 360).setPicture("arrowLeft");
  place(f, "Label1", Kind::Label, p, x0 + 600, y0 + 30, gridW - 1200, 330);
  place(f, "cmdOkuri", Kind::CommandButton, p, x0 + gridW - 510, y0, 510, 360).setPicture("arrowRight");

  const char* days[] = {"日", "月", "火", "水", "木", "金", "土"};
  const int headerTop = y0 + 420;
  for (int i = 0; i < 7; ++i)
    place(f, "Command1(" + std::to_string(i) + ")", Kind::CommandButton, p, x0 + i * pitch, headerTop, cellW, 300,
          days[i]);
  const int gridTop = headerTop + 360;
  for (int i = 0; i <= 36; ++i)
    place(f, "cmdMono(" + std::to_string(i) + ")", Kind::CommandButton, p, x0 + (i % 7) * pitch,
          gridTop + (i / 7) * rowPitch, cellW, cellH);

  // Beside the grid: the title, the counts and the mark.
  const int sx = x0 + gridW + 300, sw = 15000 - sx;
  decoration(f, "lblCalTitle", p, sx, y0 + 30, sw, 330, "ものぐさカレンダー");
  decoration(f, "lblCalHint", p, sx, y0 + 390, sw, 600, "ダイエットを意識して過ごせた日は緑、そうでない日は赤に");
  const int ry = y0 + 1080, rh = 330;
  decoration(f, "lblCalGood", p, sx, ry, 1300, rh, "緑の日");
  place(f, "Label2(0)", Kind::Label, p, sx + 1300, ry, 700, rh);
  decoration(f, "lblCalGoodUnit", p, sx + 2000, ry, 400, rh, "日");
  decoration(f, "lblCalBad", p, sx, ry + rh, 1300, rh, "赤の日");
  place(f, "Label2(1)", Kind::Label, p, sx + 1300, ry + rh, 700, rh);
  decoration(f, "lblCalBadUnit", p, sx + 2000, ry + rh, 400, rh, "日");
  decoration(f, "lblCalRate", p, sx, ry + 2 * rh, 1300, rh, "達成率");
  place(f, "Label2(2)", Kind::Label, p, sx + 1300, ry + 2 * rh, 700, rh);
  place(f, "Label2(3)", Kind::Label, p, sx + 2000, ry + 2 * rh, 400, rh, "%");
  // Mark 1 (smiling) covers mark 0 (sulky) while it is visible.
  const int faceTop = ry + 3 * rh + 150, faceSize = 1200;
  place(f, "Image4(0)", Kind::Image, p, sx + 600, faceTop, faceSize, faceSize).setPicture("sulky");
  place(f, "Image4(1)", Kind::Image, p, sx + 600, faceTop, faceSize, faceSize).setPicture("smile");
}

}  // namespace form::pages
