// The window's life: built, running one event at a time into the core, and ended.
#include "qt/main_window.h"

#include <QCloseEvent>

#include "qt/desktop.h"
#include "qt/first_frame.h"
#include "qt/qt_dialogs.h"
#include "qt/window_widgets.h"

namespace qt {

MainWindow::MainWindow(app::frmMain& m, QWidget* parent) : QMainWindow(parent), m_(m) {
  setObjectName("frmMain");
  setWindowTitle(q(m_.form.title()));
  build();
  m_.form.setBusyListener([this](bool) { applyBusy(); });
  // What the diary's first frame need not wait for follows it: the program's icon, and the day's
  // backup that a first start puts off.
  auto* whole = new WholeFrame(*this, [this] {
    useProgramIcon();
    if (m_.StartupBackupPending()) forward([this] { m_.FinishStartup(); });
  });
  whole->setParent(this);
  QCoreApplication::instance()->installEventFilter(whole);
  m_.PutOffStartupBackup(true);
  if (auto* dialogs = dynamic_cast<QtDialogs*>(&m_.dialogs)) {
    dialogs->setOwner(this);
    dialogs->setBeforeModal([this] {
      refresh();
      // Once start-up has shown the window (or a box asked for it early), boxes stand over it;
      // it is placed on the screen before it is first seen.
      if (!isVisible() && !m_.ended() && m_.form.windowShown()) {
        placeAsLastRun();
        show();
      }
    });
  }
}

MainWindow::~MainWindow() {
  m_.form.setBusyListener({});
  m_.PutOffStartupBackup(false);
  // The boxes may outlive the window; they must not call back into it.
  if (auto* dialogs = dynamic_cast<QtDialogs*>(&m_.dialogs)) {
    dialogs->setBeforeModal({});
    dialogs->setOwner(nullptr);
  }
}

MainWindow::Entry* MainWindow::entryOf(QObject* object) {
  auto it = byObject_.find(object);
  return it == byObject_.end() ? nullptr : &entries_[it->second];
}

namespace {
// Clears the window's in-event flag when the handler returns, also by an exception.
struct InEvent {
  bool& flag;
  ~InEvent() { flag = false; }
};
}  // namespace

void MainWindow::forward(const std::function<void()>& event) {
  // A handler runs to its end before the next event; only timers (a held scroll arrow) could
  // reach the window while one of its boxes is up.
  if (m_.ended() || finishing_ || inEvent_) return;
  {
    InEvent running{inEvent_ = true};
    event();
  }
  refresh();
  if (m_.ended()) finish();
}

void MainWindow::finish() {
  if (finishing_) return;
  finishing_ = true;
  savePlacement();
  m_.dialogs.closeHelp();
  close();
  emit quitRequested();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!finishing_) {
    // The user may choose to stay on an unsaved diary day. Not through forward(): the close box
    // leaves the help windows open.
    if (inEvent_) return event->ignore();
    bool ended = false;
    {
      InEvent running{inEvent_ = true};
      ended = m_.CloseWindow();
    }
    refresh();
    if (!ended) return event->ignore();
    finishing_ = true;
    savePlacement();
    emit quitRequested();
  }
  event->accept();
}

}  // namespace qt
