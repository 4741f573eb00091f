#pragma once
// What the desktop expects of a program: Qt's own words in the program's language, the program's
// name and icon as its desktop entry gives them, and the user's font.
#include <QFont>
#include <QIcon>
#include <QString>

class QCoreApplication;
class QTranslator;

namespace qt {

// The desktop entry's name without ".desktop", also the icon's name in the icon theme.
inline constexpr const char* kDesktopId = "org.zorvel.Zorvel";

// Loads Qt's Japanese translation into `app`: the window speaks Japanese whatever the locale, so
// the file choosers, the text boxes' context menus and the command line's help must too. Null
// when the translation is not installed; Qt then keeps its English.
QTranslator* installQtJapanese(QCoreApplication& app);

// The window icon: the SVG installed beside the program, else the icon theme's, else the smiling
// face drawn by the program itself (no SVG support, or a program folder moved on its own).
QIcon programIcon(const QString& programFolder);

// Gives every window the program's icon, unless it has it already. Drawing it for the window
// manager takes milliseconds (an SVG at several sizes), so the main window calls this once its
// first frame is whole, and a box before it is shown.
void useProgramIcon();

// The user's desktop font at the user's size; its family only where it can show Japanese, else
// Noto Sans CJK JP.
QFont programFont(const QFont& desktop);

}  // namespace qt
