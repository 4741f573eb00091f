#pragma once
// The main window: owns every piece of state for the life of the process, runs start-up and
// routes each user event to its handler. Each area's state and handlers live in its area file
// (*_area.h); the chains of recomputation after an event live there too.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/analysis_area.h"
#include "app/backup_area.h"
#include "app/body_area.h"
#include "app/diary_area.h"
#include "app/notes_area.h"
#include "app/pages_area.h"
#include "app/setup_area.h"
#include "app/state_dump.h"
#include "app/weight_area.h"
#include "form/dialogs.h"
#include "form/form.h"
#include "profile/profile.h"
#include "records/weight_log.h"
#include "store/dates.h"
#include "store/files.h"
#include "store/undo_journal.h"
#include "words/messages.h"

namespace app {

inline constexpr const char* kSettingsFile = "設定.txt";
// The items of the context menus of stored records.
inline constexpr const char* kCorrectAction = words::kCorrectAction;
inline constexpr const char* kDeleteAction = words::kDeleteAction;
inline constexpr const char* kUndoAction = words::kUndoAction;

class frmMain {
 public:
  frmMain(form::Dialogs& dialogs, const form::Clock& clock);
  // The end of the program: the next start may skip looking for temporaries left behind.
  ~frmMain();
  frmMain(const frmMain&) = delete;
  frmMain& operator=(const frmMain&) = delete;

  // Start-up: loads every file and computes every figure. A start-up input error shows one
  // error box naming the file and ends the program.
  void Form_Load();
  // Start-up's loading alone, in the current folder: no lock, no recovery, no backup, no box of
  // its own. Throws what would stop a start-up; a restore checks a backup with it.
  void LoadOnly();
  // With a window, the first start puts the day's backup off until the window is painted: the
  // diary is there at once, the copies follow, and the window calls FinishStartup once it is
  // painted. Call before Form_Load.
  void PutOffStartupBackup(bool putOff) { putOffBackup_ = putOff; }
  bool StartupBackupPending() const { return pendingBackup_.has_value(); }
  // Makes the backup start-up put off, if it still waits. Every event runs it first, so that
  // nothing the user changes comes before the day's backup.
  void FinishStartup();

  // ---- user events (from the GUI or the driver) ----
  void Click(const std::string& control);
  void SetCheck(const std::string& control, int value);  // click raised only on a change
  void DblClick(const std::string& control);
  void MouseUp(const std::string& control);
  void UserFocus(const std::string& control);                        // the user moved the focus there
  void TypeChar(const std::string& control, const std::string& ch);  // KeyPress, then the text
  void PressEnter(const std::string& control);                       // KeyPress 13
  void SetText(const std::string& control, const std::string& text);
  void Scroll(const std::string& control, int value);       // change raised only on a change
  void ScrollTrack(const std::string& control, int value);  // thumb being dragged
  void Select(const std::string& control, int index);
  void Drag(const std::string& source, int index, const std::string& target);
  // A context-menu item chosen for row `row` of a grid (header row 0) or list (0-based item).
  void Menu(const std::string& control, int row, const std::string& action);
  // The context-menu items of a control; empty when it has no menu.
  std::vector<std::string> MenuItems(const std::string& control) const;
  // The window's close box: ends without closing the help viewer, unless the user chose to stay
  // on an unsaved diary day. True when the program has ended.
  bool CloseWindow();
  // A key pressed while `control` has the focus: "Up", "PageDown", "Enter", "Delete", "Space",
  // "F1", "Ctrl+Q", "Alt+1" … (the names of IsKeyName). The window's shortcuts come first, then
  // the control's own key; a key with no meaning there does nothing.
  void Key(const std::string& control, const std::string& key);
  bool ended() const { return Ended; }

  // ---- handler registration, used by the areas ----
  using IndexHandler = std::function<void(int index)>;
  using KeyHandler = std::function<void(int index, std::string& key)>;  // set key "" to swallow
  using DropHandler = std::function<void(int index, const std::string& source)>;
  void onClick(const std::string& base, IndexHandler h) { click_[base] = std::move(h); }
  void onDblClick(const std::string& base, IndexHandler h) { dblClick_[base] = std::move(h); }
  void onMouseUp(const std::string& base, IndexHandler h) { mouseUp_[base] = std::move(h); }
  void onMouseDown(const std::string& base, IndexHandler h) { mouseDown_[base] = std::move(h); }
  void onGotFocus(const std::string& base, IndexHandler h) { gotFocus_[base] = std::move(h); }
  void onChange(const std::string& base, IndexHandler h) { change_[base] = std::move(h); }
  void onScroll(const std::string& base, IndexHandler h) { scroll_[base] = std::move(h); }
  void onKeyPress(const std::string& base, KeyHandler h) { keyPress_[base] = std::move(h); }
  void onDragDrop(const std::string& base, DropHandler h) { dragDrop_[base] = std::move(h); }
  using MenuHandler = std::function<void(int index, int row, const std::string& action)>;
  // A context menu offering `items` (修正, 削除; 元に戻す is added to every menu).
  void onMenu(const std::string& base, std::vector<std::string> items, MenuHandler h) {
    menus_[base] = {std::move(items), std::move(h)};
  }
  using NamedKeyHandler = std::function<void(int index, const std::string& key)>;
  void onKey(const std::string& base, NamedKeyHandler h) { key_[base] = std::move(h); }

  // Moves the focus from code; raises the control's GotFocus handler as the platform does.
  void SetFocus(const std::string& control);
  // Shows a failure (a file that cannot be read or written) in an error box.
  void ShowFailure(const std::exception& e);
  // Runs `work` with the hourglass pointer, restoring the default pointer afterwards.
  void WithHourglass(const std::function<void()>& work);

  // ---- shared procedures of the shell ----
  // Everything in memory and on screen anew from the data folder, as start-up builds it: after
  // the record files were replaced, nothing of what they held may stay. A file that cannot be
  // read ends the program as at start-up.
  void ReloadFromDisk();
  void ClearDisplay();
  void READ_SETTEI();
  // The selected date of the date selector (the text of txtDate).
  std::string SelectedDateText() const { return form("txtDate").text(); }

  std::string DumpState() const;

  // ---- taking back stored changes
  // Runs `change`, which writes the files named, as one step the user can undo, described as
  // `what` ("2026/12/07 の体重 62.9Kg の入力").
  void Undoable(const std::string& what, const std::vector<std::string>& files, const std::function<void()>& change);
  // Ctrl+Z: asks, then puts back the files of the last step and recomputes what they feed.
  void UndoLastChange();
  store::UndoJournal Journal;

  // ---- state ----
  form::Form form;
  form::Dialogs& dialogs;
  const form::Clock& clock;

  profile::Profile Profile;
  bool SampleMode = false;
  store::Date ReferenceDate{};
  bool Loading = false;
  int16_t HelpTourOn = 0;
  std::string HelpText;
  std::string HelpFileName;
  bool Ended = false;
  // The data folder's path as shown to the user; the files are opened in the current folder.
  std::string DataFolder;

  records::WeightSeries Weight;
  WeightArea weight;
  AnalysisArea analysis;
  SetupArea setup;
  DiaryArea diary;
  NotesArea notes;
  BodyArea body;

 private:
  using IndexMap = std::map<std::string, IndexHandler, std::less<>>;
  bool raise(const IndexMap& map, const std::string& control);
  void guarded(const std::function<void()>& work);
  // The first start also finishes what a crash interrupted and greets with the help tour.
  void Start(bool firstStart);
  void RunStartup(bool greet);

  store::FolderLock folderLock_;  // one program per data folder, for the life of the window
  bool putOffBackup_ = false;
  std::optional<bool> pendingBackup_;  // put off; whether leftovers are swept first

  IndexMap click_, dblClick_, mouseUp_, mouseDown_, gotFocus_, change_, scroll_;
  std::map<std::string, KeyHandler, std::less<>> keyPress_;
  std::map<std::string, DropHandler, std::less<>> dragDrop_;
  struct ContextMenu {
    std::vector<std::string> items;
    MenuHandler handler;
  };
  std::map<std::string, ContextMenu, std::less<>> menus_;
  std::map<std::string, NamedKeyHandler, std::less<>> key_;
};

// Whether `key` names a key Key understands.
bool IsKeyName(std::string_view key);

// Splits "Label9(25)" into ("Label9", 25); a plain name gives index -1.
std::pair<std::string, int> splitControlName(std::string_view name);

}  // namespace app
