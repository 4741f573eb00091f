#pragma once
// Small helpers for laying out controls in twips.
#include <string>

#include "form/form.h"

namespace form::pages {

inline Control& place(Form& f, const std::string& name, Kind kind, const std::string& parent, int l, int t, int w,
                      int h, const std::string& caption = {}) {
  Control& c = f.add(name, kind, parent);
  c.setGeometry(l, t, w, h);
  if (!caption.empty()) c.setCaption(caption);
  return c;
}

// A fixed caption with no role in the logic; named after its page so names stay unique.
inline Control& decoration(Form& f, const std::string& name, const std::string& parent, int l, int t, int w, int h,
                           const std::string& caption) {
  return place(f, name, Kind::Label, parent, l, t, w, h, caption);
}

// The tooltip of every entry box that acts on Enter.
inline constexpr const char* kEnterTip = "入力後リターンキーを入力して下さい";

// Page frames: every page sits in the same place below the button row.
inline constexpr int kPageLeft = 60, kPageTop = 620, kPageWidth = 15480, kPageHeight = 9900;

void buildShell(Form& f);
void buildMainProgress(Form& f);
void buildMainChart(Form& f);
void buildMainCalendar(Form& f);
void buildTaijyuPage(Form& f);
void buildShibouPage(Form& f);
void buildManpoPage(Form& f);
void buildKintorePage(Form& f);
void buildEiyoPage(Form& f);
void buildDiaryPage(Form& f);
void buildMemoPage(Form& f);
void buildBunsekiPage(Form& f);
void buildSetteiProfile(Form& f);
void buildSetteiBmi(Form& f);
void buildSetteiData(Form& f);

}  // namespace form::pages
