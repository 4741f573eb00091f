#pragma once
// When the window's first frame is painted in full. A chart may lay itself out after the window's
// first paint and paint again; the frame counts as whole once the event loop has gone round
// twice with nothing more painted.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <functional>
#include <utility>

namespace qt {

// Installed as an event filter of the application, calls `whole` once, when the frame of
// `window` that a paint began is whole; then it no longer filters.
class WholeFrame : public QObject {
 public:
  WholeFrame(QWidget& window, std::function<void()> whole) : window_(window), whole_(std::move(whole)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!done_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == &window_) {
      painted_ = true;
      if (!polling_) {
        polling_ = true;
        QTimer::singleShot(0, this, [this] { poll(); });
      }
    }
    return false;
  }
  // At each round of the event loop that found something painted since the last.
  virtual void repainted() {}

 private:
  void poll() {
    if (painted_) {
      painted_ = false;
      quiet_ = 0;
      repainted();
    } else if (++quiet_ == 2) {
      done_ = true;
      QCoreApplication::instance()->removeEventFilter(this);
      whole_();
      return;
    }
    QTimer::singleShot(0, this, [this] { poll(); });
  }

  QWidget& window_;
  std::function<void()> whole_;
  bool painted_ = false, polling_ = false, done_ = false;
  int quiet_ = 0;
};

// --quit-after-show and the window benchmark's reference: the whole first frame ends the run and
// prints "first-frame-ms N", the time since main() began until its last paint, and
// "first-frame-size WxH", the window's size then.
class FirstFrame : public WholeFrame {
 public:
  FirstFrame(QWidget& window, const QElapsedTimer& since)
      : WholeFrame(window,
                   [this, &window] {
                     std::printf("first-frame-ms %.3f\nfirst-frame-size %dx%d\n", doneMs_, window.width(),
                                 window.height());
                     std::fflush(stdout);
                     QCoreApplication::quit();
                   }),
        since_(since) {}

 protected:
  void repainted() override { doneMs_ = since_.nsecsElapsed() / 1e6; }

 private:
  const QElapsedTimer& since_;
  double doneMs_ = 0;
};

}  // namespace qt
