// The diary program: the window over the same core the driver runs.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QMessageBox>
#include <QStandardPaths>
#include <cstdio>
#include <memory>

#include "app/frmMain.h"
#include "store/data_folder.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_dialogs.h"
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
class CheckDialogs : public ui::Dialogs {
 public:
  ui::Answer MsgBox(const std::string& text, const std::string& title, ui::Icon, ui::Buttons buttons) override {
    std::fprintf(stderr, "[%s] %s\n", title.c_str(), text.c_str());
    return buttons == ui::Buttons::OK ? ui::Answer::OK
                                      : (buttons == ui::Buttons::YesNo ? ui::Answer::No : ui::Answer::Cancel);
  }
  std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  void showHelp(const std::string&) override {}
  void closeHelp() override {}
};

int runCheck(const QString& folder, const QString& help) {
  CheckDialogs dialogs;
  ui::qt::QtClock clock;
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

bool wantsNoWindow(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const QString a = QString::fromLocal8Bit(argv[i]);
    if (a == "--check" || a == "--help" || a == "-h" || a == "--help-all" || a == "--version" || a == "-v") return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
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
  parser.addOption(dataOption);
  parser.addOption(checkOption);
  parser.process(*app);

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
  if (parser.isSet(checkOption)) return runCheck(folder, helpFolder(programFolder));

  QApplication::setStyle("Fusion");
  QFont font("Noto Sans CJK JP", 9);
  font.setStyleHint(QFont::SansSerif);
  QApplication::setFont(font);
  QApplication::setQuitOnLastWindowClosed(false);

  ui::qt::QtDialogs dialogs;
  dialogs.setHelpFolder(helpFolder(programFolder));
  ui::qt::QtClock clock;
  app::frmMain main(dialogs, clock);
  main.DataFolder = QDir::toNativeSeparators(folder).toStdString();
  ui::qt::MainWindow window(main);
  QObject::connect(&window, &ui::qt::MainWindow::quitRequested, app.get(), &QCoreApplication::quit,
                   Qt::QueuedConnection);

  main.Form_Load();
  if (main.ended()) return 1;
  window.refresh();
  window.restorePlacement();
  window.show();
  return app->exec();
}
