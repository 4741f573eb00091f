// How the program meets the desktop: Qt's own words in Japanese, and a second start on a folder
// whose window is open.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTranslator>
#include <cstring>
#include <memory>

#include "qt/desktop.h"
#include "qt/single_instance.h"
#include "support/temp_folder.h"

namespace {

QApplication& application() {
  if (auto* running = qobject_cast<QApplication*>(QCoreApplication::instance())) return *running;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "zorvel_qt_tests";
  static char* argv[] = {name, nullptr};
  return *new QApplication(argc, argv);  // never destroyed, as in the other Qt tests
}

QStringList texts(const QList<QPushButton*>& buttons) {
  QStringList out;
  for (const QPushButton* b : buttons) out << b->text();
  return out;
}

// What a program killed on the folder leaves: a socket file nobody listens on.
void leaveDeadSocket(const QString& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof address.sun_path - 1);
  ::unlink(address.sun_path);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0) << path.toStdString();
  ::listen(fd, 1);
  ::close(fd);
}

}  // namespace

TEST(QtWords, FileChooserAndContextMenuAreJapanese) {
  QApplication& app = application();
  std::unique_ptr<QTranslator> translator(qt::installQtJapanese(app));
  ASSERT_TRUE(translator) << "Qt's Japanese translation is missing (qt6-translations-l10n)";

  QFileDialog chooser;
  chooser.setOption(QFileDialog::DontUseNativeDialog);
  const QStringList buttons = texts(chooser.findChildren<QPushButton*>());
  EXPECT_TRUE(buttons.contains("開く(&O)")) << buttons.join(" / ").toStdString();
  EXPECT_TRUE(buttons.contains("キャンセル")) << buttons.join(" / ").toStdString();

  QLineEdit edit("65.3");
  const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
  QStringList items;
  for (const QAction* a : menu->actions())
    if (!a->isSeparator()) items << a->text().section('\t', 0, 0);
  EXPECT_EQ(items, QStringList({"元に戻す(&U)", "やり直す(&R)", "切り取り(&T)", "コピー(&C)", "貼り付け(&P)", "削除",
                                "すべてを選択"}));
  QCoreApplication::removeTranslator(translator.get());
}

TEST(SecondStart, BringsTheOpenWindowForwardAndEndsQuietly) {
  application();
  testing_support::TempFolder dir, runtime;
  dir.writeMinimalDiary();  // the help tour off: a second start that opened a window would end at once
  const QString folder = QString::fromStdString(dir.path());
  // The session's private runtime folder, where both programs meet.
  qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime.path()));

  // The first program on the folder was killed: its socket is still there, and is taken over.
  leaveDeadSocket(qt::SingleInstance::serverName(folder));
  auto first = std::make_unique<qt::SingleInstance>(folder);
  ASSERT_TRUE(first->claim());
  QWidget window;
  window.show();
  window.setWindowState(Qt::WindowMinimized);
  int asked = 0;
  QObject::connect(first.get(), &qt::SingleInstance::showRequested, &window, [&] {
    ++asked;
    qt::bringForward(window);
  });

  // The same folder by another path is the same folder.
  QProcess second;
  second.start(ZORVEL_EXE, {"--data", folder + "/.", "--quit-after-show"});
  const QDeadlineTimer deadline(30000);
  while (second.state() != QProcess::NotRunning && !deadline.hasExpired())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  ASSERT_EQ(second.state(), QProcess::NotRunning) << "the second start did not end within 30 s";
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_EQ(second.readAllStandardOutput().toStdString(), "");  // no window of its own
  EXPECT_EQ(second.readAllStandardError().toStdString(), "");
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(window.isMinimized());

  // While the first holds the folder, nobody else claims it; once it ends, the next one does.
  EXPECT_FALSE(qt::SingleInstance(folder).claim());
  first.reset();
  EXPECT_TRUE(qt::SingleInstance(folder).claim());
  // Anything but a socket where the socket goes is not the program's to remove.
  const QString path = qt::SingleInstance::serverName(folder);
  {
    QFile placed(path);
    ASSERT_TRUE(placed.open(QIODevice::WriteOnly));
    placed.write("mine");
  }
  EXPECT_TRUE(qt::SingleInstance(folder).claim());
  QFile kept(path);
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  EXPECT_EQ(kept.readAll(), "mine");
}
