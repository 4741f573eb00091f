// Pictures of every page of the window, for checking the layout by eye at any screen size and
// scale factor:
//   xvfb-run -a -s "-screen 0 1600x1000x24" env QT_SCALE_FACTOR=1.5 build/window_shots DATA OUT
//       [WIDTHxHEIGHT] [dark] [clock=YYYY/MM/DD]
// DATA is a data folder (a copy: the run may write to it), OUT a folder for the pictures. The
// window is placed as the program places it; each page is shown in turn and the screen is saved as
// OUT/NN-page.png (the whole screen, so what lies off it shows too) and OUT/NN-page-window.png.
// `dark` gives the window a dark palette, as a dark desktop theme does; `clock` stops the clock on
// that day, for a folder written for it.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFont>
#include <QHeaderView>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <QTableWidget>
#include <QThread>
#include <filesystem>
#include <iostream>
#include <optional>

#include "app/frmMain.h"
#include "qt/main_window.h"
#include "qt/qt_dialogs.h"
#include "store/dates.h"

namespace {

// Boxes answer themselves, so nothing waits for a hand.
class QuietDialogs : public qt::QtDialogs {
 public:
  form::Answer MsgBox(const std::string&, const std::string&, form::Icon, form::Buttons b) override {
    return b == form::Buttons::YesNo ? form::Answer::No : form::Answer::OK;
  }
  form::Answer MsgBoxDefaultSecond(const std::string& t, const std::string& ti, form::Icon i,
                                   form::Buttons b) override {
    return MsgBox(t, ti, i, b);
  }
  std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  void showHelp(const std::string&) override {}
};

void settle() {
  for (int i = 0; i < 20; ++i) {
    QCoreApplication::processEvents();
    QThread::msleep(20);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: window_shots DATA_FOLDER OUT_FOLDER [WIDTHxHEIGHT] [dark] [clock=YYYY/MM/DD]\n";
    return 2;
  }
  QApplication app(argc, argv);
  QApplication::setStyle("Fusion");
  QSize size;
  std::optional<store::Date> day;
  for (int i = 3; i < argc; ++i) {
    const std::string arg = argv[i];
    int w = 0, h = 0;
    if (arg == "dark") {
      QPalette p;
      for (auto [role, rgb] : {std::pair{QPalette::Window, 0x31363b},
                               {QPalette::WindowText, 0xfcfcfc},
                               {QPalette::Base, 0x1b1e20},
                               {QPalette::AlternateBase, 0x232629},
                               {QPalette::Text, 0xfcfcfc},
                               {QPalette::Button, 0x31363b},
                               {QPalette::ButtonText, 0xfcfcfc},
                               {QPalette::Highlight, 0x3daee9}})
        p.setColor(role, QColor::fromRgb(static_cast<QRgb>(rgb)));
      QApplication::setPalette(p);
    } else if (arg.rfind("clock=", 0) == 0) {
      day = store::parseDate(arg.substr(6));
    } else if (std::sscanf(arg.c_str(), "%dx%d", &w, &h) == 2) {
      size = QSize(w, h);
    }
  }
  QFont font("Noto Sans CJK JP", 9);
  font.setStyleHint(QFont::SansSerif);
  QApplication::setFont(font);
  const QString out = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
  QDir().mkpath(out);
  QDir::setCurrent(QString::fromLocal8Bit(argv[1]));

  QuietDialogs dialogs;
  qt::QtClock clock;
  if (day) clock.fixed = store::DateTime{*day, 9, 0, 0};
  app::frmMain main(dialogs, clock);
  qt::MainWindow window(main);
  main.Form_Load();
  if (main.ended()) return 1;
  window.refresh();
  window.fitInto(QGuiApplication::primaryScreen()->availableGeometry());
  if (size.isValid()) window.resize(size);
  window.show();
  settle();
  const char* pages[] = {"cmdMain", "cmdTaijyu", "cmdSuii", "cmdManpo",   "cmdKintore",
                         "cmdEiyo", "cmdDiary",  "cmdMemo", "cmdBunseki", "cmdSettei"};
  int n = 0;
  for (const char* page : pages) {
    // How long the page takes to come up (a hidden page's lists and tables are filled now).
    QElapsedTimer switching;
    switching.start();
    main.Click(page);
    window.refresh();
    const double switchMs = switching.nsecsElapsed() / 1e6;
    settle();
    const QPixmap shot = window.screen()->grabWindow(0);
    const QString file = QString("%1/%2-%3.png").arg(out).arg(n++, 2, 10, QChar('0')).arg(page);
    shot.save(file);
    // The window alone too, as the README shows it.
    window.grab().save(QString("%1/%2-%3-window.png").arg(out).arg(n - 1, 2, 10, QChar('0')).arg(page));
    if (std::getenv("SHOTS_DEBUG"))
      for (const char* grid : {"msgB2", "msgB4"})
        if (auto* t = qobject_cast<QTableWidget*>(window.widget(grid)); t && t->isVisible()) {
          std::cout << grid << " font " << t->font().pointSizeF() << " size " << t->width() << "x" << t->height()
                    << " viewport " << t->viewport()->width() << "x" << t->viewport()->height() << " header "
                    << t->horizontalHeader()->height() << " row " << t->rowHeight(0) << " cols";
          for (int c = 0; c < t->columnCount(); ++c) std::cout << " " << t->columnWidth(c);
          std::cout << "\n";
        }
    std::cout << file.toStdString() << " window " << window.width() << "x" << window.height() << " scale "
              << window.scale() << " shown in " << switchMs << " ms\n";
  }
  // The weight chart with the running average and the trend line.
  main.Click("cmdMain");
  main.SetCheck("Check6", 1);
  main.SetCheck("Check7", 1);
  window.refresh();
  settle();
  window.screen()->grabWindow(0).save(QString("%1/%2-trend.png").arg(out).arg(n++, 2, 10, QChar('0')));
  // The daily weights over the last four weeks and over every record.
  main.SetCheck("Check3", 1);
  for (const char* span : {"Option4(0)", "Option4(3)"}) {
    main.Click(span);
    window.refresh();
    settle();
    window.grab().save(QString("%1/%2-%3-window.png").arg(out).arg(n++, 2, 10, QChar('0')).arg(span));
  }
  return 0;
}
