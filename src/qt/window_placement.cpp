// Placement and scaling: the layout's one scale factor, the window fitted to a screen, and its
// size and position remembered between runs.
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <algorithm>
#include <cmath>

#include "qt/main_window.h"
#include "qt/window_widgets.h"

namespace qt {

namespace {
constexpr const char* kSpanKey = "chart/weightSpan";
}  // namespace

int toPixels(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }

double fitScale(QSize natural, QSize space) {
  if (natural.isEmpty()) return 1.0;
  const double s = std::min(static_cast<double>(space.width()) / natural.width(),
                            static_cast<double>(space.height()) / natural.height());
  return std::max(kMinScale, s);
}

int MainWindow::px(int twips) const { return static_cast<int>(std::lround(twips * scale_ / kTwipsPerPixel)); }

void MainWindow::showEvent(QShowEvent* event) {
  shown_ = true;
  QMainWindow::showEvent(event);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  layoutCanvas();
}

void MainWindow::layoutCanvas() {
  const QSize space = host_->size();
  setScale(fitScale(natural_, space));
  const QSize used = canvas_->size();
  canvas_->move(std::max(0, (space.width() - used.width()) / 2), std::max(0, (space.height() - used.height()) / 2));
}

void MainWindow::setScale(double scale) {
  if (std::abs(scale - scale_) < 1e-4) return;
  scale_ = scale;
  QFont font = baseFont_;
  font.setPointSizeF(baseFont_.pointSizeF() * scale_);
  canvas_->setFont(font);
  indicators_->setScale(scale_);
  canvas_->setFixedSize(static_cast<int>(std::lround(natural_.width() * scale_)),
                        static_cast<int>(std::lround(natural_.height() * scale_)));
  for (Entry& e : entries_) e.dirty = true;
  refresh();
}

void MainWindow::fitInto(const QRect& available) {
  // Placed by the caller: the placement of the last run stays as it was.
  remember_ = false;
  placeOn(available);
}

void MainWindow::placeOn(const QRect& available) {
  placed_ = true;
  // Before the first show the frame is unknown; leave room for a usual title bar and border.
  const QSize frame = isVisible() ? frameGeometry().size() - size() : QSize(16, 40);
  const QSize room = available.size() - frame;
  // The layout is drawn for 9 points: a desktop with a larger font opens a larger window.
  const double desktopPoints = QApplication::font("QDialog").pointSizeF();
  QSize size = desktopPoints > 0 ? natural_ * std::max(kMinScale, desktopPoints / 9.0) : natural_;
  if (size.width() > room.width() || size.height() > room.height()) {
    const double s = fitScale(natural_, room);
    size = QSize(static_cast<int>(natural_.width() * s), static_cast<int>(natural_.height() * s));
  }
  resize(size);
  const QSize outer = size + frame;
  move(available.x() + std::max(0, (available.width() - outer.width()) / 2),
       available.y() + std::max(0, (available.height() - outer.height()) / 2));
}

void MainWindow::restorePlacement() {
  placeAsLastRun();
  restoreChoices();
}

void MainWindow::placeAsLastRun() {
  // A box during start-up may have needed the window, and placed it before showing it.
  if (placed_) return;
  placed_ = remember_ = true;
  const QSettings settings(QSettings::IniFormat, QSettings::UserScope, "Zorvel", "zorvel");
  const QByteArray saved = settings.value("window/geometry").toByteArray();
  if (!saved.isEmpty() && restoreGeometry(saved)) {
    // A size from a larger screen than today's is fitted again.
    const QScreen* now = screen();
    if (now && now->availableGeometry().contains(frameGeometry())) return;
  }
  if (const QScreen* primary = QGuiApplication::primaryScreen()) placeOn(primary->availableGeometry());
}

// The weight chart's span of days, as the last run left it.
void MainWindow::restoreChoices() {
  if (choicesRestored_) return;
  choicesRestored_ = true;
  const QSettings settings(QSettings::IniFormat, QSettings::UserScope, "Zorvel", "zorvel");
  bool ok = false;
  const int span = settings.value(kSpanKey).toInt(&ok);
  const std::string option = "Option4(" + std::to_string(span) + ")";
  if (ok && m_.form.has(option) && m_.form(option).value() == 0) forward([this, option] { m_.Click(option); });
}

void MainWindow::savePlacement() {
  if (!remember_) return;
  QSettings settings(QSettings::IniFormat, QSettings::UserScope, "Zorvel", "zorvel");
  settings.setValue("window/geometry", saveGeometry());
  for (int i = 0; m_.form.has("Option4(" + std::to_string(i) + ")"); ++i)
    if (m_.form("Option4", i).value() == 1) settings.setValue(kSpanKey, i);
}
}  // namespace qt
