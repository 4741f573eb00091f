// The diary program: the window over the same core the driver runs.
#include <fontconfig/fontconfig.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <thread>

#include "app/frmMain.h"
#include "qt/desktop.h"
#include "qt/first_frame.h"
#include "qt/main_window.h"
#include "qt/qt_dialogs.h"
#include "qt/single_instance.h"
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
    // The help tour greets a person at a window; a check has neither.
    if (title == "ヘルプツアー") return form::Answer::OK;
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

// The program's options. The test-only ones are left out of --help.
struct Options {
  QCommandLineOption data{"data",
                          "日記のデータフォルダ DIR を使う（なければ作る）。省略時は $ZORVEL_DATA、プログラムのフォルダ"
                          "（ﾌﾟﾗｲﾍﾞｰﾄ.txt があるとき）、ユーザーのデータフォルダの順。",
                          "DIR"};
  QCommandLineOption check{"check", "ウィンドウを開かずにデータフォルダを読み込んで確かめ、終了する。"};
  QCommandLineOption clock{"clock", "時計を \"YYYY/MM/DD hh:mm:ss\" に止める（試験とベンチマーク用）。", "TIME"};
  QCommandLineOption quitAfterShow{
      "quit-after-show", "ウィンドウの最初の表示が済んだら終了し、起動からの時間を表示する（ベンチマーク用）。"};
  // Our own, for a Japanese description: Qt's translation has none for its help option.
  QCommandLineOption help{QStringList{"h", "help"}, "このヘルプを表示して終了する。"};
  QCommandLineOption version{QStringList{"v", "version"}};

  explicit Options(QCommandLineParser& parser) {
    // Single-dash words as Qt's own options are written (-platform, -style).
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription("Zorvel — ダイエット日記");
    parser.addOption(help);
    version = parser.addVersionOption();
    clock.setFlags(QCommandLineOption::HiddenFromHelp);
    quitAfterShow.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({data, check, clock, quitAfterShow});
  }
};

// Qt's own options for a window (-platform, -style ...), which QApplication takes out of argv.
bool qtWindowOption(const QString& name) {
  static const QStringList names = {"platform",
                                    "platformpluginpath",
                                    "platformtheme",
                                    "plugin",
                                    "qwindowgeometry",
                                    "qwindowicon",
                                    "qwindowtitle",
                                    "reverse",
                                    "session",
                                    "style",
                                    "stylesheet",
                                    "widgetcount",
                                    "display",
                                    "geometry",
                                    "name",
                                    "title",
                                    "visual",
                                    "nograb",
                                    "dograb",
                                    "sync"};
  return names.contains(name);
}

// Read before any display is opened: --help, --version, --check and a wrong option need none.
bool wantsWindow(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  QCommandLineParser parser;
  const Options options(parser);
  if (!parser.parse(arguments)) {
    const QStringList unknown = parser.unknownOptionNames();
    if (unknown.isEmpty() || !std::all_of(unknown.begin(), unknown.end(), qtWindowOption)) return false;
  }
  return !parser.isSet(options.help) && !parser.isSet(options.version) && !parser.isSet(options.check);
}

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer since;
  since.start();
  QCoreApplication::setApplicationName("Zorvel");
  QCoreApplication::setApplicationVersion(ZORVEL_VERSION);
  const bool withWindow = wantsWindow(argc, argv);
  // Reading the font configuration takes milliseconds, and connecting to the display leaves the
  // program waiting for longer: the one goes on meanwhile on a second thread (fontconfig is
  // thread-safe), so the window's first text finds it read.
  std::thread fonts;
  if (withWindow) fonts = std::thread([] { FcInit(); });
  std::unique_ptr<QCoreApplication> app =
      withWindow ? std::make_unique<QApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
  if (fonts.joinable()) fonts.join();
  // Before the command line is read, so that its help and errors are Japanese too.
  qt::installQtJapanese(*app);

  QCommandLineParser parser;
  const Options options(parser);
  parser.process(*app);
  if (parser.isSet(options.help)) parser.showHelp(0);
  std::optional<store::DateTime> fixedClock;
  if (parser.isSet(options.clock)) {
    fixedClock = parseClock(parser.value(options.clock));
    if (!fixedClock) {
      std::fprintf(stderr, "--clock: \"YYYY/MM/DD hh:mm:ss\" の形で指定してください\n");
      return 2;
    }
  }

  const QString programFolder = QCoreApplication::applicationDirPath();
  std::optional<std::string> fromCommandLine, fromEnvironment;
  if (parser.isSet(options.data)) fromCommandLine = parser.value(options.data).toStdString();
  if (qEnvironmentVariableIsSet("ZORVEL_DATA")) fromEnvironment = qEnvironmentVariable("ZORVEL_DATA").toStdString();
  const store::DataFolderChoice choice =
      store::chooseDataFolder(fromCommandLine, fromEnvironment, programFolder.toStdString(),
                              QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString());
  const QString folder = QDir(QString::fromStdString(choice.folder)).absolutePath();
  const QString seed = seedFolder(programFolder);
  std::optional<std::string> problem;
  if (!QFileInfo::exists(folder + "/" + store::kProfileFileName) && !QFileInfo(seed).isDir())
    // A new diary needs the sample; without it start-up would only fail on the empty folder.
    problem = words::sampleNotPrepared(folder.toStdString(), words::sampleFolderMissing(seed.toStdString()));
  else
    problem = store::prepareDataFolder(folder.toStdString(), seed.toStdString());
  if (problem) {
    const QString text = QString::fromStdString(*problem + words::kProgramEnds);
    if (!withWindow) {
      std::fprintf(stderr, "%s\n", qPrintable(text));
    } else {
      qt::useProgramIcon();
      QMessageBox box(QMessageBox::Critical, words::kStartupErrorTitle, text, QMessageBox::Ok);
      box.exec();
    }
    return 1;
  }
  // The data files are opened by bare name in the data folder.
  QDir::setCurrent(folder);
  if (parser.isSet(options.check)) return runCheck(folder, helpFolder(programFolder), fixedClock);

  // A second start on the folder brings the first one's window forward and ends quietly. When
  // the first does not answer, start-up goes on and meets the folder's lock with its message.
  qt::SingleInstance instance(folder);
  if (!instance.claim() && instance.askToShow()) return 0;

  QGuiApplication::setDesktopFileName(qt::kDesktopId);
  QApplication::setStyle("Fusion");
  // The window's layout is drawn for 9 points and scales as a whole, fonts included, to the
  // space it is given; boxes, choosers, menus and the help window take the desktop's size.
  const QFont desktop = qt::programFont(QApplication::font());
  QFont design = desktop;
  design.setPointSizeF(9);
  QApplication::setFont(design);
  for (const char* ownWindow : {"QDialog", "QMenu", "qt::HelpWindow"}) QApplication::setFont(desktop, ownWindow);
  QApplication::setQuitOnLastWindowClosed(false);

  qt::QtDialogs dialogs;
  dialogs.setHelpFolder(helpFolder(programFolder));
  qt::QtClock clock;
  clock.fixed = fixedClock;
  app::frmMain main(dialogs, clock);
  main.DataFolder = QDir::toNativeSeparators(folder).toStdString();
  qt::MainWindow window(main);
  QObject::connect(&window, &qt::MainWindow::quitRequested, app.get(), &QCoreApplication::quit, Qt::QueuedConnection);
  QObject::connect(&instance, &qt::SingleInstance::showRequested, &window, [&window] { qt::bringForward(window); });

  main.Form_Load();
  if (main.ended()) return 1;
  window.refresh();
  const bool timed = parser.isSet(options.quitAfterShow);
  qt::FirstFrame first(window, since);
  if (timed) {
    // Always the same place, and the user's remembered placement stays as it was.
    if (const QScreen* primary = QGuiApplication::primaryScreen()) window.fitInto(primary->availableGeometry());
    app->installEventFilter(&first);
  } else {
    window.restorePlacement();
  }
  window.show();
  const int code = app->exec();
  // Ended before the window was painted: the day's backup is still made.
  main.FinishStartup();
  return code;
}
