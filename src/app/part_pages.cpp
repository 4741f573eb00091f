#include "app/part_pages.h"

#include "app/frmMain.h"

namespace app {

std::string MainPageHelpText() { return {}; }
void ShowPage(frmMain& m) {
  for (const char* page : {"fraShibou", "fraTaijyu", "fraKintore", "fraBunseki", "fraDiary", "fraManpo", "fraMain",
                           "fraSettei", "fraMemo", "fraEiyo"})
    m.form(page).setVisible(false);
}
void DSP_HELP(frmMain&) {}
void wirePages(frmMain&) {}

void dumpPages(const frmMain&, StateDump&) {}

}  // namespace app
