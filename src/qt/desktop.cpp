#include "qt/desktop.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "qt/pictures.h"

namespace qt {

QTranslator* installQtJapanese(QCoreApplication& app) {
  auto* translator = new QTranslator(&app);
  if (!translator->load("qtbase_ja", QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
      !QCoreApplication::installTranslator(translator)) {
    delete translator;
    return nullptr;
  }
  return translator;
}

QIcon programIcon(const QString& programFolder) {
  // The theme lookup and the SVG file both need Qt's SVG support; a pixmap proves it is there.
  const auto drawable = [](const QIcon& icon) { return !icon.isNull() && !icon.pixmap(32, 32).isNull(); };
  // Our own file beside the program first: looking through the icon themes costs milliseconds
  // of every start, before the window can show.
  const QString installed =
      QDir::cleanPath(programFolder + "/../share/icons/hicolor/scalable/apps/" + kDesktopId + ".svg");
  if (QFileInfo::exists(installed)) {
    const QIcon fromFile(installed);
    if (drawable(fromFile)) return fromFile;
  }
  const QIcon themed = QIcon::fromTheme(kDesktopId);
  if (drawable(themed)) return themed;
  return pictureIcon("smile", 256);
}

void useProgramIcon() {
  if (QGuiApplication::windowIcon().isNull())
    QGuiApplication::setWindowIcon(programIcon(QCoreApplication::applicationDirPath()));
}

QFont programFont(const QFont& desktop) {
  QFont font = desktop;
  if (!QFontDatabase::writingSystems(QFontInfo(desktop).family()).contains(QFontDatabase::Japanese)) {
    font.setFamilies({"Noto Sans CJK JP"});
    font.setStyleHint(QFont::SansSerif);
  }
  return font;
}

}  // namespace qt
