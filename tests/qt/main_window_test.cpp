#include "qt/main_window.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QListView>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScatterSeries>
#include <QScrollBar>
#include <QSettings>
#include <QShortcut>
#include <QTableWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QValueAxis>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>

#include "app/frmMain.h"
#include "backup/backup.h"
#include "charts/other_charts.h"
#include "qt/chart_fill.h"
#include "qt/pictures.h"
#include "qt/qt_dialogs.h"
#include "support/temp_folder.h"

using qt::MainWindow;
using qt::toPixels;
using testing_support::TempFolder;

namespace {

QApplication& application() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "zorvel_qt_tests";
  static char* argv[] = {name, nullptr};
  // Never destroyed: tearing Qt down among the other statics at exit is not safe. The stories
  // may have made it already.
  static QApplication* app = qobject_cast<QApplication*>(QCoreApplication::instance())
                                 ? qobject_cast<QApplication*>(QCoreApplication::instance())
                                 : new QApplication(argc, argv);
  return *app;
}

class ScriptedDialogs : public form::Dialogs {
 public:
  form::Answer MsgBox(const std::string& text, const std::string&, form::Icon, form::Buttons buttons) override {
    boxes.push_back(text);
    if (buttons == form::Buttons::YesNoCancel) return threeWay;
    return buttons == form::Buttons::YesNo ? form::Answer::Yes : form::Answer::OK;
  }
  std::optional<std::string> InputBox(const std::string& prompt, const std::string&, const std::string&) override {
    inputs.push_back(prompt);
    return std::nullopt;
  }
  void showHelp(const std::string&) override { ++helpShown; }
  void closeHelp() override { ++helpClosed; }

  std::vector<std::string> boxes, inputs;
  int helpShown = 0, helpClosed = 0;
  form::Answer threeWay = form::Answer::Cancel;
};

class FixedClock : public form::Clock {
 public:
  store::DateTime now() const override { return {store::makeDate(2004, 5, 1), 9, 0, 0}; }
};

void sendKey(QWidget* w, int key, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(w, &release);
}

void typeInto(QWidget* w, const QString& text) {
  for (QChar c : text) sendKey(w, c.toUpper().unicode(), QString(c));
}

void mouse(QWidget* target, QEvent::Type type, QPoint pos) {
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent e(type, QPointF(pos), QPointF(target->mapToGlobal(pos)), Qt::LeftButton, held, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &e);
}

const char* const kPages[][2] = {{"cmdMain", "fraMain"},    {"cmdTaijyu", "fraTaijyu"},   {"cmdSuii", "fraShibou"},
                                 {"cmdManpo", "fraManpo"},  {"cmdKintore", "fraKintore"}, {"cmdEiyo", "fraEiyo"},
                                 {"cmdDiary", "fraDiary"},  {"cmdMemo", "fraMemo"},       {"cmdBunseki", "fraBunseki"},
                                 {"cmdSettei", "fraSettei"}};

// The window on a minimal diary in a temporary program folder, started as the program starts it.
class QtWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    application();
    dir.writeMinimalDiary();
    previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    m = std::make_unique<app::frmMain>(dialogs, clock);
    window = std::make_unique<MainWindow>(*m);
    m->Form_Load();
    ASSERT_FALSE(m->ended()) << (dialogs.boxes.empty() ? "" : dialogs.boxes.back());
    window->refresh();
    window->show();
  }
  void TearDown() override {
    window.reset();
    m.reset();
    std::filesystem::current_path(previous);
  }

  template <class W>
  W* find(const std::string& name) {
    auto* w = qobject_cast<W*>(window->widget(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }

  void expectOnlyPageVisible(const std::string& page) {
    for (const auto& p : kPages) {
      EXPECT_EQ(window->widget(p[1])->isVisible(), page == p[1]) << p[1] << " while " << page << " is shown";
      EXPECT_EQ(m->form(p[1]).visible(), page == p[1]) << p[1];
    }
  }

  TempFolder dir;
  std::filesystem::path previous;
  ScriptedDialogs dialogs;
  FixedClock clock;
  std::unique_ptr<app::frmMain> m;
  std::unique_ptr<MainWindow> window;
};

TEST_F(QtWindow, StartsShowingTheModel) {
  EXPECT_EQ(window->windowTitle(), QString("今度こそ勝利をげっちゅー！"));
  const char* captions[] = {"メイン", "体重", "体脂肪", "歩数計", "筋トレ", "栄養", "日記", "メモ", "分析", "設定"};
  for (size_t i = 0; i < std::size(kPages); ++i) {
    auto* button = find<QPushButton>(kPages[i][0]);
    ASSERT_TRUE(button);
    EXPECT_EQ(button->text(), QString(captions[i]));
    EXPECT_TRUE(button->isVisible());
  }
  EXPECT_EQ(find<QPushButton>("cmdOwari")->text(), QString("終了"));
  EXPECT_EQ(find<QLineEdit>("txtDate")->text(), QString("2004/05/01"));
  EXPECT_TRUE(find<QLineEdit>("txtDate")->isReadOnly());
  EXPECT_EQ(find<QLabel>("lblTai_Date")->text(), QString("2004/05/01の体重"));
  EXPECT_EQ(find<QScrollBar>("VScroll1")->value(), 365);
  EXPECT_EQ(find<QScrollBar>("VScroll1")->orientation(), Qt::Vertical);
  EXPECT_EQ(find<QScrollBar>("HScroll1")->orientation(), Qt::Horizontal);

  auto* tour = find<QCheckBox>("chkHelp");
  EXPECT_FALSE(tour->isChecked());
  // The switch is drawn as our smiling face: the middle of it is painted in the face's yellow.
  const QImage face = tour->grab().toImage();
  const QColor middle = face.pixelColor(face.width() / 2, face.height() / 3);
  EXPECT_GT(middle.red(), middle.blue()) << "no face drawn";
  EXPECT_EQ(tour->toolTip(), QString("ヘルプツアーのＯｎ／Ｏｆｆです"));
  expectOnlyPageVisible("fraMain");

  // Every control has its widget, named after it, at its place.
  for (const auto& c : m->form.controls()) {
    QWidget* w = window->widget(c->name());
    ASSERT_NE(w, nullptr) << c->name();
    EXPECT_EQ(w->objectName().toStdString(), c->name());
    EXPECT_EQ(w->geometry(),
              QRect(toPixels(c->left()), toPixels(c->top()), toPixels(c->width()), toPixels(c->height())))
        << c->name();
  }
  EXPECT_EQ(window->refresh(), 0) << "nothing changed since the last refresh";
}

TEST_F(QtWindow, PageButtonsShowTheirPageOnly) {
  for (const auto& p : kPages) {
    find<QPushButton>(p[0])->click();
    expectOnlyPageVisible(p[1]);
  }
  find<QPushButton>("cmdMain")->click();
  expectOnlyPageVisible("fraMain");
}

// The model's frame alone is not enough: the user must see the fat-mass view, not the chart under it.
TEST_F(QtWindow, FatMassViewIsDrawnOverTheBodyFatChart) {
  find<QPushButton>("cmdSuii")->click();
  QWidget* chart = window->widget("MSChart2");
  QWidget* massView = window->widget("fraSuii");
  QWidget* page = chart->parentWidget();
  const QPoint middle = chart->geometry().center();
  auto seen = [&] { return page->childAt(middle); };
  ASSERT_TRUE(chart->isVisible());
  EXPECT_FALSE(massView->isVisible());
  EXPECT_TRUE(seen() == chart || chart->isAncestorOf(seen()));

  find<QCheckBox>("Check2")->click();
  EXPECT_EQ(find<QCheckBox>("Check2")->text(), QString("体脂肪率表示へ"));
  ASSERT_TRUE(massView->isVisible());
  EXPECT_TRUE(seen() == massView || massView->isAncestorOf(seen())) << seen()->objectName().toStdString();

  find<QCheckBox>("Check2")->click();
  EXPECT_FALSE(massView->isVisible());
  EXPECT_TRUE(seen() == chart || chart->isAncestorOf(seen()));
}

// A reload (as after a new start) redraws every widget from the files, in both directions.
TEST_F(QtWindow, ReloadShowsWhatTheFilesHoldNow) {
  dir.writeCp932("体重.txt", "\"2004/04/29\",70\r\n\"2004/04/30\",69.5\r\n");
  m->ReloadFromDisk();
  window->refresh();
  EXPECT_EQ(find<QLabel>("lblNowTaijyu")->text(), QString("69.5"));
  EXPECT_EQ(find<QTableWidget>("msgB1")->rowCount(), 2);  // the header row is the header view

  dir.writeCp932("体重.txt", "");
  m->ReloadFromDisk();
  window->refresh();
  EXPECT_EQ(find<QLabel>("lblNowTaijyu")->text(), QString());
  EXPECT_EQ(find<QLabel>("lblStTaijyu")->text(), QString());
  EXPECT_EQ(find<QTableWidget>("msgB1")->rowCount(), 0);
  EXPECT_EQ(window->refresh(), 0);
}

// A record table offers its menu, and F2 on the selected row opens the correction box for it.
TEST_F(QtWindow, RecordTablesCorrectTheSelectedRowWithF2) {
  dir.writeCp932("体重.txt", "\"2004/04/29\",70\r\n\"2004/04/30\",69.5\r\n");
  m->ReloadFromDisk();
  window->refresh();
  find<QPushButton>("cmdBunseki")->click();
  auto* table = find<QTableWidget>("msgB1");
  EXPECT_EQ(table->contextMenuPolicy(), Qt::CustomContextMenu);
  EXPECT_EQ(m->MenuItems("msgB1"), (std::vector<std::string>{"修正", "削除", "元に戻す"}));
  table->setFocus();
  table->setCurrentCell(1, 0);
  EXPECT_EQ(m->form("msgB1").listIndex(), 2);
  sendKey(table, Qt::Key_F2, {});
  ASSERT_FALSE(dialogs.inputs.empty());
  EXPECT_EQ(dialogs.inputs.back(), "2004/04/30 の体重を修正します（Kg）");
}

// The window's close box asks about an unsaved diary day like 終了 does, and Cancel keeps it open.
TEST_F(QtWindow, CloseBoxAsksAboutAnUnsavedDiaryDay) {
  find<QPushButton>("cmdDiary")->click();
  typeInto(find<QPlainTextEdit>("txtDiary"), "memo");
  ASSERT_EQ(m->form("txtDiary").text(), "memo");
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(m->ended());
  ASSERT_FALSE(dialogs.boxes.empty());
  EXPECT_EQ(dialogs.boxes.back(), "05/01の日記は保存されていません。保存しますか？");

  dialogs.threeWay = form::Answer::No;
  EXPECT_TRUE(window->close());
  EXPECT_TRUE(m->ended());
  EXPECT_FALSE(std::filesystem::exists(dir.file("日記20040501.txt")));
}

TEST_F(QtWindow, RefreshRewritesOnlyWidgetsWhoseControlChanged) {
  auto* start = find<QLabel>("lblStDate");
  auto* now = find<QLabel>("lblNowDate");
  start->setText("stale");

  m->form("lblNowDate").setCaption("2004/05/01");
  EXPECT_EQ(window->refresh(), 1);
  EXPECT_EQ(now->text(), QString("2004/05/01"));
  EXPECT_EQ(start->text(), QString("stale")) << "an unchanged control's widget is left alone";

  form::Control& shape = m->form("shpTaiK");
  shape.setGeometry(600, 300, 1500, 150);
  m->form("lblNowDate").setBackColor(0x00ff00);
  m->form("lblNowDate").setCaption("a\r\nb");
  EXPECT_EQ(window->refresh(), 2);
  EXPECT_EQ(window->widget("shpTaiK")->geometry(), QRect(40, 20, 100, 10));
  EXPECT_EQ(now->text(), QString("a\nb"));
  EXPECT_TRUE(now->autoFillBackground());
  EXPECT_EQ(now->palette().color(QPalette::Window), QColor(0, 255, 0));

  m->form("lblNowDate").setVisible(false);
  window->refresh();
  EXPECT_FALSE(now->isVisible());
}

TEST_F(QtWindow, TypingGoesThroughTheModel) {
  auto* edit = find<QLineEdit>("txtInpTaijyu");
  typeInto(edit, "65.3");
  EXPECT_EQ(m->form("txtInpTaijyu").text(), "65.3");
  EXPECT_EQ(edit->text(), QString("65.3"));

  // Typed at the cursor, not at the end.
  edit->setCursorPosition(0);
  typeInto(edit, "1");
  EXPECT_EQ(m->form("txtInpTaijyu").text(), "165.3");
  EXPECT_EQ(edit->cursorPosition(), 1);

  // Keys that edit without a character (here Backspace) reach the model as the new text.
  edit->setCursorPosition(edit->text().size());
  sendKey(edit, Qt::Key_Backspace, "\b");
  EXPECT_EQ(m->form("txtInpTaijyu").text(), "165.");
  EXPECT_EQ(edit->text(), QString("165."));

  // Committed input-method text arrives as typed characters.
  m->SetText("txtPriData(0)", "");
  window->refresh();
  auto* name = find<QLineEdit>("txtPriData(0)");
  QInputMethodEvent ime;
  ime.setCommitString("山田");
  QCoreApplication::sendEvent(name, &ime);
  EXPECT_EQ(m->form("txtPriData(0)").text(), "山田");
  EXPECT_EQ(name->text(), QString("山田"));
}

// The window's first frame is whole at once. The icon and the day's backup of a first start follow
// it, and the backup still comes before anything the user changes.
TEST_F(QtWindow, TheFirstFrameIsWholeAndTheIconAndTheDaysBackupFollowIt) {
  const std::string day = std::string(backup::kBackupFolder) + "/" + backup::dayFolderName(store::makeDate(2004, 5, 1));
  // No event yet since the window was shown: a weight typed at once is kept out of the backup.
  ASSERT_TRUE(m->StartupBackupPending());
  EXPECT_FALSE(dir.exists(day));
  const std::string before = dir.readBytes("体重.txt");
  auto* edit = find<QLineEdit>("txtInpTaijyu");
  typeInto(edit, "65.3");
  sendKey(edit, Qt::Key_Return, "\r");
  EXPECT_FALSE(m->StartupBackupPending());
  EXPECT_EQ(dir.readBytes(day + "/体重.txt"), before);
  EXPECT_NE(dir.readBytes("体重.txt"), before) << "the weight was not entered";

  // Left alone, the window is painted first; the backup and the icon follow without any event.
  window.reset();
  QGuiApplication::setWindowIcon(QIcon());
  m.reset();
  std::filesystem::remove_all(dir.file(day));
  // Weights with a gap, drawn in two pieces: a chart with a line and a legend.
  std::string log;
  for (int d = 0; d < 80; ++d)
    if (d < 30 || d > 40)
      log += "\"" + store::formatDate(store::makeDate(2004, 2, 1) + std::chrono::days(d)) + "\",70." +
             std::to_string(d % 10) + "\r\n";
  dir.writeCp932("体重.txt", log);
  m = std::make_unique<app::frmMain>(dialogs, clock);
  window = std::make_unique<MainWindow>(*m);
  m->Form_Load();
  window->refresh();
  // The chart is drawn once, whole: not empty first and laid out again after the first paint.
  struct FirstPaint : QObject {
    const app::frmMain& m;
    const QObject* chart;
    std::optional<bool> backupPending, iconSet;  // at the first paint
    int chartPaints = 0;
    FirstPaint(const app::frmMain& main, const QObject* c) : m(main), chart(c) {}
    bool eventFilter(QObject* watched, QEvent* e) override {
      if (e->type() != QEvent::Paint) return false;
      if (!backupPending) {
        backupPending = m.StartupBackupPending();
        iconSet = !QGuiApplication::windowIcon().isNull();
      }
      chartPaints += watched == chart;
      return false;
    }
  } paint(*m, find<QChartView>("MSChart1")->viewport());
  QCoreApplication::instance()->installEventFilter(&paint);
  window->show();
  const QDeadlineTimer deadline(10000);
  while (m->StartupBackupPending() && !deadline.hasExpired())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  QCoreApplication::instance()->removeEventFilter(&paint);
  EXPECT_FALSE(m->StartupBackupPending()) << "no backup 10 s after the window was shown";
  EXPECT_EQ(paint.backupPending, std::optional<bool>(true)) << "the backup came before the first frame";
  EXPECT_EQ(paint.iconSet, std::optional<bool>(false)) << "the icon was drawn before the first frame";
  EXPECT_FALSE(window->windowIcon().isNull()) << "no icon once the frame was whole";
  EXPECT_EQ(paint.chartPaints, 1) << "the chart was laid out and drawn again after the first paint";
  EXPECT_EQ(dir.readBytes(day + "/体重.txt"), dir.readBytes("体重.txt"));
}

TEST_F(QtWindow, DiaryTextKeepsItsLineBreaksAsCrLf) {
  find<QPushButton>("cmdDiary")->click();
  auto* diary = find<QPlainTextEdit>("txtDiary");
  diary->setPlainText("朝は晴れ\n夜は雨");
  EXPECT_EQ(m->form("txtDiary").text(), "朝は晴れ\r\n夜は雨");
  m->SetText("txtDiary", "一行目\r\n二行目");
  window->refresh();
  EXPECT_EQ(diary->toPlainText(), QString("一行目\n二行目"));
}

TEST_F(QtWindow, ScrollBarsReportArrowsAtOnceAndThumbDragsAsTheyGo) {
  auto* date = find<QScrollBar>("VScroll1");
  date->triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(m->form("VScroll1").value(), 364);

  // The date selector acts when its thumb is let go.
  date->setSliderDown(true);
  date->setValue(360);
  EXPECT_EQ(m->form("VScroll1").value(), 364);
  date->setSliderDown(false);
  EXPECT_EQ(m->form("VScroll1").value(), 360);

  // The BMI slider follows its thumb.
  find<QPushButton>("cmdSettei")->click();
  auto* bmi = find<QScrollBar>("HScroll1");
  const form::Control& model = m->form("HScroll1");
  const int target = model.value() == 200 ? 210 : 200;
  bmi->setSliderDown(true);
  bmi->setValue(target);
  EXPECT_EQ(model.value(), target);
  bmi->setSliderDown(false);
  EXPECT_EQ(model.value(), target);
  EXPECT_EQ(bmi->value(), target);
}

TEST_F(QtWindow, CheckBoxesAndOptionsFollowTheModel) {
  auto* check = find<QCheckBox>("Check4");
  const int before = m->form("Check4").value();
  check->click();
  EXPECT_EQ(m->form("Check4").value(), before ? 0 : 1) << "toggled once, by the model";
  EXPECT_EQ(check->isChecked(), m->form("Check4").value() != 0);
  check->click();
  EXPECT_EQ(m->form("Check4").value(), before);
  EXPECT_EQ(check->isChecked(), before != 0);

  find<QPushButton>("cmdBunseki")->click();
  auto* first = find<QRadioButton>("Option1(0)");
  auto* second = find<QRadioButton>("Option1(1)");
  second->click();
  EXPECT_EQ(m->form("Option1(1)").value(), 1);
  EXPECT_EQ(m->form("Option1(0)").value(), 0);
  EXPECT_TRUE(second->isChecked());
  EXPECT_FALSE(first->isChecked());
  second->click();  // a selected option stays selected
  EXPECT_TRUE(second->isChecked());
  first->click();
  EXPECT_TRUE(first->isChecked());
  EXPECT_FALSE(second->isChecked());
  EXPECT_EQ(m->form("Option1(0)").value(), 1);
  // Another group is not touched.
  EXPECT_EQ(find<QRadioButton>("Option2(0)")->isChecked(), m->form("Option2(0)").value() != 0);
}

TEST_F(QtWindow, GridShowsHeaderRowColumnsAndTopRow) {
  find<QPushButton>("cmdBunseki")->click();
  form::Control& grid = m->form("msgB1");
  grid.setGridCols(2);
  grid.setGridRows(201);
  grid.setCell(0, 0, "日付");
  grid.setCell(0, 1, "体重");
  for (int r = 1; r <= 200; ++r) {
    grid.setCell(r, 0, "row" + std::to_string(r));
    grid.setCell(r, 1, std::to_string(60 + r));
  }
  grid.setColWidth(0, 1500);
  grid.setColAlignment(1, form::Align::Center, form::Align::Right);
  ASSERT_TRUE(grid.setTopRow(30));
  window->refresh();

  auto* table = find<QTableWidget>("msgB1");
  EXPECT_EQ(table->columnCount(), 2);
  EXPECT_EQ(table->rowCount(), 200);
  EXPECT_EQ(table->horizontalHeaderItem(0)->text(), QString("日付"));
  EXPECT_EQ(table->horizontalHeaderItem(1)->text(), QString("体重"));
  EXPECT_EQ(table->item(0, 0)->text(), QString("row1"));
  EXPECT_EQ(table->item(199, 1)->text(), QString("260"));
  EXPECT_EQ(table->columnWidth(0), 100);
  EXPECT_EQ(table->item(0, 1)->textAlignment(), static_cast<int>(Qt::AlignRight | Qt::AlignVCenter));
  EXPECT_EQ(table->horizontalHeaderItem(1)->textAlignment(), static_cast<int>(Qt::AlignHCenter | Qt::AlignVCenter));
  EXPECT_EQ(table->rowAt(0), 29) << "model row 30 is the first visible data row";

  grid.setGridRows(3);
  window->refresh();
  EXPECT_EQ(table->rowCount(), 2);
}

TEST(ChartFill, UnwrittenCellsAreGapsAndHiddenSeriesAreNotDrawn) {
  application();
  form::ChartModel model;
  model.columnCount = 3;
  model.rowCount = 6;
  model.seriesVisible = {true, true, false};
  model.data.assign(6, std::vector<std::optional<std::string>>(3));
  for (int r : {0, 1, 3, 4, 5}) model.data[r][0] = std::to_string(60 + r);
  model.data[2][1] = "55.5";
  for (int r = 0; r < 6; ++r) model.data[r][2] = "1";

  QChart chart;
  qt::fillChart(chart, model, {"体重推移", "移動平均", "進度確認"});
  std::vector<int> lineSizes;
  int scatter = 0;
  for (QAbstractSeries* s : chart.series()) {
    EXPECT_NE(s->name(), QString("進度確認")) << "a hidden column is not drawn";
    if (auto* line = qobject_cast<QLineSeries*>(s); line && s->type() == QAbstractSeries::SeriesTypeLine) {
      EXPECT_EQ(s->name(), QString("体重推移"));
      lineSizes.push_back(static_cast<int>(line->count()));
    } else if (auto* points = qobject_cast<QScatterSeries*>(s)) {
      EXPECT_EQ(s->name(), QString("移動平均"));
      ASSERT_EQ(points->count(), 1);
      EXPECT_EQ(points->at(0), QPointF(3, 55.5));
      ++scatter;
    }
  }
  EXPECT_EQ(lineSizes, (std::vector<int>{2, 3})) << "rows 1-2 and 4-6, broken at the unwritten row 3";
  EXPECT_EQ(scatter, 1);

  // A row the line passes (a filled day) has no point and breaks nothing.
  qt::ChartLook passing;
  passing.passedRows = {false, false, true};
  qt::fillChart(chart, model, passing);
  lineSizes.clear();
  for (QAbstractSeries* s : chart.series())
    if (s->type() == QAbstractSeries::SeriesTypeLine) lineSizes.push_back(static_cast<QXYSeries*>(s)->count());
  EXPECT_EQ(lineSizes, (std::vector<int>{5}));
  EXPECT_TRUE(chart.legend()->isVisible());
  form::ChartModel single = model;
  single.columnCount = 1;
  for (auto& row : single.data) row.resize(1);
  QChart alone;
  qt::fillChart(alone, single, qt::ChartLook{});
  EXPECT_FALSE(alone.legend()->isVisible()) << "one line needs no names";

  auto axisRange = [&] {
    auto* y = qobject_cast<QValueAxis*>(chart.axes(Qt::Vertical).value(0));
    return std::make_pair(y->min(), y->max());
  };
  auto [lo, hi] = axisRange();
  EXPECT_LE(lo, 55.5);
  EXPECT_GE(hi, 65);

  // Limits below the values: the bottom stays, the top grows past the highest value.
  model.axisMin = 10;
  model.axisMax = 30;
  qt::fillChart(chart, model);
  EXPECT_EQ(axisRange().first, 10.0);
  EXPECT_GE(axisRange().second, 65.0);
  model.axisMin = 50;
  model.axisMax = 70;
  qt::fillChart(chart, model);
  EXPECT_EQ(axisRange(), std::make_pair(50.0, 70.0)) << "limits holding every value are kept";

  model.rowCount = 0;
  model.data.clear();
  qt::fillChart(chart, model);
  for (QAbstractSeries* s : chart.series()) EXPECT_EQ(static_cast<QXYSeries*>(s)->count(), 0);
}

TEST_F(QtWindow, ChartWidgetFollowsTheModel) {
  form::Control& chart = m->form("MSChart5");
  chart.setChartColumnCount(1);
  chart.setChartRowCount(3);
  chart.setChartValue(1, 1, "60");
  chart.setChartValue(2, 1, "61");
  chart.setChartValue(3, 1, "62");
  window->refresh();
  auto* view = find<QChartView>("MSChart5");
  ASSERT_EQ(view->chart()->series().size(), 1);
  EXPECT_EQ(static_cast<QXYSeries*>(view->chart()->series()[0])->count(), 3);

  // A double-click reaches the model; whatever it does to the size, the widget follows.
  auto* main = find<QChartView>("MSChart1");
  mouse(main->viewport(), QEvent::MouseButtonDblClick, QPoint(20, 20));
  const form::Control& c = m->form("MSChart1");
  EXPECT_EQ(main->geometry(), QRect(toPixels(c.left()), toPixels(c.top()), toPixels(c.width()), toPixels(c.height())));
}

TEST_F(QtWindow, ListClicksSelectAndDropsReachTheModel) {
  find<QPushButton>("cmdMemo")->click();
  form::Control& memo = m->form("List5(1)");
  memo.clearItems();
  for (const char* item : {"一", "二", "三"}) memo.addItem(item);
  window->refresh();
  auto* list = find<QListView>("List5(1)");
  ASSERT_EQ(list->model()->rowCount(), 3);
  const QPoint at = list->visualRect(list->model()->index(1, 0)).center();
  list->setFocus(Qt::MouseFocusReason);  // as a real press does before the press arrives
  mouse(list->viewport(), QEvent::MouseButtonPress, at);
  mouse(list->viewport(), QEvent::MouseButtonRelease, at);
  EXPECT_EQ(m->form("List5(1)").listIndex(), 1);
  EXPECT_EQ(list->currentIndex().row(), 1);

  m->form("List5(1)").setListIndex(-1);
  window->refresh();
  EXPECT_TRUE(list->selectionModel()->selectedIndexes().isEmpty());

  // A drop names its source list and row.
  find<QPushButton>("cmdDiary")->click();
  form::Control& source = m->form("List10(0)");
  if (source.listCount() == 0) source.addItem("ごはん _ 250");
  window->refresh();
  auto* target = find<QListView>("List8(0)");
  QMimeData mime;
  mime.setData("application/x-zorvel-list-entry", "List10(0)\n0");
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target->viewport(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(target->viewport(), &drop);
  EXPECT_EQ(m->form("List10(0)").listIndex(), 0);
  EXPECT_EQ(target->model()->rowCount(), m->form("List8(0)").listCount());
}

TEST_F(QtWindow, FramesAndLabelsTakeDoubleClicks) {
  auto doubleClick = [](QWidget* w) {
    const QPoint at(w->width() / 2, w->height() / 2);
    mouse(w, QEvent::MouseButtonPress, at);
    mouse(w, QEvent::MouseButtonRelease, at);
    mouse(w, QEvent::MouseButtonDblClick, at);
    mouse(w, QEvent::MouseButtonRelease, at);
  };
  find<QPushButton>("cmdMemo")->click();
  size_t asked = dialogs.inputs.size() + dialogs.boxes.size();
  doubleClick(window->widget("fraDaimoku(1)"));
  EXPECT_GT(dialogs.inputs.size() + dialogs.boxes.size(), asked) << "the memo title double-click was not raised";

  find<QPushButton>("cmdKintore")->click();
  asked = dialogs.inputs.size() + dialogs.boxes.size();
  doubleClick(window->widget("lblTotal(1)"));
  EXPECT_GT(dialogs.inputs.size() + dialogs.boxes.size(), asked) << "the training total double-click was not raised";
}

TEST_F(QtWindow, FocusMovesOneWayOrTheOther) {
  m->SetFocus("txtInpTaijyu");
  const uint64_t moves = m->form.focusChanges();
  window->refresh();
  EXPECT_EQ(window->focusWidget(), window->widget("txtInpTaijyu"));
  EXPECT_EQ(m->form.focusChanges(), moves) << "moving the Qt focus raised GotFocus again";

  auto focusIn = [](QWidget* w, Qt::FocusReason reason) {
    QFocusEvent e(QEvent::FocusIn, reason);
    QCoreApplication::sendEvent(w, &e);
  };
  // Focus the program moves, or a closing box gives back, is not the user's.
  focusIn(window->widget("txtInpShibou"), Qt::OtherFocusReason);
  focusIn(window->widget("txtInpTaijyu"), Qt::ActiveWindowFocusReason);
  EXPECT_EQ(m->form.focus(), "txtInpTaijyu");
  EXPECT_EQ(m->form.focusChanges(), moves);
  // A click, a Tab, or a click that activates the window on another control is.
  focusIn(window->widget("cmdTaijyu"), Qt::MouseFocusReason);
  EXPECT_EQ(m->form.focus(), "cmdTaijyu");
  focusIn(window->widget("cmdSuii"), Qt::TabFocusReason);
  EXPECT_EQ(m->form.focus(), "cmdSuii");
  focusIn(window->widget("cmdManpo"), Qt::ActiveWindowFocusReason);
  EXPECT_EQ(m->form.focus(), "cmdManpo");
}

TEST_F(QtWindow, QuitButtonEndsTheProgram) {
  bool quit = false;
  QObject::connect(window.get(), &MainWindow::quitRequested, [&] { quit = true; });
  find<QPushButton>("cmdOwari")->click();
  EXPECT_TRUE(m->ended());
  EXPECT_TRUE(quit);
  EXPECT_GE(dialogs.helpClosed, 1);
  EXPECT_FALSE(window->isVisible());
  // Nothing reaches the model after the end.
  find<QPushButton>("cmdTaijyu")->click();
  EXPECT_FALSE(m->form("fraTaijyu").visible());
}

TEST_F(QtWindow, CloseBoxEndsWithoutAskingTheHelpToClose) {
  bool quit = false;
  QObject::connect(window.get(), &MainWindow::quitRequested, [&] { quit = true; });
  window->close();
  EXPECT_TRUE(m->ended());
  EXPECT_TRUE(quit);
  EXPECT_EQ(dialogs.helpClosed, 0);
}

// ---------------------------------------------------------------- boxes and help

// Answers the next modal box from inside its own event loop.
template <class Box, class Act>
void whenShown(Act act) {
  QTimer::singleShot(0, [act] {
    auto* box = qobject_cast<Box*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    act(box);
  });
}

QAbstractButton* buttonWithText(QMessageBox* box, const QString& text) {
  for (QAbstractButton* b : box->buttons())
    if (b->text() == text) return b;
  return nullptr;
}

TEST(QtDialogs, MessageBoxesHaveJapaneseButtonsAndReportTheAnswer) {
  application();
  qt::QtDialogs dialogs;
  QStringList texts;
  whenShown<QMessageBox>([&texts](QMessageBox* box) {
    texts.clear();
    for (QAbstractButton* b : box->buttons()) texts << b->text();
    EXPECT_EQ(box->text(), QString("消しますか？"));
    EXPECT_EQ(box->windowTitle(), QString("確認"));
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    QTest::keyClick(box, Qt::Key_N);  // the accelerator Qt's own Japanese boxes give
    QTimer::singleShot(3000, box, [box] {
      ADD_FAILURE() << "N did not answer the box";
      box->reject();
    });
  });
  EXPECT_EQ(dialogs.MsgBox("消しますか？", "確認", form::Icon::Question, form::Buttons::YesNo), form::Answer::No);
  texts.sort();
  EXPECT_EQ(texts, QStringList({"いいえ(&N)", "はい(&Y)"}));

  whenShown<QMessageBox>([](QMessageBox* box) { buttonWithText(box, "はい(&Y)")->click(); });
  EXPECT_EQ(dialogs.MsgBox("?", "t", form::Icon::Question, form::Buttons::YesNo), form::Answer::Yes);

  whenShown<QMessageBox>([](QMessageBox* box) {
    EXPECT_EQ(box->icon(), QMessageBox::Warning);
    buttonWithText(box, "キャンセル")->click();
  });
  EXPECT_EQ(dialogs.MsgBox("!", "t", form::Icon::Warning, form::Buttons::OKCancel), form::Answer::Cancel);

  // Enter on a box whose second button is the default answers Cancel or No.
  whenShown<QMessageBox>([](QMessageBox* box) { box->defaultButton()->click(); });
  EXPECT_EQ(dialogs.MsgBoxDefaultSecond("?", "t", form::Icon::Warning, form::Buttons::OKCancel), form::Answer::Cancel);
  whenShown<QMessageBox>([](QMessageBox* box) { box->defaultButton()->click(); });
  EXPECT_EQ(dialogs.MsgBoxDefaultSecond("?", "t", form::Icon::Question, form::Buttons::YesNo), form::Answer::No);
  whenShown<QMessageBox>([](QMessageBox* box) { box->defaultButton()->click(); });
  EXPECT_EQ(dialogs.MsgBox("?", "t", form::Icon::Question, form::Buttons::OKCancel), form::Answer::OK);

  whenShown<QMessageBox>([](QMessageBox* box) {
    EXPECT_EQ(box->buttons().size(), 1);
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    buttonWithText(box, "OK")->click();
  });
  EXPECT_EQ(dialogs.MsgBox("x", "エラー", form::Icon::Error, form::Buttons::OK), form::Answer::OK);
}

TEST(QtDialogs, BoxesFindTheWindowUpToDate) {
  application();
  qt::QtDialogs dialogs;
  FixedClock clock;
  app::frmMain m(dialogs, clock);
  auto window = std::make_unique<MainWindow>(m);
  m.form("lblStDate").setCaption("2004/04/01");
  m.form.showWindow();
  whenShown<QMessageBox>([&window](QMessageBox* box) {
    EXPECT_EQ(qobject_cast<QLabel*>(window->widget("lblStDate"))->text(), QString("2004/04/01"));
    EXPECT_TRUE(window->isVisible()) << "a box after start-up has shown the window stands over it";
    EXPECT_EQ(box->parentWidget(), window.get());
    buttonWithText(box, "OK")->click();
  });
  dialogs.MsgBox("ようこそ", "ヘルプツアー", form::Icon::Information, form::Buttons::OK);

  // Once the window is gone the boxes stand on their own.
  window.reset();
  whenShown<QMessageBox>([](QMessageBox* box) {
    EXPECT_EQ(box->parentWidget(), nullptr);
    buttonWithText(box, "OK")->click();
  });
  dialogs.MsgBox("x", "t", form::Icon::None, form::Buttons::OK);
}

TEST(QtDialogs, InputBoxReturnsTheTextOrNothing) {
  application();
  qt::QtDialogs dialogs;
  whenShown<QInputDialog>([](QInputDialog* box) {
    EXPECT_EQ(box->labelText(), QString("題目を入力してください"));
    EXPECT_EQ(box->textValue(), QString("腹筋"));
    box->setTextValue("背筋");
    box->accept();
  });
  EXPECT_EQ(dialogs.InputBox("題目を入力してください", "題目", "腹筋"), std::optional<std::string>("背筋"));
  whenShown<QInputDialog>([](QInputDialog* box) { box->reject(); });
  EXPECT_EQ(dialogs.InputBox("p", "t", "d"), std::nullopt);

  // From the keyboard: Enter in the box answers OK, Escape Cancel.
  auto press = [](int key) {
    return [key](QInputDialog* box) {
      QWidget* edit = box->findChild<QLineEdit*>();
      ASSERT_TRUE(edit);
      edit->setFocus();
      sendKey(edit, key, key == Qt::Key_Escape ? QString(QChar(27)) : QString("\r"));
    };
  };
  whenShown<QInputDialog>(press(Qt::Key_Return));
  EXPECT_EQ(dialogs.InputBox("p", "t", "65"), std::optional<std::string>("65"));
  whenShown<QInputDialog>(press(Qt::Key_Escape));
  EXPECT_EQ(dialogs.InputBox("p", "t", "65"), std::nullopt);
}

TEST(QtDialogs, HelpWindowShowsTheFileOrSaysItIsMissing) {
  application();
  TempFolder dir;
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  std::ofstream(dir.file("help.html"))
      << "<html><head><meta charset=\"utf-8\"></head><body><h1>使い方</h1></body></html>";

  qt::QtDialogs dialogs;
  dialogs.showHelp("help.html");
  dialogs.showHelp("help.html");  // the same file is not opened twice
  auto open = dialogs.openHelpWindows();
  ASSERT_EQ(open.size(), 1u);
  EXPECT_TRUE(open[0]->findChild<QTextBrowser*>()->toPlainText().contains("使い方"));

  dialogs.showHelp("missing.html");
  open = dialogs.openHelpWindows();
  ASSERT_EQ(open.size(), 2u);
  EXPECT_TRUE(open[1]->findChild<QTextBrowser*>()->toPlainText().contains("見つかりません"));

  dialogs.closeHelp();
  EXPECT_TRUE(dialogs.openHelpWindows().empty());
  std::filesystem::current_path(previous);
}

TEST(Pictures, KnownNamesDrawAndUnknownNamesDoNot) {
  application();
  for (const char* name : {"pointer", "smile", "sulky", "arrowLeft", "arrowRight"}) {
    const QImage image = qt::pictureIcon(name, 24).pixmap(24, 24).toImage();
    ASSERT_FALSE(image.isNull()) << name;
    int painted = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) painted += qAlpha(image.pixel(x, y)) > 0;
    EXPECT_GT(painted, 24) << name;
  }
  EXPECT_TRUE(qt::pictureIcon("nothing", 24).isNull());
}

}  // namespace

// ---------------------------------------------------------------- fitting, keys, names, charts

TEST(WindowScale, TheSmallerRatioWithAReadableLeast) {
  const QSize natural(1000, 700);
  EXPECT_DOUBLE_EQ(qt::fitScale(natural, QSize(1000, 700)), 1.0);
  EXPECT_DOUBLE_EQ(qt::fitScale(natural, QSize(2000, 700)), 1.0) << "height decides";
  EXPECT_DOUBLE_EQ(qt::fitScale(natural, QSize(1500, 2100)), 1.5) << "width decides";
  EXPECT_DOUBLE_EQ(qt::fitScale(natural, QSize(100, 100)), qt::kMinScale);
}

TEST_F(QtWindow, LayoutScalesToTheWindowAndKeepsTheButtonRowInView) {
  const QSize natural = window->naturalSize();
  QWidget* host = window->centralWidget();
  const char* row[] = {"txtDate", "VScroll1", "cmdMain", "cmdSettei", "cmdHelp", "cmdOwari", "chkHelp"};
  for (const QSize& size : {natural, QSize(natural.width() * 3 / 4, natural.height()),
                            QSize(natural.width() * 2, natural.height() * 3 / 2)}) {
    window->resize(size);
    QCoreApplication::processEvents();
    const double expected = qt::fitScale(natural, host->size());
    EXPECT_NEAR(window->scale(), expected, 1e-6) << size.width() << "x" << size.height();
    for (const char* name : row) {
      QWidget* w = window->widget(name);
      const QRect at(w->mapTo(host, QPoint(0, 0)), w->size());
      EXPECT_TRUE(host->rect().contains(at)) << name << " at " << size.width() << "x" << size.height();
    }
    // The page is centred: the space left and right is shared evenly.
    QWidget* page = window->widget("fraMain");
    const QRect at(page->mapTo(host, QPoint(0, 0)), page->size());
    EXPECT_LE(std::abs(at.left() - (host->width() - at.right())), 12);
    // Fonts follow the scale.
    EXPECT_NEAR(find<QLabel>("lblTai_Date")->font().pointSizeF(), QApplication::font().pointSizeF() * expected, 0.01);
  }
  // A window smaller than the least scale allows is not possible.
  EXPECT_GE(host->minimumWidth(), static_cast<int>(natural.width() * qt::kMinScale));
}

TEST_F(QtWindow, WindowFitsTheScreenItOpensOn) {
  const QSize natural = window->naturalSize();
  window->fitInto(QRect(0, 0, 3000, 2000));
  EXPECT_EQ(window->size(), natural) << "natural size when it fits";
  window->fitInto(QRect(100, 50, 800, 500));
  EXPECT_LE(window->height(), 500);
  EXPECT_LE(window->width(), 800);
  EXPECT_NEAR(static_cast<double>(window->width()) / window->height(),
              static_cast<double>(natural.width()) / natural.height(), 0.02);
  EXPECT_GE(window->x(), 100);

  // A desktop font of 13.5 points opens the window half as large again.
  const QFont desktop = QApplication::font("QDialog");
  QFont larger = desktop;
  larger.setPointSizeF(13.5);
  QApplication::setFont(larger, "QDialog");
  window->fitInto(QRect(0, 0, 3000, 2000));
  QApplication::setFont(desktop, "QDialog");
  EXPECT_NEAR(window->width(), natural.width() * 1.5, 1);
}

TEST_F(QtWindow, TablesKeepEveryColumnInsideTheirWidth) {
  // The analysis page's narrow tables, at the natural size and shrunk.
  find<QPushButton>("cmdBunseki")->click();
  for (double shrink : {1.0, 0.7}) {
    window->resize(window->naturalSize() * shrink);
    QCoreApplication::processEvents();
    for (const char* name : {"msgB1", "msgB2", "msgB3", "msgB4"}) {
      auto* table = find<QTableWidget>(name);
      int total = 0;
      for (int c = 0; c < table->columnCount(); ++c) total += table->columnWidth(c);
      EXPECT_LE(total, table->viewport()->width()) << name << " at " << shrink;
    }
  }
}

TEST_F(QtWindow, DateKeysAndShortcutsGoThroughTheSameHandlers) {
  auto* date = find<QLineEdit>("txtDate");
  date->setFocus();
  sendKey(date, Qt::Key_Up, {});
  EXPECT_EQ(m->form("txtDate").text(), "2004/04/30");
  EXPECT_EQ(date->text(), QString("2004/04/30"));
  EXPECT_EQ(find<QScrollBar>("VScroll1")->value(), 364);
  EXPECT_EQ(find<QLabel>("lblTai_Date")->text(), QString("2004/04/30の体重"));
  sendKey(date, Qt::Key_PageUp, {});
  EXPECT_EQ(m->form("txtDate").text(), "2004/03/30");
  sendKey(find<QScrollBar>("VScroll1"), Qt::Key_PageDown, {});
  EXPECT_EQ(m->form("txtDate").text(), "2004/04/30");
  sendKey(date, Qt::Key_Home, {});
  EXPECT_EQ(m->form("txtDate").text(), "2004/05/01");

  // Each shortcut of the window acts as its button.
  auto shortcut = [&](const QKeySequence& keys) {
    for (QShortcut* s : window->findChildren<QShortcut*>())
      if (s->key() == keys) return s;
    ADD_FAILURE() << keys.toString().toStdString();
    return static_cast<QShortcut*>(nullptr);
  };
  emit shortcut(QKeySequence(Qt::ALT | Qt::Key_9))->activated();
  expectOnlyPageVisible("fraBunseki");
  emit shortcut(QKeySequence(Qt::ALT | Qt::Key_0))->activated();
  expectOnlyPageVisible("fraSettei");
  emit shortcut(QKeySequence(Qt::Key_F1))->activated();
  EXPECT_EQ(dialogs.helpShown, 1);
  emit shortcut(QKeySequence(Qt::ALT | Qt::Key_7))->activated();
  emit shortcut(QKeySequence(Qt::CTRL | Qt::Key_S))->activated();
  ASSERT_FALSE(dialogs.boxes.empty());
  EXPECT_EQ(dialogs.boxes.back(), "保存しました");
  emit shortcut(QKeySequence(Qt::CTRL | Qt::Key_Q))->activated();
  EXPECT_TRUE(m->ended());
}

TEST_F(QtWindow, KeyboardReachesEveryPageInReadingOrderPastTheWeekdayHeaders) {
  for (int i = 0; i < 7; ++i)
    EXPECT_EQ(window->widget("Command1(" + std::to_string(i) + ")")->focusPolicy(), Qt::NoFocus);
  EXPECT_TRUE(window->widget("cmdMono(10)")->focusPolicy() & Qt::TabFocus);
  // Tab from the date goes along the button row, left to right.
  QWidget* w = window->widget("txtDate");
  std::vector<std::string> order;
  for (int i = 0; i < 4; ++i) {
    w = w->nextInFocusChain();
    while (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisible()) w = w->nextInFocusChain();
    order.push_back(w->objectName().toStdString());
  }
  EXPECT_EQ(order, (std::vector<std::string>{"cmdMain", "cmdTaijyu", "cmdSuii", "cmdManpo"}));
}

TEST_F(QtWindow, EveryControlHasASpokenName) {
  for (const auto& c : m->form.controls()) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(window->widget(c->name()));
    ASSERT_NE(a, nullptr) << c->name();
    EXPECT_FALSE(a->text(QAccessible::Name).isEmpty()) << c->name();
  }
  auto name = [&](const char* control) {
    return QAccessible::queryAccessibleInterface(window->widget(control))->text(QAccessible::Name);
  };
  EXPECT_EQ(name("cmdMain"), QString("メイン"));
  EXPECT_EQ(name("txtDate"), QString("日付"));
  EXPECT_EQ(name("MSChart1"), QString("体重グラフ"));
  EXPECT_EQ(name("chkHelp"), QString("ヘルプツアーのＯｎ／Ｏｆｆです"));
  EXPECT_EQ(name("txtInpTaijyu"), QString("2004/05/01の体重")) << "the caption beside it";
}

TEST_F(QtWindow, DiaryListsCutLongNamesButKeepTheCalories) {
  form::Control& list = m->form("List8(0)");
  const std::string entry = std::string(60, 'W') + " _ 450";
  list.addItem(entry);
  find<QPushButton>("cmdDiary")->click();
  window->refresh();
  auto* widget = find<QListView>("List8(0)");
  EXPECT_EQ(widget->model()->index(0, 0).data(Qt::ToolTipRole).toString(), QString::fromStdString(entry));
  EXPECT_EQ(widget->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  // Painted: ink reaches the right end of the row, where the calories stand.
  QCoreApplication::processEvents();
  QImage image(widget->viewport()->size(), QImage::Format_RGB32);
  image.fill(Qt::white);
  widget->viewport()->render(&image);
  const QRect row = widget->visualRect(widget->model()->index(0, 0)).intersected(widget->viewport()->rect());
  const QColor base = image.pixelColor(row.right() - 2, row.bottom() - 1);
  bool inkAtTheEnd = false;
  for (int x = row.right() - 30; x < row.right() - 2; ++x)
    for (int y = row.top(); y < row.bottom(); ++y) inkAtTheEnd = inkAtTheEnd || image.pixelColor(x, y) != base;
  EXPECT_TRUE(inkAtTheEnd) << "the end of the entry is drawn, not cut off";
}

TEST(ChartFill, AxisLabelsAreDistinctDatesFollowTheRowsAndOutliersStayInView) {
  application();
  // A running average spanning less than two tenths of a kilogram.
  form::ChartModel model;
  model.columnCount = 1;
  model.rowCount = 5;
  model.seriesVisible = {true};
  model.data.assign(5, std::vector<std::optional<std::string>>(1));
  const char* values[] = {"62.9", "62.85", "62.82", "62.8", "62.79"};
  for (int r = 0; r < 5; ++r) model.data[r][0] = values[r];
  model.axisMin = 62.79 - 0.05;
  model.axisMax = 62.9;
  qt::ChartLook look;
  for (const char* day : {"2004/04/28", "2004/04/29", "2004/04/30", "2004/05/01", "2004/05/02"})
    model.rowDays.push_back(*charts::dayNumber(day));
  QChart chart;
  qt::fillChart(chart, model, look);
  auto* y = qobject_cast<QValueAxis*>(chart.axes(Qt::Vertical).value(0));
  ASSERT_TRUE(y);
  ASSERT_EQ(y->tickType(), QValueAxis::TicksDynamic);
  QStringList labels;
  for (double v = std::ceil(y->min() / y->tickInterval() - 1e-9) * y->tickInterval(); v <= y->max() + 1e-9;
       v += y->tickInterval())
    labels << QString::asprintf(y->labelFormat().toLatin1().constData(), v);
  EXPECT_GE(labels.size(), 3);
  EXPECT_EQ(labels.removeDuplicates(), 0) << labels.join(' ').toStdString();

  auto* x = qobject_cast<QCategoryAxis*>(chart.axes(Qt::Horizontal).value(0));
  ASSERT_TRUE(x);
  EXPECT_EQ(x->categoriesLabels().first(), QString("04/28"));
  EXPECT_TRUE(x->categoriesLabels().contains("05/02"));

  // A weighing above the axis top: the range grows to show it.
  model.data[2][0] = "75.3";
  model.axisMin = 60;
  model.axisMax = 71;
  qt::fillChart(chart, model, look);
  EXPECT_EQ(y->min(), 60);
  EXPECT_GE(y->max(), 75.3);
  // The trend line is drawn as one more series.
  look.extraName = "トレンド";
  look.extra = {70.0, 70.5, 71.0, std::nullopt, std::nullopt};
  qt::fillChart(chart, model, look);
  bool trend = false;
  for (QAbstractSeries* s : chart.series()) trend = trend || s->name() == QString("トレンド");
  EXPECT_TRUE(trend);
}

TEST_F(QtWindow, TrendBoxDrawsTheTrendOnTheWeightChart) {
  auto* view = find<QChartView>("MSChart1");
  auto names = [&] {
    QStringList out;
    for (QAbstractSeries* s : view->chart()->series()) out << s->name();
    return out;
  };
  m->weight.WeightTrend = {70.0f, 69.8f, 69.7f};
  m->form("MSChart1").setChartRowCount(3);
  window->refresh();
  EXPECT_FALSE(names().contains("トレンド"));
  find<QCheckBox>("Check7")->click();
  EXPECT_EQ(m->form("Check7").value(), 1);
  EXPECT_TRUE(names().contains("トレンド"));
  EXPECT_EQ(m->form("Check3").value(), 1) << "the four views are left as they are";
}

TEST_F(QtWindow, SizeAndPlaceAreRememberedForTheNextRun) {
  // The settings go to a folder of the test's own, never the user's.
  TempFolder config;
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(config.path()));
  window->restorePlacement();
  const QRect screen = window->screen()->availableGeometry();
  EXPECT_TRUE(screen.contains(window->geometry())) << "a first run fits the screen";
  const QSize chosen(window->naturalSize().width() * 2 / 3, window->naturalSize().height() * 2 / 3);
  window->resize(chosen);
  window->close();
  EXPECT_TRUE(config.exists("Zorvel/zorvel.ini"));

  app::frmMain again(dialogs, clock);
  MainWindow next(again);
  again.Form_Load();
  next.restorePlacement();
  EXPECT_EQ(next.size(), chosen);
}

TEST_F(QtWindow, DeleteKeyRemovesTheSelectedDiaryEntry) {
  find<QPushButton>("cmdDiary")->click();
  m->form("List8(1)").addItem("うどん _ 300");
  m->form("List8(1)").addItem("みかん _ 40");
  window->refresh();
  auto* list = find<QListView>("List8(1)");
  list->setFocus();
  list->setCurrentIndex(list->model()->index(0, 0));
  ASSERT_EQ(m->form("List8(1)").listIndex(), 0);
  sendKey(list, Qt::Key_Delete, {});
  EXPECT_EQ(m->form("List8(1)").items(), std::vector<std::string>{"みかん _ 40"});
  EXPECT_EQ(list->model()->rowCount(), 1);
}

TEST(QtDialogs, ListChoiceGivesTheIndexAndHelpComesFromItsFolder) {
  application();
  qt::QtDialogs dialogs;
  const std::vector<std::string> days{"2026-12-07  体重 3件", "2026-12-06  体重 2件"};
  whenShown<QInputDialog>([](QInputDialog* box) {
    EXPECT_EQ(box->comboBoxItems().size(), 2);
    box->setTextValue("2026-12-06  体重 2件");
    box->accept();
  });
  EXPECT_EQ(dialogs.ChooseFromList("バックアップから戻す", "選んでください", days), std::optional<int>(1));
  whenShown<QInputDialog>([](QInputDialog* box) { box->reject(); });
  EXPECT_EQ(dialogs.ChooseFromList("t", "p", days), std::nullopt);

  // An installed program keeps its help file apart from the data folder.
  TempFolder helpDir;
  std::ofstream(helpDir.file("help.html")) << "<html><body><h1>使い方</h1></body></html>";
  dialogs.setHelpFolder(QString::fromStdString(helpDir.path()));
  dialogs.showHelp("help.html");
  ASSERT_EQ(dialogs.openHelpWindows().size(), 1u);
  EXPECT_TRUE(dialogs.openHelpWindows()[0]->findChild<QTextBrowser*>()->toPlainText().contains("使い方"));
  dialogs.closeHelp();
}

TEST_F(QtWindow, SettingsPageShowsTheDataFolderAsSelectableText) {
  m->DataFolder = "/home/q/.local/share/Zorvel";
  m->ReloadFromDisk();
  window->refresh();
  auto* label = find<QLabel>("lblDataFolder");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), QString("/home/q/.local/share/Zorvel"));
  EXPECT_TRUE(label->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
  EXPECT_EQ(find<QPushButton>("cmdBackup")->text(), QString("バックアップから戻す"));
  EXPECT_EQ(find<QPushButton>("cmdCsvOut")->text(), QString("CSVに書き出す"));
  EXPECT_EQ(find<QPushButton>("cmdCsvIn")->text(), QString("CSVから読み込む"));
}

// Lists and tables of hidden pages are filled when their page is shown, from the model as it is
// then, also after changes made while they were hidden; the first page is whole before it is seen.
TEST_F(QtWindow, HiddenPagesShowTheirModelWhenShown) {
  auto expectTableShowsModel = [&](const char* name) {
    const form::GridModel& g = m->form(name).grid();
    auto* table = find<QTableWidget>(name);
    ASSERT_EQ(table->rowCount(), g.rows - 1) << name;
    ASSERT_EQ(table->columnCount(), g.cols) << name;
    for (int row = 1; row < g.rows; ++row)
      for (int col = 0; col < g.cols; ++col) {
        ASSERT_NE(table->item(row - 1, col), nullptr) << name << " " << row << "," << col;
        EXPECT_EQ(table->item(row - 1, col)->text().toStdString(), g.cells[row][col]) << name << " " << row;
      }
  };
  auto expectListShowsModel = [&](const char* name) {
    const std::vector<std::string>& items = m->form(name).items();
    auto* list = find<QListView>(name);
    ASSERT_EQ(list->model()->rowCount(), static_cast<int>(items.size())) << name;
    for (int i = 0; i < list->model()->rowCount(); ++i) {
      const QModelIndex entry = list->model()->index(i, 0);
      EXPECT_EQ(entry.data().toString().toStdString(), items[i]) << name << " " << i;
      EXPECT_EQ(entry.data(Qt::ToolTipRole).toString().toStdString(), items[i]) << name << " " << i;
    }
  };

  dir.writeCp932("体重.txt", "\"2004/04/28\",70.5\r\n\"2004/04/29\",70\r\n\"2004/04/30\",69.5\r\n");
  m->ReloadFromDisk();
  window->refresh();
  auto* table = find<QTableWidget>("msgB1");
  EXPECT_FALSE(table->isVisible());
  EXPECT_EQ(table->rowCount(), 3) << "a hidden table keeps its size";
  find<QPushButton>("cmdBunseki")->click();
  expectTableShowsModel("msgB1");
  expectTableShowsModel("msgB3");

  // Changed while hidden: fewer rows, other texts.
  find<QPushButton>("cmdMain")->click();
  dir.writeCp932("体重.txt", "\"2004/04/29\",72\r\n\"2004/04/30\",71.5\r\n");
  m->ReloadFromDisk();
  window->refresh();
  EXPECT_EQ(table->rowCount(), 2);
  find<QPushButton>("cmdBunseki")->click();
  expectTableShowsModel("msgB1");

  // A memo list filled while hidden, changed at its start while hidden again, then added to at
  // its end while seen.
  form::Control& memo = m->form("List5(2)");
  memo.clearItems();
  for (const char* item : {"一", "二", "三"}) memo.addItem(item);
  window->refresh();
  find<QPushButton>("cmdMemo")->click();
  expectListShowsModel("List5(2)");
  find<QPushButton>("cmdMain")->click();
  memo.removeItem(0);
  memo.addItem("四");
  window->refresh();
  find<QPushButton>("cmdMemo")->click();
  expectListShowsModel("List5(2)");
  auto* list = find<QListView>("List5(2)");
  for (int i = 0; i < 200; ++i) memo.addItem("追加" + std::to_string(i));
  window->refresh();
  list->verticalScrollBar()->setValue(list->verticalScrollBar()->maximum());
  memo.addItem("最後");
  window->refresh();
  expectListShowsModel("List5(2)");
  EXPECT_EQ(list->verticalScrollBar()->value(), 0) << "a changed list starts from its top, as a refilled one";

  // A second window on the same model: nothing of the first page waits once it is shown.
  find<QPushButton>("cmdMain")->click();
  MainWindow second(*m);
  second.refresh();
  second.show();
  auto* chart = qobject_cast<QChartView*>(second.widget("MSChart1"));
  ASSERT_NE(chart, nullptr);
  EXPECT_FALSE(chart->chart()->series().isEmpty()) << "the weight chart is drawn before the window is seen";
}
