#include "app/frmMain.h"

#include <algorithm>
#include <stdexcept>

#include "store/record.h"
#include "words/file_errors.h"
#include "words/messages.h"

namespace app {

std::pair<std::string, int> splitControlName(std::string_view name) {
  size_t open = name.find('(');
  if (open == std::string_view::npos || name.back() != ')') return {std::string(name), -1};
  int index = 0;
  for (char c : name.substr(open + 1, name.size() - open - 2)) {
    if (c < '0' || c > '9') return {std::string(name), -1};
    index = index * 10 + (c - '0');
  }
  return {std::string(name.substr(0, open)), index};
}

frmMain::frmMain(form::Dialogs& d, const form::Clock& c) : dialogs(d), clock(c) {
  form::buildMainForm(form);
  onClick("cmdOwari", [this](int) {
    // Quitting: close every help window of ours, then the window.
    if (!LeaveDiaryDay(*this)) return;
    dialogs.closeHelp();
    Ended = true;
  });
  wirePages(*this);
  wireWeight(*this);
  wireAnalysis(*this);
  wireSetup(*this);
  wireDiary(*this);
  wireNotes(*this);
  wireBody(*this);
  wireBackup(*this);
}

frmMain::~frmMain() { folderLock_.markCleanEnd(); }

// ---------------------------------------------------------------- start-up

void frmMain::Form_Load() {
  // Two programs on one folder would overwrite each other's records: without the lock, for
  // whatever reason, leave everything alone.
  switch (folderLock_.take()) {
    case store::FolderLock::Result::Taken: Start(true); return;
    case store::FolderLock::Result::Busy:
      dialogs.MsgBox(store::kFolderBusyMessage, words::kStartupErrorTitle, form::Icon::Error, form::Buttons::OK);
      break;
    case store::FolderLock::Result::Unavailable:
      dialogs.MsgBox(folderLock_.problem() + words::kProgramEnds, words::kStartupErrorTitle, form::Icon::Error,
                     form::Buttons::OK);
      break;
  }
  Ended = true;
}

void frmMain::LoadOnly() { RunStartup(false); }

void frmMain::Start(bool firstStart) {
  // Leftovers of a holder that died, or that left one behind; a clean end left none.
  const bool sweepLeftovers = firstStart && !folderLock_.endedCleanly();
  try {
    if (firstStart) store::recoverFolder(sweepLeftovers);
    RunStartup(firstStart);
  } catch (const std::exception& e) {
    // The diary cannot run on files it cannot read: say which, where and what to do, then end.
    dialogs.MsgBox(store::startUpErrorText(e), words::kStartupErrorTitle, form::Icon::Error, form::Buttons::OK);
    Ended = true;
    return;
  }
  // Two programs, or a hand edit, may have left a day twice or out of order: say where, once,
  // and go on as before, since the diary must never lock its user out.
  if (const auto& order = Weight.FirstOutOfOrder)
    dialogs.MsgBox(
        words::weightDatesOutOfOrder(store::lineText(records::kWeightFile, order->line), order->date, order->previous),
        words::kWeightOrderTitle, form::Icon::Warning, form::Buttons::OK);
  AfterStartup(*this);
  if (firstStart && putOffBackup_) {
    pendingBackup_ = sweepLeftovers;
  } else {
    MakeStartupBackup(*this, sweepLeftovers);
  }
}

void frmMain::FinishStartup() {
  if (!pendingBackup_) return;
  const bool sweepLeftovers = *pendingBackup_;
  pendingBackup_.reset();
  WithHourglass([&] { MakeStartupBackup(*this, sweepLeftovers); });
}

void frmMain::RunStartup(bool greet) {
  HelpFileName = "ZorvelHelp.html";
  Loading = true;
  ShowPage(*this);
  ReferenceDate = clock.today();
  form("VScroll1").setValue(365);
  form("txtDate").setText(store::formatDate(ReferenceDate));
  Weight.resetExtremes();
  analysis.MaxAverageWeight = 0;
  analysis.MinAverageWeight = 999.9f;
  InvalidateWeightViews(*this);
  ClearDisplay();

  profile::LoadProfile(Profile, form);
  // The note pages' logs and the registered items, read meanwhile on a second thread when large.
  ReadAhead ahead;
  NotesFiles notes = ReadNotesAhead(ahead);
  auto calorieItems = ahead.sharedFile(diary::kCalorieItemsFile,
                                       [](store::OpenedFile& file) { return diary::checkCalorieItems(file); });
  ahead.startIfWorth();

  SetUpGridHeaders(*this);
  LoadWeightLog(*this);
  LoadIntradayWeightLog(*this);
  LoadBodyFatLog(*this);
  LoadStepLog(*this);
  LoadMemoTitles(*this);
  LoadTrainingTitles(*this);
  BuildCalendarMonth(*this);
  ShowAchievementRate(*this);
  ShowWeightProgress(*this);
  ShowObesityGrade(*this);
  AnalyseNutrition(*this, notes.nutrition.get());
  ShowWeightTable(*this);
  ShowLossMilestones(*this);
  ShowRunningAverage(*this);
  ShowWeightRanking(*this);
  DrawWeightChart(*this);
  DrawIntradayWeightChart(*this);
  DrawBodyFatCharts(*this);
  DrawStepChart(*this);
  LoadMemoLists(*this, takeAll(notes.memo));
  LoadTrainingLogs(*this, takeAll(notes.training));
  LoadCalorieItems(*this, calorieItems.get());
  LoadNutritionAdvice(*this);
  LoadDayDiary(*this);

  const std::string day = SelectedDateText();
  form("lblTai_Date").setCaption(day + "の体重");
  form("lblShi_Date").setCaption(day + "の体脂肪率");
  form("lblHosu_Date").setCaption(day + "の歩数");
  READ_SETTEI();
  form.showWindow();
  form("fraMain").setVisible(true);
  SetCheck("chkHelp", HelpTourOn == 1 ? 1 : 0);  // its handler does nothing while loading
  profile::CheckSampleMode(Profile, SampleMode);
  Loading = false;
  // A day starts with its weight; the sample offers no entry box.
  form.setFocus(SampleMode ? "cmdMain" : "txtInpTaijyu");
  HelpText = MainPageHelpText();
  if (greet) DSP_HELP(*this);
}

void frmMain::ReloadFromDisk() {
  // What the undo steps would put back belongs to the diary just replaced.
  Journal.clear();
  // The weight chart's span of days is a way of looking, not part of the diary: it stays.
  std::vector<int> spans;
  for (int i = 0; form.has(form::arrayName("Option4", i)); ++i) spans.push_back(form("Option4", i).value());
  form.restoreBuiltState();
  for (size_t i = 0; i < spans.size(); ++i) form("Option4", static_cast<int>(i)).setValue(spans[i]);
  Weight = {};
  weight = {};
  analysis = {};
  setup = {};
  diary = {};
  notes = {};
  body = {};
  Start(false);  // the help tour greets once per run
}

void frmMain::READ_SETTEI() {
  store::RecordReader r(kSettingsFile);
  r.skipField();
  HelpTourOn = r.readInt16();
}

void frmMain::ClearDisplay() {
  for (const char* name :
       {"lblStDate",    "lblNowDate",   "lblDate_Sa",   "lblStTaijyu", "lblNowTaijyu", "lblTaijyu_Sa",  "lblStShibou",
        "lblNowShibou", "lblShibou_Sa", "lblStBmi",     "lblNowBmi",   "lblBmi_Sa",    "lblTai_Zougen", "lblHiman",
        "lblTai",       "lblHyojun(0)", "lblHyojun(1)", "lblTani(0)",  "lblTani(1)",   "lblTani(2)",    "lblTani(3)",
        "Label9(10)",   "Label9(11)",   "Label9(12)",   "Label9(13)",  "Label9(14)",   "Label9(25)",    "Label9(28)",
        "Label9(30)",   "Label5(0)",    "Label5(1)",    "lblMHyouka",  "lblHyouka"})
    form(name).setCaption("");
  for (int i = 0; i <= 10; ++i) form("Label7", i).setCaption("");

  for (int i = 1; i <= 4; ++i) form("List5", i).clearItems();
  for (int i = 0; i <= 2; ++i) form("List8", i).clearItems();
  for (const char* name : {"List6", "List7", "List9"}) form(name).clearItems();

  for (int i = 0; i <= 10; ++i) {
    form("shpEiyoK", i).setWidth(0);
    form("Check1", i).setValue(0);
  }

  for (const char* name : {"lblTotal_Hosuu", "lblTotal_M", "lblMax_Hosuu", "lblMax_M", "lblMin_Hosuu", "lblMin_M"})
    form(name).setCaption("");
  for (const char* name : {"shpBar1000K", "shpBar100K", "shpBar10K", "shpJikanK", "shpTaiK"}) form(name).setWidth(0);

  for (int i = 1; i <= 6; ++i) {
    form::Control& bar = form("shpBarK", i);
    const form::Control& back = form("shpBarB", i);
    bar.setHeight(0);
    bar.setTop(back.top() + back.height() - bar.height());
  }

  const std::pair<const char*, int> charts[] = {{"MSChart2", body.FatCount},
                                                {"MSChart3", body.StepCount},
                                                {"MSChart4", body.FatMassCount},
                                                {"MSChart5", body.IntradayCount}};
  for (const auto& [name, count] : charts) {
    form::Control& chart = form(name);
    for (int row = 1; row <= count; ++row) chart.setChartValue(row, 1, "0");
    chart.setChartRowCount(0);
  }

  const std::string day = SelectedDateText();
  form("lblTai_Date").setCaption(day + "の体重");
  form("lblShi_Date").setCaption(day + "の体脂肪率");
  form("lblHosu_Date").setCaption(day + "の歩数");

  for (const char* name : {"txtInpTaijyu", "txtInpShibou", "txtInpHosuu"}) form(name).setText("");

  notes.TrainingTotal.assign(6, 0.0);  // the next entry after a new start starts afresh
  for (int i = 1; i <= 6; ++i) {
    form("lstKin", i).clearItems();
    form("lblTotal", i).setCaption("0");
    form("txtKin", i).setText("");
  }
}

// ---------------------------------------------------------------- events

void frmMain::guarded(const std::function<void()>& work) {
  if (Ended) return;
  try {
    FinishStartup();
    work();
  } catch (const std::exception& e) {
    form.setBusy(false);
    ShowFailure(e);
  }
}

void frmMain::ShowFailure(const std::exception& e) {
  dialogs.MsgBox(e.what(), words::kErrorTitle, form::Icon::Error, form::Buttons::OK);
}

void frmMain::WithHourglass(const std::function<void()>& work) {
  form.setBusy(true);
  work();
  form.setBusy(false);
}

bool frmMain::raise(const IndexMap& map, const std::string& control) {
  auto [base, index] = splitControlName(control);
  auto it = map.find(base);
  if (it == map.end()) return false;
  it->second(index);
  return true;
}

void frmMain::Click(const std::string& control) {
  guarded([&] {
    form::Control& c = form(control);
    if (c.kind() == form::Kind::CheckBox) {
      c.setValue(c.value() ? 0 : 1);
    } else if (c.kind() == form::Kind::OptionButton) {
      auto [base, index] = splitControlName(control);
      for (const auto& other : form.controls())
        if (other->kind() == form::Kind::OptionButton && splitControlName(other->name()).first == base)
          other->setValue(other == &c ? 1 : 0);
    }
    raise(click_, control);
  });
}

void frmMain::SetCheck(const std::string& control, int value) {
  guarded([&] {
    form::Control& c = form(control);
    if (c.value() == value) return;
    c.setValue(value);
    raise(click_, control);
  });
}

void frmMain::DblClick(const std::string& control) {
  guarded([&] { raise(dblClick_, control); });
}
void frmMain::MouseUp(const std::string& control) {
  guarded([&] { raise(mouseUp_, control); });
}

void frmMain::SetFocus(const std::string& control) {
  form.setFocus(control);
  raise(gotFocus_, control);
}

void frmMain::UserFocus(const std::string& control) {
  guarded([&] {
    if (form.focus() == control) return;
    SetFocus(control);
  });
}

void frmMain::TypeChar(const std::string& control, const std::string& ch) {
  guarded([&] {
    form::Control& c = form(control);
    std::string key = ch;
    auto [base, index] = splitControlName(control);
    if (auto it = keyPress_.find(base); it != keyPress_.end()) it->second(index, key);
    if (!key.empty() && key != "\r" && !Ended) c.setText(c.text() + key);
  });
}

void frmMain::PressEnter(const std::string& control) { TypeChar(control, "\r"); }

void frmMain::SetText(const std::string& control, const std::string& text) {
  guarded([&] { form(control).setText(text); });
}

void frmMain::Scroll(const std::string& control, int value) {
  guarded([&] {
    form::Control& c = form(control);
    int before = c.value();
    c.setValue(value);
    if (c.value() != before) raise(change_, control);
  });
}

void frmMain::ScrollTrack(const std::string& control, int value) {
  guarded([&] {
    form::Control& c = form(control);
    c.setValue(value);
    raise(scroll_, control);
  });
}

void frmMain::Select(const std::string& control, int index) {
  guarded([&] {
    form(control).setListIndex(index);
    raise(click_, control);
  });
}

void frmMain::Drag(const std::string& source, int index, const std::string& target) {
  guarded([&] {
    form(source).setListIndex(index);
    raise(click_, source);
    raise(mouseDown_, source);
    if (Ended) return;
    auto [base, tIndex] = splitControlName(target);
    if (auto it = dragDrop_.find(base); it != dragDrop_.end()) it->second(tIndex, source);
  });
}

void frmMain::Menu(const std::string& control, int row, const std::string& action) {
  guarded([&] {
    if (action == kUndoAction) return UndoLastChange();
    auto [base, index] = splitControlName(control);
    auto it = menus_.find(base);
    if (it == menus_.end()) return;
    const auto& items = it->second.items;
    if (std::find(items.begin(), items.end(), action) == items.end()) return;
    it->second.handler(index, row, action);
  });
}

std::vector<std::string> frmMain::MenuItems(const std::string& control) const {
  auto it = menus_.find(splitControlName(control).first);
  if (it == menus_.end()) return {};
  std::vector<std::string> items = it->second.items;
  items.push_back(kUndoAction);
  return items;
}

bool frmMain::CloseWindow() {
  guarded([&] {
    if (LeaveDiaryDay(*this)) Ended = true;
  });
  return Ended;
}
void frmMain::Key(const std::string& control, const std::string& key) {
  guarded([&] {
    // Shortcuts of the whole window: each presses the button it stands for.
    if (key == "Ctrl+Q") return Click("cmdOwari");
    if (key == "F1") return Click("cmdHelp");
    if (key.size() == 5 && key.compare(0, 4, "Alt+") == 0) {
      const int digit = key[4] - '0';
      Click(PageButtonName(digit == 0 ? 9 : digit - 1));
      // The main page's key leads on to the weight box, as start-up does (the focus must not stay
      // on a page just hidden).
      if (digit == 1 && !Ended && form("fraMain").visible()) SetFocus(SampleMode ? "cmdMain" : "txtInpTaijyu");
      return;
    }
    if (key == "Ctrl+S") {
      if (form("fraDiary").visible()) Click("cmdHozon");
      return;
    }
    if (key == "Ctrl+Z") return UndoLastChange();
    auto [base, index] = splitControlName(control);
    // F2 corrects and Delete deletes the selected record of a table or list with a menu.
    if (auto it = menus_.find(base); it != menus_.end() && (key == "F2" || key == "Delete")) {
      const int row = form(control).listIndex();
      const std::string action = key == "F2" ? kCorrectAction : kDeleteAction;
      const auto& items = it->second.items;
      if (row >= 0 && std::find(items.begin(), items.end(), action) != items.end())
        it->second.handler(index, row, action);
      return;
    }
    if (auto it = key_.find(base); it != key_.end()) return it->second(index, key);
    const form::Control& c = form(control);
    switch (c.kind()) {
      case form::Kind::CommandButton:
      case form::Kind::CheckBox:
      case form::Kind::OptionButton:
        if (key == "Space") Click(control);
        break;
      case form::Kind::TextBox:
        if (key == "Enter") PressEnter(control);
        break;
      default: break;
    }
  });
}

bool IsKeyName(std::string_view key) {
  for (const char* name : {"F1", "F2", "Delete", "Enter", "Escape", "Space", "Up", "Down", "PageUp", "PageDown", "Home",
                           "Ctrl+Z", "Ctrl+S", "Ctrl+Q"})
    if (key == name) return true;
  return key.size() == 5 && key.substr(0, 4) == "Alt+" && key[4] >= '0' && key[4] <= '9';
}

// ---------------------------------------------------------------- dump

std::string frmMain::DumpState() const {
  StateDump d;
  d.add("ReferenceDate", store::formatDate(ReferenceDate));
  d.add("SampleMode", SampleMode);
  d.add("Loading", Loading);
  d.add("HelpTourOn", static_cast<int>(HelpTourOn));
  d.add("HelpText", HelpText);
  d.add("WindowVisible", form.windowShown());
  d.add("UndoDepth", static_cast<int>(Journal.depth()));
  StateDump p;
  p.add("ProfileName", Profile.ProfileName);
  p.add("ProfileHeight", Profile.ProfileHeight);
  p.add("TargetWeight", Profile.TargetWeight);
  p.add("TargetPeriod", static_cast<int>(Profile.TargetPeriod));
  p.add("TargetRate", Profile.TargetRate);
  p.add("TargetCalories", static_cast<int>(Profile.TargetCalories));
  p.add("FatAxisMax", Profile.FatAxisMax);
  p.add("FatAxisMin", Profile.FatAxisMin);
  p.add("StepAxisMax", static_cast<int>(Profile.StepAxisMax));
  p.add("StepAxisMin", static_cast<int>(Profile.StepAxisMin));
  p.add("StepLength", Profile.StepLength);
  d.addRaw("Profile", p.json());
  d.add("WeightCount", Weight.WeightCount);
  d.add("WeightDate", Weight.WeightDate);
  d.add("WeightKg", Weight.WeightKg);
  d.add("MinWeight", Weight.MinWeight);
  if (Weight.MinWeightDate)
    d.add("MinWeightDate", store::formatDate(*Weight.MinWeightDate));
  else
    d.addNull("MinWeightDate");
  d.add("MaxWeight", Weight.MaxWeight);
  dumpWeight(*this, d);
  dumpAnalysis(*this, d);
  dumpSetup(*this, d);
  dumpDiary(*this, d);
  dumpNotes(*this, d);
  dumpBody(*this, d);
  dumpBackup(*this, d);
  return d.json();
}

}  // namespace app
