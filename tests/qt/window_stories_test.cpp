// Stories of a user on the shown, painted window: real key and mouse events through QTest, and
// after every step what is laid out and painted is checked, not only the model. Each story runs
// in a process of its own on a 1600×1000 offscreen screen, so the scale factor is set before Qt
// starts; a box the story does not expect is closed and fails it, a step that hangs ends it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStyleOptionButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QValueAxis>
#include <QXYSeries>
#include <cmath>
#include <csignal>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>

#include "app/frmMain.h"
#include "qt/main_window.h"
#include "qt/qt_dialogs.h"
#include "support/temp_folder.h"

using testing_support::TempFolder;

namespace {

// ---------------------------------------------------------------- a process of its own

constexpr const char* kChild = "ZORVEL_STORY_SCALE";

// In the test's own process: runs the test again at scale 1 and 2 and returns false. In such a
// run: returns true, and the story goes on.
bool storyProcess() {
  if (qEnvironmentVariableIsSet(kChild)) return true;
  const auto* test = testing::UnitTest::GetInstance()->current_test_info();
  TempFolder screen;
  std::ofstream(screen.file("screen.json"))
      << R"({"screens":[{"name":"story","x":0,"y":0,"width":1600,"height":1000,"logicalDpi":96,"dpr":1}]})";
  for (const char* scale : {"1", "2"}) {
    const std::string command = std::string("env ") + kChild + "=" + scale + " QT_SCALE_FACTOR=" + scale +
                                " QT_QPA_PLATFORM=offscreen:configfile=" + screen.file("screen.json") + " '" +
                                std::filesystem::read_symlink("/proc/self/exe").string() +
                                "' --gtest_filter=" + test->test_suite_name() + "." + test->name() + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    const int status = pclose(pipe);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "at scale " << scale << ":\n" << output;
  }
  return false;
}

// A step that does not end (the window spinning) ends the story with the step's name.
char stepName[256];
size_t stepLength = 0;
void stepHangs(int) {
  const char says[] = "FAILED: this step did not end within 20 s: ";
  [[maybe_unused]] auto a = write(2, says, sizeof says - 1);
  [[maybe_unused]] auto b = write(2, stepName, stepLength);
  _exit(3);
}
void step(const std::string& name) {
  stepLength = std::min(name.size(), sizeof stepName);
  std::memcpy(stepName, name.data(), stepLength);
  std::signal(SIGALRM, stepHangs);
  alarm(20);
}

// ---------------------------------------------------------------- boxes

// Every box a story meets is expected by it, with its answer; any other is closed and fails the
// story with its text, so no box waits for a hand.
class Boxes {
 public:
  Boxes() {
    QObject::connect(&timer_, &QTimer::timeout, [this] { answer(); });
    timer_.start(10);
  }
  ~Boxes() {
    for (const auto& e : queue_) ADD_FAILURE() << "a box never came: " << e.text;
  }
  // The next box's text contains `text`; it is answered by `button`, an input box with `input`
  // (a list with its first entry).
  void expect(const std::string& text, const QString& button = "OK", const QString& input = {}) {
    queue_.push_back({text, button, input});
  }
  std::function<void()> onBox;

 private:
  struct Expected {
    std::string text;
    QString button, input;
  };
  void answer() {
    QWidget* w = QApplication::activeModalWidget();
    auto* box = qobject_cast<QMessageBox*>(w);
    auto* input = qobject_cast<QInputDialog*>(w);
    if (!w || !w->isVisible() || (!box && !input)) return;
    const QString text = box ? box->text() : input->labelText();
    if (onBox) onBox();
    if (queue_.empty() || !text.contains(QString::fromStdString(queue_.front().text))) {
      ADD_FAILURE() << "a box the story did not expect: [" << w->windowTitle().toStdString() << "] "
                    << text.toStdString();
      return static_cast<QDialog*>(w)->reject();
    }
    const Expected e = queue_.front();
    queue_.pop_front();
    if (input) {
      const QStringList items = input->comboBoxItems();
      input->setTextValue(e.input.isEmpty() && !items.isEmpty() ? items.first() : e.input);
      return e.button == "OK" ? input->accept() : input->reject();
    }
    // The title shows whole: the box is wider than its title in a title bar's larger bold font,
    // with room for the frame's icon and three buttons.
    QFont title = box->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.25);
    EXPECT_GE(box->width(), QFontMetrics(title).horizontalAdvance(box->windowTitle()) + 140)
        << "title cut: " << box->windowTitle().toStdString();
    for (QAbstractButton* b : box->buttons())
      if (b->text() == e.button) return b->click();
    ADD_FAILURE() << "no button " << e.button.toStdString() << " on " << text.toStdString();
    box->reject();
  }
  std::deque<Expected> queue_;
  QTimer timer_;
};

// ---------------------------------------------------------------- what a user sees

double luminance(QColor c) {
  auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
  return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}
double contrast(QColor a, QColor b) {
  const double x = luminance(a), y = luminance(b);
  return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

// The colour behind a widget: its own when it fills its background, else its container's.
QColor backgroundOf(const QWidget* w, QPalette::ColorRole role) {
  if (role != QPalette::Window) return w->palette().color(role);
  for (; w; w = w->parentWidget())
    if (w->autoFillBackground() || w->isWindow()) return w->palette().color(w->backgroundRole());
  return QApplication::palette().color(QPalette::Window);
}

// A dark desktop theme: light text on dark ground, as Qt derives it from a dark window colour.
QPalette darkPalette() { return QPalette(QColor(0x31, 0x36, 0x3b), QColor(0x31, 0x36, 0x3b)); }

QApplication& application() {
  if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) return *app;
  static int argc = 1;
  static char name[] = "zorvel_qt_tests";
  static char* argv[] = {name, nullptr};
  return *new QApplication(argc, argv);  // never destroyed, as Qt is not torn down among statics
}

// A shown window on a data folder of the story's own, started as the program starts it.
class Story : public ::testing::Test {
 protected:
  ~Story() override { alarm(0); }
  void start(bool sample) {
    if (sample)
      dir.copySample();
    else if (!dir.exists("設定.txt"))
      dir.writeMinimalDiary();
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(config.path()));
    std::filesystem::current_path(dir.path());
    clock.fixed = store::DateTime{store::makeDate(2026, 12, 8), 9, 0, 0};
    m = std::make_unique<app::frmMain>(dialogs, clock);
    window = std::make_unique<qt::MainWindow>(*m);
    m->Form_Load();
    window->refresh();
    window->restorePlacement();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  }

  QWidget* w(const std::string& name) {
    QWidget* found = window->widget(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  void click(const std::string& name) {
    step("click " + name);
    // A list or table takes the mouse in its viewport, as a real one does.
    auto* area = qobject_cast<QAbstractScrollArea*>(w(name));
    QWidget* target = area ? area->viewport() : w(name);
    QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
  }
  // Types over what the box holds, then Enter.
  void type(const std::string& name, const QString& text) {
    click(name);
    step("type " + text.toStdString() + " into " + name);
    QTest::keyClick(w(name), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(w(name), text);
    QTest::keyClick(w(name), Qt::Key_Return);
  }
  // The date selector `days` back from today.
  void dateBack(int days) {
    click("txtDate");
    QTest::keyClick(w("txtDate"), Qt::Key_Home);
    for (int i = 0; i < days; ++i) QTest::keyClick(w("txtDate"), Qt::Key_Up);
  }
  void key(int key, Qt::KeyboardModifiers mods = {}) {
    step("key " + QKeySequence(key | mods).toString().toStdString());
    // A closed box leaves no window active on this platform; a user's window is.
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
    QTest::keyClick(target, static_cast<Qt::Key>(key), mods);
  }
  // The days between the points of a chart, in hours' precision.
  std::vector<double> gaps(const std::string& chart) {
    std::vector<double> xs, out;
    for (QAbstractSeries* s : qobject_cast<QChartView*>(w(chart))->chart()->series())
      for (const QPointF& p : static_cast<QXYSeries*>(s)->points()) xs.push_back(p.x());
    std::sort(xs.begin(), xs.end());
    for (size_t i = 1; i < xs.size(); ++i) out.push_back(std::round((xs[i] - xs[i - 1]) * 24) / 24);
    return out;
  }
  void expectFocus(const std::string& name) {
    EXPECT_EQ(window->focusWidget(), w(name))
        << "focus on " << (window->focusWidget() ? window->focusWidget()->objectName().toStdString() : "");
  }

  // What the user sees now, under the light and the dark palette.
  void look(const std::string& when) {
    lookUnder(when);
    QApplication::setPalette(darkPalette());
    lookUnder(when + ", dark");
    QApplication::setPalette(light);
    QCoreApplication::processEvents();
  }
  void lookUnder(const std::string& when);

  QApplication& app = application();  // first: the members below need it
  TempFolder dir, config;
  std::unique_ptr<Boxes> boxes = std::make_unique<Boxes>();
  qt::QtDialogs dialogs;
  qt::QtClock clock;
  std::unique_ptr<app::frmMain> m;
  std::unique_ptr<qt::MainWindow> window;
  QPalette light = QApplication::palette();
};

void Story::lookUnder(const std::string& when) {
  SCOPED_TRACE(when);
  QCoreApplication::processEvents();
  struct Text {
    std::string name;
    QRect at;
    const QWidget* widget;
  };
  std::vector<Text> texts;
  for (const auto& c : m->form.controls()) {
    QWidget* x = window->widget(c->name());
    if (!x->isVisible()) continue;
    const std::string& name = c->name();
    const QRect at(x->mapTo(window.get(), QPoint(0, 0)), x->size());
    EXPECT_TRUE(window->rect().contains(at)) << name << " outside the window";
    if (!c->parent().empty()) {
      EXPECT_TRUE(x->parentWidget()->rect().contains(x->geometry())) << name << " outside its page";
    }
    const QFontMetrics fm(x->font());
    auto readable = [&](QPalette::ColorRole fore, QPalette::ColorRole back) {
      if (x->isEnabled()) {
        EXPECT_GE(contrast(x->palette().color(fore), backgroundOf(x, back)), 4.5) << name << " hard to read";
      }
    };
    if (auto* label = qobject_cast<QLabel*>(x); label && !label->text().isEmpty()) {
      const QRect room = label->contentsRect();
      const QRect ink = fm.boundingRect(room, static_cast<int>(label->alignment()) | Qt::TextWordWrap, label->text());
      EXPECT_LE(ink.height(), room.height() + 1) << name << " cut: " << label->text().toStdString();
      texts.push_back({name, ink.translated(at.topLeft()) & at, x});
      readable(QPalette::WindowText, QPalette::Window);
    } else if (auto* button = qobject_cast<QAbstractButton*>(x); button && !button->text().isEmpty()) {
      QStyleOptionButton option;
      option.initFrom(button);
      const bool push = qobject_cast<QPushButton*>(x);
      const QRect room =
          push ? button->contentsRect() : button->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, button);
      EXPECT_LE(fm.horizontalAdvance(button->text().remove('&')), room.width()) << name << " cut";
      texts.push_back({name, at, x});
      if (push)
        readable(QPalette::ButtonText, QPalette::Button);
      else
        readable(QPalette::WindowText, QPalette::Window);
    } else if (qobject_cast<QLineEdit*>(x)) {
      texts.push_back({name, at, x});
      readable(QPalette::Text, QPalette::Base);
    } else if (auto* table = qobject_cast<QTableWidget*>(x)) {
      for (int col = 0; col < table->columnCount(); ++col)
        for (int row = -1; row < table->rowCount() && row < 40; ++row) {
          const QTableWidgetItem* item = row < 0 ? table->horizontalHeaderItem(col) : table->item(row, col);
          if (item && !item->text().isEmpty()) {
            EXPECT_LE(QFontMetrics(table->font()).horizontalAdvance(item->text()) + 6, table->columnWidth(col))
                << name << " cuts " << item->text().toStdString();
          }
        }
    } else if (auto* view = qobject_cast<QChartView*>(x)) {
      const QChart* chart = view->chart();
      bool drawn = false;
      for (QAbstractSeries* s : chart->series()) drawn = drawn || static_cast<QXYSeries*>(s)->count() > 0;
      for (QAbstractAxis* axis : chart->axes()) {
        EXPECT_EQ(axis->labelsVisible(), drawn) << name << ": an empty chart shows no scale";
        // (a category axis is a value axis too)
        if (auto* dates = qobject_cast<QCategoryAxis*>(axis)) {
          EXPECT_LE(dates->categoriesLabels().size(), 25) << name << " x labels";
          const QRectF plot = chart->plotArea();
          const double span = dates->max() - dates->min();
          for (const QString& label : drawn ? dates->categoriesLabels() : QStringList()) {
            const double x0 = plot.left() + (dates->endValue(label) - dates->min()) / span * plot.width();
            const double half = QFontMetrics(axis->labelsFont()).horizontalAdvance(label) / 2.0;
            EXPECT_TRUE(x0 - half >= 0 && x0 + half <= view->width()) << name << " cuts " << label.toStdString();
          }
        } else if (auto* values = qobject_cast<QValueAxis*>(axis)) {
          const double labels = values->tickType() == QValueAxis::TicksFixed
                                    ? values->tickCount()
                                    : (values->max() - values->min()) / values->tickInterval() + 1;
          EXPECT_LE(labels, 25) << name << " y labels";
        }
      }
      if (!drawn) {
        EXPECT_FALSE(chart->legend()->isVisible()) << name << ": an empty chart names no series";
      }
      for (QAbstractSeries* s : chart->series())
        EXPECT_TRUE(!s->name().isEmpty() && !s->name().startsWith("系列"))
            << name << " names a series " << s->name().toStdString();
    }
  }
  // No two texts lie over each other.
  for (size_t i = 0; i < texts.size(); ++i)
    for (size_t j = i + 1; j < texts.size(); ++j)
      if (!texts[i].widget->isAncestorOf(texts[j].widget) && !texts[j].widget->isAncestorOf(texts[i].widget)) {
        EXPECT_FALSE(texts[i].at.adjusted(1, 1, -1, -1).intersects(texts[j].at.adjusted(1, 1, -1, -1)))
            << texts[i].name << " over " << texts[j].name;
      }
}

}  // namespace

// A new user's first start on the delivered sample, a new start, and a week of entries on every
// page.
TEST_F(Story, NewUserFirstWeek) {
  if (!storyProcess()) return;
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  // The tour greets before anything else; the window it stands over is already placed.
  boxes->onBox = [&] {
    if (window->isVisible()) {
      EXPECT_TRUE(screen.contains(window->frameGeometry())) << "the window is off the screen";
    }
  };
  boxes->expect("Zorvelに興味をもって");
  start(true);
  look("the sample");
  EXPECT_FALSE(qobject_cast<QLineEdit*>(window->focusWidget())) << "sample mode keeps off the entry boxes";

  boxes->expect("ヘルプツアー機能をオフ");
  click("chkHelp");
  click("cmdSettei");
  boxes->expect("現在まで保管");
  for (auto [prompt, answer] : {std::pair{"名前を入力", "たろう"},
                                {"身長を", "170"},
                                {"目標体重を", "60"},
                                {"目標期間を", "90"},
                                {"達成率を", "70"},
                                {"収支カロリーの目標値", "2000"}})
    boxes->expect(prompt, "OK", answer);
  for (const char* box : {"これまで登録", "関連データを全てクリア", "今日からスタート"}) boxes->expect(box);
  click("cmdNew1");
  look("a new start");
  expectFocus("txtInpTaijyu");

  // A week on every page, from six days back.
  dateBack(6);
  boxes->expect("体重グラフは２日目から");
  const char* weights[] = {"70.0", "70.4", "70.2", "70.6", "70.3", "70.8", "70.5"};
  for (int day = 0; day < 7; ++day) {
    if (day == 4) continue;  // left out, and filled in when the next day is entered
    dateBack(6 - day);
    if (day == 3) {
      // A slip of the keyboard is asked about; refused, nothing is stored and the text stays.
      boxes->expect("この体重で記録しますか", "いいえ(&N)");
      type("txtInpTaijyu", "7.06");
      EXPECT_EQ(m->Weight.WeightCount, 3);
      EXPECT_EQ(qobject_cast<QLineEdit*>(w("txtInpTaijyu"))->text(), "7.06");
    }
    if (day == 5) boxes->expect("までのデータが保存されていません", "はい(&Y)");
    type("txtInpTaijyu", weights[day]);
    if (day == 0 || day == 1 || day == 6) look("weight of day " + std::to_string(day));
  }
  // Records a day, two days and four days apart stand that far apart on their charts.
  click("cmdSuii");
  boxes->expect("体脂肪率グラフは２日目から");
  for (int day : {0, 1, 6}) {
    dateBack(6 - day);
    type("txtInpShibou", day == 0 ? "25" : "24.5");
  }
  look("body fat");
  EXPECT_EQ(gaps("MSChart2"), (std::vector<double>{1, 5}));
  click("Check2");
  look("fat mass");
  click("Check2");
  click("cmdManpo");
  for (int day : {0, 2, 6}) {
    dateBack(6 - day);
    type("txtInpHosuu", "6500");
    if (day == 0) look("the first steps");
  }
  look("steps");
  EXPECT_EQ(gaps("MSChart3"), (std::vector<double>{2, 4}));
  click("cmdTaijyu");
  boxes->expect("体重グラフは２回目から");
  for (int hour : {7, 13, 21}) {
    clock.fixed->hour = hour;
    type("txtInpRenTai", "70.1");
  }
  look("weighings");
  EXPECT_EQ(gaps("MSChart5"), (std::vector<double>{6.0 / 24, 8.0 / 24}));
  click("cmdKintore");
  type("txtKin(1)", "20");
  look("training");
  click("cmdEiyo");
  click("Check1(0)");
  click("Command3");
  look("nutrition");
  click("cmdDiary");
  boxes->expect("食した品目", "OK", "おにぎり");
  boxes->expect("カロリー数", "OK", "180");
  click("cmdAsa");
  boxes->expect("保存しました");
  key(Qt::Key_S, Qt::ControlModifier);
  look("diary");
  click("cmdMemo");
  boxes->expect("に登録する内容", "OK", "水を飲む");
  click("List5(1)");
  look("memo");
  for (const char* page : {"cmdBunseki", "cmdSettei"}) {
    click(page);
    look(page);
  }
  // The day filled in is marked where its weight is listed.
  auto* days = qobject_cast<QTableWidget*>(w("msgB1"));
  QStringList marked;
  for (int row = 0; row < days->rowCount(); ++row)
    for (int col = 0; col < days->columnCount(); ++col)
      if (days->item(row, col) && days->item(row, col)->text().contains("（補完）"))
        marked << days->item(row, col)->text();
  EXPECT_EQ(marked, QStringList{"70.6Kg（補完）"});

  // The weight chart enlarged twice over its neighbours, and back.
  click("cmdMain");
  for (int times = 0; times < 3; ++times) {
    step("double-click MSChart1");
    QWidget* chart = qobject_cast<QChartView*>(w("MSChart1"))->viewport();
    QTest::mouseDClick(chart, Qt::LeftButton, {}, chart->rect().center());
    EXPECT_EQ(m->analysis.ChartEnlargeStep, (times + 1) % 3);
    if (times < 2) look("the weight chart enlarged");
  }

  // Alt+1 leads to the weight box, and what is typed lands there.
  key(Qt::Key_1, Qt::AltModifier);
  expectFocus("txtInpTaijyu");
  QTest::keyClick(window->focusWidget(), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(window->focusWidget(), "71");
  EXPECT_EQ(m->form("txtInpTaijyu").text(), "71");

  // The help window closes with Esc and Ctrl+W; Ctrl+Q from it ends the program.
  for (auto [keys, mods] : {std::pair{Qt::Key_Escape, Qt::KeyboardModifiers()},
                            {Qt::Key_W, Qt::ControlModifier},
                            {Qt::Key_Q, Qt::ControlModifier}}) {
    key(Qt::Key_F1);
    ASSERT_EQ(dialogs.openHelpWindows().size(), 1u);
    QWidget* help = dialogs.openHelpWindows()[0];
    help->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(help));
    QTest::keyClick(help, keys, mods);
    EXPECT_TRUE(dialogs.openHelpWindows().empty());
  }
  EXPECT_TRUE(m->ended());
}

// A diary with a slip in its last weight: the slip corrected, the last day deleted and taken
// back, a backup restored, the weight chart's span chosen and kept for the next start, and the
// window from its smallest size to a large screen.
TEST_F(Story, CorrectDeleteRestoreAndResize) {
  if (!storyProcess()) return;
  dir.writeMinimalDiary();
  dir.writeCp932("体重.txt",
                 "\"2026/12/04\",58.6\r\n\"2026/12/05\",58.5\r\n\"2026/12/06\",58.3\r\n"
                 "\"2026/12/07\",58.2\r\n\"2026/12/08\",5.84\r\n");
  start(false);
  expectFocus("txtInpTaijyu");
  look("a start with a slip");

  // The whole diary, not the target period's hundred days; kept for the next start.
  click("Option4(3)");
  auto daysShown = [&] {
    const auto* x =
        qobject_cast<QCategoryAxis*>(qobject_cast<QChartView*>(w("MSChart1"))->chart()->axes(Qt::Horizontal).value(0));
    return x ? x->max() - x->min() : 0.0;
  };
  EXPECT_NEAR(daysShown(), 4, 1e-6);
  window->close();
  window.reset();
  m.reset();
  start(false);
  EXPECT_EQ(m->form("Option4(3)").value(), 1);
  EXPECT_NEAR(daysShown(), 4, 1e-6);

  click("cmdBunseki");
  EXPECT_EQ(qobject_cast<QLabel*>(w("Label5(0)"))->text().toStdString(), "最高　52.8Kg減を達成してから　0日経過");
  auto* table = qobject_cast<QTableWidget*>(w("msgB1"));
  click("msgB1");
  table->setCurrentCell(4, 0);
  boxes->expect("の体重を修正します", "OK", "58.4");
  key(Qt::Key_F2);
  look("the slip corrected");
  // As a start on the corrected file shows it: no loss of half a kilogram was reached.
  EXPECT_EQ(qobject_cast<QLabel*>(w("Label5(0)"))->text().toStdString(), "");

  table->setCurrentCell(4, 0);
  boxes->expect("を削除します");
  key(Qt::Key_Delete);
  EXPECT_EQ(table->rowCount(), 4);
  boxes->expect("取り消します", "はい(&Y)");
  key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(table->rowCount(), 5);
  look("a deletion taken back");

  click("cmdSettei");
  boxes->expect("戻すバックアップを選んで");
  boxes->expect("のバックアップ（体重 5件）に戻します", "OK");
  boxes->expect("のバックアップに戻しました");
  click("cmdBackup");
  EXPECT_EQ(m->form("msgB1").cell(5, 2), "5.8Kg");
  look("a backup restored");

  // From the smallest window to a large screen: every mark and the day of today keep to the
  // layout's scale.
  for (const QSize size : {QSize(625, 424), QSize(2560, 1440)}) {
    window->resize(size);
    click("cmdMain");
    look("at " + std::to_string(size.width()) + "x" + std::to_string(size.height()));
    const QWidget* caption = w("Label1");
    for (const auto& c : m->form.controls())
      if (c->outlined()) {
        EXPECT_EQ(w(c->name())->font().pointSizeF(), caption->font().pointSizeF()) << "today's cell";
      }
    auto* box = qobject_cast<QCheckBox*>(w("Check3"));
    QStyleOptionButton option;
    option.initFrom(box);
    const int mark = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box).height();
    EXPECT_NEAR(mark, QFontMetrics(box->font()).height() * 0.75, QFontMetrics(box->font()).height() * 0.3)
        << "a check mark of " << mark << " beside text " << QFontMetrics(box->font()).height() << " high";
  }
}
