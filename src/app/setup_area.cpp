#include "app/setup_area.h"

#include <string>
#include <vector>

#include "app/frmMain.h"
#include "calendar/lazy_calendar.h"
#include "profile/new_start.h"
#include "profile/profile_change.h"
#include "store/record.h"
#include "words/messages.h"

namespace app {

// ---------------------------------------------------------------- lazy calendar

void BuildCalendarMonth(frmMain& m) {
  const int year = store::yearOf(m.ReferenceDate);
  const unsigned month = store::monthOf(m.ReferenceDate);
  const calendar::MonthLayout layout = calendar::layoutMonth(year, month);
  // Today's cell is framed, so the day to mark is found at a glance.
  const store::Date today = m.clock.today();
  const bool todayShown = store::yearOf(today) == year && store::monthOf(today) == month;
  m.setup.TodayCell.reset();
  // Every cell outside the month is hidden, the 29th cell of a February starting on Sunday too.
  for (int i = 0; i < calendar::kCellCount; ++i) {
    form::Control& cell = m.form("cmdMono", i);
    const int day = layout.dayInCell(i);
    cell.setVisible(day != 0);
    cell.setCaption(day != 0 ? std::to_string(day) : std::string());
    const bool isToday = todayShown && day == static_cast<int>(store::dayOf(today));
    cell.setOutlined(isToday);
    if (isToday) m.setup.TodayCell = i;
  }
  m.form("Label1").setCaption(calendar::monthCaption(year, month));
  m.setup.CalendarFileName = calendar::monthFileName(year, month);
  LoadCalendarMonth(m);
}

void LoadCalendarMonth(frmMain& m) {
  calendar::MonthRead read = calendar::readMonth(m.setup.CalendarFileName);
  m.setup.DayMarks = std::move(read.marks);
  m.setup.MonthDamaged = read.damage.has_value();
  for (int i = 0; i < calendar::kCellCount; ++i)
    m.form("cmdMono", i).setBackColor(calendar::loadedMarkColour(m.setup.DayMarks[i]));
}

void ShowAchievementRate(frmMain& m) {
  const calendar::Achievement a = calendar::achievementOf(m.setup.DayMarks, m.Profile.TargetRate);
  m.setup.AchievementRate = a.rate;
  m.form("Label2", 0).setCaption(std::to_string(a.good));
  m.form("Label2", 1).setCaption(std::to_string(a.bad));
  m.form("Label2", 2).setCaption(a.rateText);
  m.form("Image4", 1).setVisible(a.smiling);
}

void SaveCalendarMonth(const frmMain& m) { calendar::writeMonthMarks(m.setup.CalendarFileName, m.setup.DayMarks); }

namespace {

// A month file read only up to some damage is never rewritten: the marks after it would be lost.
bool monthFileWhole(frmMain& m) {
  const calendar::MonthRead now = calendar::readMonth(m.setup.CalendarFileName);
  if (now.damage) {
    m.dialogs.MsgBox(words::calendarMonthDamaged(*now.damage), "ものぐさカレンダー", form::Icon::Warning,
                     form::Buttons::OK);
    return false;
  }
  if (m.setup.MonthDamaged) {  // mended since it was shown: start from what it holds now
    LoadCalendarMonth(m);
    ShowAchievementRate(m);
  }
  return true;
}

void cmdMono_Click(frmMain& m, int index) {
  if (index < 0 || index >= calendar::kCellCount || !m.form("cmdMono", index).visible()) return;
  if (!monthFileWhole(m)) return;
  int& mark = m.setup.DayMarks[index];
  const int before = mark;
  mark = calendar::nextMark(mark);
  try {
    m.Undoable(words::calendarMark(m.form("Label1").caption(), m.form("cmdMono", index).caption()),
               {m.setup.CalendarFileName}, [&] { SaveCalendarMonth(m); });
  } catch (const store::StoreError& e) {
    // The cell keeps the mark the disk still holds.
    mark = before;
    m.ShowFailure(e);
    return;
  }
  m.form("cmdMono", index).setBackColor(calendar::clickedMarkColour(mark));
  ShowAchievementRate(m);
}

void moveMonth(frmMain& m, int months) {
  m.ReferenceDate = store::addMonths(m.ReferenceDate, months);
  BuildCalendarMonth(m);
  ShowAchievementRate(m);
}

// ---------------------------------------------------------------- new start

void cmdNew1_Click(frmMain& m) {
  // The day shown may hold unsaved diary work; the reload below would drop it.
  if (!LeaveDiaryDay(m)) return;
  const profile::Profile old = m.Profile;
  if (profile::AskNewProfile(m.dialogs, m.form, old) != profile::NewStartOutcome::Confirmed) return;

  // All files or none: a failure (or a crash) never leaves the new profile over old logs. From
  // the sample, its days and months go aside whole in the same step (the shown month with them)
  // rather than into the new diary.
  const profile::Profile fresh = profile::ProfileFromTexts(profile::ReadProfileBoxes(m.form), old);
  try {
    profile::WriteNewStartFiles(fresh, m.SampleMode ? std::string() : m.setup.CalendarFileName, m.SampleMode);
  } catch (const store::StoreError& e) {
    m.ShowFailure(e);
    profile::RefillProfileBoxes(old, m.form);
    return;
  }

  // Memory and screen start afresh from the emptied files, as a start-up on them would: no
  // figure, series or chart of the discarded diary may survive.
  m.ReloadFromDisk();
  if (m.ended()) return;
  m.SampleMode = false;

  profile::ShowNewStartCleared(m.dialogs);
  ShowPage(m);
  m.form("fraMain").setVisible(true);
  profile::ShowNewStartFirstSteps(m.dialogs);
  m.SetFocus("txtInpTaijyu");
}

// ---------------------------------------------------------------- profile change

void cmdPHozon1_Click(frmMain& m) {
  const profile::ProfileTexts texts = profile::ReadProfileBoxes(m.form);
  if (auto problem = profile::ProfileTextsProblem(texts)) {
    m.dialogs.MsgBox(*problem, profile::kRefusalTitle, form::Icon::Warning, form::Buttons::OK);
    return;
  }
  const profile::Profile changed = profile::ProfileFromTexts(texts, m.Profile);
  try {
    profile::SaveProfile(changed);
  } catch (const store::StoreError& e) {
    m.ShowFailure(e);
    return;
  }
  m.Profile = changed;
  ShowWeightProgress(m);
  ShowAchievementRate(m);
  ShowObesityGrade(m);
  DrawWeightChart(m);
  m.dialogs.MsgBox("データを更新しました", "データ更新", form::Icon::Information, form::Buttons::OK);
}

}  // namespace

void wireSetup(frmMain& m) {
  m.onClick("cmdMono", [&m](int index) { cmdMono_Click(m, index); });
  m.onClick("cmdModori", [&m](int) { moveMonth(m, -1); });
  m.onClick("cmdOkuri", [&m](int) { moveMonth(m, +1); });
  m.onClick("cmdNew1", [&m](int) { cmdNew1_Click(m); });
  m.onClick("cmdPHozon1", [&m](int) { cmdPHozon1_Click(m); });
}

void dumpSetup(const frmMain& m, StateDump& d) {
  d.add("DayMarks", m.setup.DayMarks);
  d.add("CalendarFileName", m.setup.CalendarFileName);
  d.add("AchievementRate", m.setup.AchievementRate);
  d.add("TodayCell", m.setup.TodayCell);
}

}  // namespace app
