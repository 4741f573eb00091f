#pragma once
// Page switching, the help tour and the help file.
#include <string>

namespace app {
class frmMain;

// The main page's help-tour text, set at start-up.
std::string MainPageHelpText();
// The help-tour text of the page a button shows; "" for the main page, which has none of its own.
std::string PageHelpText(const std::string& button);
void ShowPage(frmMain& m);
// The page button at position i (0..9) of the button row.
const char* PageButtonName(int i);
void DSP_HELP(frmMain& m);
void chkHelp_Click(frmMain& m);
void cmdHelp_Click(frmMain& m);
void wirePages(frmMain& m);

}  // namespace app
