#pragma once
// One window per data folder. The first program on a folder listens on a local socket named from
// the folder's path; a later start on the same folder asks it to bring its window forward and
// ends, instead of meeting the folder's lock. The folder's own lock still keeps every other
// program (the driver, a second user) out.
#include <QObject>
#include <QString>

class QSocketNotifier;
class QWidget;

namespace qt {

class SingleInstance : public QObject {
  Q_OBJECT
 public:
  // `folder`: the data folder, which exists.
  explicit SingleInstance(const QString& folder, QObject* parent = nullptr);
  ~SingleInstance() override;

  // True when no other program of this user holds the folder: this one then answers later
  // starts. False when another does. Where no private place for the socket can be had, true
  // without listening.
  bool claim();
  // Asks the program holding the folder to show its window; true once it has said so, false when
  // it did not answer within `waitMs`.
  bool askToShow(int waitMs = 5000);

  // The socket's path: a hash of the folder's real path in the user's runtime folder (empty when
  // there is none).
  static QString serverName(const QString& folder);

 signals:
  void showRequested();

 private:
  void answer();
  void readFrom(int fd);

  QString name_;
  int lockFd_ = -1;
  // A plain socket watched by the event loop: Qt's network module would be loaded at every
  // start for this alone.
  int serverFd_ = -1;
  QSocketNotifier* server_ = nullptr;
};

// Brings `window` forward: out of the minimised state, raised and activated; a modal box that
// is open goes in front of it.
void bringForward(QWidget& window);

}  // namespace qt
