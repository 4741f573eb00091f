// The diary program: the window over the same core the driver runs.
#include <QApplication>
#include <QDir>
#include <QFont>

#include "app/frmMain.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_dialogs.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setStyle("Fusion");
  QFont font("Noto Sans CJK JP", 9);
  font.setStyleHint(QFont::SansSerif);
  QApplication::setFont(font);
  QApplication::setQuitOnLastWindowClosed(false);

  // The data files live beside the program.
  QDir::setCurrent(QCoreApplication::applicationDirPath());

  ui::qt::QtDialogs dialogs;
  ui::qt::QtClock clock;
  app::frmMain main(dialogs, clock);
  ui::qt::MainWindow window(main);
  QObject::connect(&window, &ui::qt::MainWindow::quitRequested, &app, &QCoreApplication::quit, Qt::QueuedConnection);

  main.Form_Load();
  if (main.ended()) return 1;
  window.refresh();
  window.restorePlacement();
  window.show();
  return app.exec();
}
