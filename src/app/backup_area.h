#pragma once
// Where the diary lives, its daily backups and restore, and CSV export and import.
#include <string>

namespace app {
class frmMain;
class StateDump;

// After a successful start-up: shows the data folder.
void AfterStartup(frmMain& m);
// Makes the day's backup (none in sample mode). A failed backup shows one warning and the
// program goes on. `sweepLeftovers`: first remove the half-made backups of a program that died
// or left one behind.
void MakeStartupBackup(frmMain& m, bool sweepLeftovers);
void wireBackup(frmMain& m);
void dumpBackup(const frmMain& m, StateDump& d);

}  // namespace app
