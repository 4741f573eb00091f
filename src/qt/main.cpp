// The diary program: the window over the same core the driver runs.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFont>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "app/frmMain.h"
#include "qt/first_frame.h"
#include "qt/main_window.h"
#include "qt/qt_dialogs.h"
#include "store/data_folder.h"
#include "store/dates.h"
#include "words/messages.h"

namespace {

constexpr const char* kHelpFile = "ZorvelHelp.html";

// Beside the program (the build's program folder), else where an installation keeps it.
QString helpFolder(const QString& programFolder) {
  if (QFileInfo::exists(programFolder + "/" + kHelpFile)) return programFolder;
  return QDir::cleanPath(programFolder + "/../share/zorvel");
}

QString seedFolder(const QString& programFolder) { return QDir::cleanPath(programFolder + "/../share/zorvel/sample"); }

// --check: no window; every box goes to standard error and is answered the safe way.
class CheckDialogs : public form::Dialogs {
 public:
  form::Answer MsgBox(const std::string& text, const std::string& title, form::Icon, form::Buttons buttons) override {
    std::fprintf(stderr, "[%s] %s\n", title.c_str(), text.c_str());
    return buttons == form::Buttons::OK ? form::Answer::OK
                                        : (buttons == form::Buttons::YesNo ? form::Answer::No : form::Answer::Cancel);
  }
  std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  void showHelp(const std::string&) override {}
  void closeHelp() override {}
};

int runCheck(const QString& folder, const QString& help, const std::optional<store::DateTime>& fixedClock) {
  CheckDialogs dialogs;
  qt::QtClock clock;
  clock.fixed = fixedClock;
  app::frmMain main(dialogs, clock);
  main.DataFolder = QDir::toNativeSeparators(folder).toStdString();
  main.Form_Load();
  if (main.ended()) return 1;
  const QString helpPath = help + "/" + QString::fromStdString(main.HelpFileName);
  if (!QFileInfo::exists(helpPath)) {
    std::fprintf(stderr, "ヘルプファイルが見つかりません: %s\n", qPrintable(helpPath));
    return 1;
  }
  std::printf("データフォルダ: %s\nヘルプ: %s\n体重: %d件\nサンプルモード: %s\n", main.DataFolder.c_str(),
              qPrintable(QDir::toNativeSeparators(helpPath)), main.Weight.WeightCount,
              main.SampleMode ? "はい" : "いいえ");
  return 0;
}

// "YYYY/MM/DD hh:mm:ss" (the time may be left out: 00:00:00).
std::optional<store::DateTime> parseClock(const QString& text) {
  const QStringList parts = text.simplified().split(' ');
  if (parts.isEmpty() || parts.size() > 2) return std::nullopt;
  const std::optional<store::Date> date = store::parseDate(parts[0].toStdString());
  if (!date) return std::nullopt;
  store::DateTime at{*date, 0, 0, 0};
  if (parts.size() == 2) {
    const QStringList hms = parts[1].split(':');
    bool ok[3] = {false, false, false};
    if (hms.size() != 3) return std::nullopt;
    at.hour = hms[0].toInt(&ok[0]);
    at.minute = hms[1].toInt(&ok[1]);
    at.second = hms[2].toInt(&ok[2]);
    if (!ok[0] || !ok[1] || !ok[2] || at.hour < 0 || at.hour > 23 || at.minute < 0 || at.minute > 59 || at.second < 0 ||
        at.second > 59)
      return std::nullopt;
  }
  return at;
}

bool wantsNoWindow(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const QString a = QString::fromLocal8Bit(argv[i]);
    if (a == "--check" || a == "--help" || a == "-h" || a == "--help-all" || a == "--version" || a == "-v") return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer since;
  since.start();
  QCoreApplication::setApplicationName("Zorvel");
  QCoreApplication::setApplicationVersion(ZORVEL_VERSION);
  const bool noWindow = wantsNoWindow(argc, argv);
  std::unique_ptr<QCoreApplication> app =
      noWindow ? std::make_unique<QCoreApplication>(argc, argv) : std::make_unique<QApplication>(argc, argv);

  QCommandLineParser parser;
  parser.setApplicationDescription("Zorvel — ダイエット日記");
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption dataOption(
      "data",
      "日記のデータフォルダ DIR を使う（なければ作る）。省略時は $ZORVEL_DATA、プログラムのフォルダ"
      "（ﾌﾟﾗｲﾍﾞｰﾄ.txt があるとき）、ユーザーのデータフォルダの順。",
      "DIR");
  const QCommandLineOption checkOption("check", "ウィンドウを開かずにデータフォルダを読み込んで確かめ、終了する。");
  const QCommandLineOption clockOption("clock", "時計を \"YYYY/MM/DD hh:mm:ss\" に止める（試験とベンチマーク用）。",
                                       "TIME");
  const QCommandLineOption quitOption(
      "quit-after-show", "ウィンドウの最初の表示が済んだら終了し、起動からの時間を表示する（ベンチマーク用）。");
  parser.addOption(dataOption);
  parser.addOption(checkOption);
  parser.addOption(clockOption);
  parser.addOption(quitOption);
  parser.process(*app);
  std::optional<store::DateTime> fixedClock;
  if (parser.isSet(clockOption)) {
    fixedClock = parseClock(parser.value(clockOption));
    if (!fixedClock) {
      std::fprintf(stderr, "--clock: \"YYYY/MM/DD hh:mm:ss\" の形で指定してください\n");
      return 2;
    }
  }

  const QString programFolder = QCoreApplication::applicationDirPath();
  std::optional<std::string> fromCommandLine, fromEnvironment;
  if (parser.isSet(dataOption)) fromCommandLine = parser.value(dataOption).toStdString();
  if (qEnvironmentVariableIsSet("ZORVEL_DATA")) fromEnvironment = qEnvironmentVariable("ZORVEL_DATA").toStdString();
  const store::DataFolderChoice choice =
      store::chooseDataFolder(fromCommandLine, fromEnvironment, programFolder.toStdString(),
                              QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString());
  const QString folder = QDir(QString::fromStdString(choice.folder)).absolutePath();
  const std::optional<std::string> problem =
      store::prepareDataFolder(folder.toStdString(), seedFolder(programFolder).toStdString());
  if (problem) {
    const QString text = QString::fromStdString(*problem + words::kProgramEnds);
    if (noWindow) {
      std::fprintf(stderr, "%s\n", qPrintable(text));
    } else {
      QMessageBox box(QMessageBox::Critical, words::kStartupErrorTitle, text, QMessageBox::Ok);
      box.exec();
    }
    return 1;
  }
  // The data files are opened by bare name in the data folder.
  QDir::setCurrent(folder);
  if (parser.isSet(checkOption)) return runCheck(folder, helpFolder(programFolder), fixedClock);

  QApplication::setStyle("Fusion");
  QFont font("Noto Sans CJK JP", 9);
  font.setStyleHint(QFont::SansSerif);
  QApplication::setFont(font);
  QApplication::setQuitOnLastWindowClosed(false);

  qt::QtDialogs dialogs;
  dialogs.setHelpFolder(helpFolder(programFolder));
  qt::QtClock clock;
  clock.fixed = fixedClock;
  app::frmMain main(dialogs, clock);
  main.DataFolder = QDir::toNativeSeparators(folder).toStdString();
  qt::MainWindow window(main);
  QObject::connect(&window, &qt::MainWindow::quitRequested, app.get(), &QCoreApplication::quit, Qt::QueuedConnection);

  main.Form_Load();
  if (main.ended()) return 1;
  window.refresh();
  const bool timed = parser.isSet(quitOption);
  qt::FirstFrame first(window, since);
  if (timed) {
    // Always the same place, and the user's remembered placement stays as it was.
    if (const QScreen* primary = QGuiApplication::primaryScreen()) window.fitInto(primary->availableGeometry());
    app->installEventFilter(&first);
  } else {
    window.restorePlacement();
  }
  window.show();
  return app->exec();
}
