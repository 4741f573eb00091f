#pragma once
// --quit-after-show and the window benchmark's reference: the first frame of the window, once it
// is painted in full, ends the run and prints "first-frame-ms N", the time since main() began, and
// "first-frame-size WxH", the window's size then.
// A chart lays itself out after the window's first paint and paints again; the frame counts as
// painted once the event loop has gone round twice with nothing more painted.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace qt {

class FirstFrame : public QObject {
 public:
  FirstFrame(QWidget& window, const QElapsedTimer& since) : window_(window), since_(since) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == &window_) {
      painted_ = true;
      if (!polling_) {
        polling_ = true;
        QTimer::singleShot(0, this, [this] { poll(); });
      }
    }
    return false;
  }

 private:
  void poll() {
    if (painted_) {
      painted_ = false;
      quiet_ = 0;
      doneMs_ = since_.nsecsElapsed() / 1e6;
    } else if (++quiet_ == 2) {
      std::printf("first-frame-ms %.3f\nfirst-frame-size %dx%d\n", doneMs_, window_.width(), window_.height());
      std::fflush(stdout);
      QCoreApplication::quit();
      return;
    }
    QTimer::singleShot(0, this, [this] { poll(); });
  }

  QWidget& window_;
  const QElapsedTimer& since_;
  bool painted_ = false, polling_ = false;
  int quiet_ = 0;
  double doneMs_ = 0;
};

}  // namespace qt
