#pragma once
// --quit-after-show and the window benchmark's reference: the first paint of the window, once it
// has finished, ends the run and prints "first-frame-ms N", the time since main() began.
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
    if (!done_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == &window_) {
      done_ = true;
      QTimer::singleShot(0, qApp, [this] {
        std::printf("first-frame-ms %.3f\n", since_.nsecsElapsed() / 1e6);
        std::fflush(stdout);
        QCoreApplication::quit();
      });
    }
    return false;
  }

 private:
  QWidget& window_;
  const QElapsedTimer& since_;
  bool done_ = false;
};

}  // namespace qt
