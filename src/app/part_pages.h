#pragma once
// Page switching, the help tour and the help file.
#include <string>

namespace app {
class frmMain;
class StateDump;

struct PagesPart {};

// The main page's help-tour text, set at start-up.
std::string MainPageHelpText();
void ShowPage(frmMain& m);
void DSP_HELP(frmMain& m);
void wirePages(frmMain& m);
void dumpPages(const frmMain& m, StateDump& d);

}  // namespace app
