#pragma once
// The main window, built from the form model: one widget per control, placed at the control's
// geometry (15 twips to the pixel at scale 1). The whole layout, fonts included, is scaled by one
// factor so it fills the window; extra space is shared evenly around it. Events go into frmMain;
// afterwards every widget whose control changed is brought up to date.
#include <QFont>
#include <QMainWindow>
#include <QPoint>
#include <QSize>
#include <QString>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/frmMain.h"

class QTableWidget;

namespace qt {

class IndicatorStyle;

inline constexpr int kTwipsPerPixel = 15;
int toPixels(int twips);
// The smallest scale of the layout; below it text would be too small to read.
inline constexpr double kMinScale = 0.6;
// The scale at which a layout of natural size `natural` fits into `space`: the smaller of the two
// ratios, never below kMinScale.
double fitScale(QSize natural, QSize space);

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(app::frmMain& m, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Brings every widget whose control changed since the last refresh up to date, then the focus
  // and the hourglass. Returns how many widgets were rewritten.
  int refresh();
  // The widget of a control ("cmdMain", "Label9(25)"); null for an unknown name. A page's widgets
  // are made when the page is first shown, or here when one of them is asked for first.
  QWidget* widget(const std::string& name);
  app::frmMain& model() { return m_; }

  // The layout's size at scale 1, in pixels.
  QSize naturalSize() const { return natural_; }
  double scale() const { return scale_; }
  // Sizes and places the window on a screen whose free area is `available`: the natural size
  // when it fits, else scaled down to fit; centred. The placement is not remembered.
  void fitInto(const QRect& available);
  // Restores the size and position of the last run (when they still fit a screen), else fits the
  // window to the primary screen, and the weight chart's span of days. Both are saved again when
  // the window closes. A window that a box shows before this is called is placed so first; it
  // is not placed twice.
  void restorePlacement();

 signals:
  // The program has ended (quit button or close box): the application should quit.
  void quitRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  struct Entry {
    form::Control* control = nullptr;
    QWidget* widget = nullptr;
    uint64_t seen = 0;
    bool dirty = true;
    // What was last drawn, so a move or a resize does not rebuild a table or a chart.
    std::optional<form::GridModel> grid;
    std::optional<form::ChartModel> chart;
    // A list's entries as last drawn, by their hashes: a long list is not held twice.
    std::optional<std::vector<size_t>> listHashes;
    std::vector<std::optional<double>> chartExtra;
    int chartLabelCount = 0;
    QRect geometry;
    // The list's items, the table's cells or the chart waits until the widget is shown.
    bool pending = false;
    // The page frame this control lies on (by entry), or kNoPage beside the pages.
    size_t page = kNoPage;
    bool pageBuilt = false;  // on a page frame: its controls have their widgets
  };
  static constexpr size_t kNoPage = static_cast<size_t>(-1);

  // window_widgets.cpp: one widget per control.
  void build();
  QWidget* create(Entry& e, QWidget* parent);
  void makeWidget(size_t index);
  // Makes the widgets of page `page` (by entry); with `apply`, brings them up to date at once.
  void buildPage(size_t page, bool apply);
  // window_events.cpp: what the user does, in.
  void connectEvents(size_t index);
  void typeText(Entry& e, const QString& text);
  void markOptionGroupDirty(const std::string& name);
  bool listEvent(Entry& e, QEvent* event);
  void startListDrag(Entry& e, int row);
  // window_apply.cpp, window_tables.cpp: the model, out.
  void apply(Entry& e);
  // Lists, tables and charts are filled while they are seen, else when they are next shown.
  void applyContent(Entry& e);
  void showPending(Entry& e);
  void applyGrid(Entry& e);
  void applyChart(Entry& e);
  void applyList(Entry& e);
  void fitColumns(QTableWidget& table, const form::GridModel& g);
  QFont tableFont(const form::GridModel& g) const;
  void applyFocus();
  void applyBusy();
  // window_placement.cpp: fits the layout into the central area: the scale, then the canvas
  // centred in it.
  void layoutCanvas();
  void setScale(double scale);
  int px(int twips) const;
  void placeOn(const QRect& available);
  void placeAsLastRun();
  void restoreChoices();
  void savePlacement();
  // window_keys.cpp: keys, menus, the Tab order and spoken names.
  void setUpKeyboard();
  void setUpKeys(Entry& e);  // one widget's
  void setUpRecordMenu(Entry& e);
  int recordRowAt(const Entry& e, const QPoint& pos) const;
  void setTabOrderByReading();
  QString spokenName(const Entry& e) const;
  const form::Control* captionBeside(const Entry& e, const std::vector<const form::Control*>& labels) const;
  // main_window.cpp: runs one event into the model, then refreshes; ends the program when the
  // event ended it.
  void forward(const std::function<void()>& event);
  void finish();
  Entry* entryOf(QObject* object);

  app::frmMain& m_;
  QWidget* host_ = nullptr;
  QWidget* canvas_ = nullptr;
  QSize natural_;
  double scale_ = 1.0;
  QFont baseFont_;
  IndicatorStyle* indicators_ = nullptr;  // check and option marks at the layout's scale
  bool remember_ = false;
  bool placed_ = false;
  bool choicesRestored_ = false;
  std::vector<const form::Control*> spokenBy_;  // by entry: the label it stands beside or under
  std::vector<Entry> entries_;
  std::map<std::string, size_t, std::less<>> byName_;
  std::map<QObject*, size_t> byObject_;  // widgets and their viewports
  uint64_t focusSeen_ = 0;
  bool busyShown_ = false;
  bool shown_ = false;  // the window has been shown once
  bool building_ = true;
  int applying_ = 0;  // > 0 while the window writes to its widgets: nothing is echoed back
  bool finishing_ = false;
  bool inEvent_ = false;
  // A press on a list entry: a click when released, a drag when the mouse moves away.
  int pressRow_ = -1;
  QPoint pressPos_;
  bool swallowRelease_ = false;
};

}  // namespace qt
