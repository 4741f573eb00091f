#pragma once
// The main window: owns every piece of state for the life of the process, runs start-up and
// routes each user event to its handler. Each area's state and handlers live in its area file
// (*_area.h); the chains of recomputation after an event live there too.
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "app/analysis_area.h"
#include "app/backup_area.h"
#include "app/body_area.h"
#include "app/diary_area.h"
#include "app/notes_area.h"
#include "app/pages_area.h"
#include "app/setup_area.h"
#include "app/state_dump.h"
#include "app/weight_area.h"
#include "profile/profile.h"
#include "records/weight_log.h"
#include "store/dates.h"
#include "ui/dialogs.h"
#include "ui/form.h"

namespace app {

inline constexpr const char* kSettingsFile = "設定.txt";

class frmMain {
 public:
  frmMain(ui::Dialogs& dialogs, const ui::Clock& clock);
  frmMain(const frmMain&) = delete;
  frmMain& operator=(const frmMain&) = delete;

  // Start-up: loads every file and computes every figure. A start-up input error shows one
  // error box naming the file and ends the program.
  void Form_Load();
  // Start-up once more on the files as they are now (after a restore): every figure and list
  // is rebuilt from the files, as at the first start.
  void Reload();

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
  void CloseWindow();  // the window's close box: ends without closing the help viewer
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

  // Moves the focus from code; raises the control's GotFocus handler as the platform does.
  void SetFocus(const std::string& control);
  // Shows a failure (a file that cannot be read or written) in an error box.
  void ShowFailure(const std::exception& e);
  // Runs `work` with the hourglass pointer, restoring the default pointer afterwards.
  void WithHourglass(const std::function<void()>& work);

  // ---- shared procedures of the shell ----
  void ClearDisplay();
  void READ_SETTEI();
  // The selected date of the date selector (the text of txtDate).
  std::string SelectedDateText() const { return form("txtDate").text(); }

  std::string DumpState() const;

  // ---- state ----
  ui::Form form;
  ui::Dialogs& dialogs;
  const ui::Clock& clock;

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
  void RunStartup();

  IndexMap click_, dblClick_, mouseUp_, mouseDown_, gotFocus_, change_, scroll_;
  std::map<std::string, KeyHandler, std::less<>> keyPress_;
  std::map<std::string, DropHandler, std::less<>> dragDrop_;
};

// Splits "Label9(25)" into ("Label9", 25); a plain name gives index -1.
std::pair<std::string, int> splitControlName(std::string_view name);

}  // namespace app
