#include "qt/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>
#include <algorithm>
#include <cerrno>

namespace qt {
namespace {

constexpr char kShow[] = "show\n";
constexpr char kShown[] = "shown\n";
constexpr qint64 kLongestLine = 64;

bool privateFolder(const QByteArray& path) {
  struct stat st;
  return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
         (st.st_mode & 077) == 0;
}

// The session's runtime folder, else a private one of ours in the temporary folder (su, a bare X
// server); empty when neither is this user's alone, so no one else can pose as the program.
QString runtimeFolder() {
  const QByteArray session = qgetenv("XDG_RUNTIME_DIR");
  if (!session.isEmpty() && privateFolder(session)) return QFile::decodeName(session);
  const QByteArray own = QFile::encodeName(QDir::tempPath()) + "/zorvel-" + QByteArray::number(::getuid());
  ::mkdir(own.constData(), 0700);
  return privateFolder(own) ? QFile::decodeName(own) : QString();
}

}  // namespace

SingleInstance::SingleInstance(const QString& folder, QObject* parent) : QObject(parent), name_(serverName(folder)) {}

SingleInstance::~SingleInstance() {
  // The socket goes before the lock, so the next program never finds a live lock without it.
  if (server_) server_->close();
  if (lockFd_ >= 0) ::close(lockFd_);
}

QString SingleInstance::serverName(const QString& folder) {
  const QString runtime = runtimeFolder();
  if (runtime.isEmpty()) return {};
  // The real path, so that a folder reached through a link or a relative path is one folder.
  QString path = QFileInfo(folder).canonicalFilePath();
  if (path.isEmpty()) path = QDir(folder).absolutePath();
  const QByteArray hash = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256).toHex().left(24);
  return runtime + "/zorvel-" + QString::fromLatin1(hash);
}

bool SingleInstance::claim() {
  if (name_.isEmpty()) return true;
  lockFd_ = ::open(QFile::encodeName(name_ + ".lock").constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (lockFd_ < 0) return true;
  if (::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
    const bool held = errno == EWOULDBLOCK;
    ::close(lockFd_);
    lockFd_ = -1;
    return !held;
  }
  // The lock is ours, so a socket still there was left by a program that crashed.
  QLocalServer::removeServer(name_);
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(name_)) {
    delete server_;
    server_ = nullptr;
    return true;
  }
  connect(server_, &QLocalServer::newConnection, this, &SingleInstance::answer);
  return true;
}

void SingleInstance::answer() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      if (!socket->canReadLine() && socket->bytesAvailable() < kLongestLine) return;
      if (socket->readLine(kLongestLine) == kShow) {
        emit showRequested();
        socket->write(kShown);
      }
      socket->disconnectFromServer();
    });
  }
}

bool SingleInstance::askToShow(int waitMs) {
  if (name_.isEmpty()) return false;
  const QDeadlineTimer deadline(waitMs);
  const auto left = [&] { return static_cast<int>(std::max<qint64>(1, deadline.remainingTime())); };
  QLocalSocket socket;
  // The other program takes the lock a moment before it listens: try again until it does.
  for (;;) {
    socket.connectToServer(name_);
    if (socket.waitForConnected(left())) break;
    socket.abort();
    if (deadline.hasExpired()) return false;
    QThread::msleep(50);
  }
  socket.write(kShow);
  if (!socket.waitForBytesWritten(left())) return false;
  while (!socket.canReadLine())
    if (!socket.waitForReadyRead(left())) return false;
  return socket.readLine(kLongestLine) == kShown;
}

void bringForward(QWidget& window) {
  // Until start-up shows it, the window stays hidden; a box start-up shows comes forward instead.
  if (window.isVisible()) {
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.raise();
    window.activateWindow();
  }
  if (QWidget* box = QApplication::activeModalWidget(); box && box != &window) {
    box->raise();
    box->activateWindow();
  }
}

}  // namespace qt
