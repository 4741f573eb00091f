#include "qt/single_instance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QThread>
#include <QWidget>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

namespace qt {
namespace {

constexpr char kShow[] = "show\n";
constexpr char kShown[] = "shown\n";
constexpr size_t kLongestLine = 64;

// The socket's address; false when the path does not fit one.
bool addressOf(const QString& name, sockaddr_un& address) {
  const QByteArray path = QFile::encodeName(name);
  address = {};
  address.sun_family = AF_UNIX;
  if (static_cast<size_t>(path.size()) >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
  return true;
}

// Waits for `events` on `fd` until `deadline`; false when it passed.
bool waitFor(int fd, short events, const QDeadlineTimer& deadline) {
  pollfd p{fd, events, 0};
  for (;;) {
    const int r = ::poll(&p, 1, static_cast<int>(std::max<qint64>(0, deadline.remainingTime())));
    if (r > 0) return true;
    if (r == 0 || errno != EINTR) return false;
  }
}

// A descriptor closed when it goes out of scope, unless released.
struct Fd {
  explicit Fd(int f) : fd(f) {}
  ~Fd() { reset(-1); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  void reset(int f) {
    if (fd >= 0) ::close(fd);
    fd = f;
  }
  int release() { return std::exchange(fd, -1); }
  int fd;
};

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
  delete server_;
  if (serverFd_ >= 0) {
    ::close(serverFd_);
    ::unlink(QFile::encodeName(name_).constData());
  }
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
  // The lock is ours, so a socket still there was left by a program that crashed; anything else
  // by that name is left alone (and the bind below fails on it).
  sockaddr_un address;
  if (!addressOf(name_, address)) return true;
  struct stat left;
  if (::lstat(address.sun_path, &left) == 0 && S_ISSOCK(left.st_mode) && left.st_uid == ::getuid())
    ::unlink(address.sun_path);
  Fd fd{::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)};
  if (fd.fd < 0 || ::bind(fd.fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) return true;
  // The runtime folder is the user's alone; the socket is too.
  ::chmod(address.sun_path, 0600);
  if (::listen(fd.fd, 8) != 0) {
    ::unlink(address.sun_path);
    return true;
  }
  serverFd_ = fd.release();
  server_ = new QSocketNotifier(serverFd_, QSocketNotifier::Read, this);
  connect(server_, &QSocketNotifier::activated, this, &SingleInstance::answer);
  return true;
}

void SingleInstance::answer() {
  for (int fd; (fd = ::accept4(serverFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >= 0;) readFrom(fd);
}

// One line from a later start, read as it comes without holding up the window; then answered
// and closed.
void SingleInstance::readFrom(int fd) {
  auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
  auto line = std::make_shared<std::string>();
  connect(notifier, &QSocketNotifier::activated, this, [this, notifier, fd, line] {
    char buffer[kLongestLine];
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
    if (n > 0) line->append(buffer, static_cast<size_t>(n));
    if (n > 0 && line->find('\n') == std::string::npos && line->size() < kLongestLine) return;
    if (*line == kShow) {
      emit showRequested();
      [[maybe_unused]] const ssize_t sent = ::send(fd, kShown, sizeof kShown - 1, MSG_NOSIGNAL);
    }
    notifier->setEnabled(false);
    notifier->deleteLater();
    ::close(fd);
  });
}

bool SingleInstance::askToShow(int waitMs) {
  sockaddr_un address;
  if (name_.isEmpty() || !addressOf(name_, address)) return false;
  const QDeadlineTimer deadline(waitMs);
  Fd fd{-1};
  // The other program takes the lock a moment before it listens: try again until it does.
  for (;;) {
    fd.reset(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (fd.fd < 0) return false;
    if (::connect(fd.fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) break;
    fd.reset(-1);
    if (deadline.hasExpired()) return false;
    QThread::msleep(50);
  }
  if (::send(fd.fd, kShow, sizeof kShow - 1, MSG_NOSIGNAL) != static_cast<ssize_t>(sizeof kShow - 1)) return false;
  std::string line;
  while (line.find('\n') == std::string::npos && line.size() < kLongestLine) {
    if (!waitFor(fd.fd, POLLIN, deadline)) return false;
    char buffer[kLongestLine];
    const ssize_t n = ::recv(fd.fd, buffer, sizeof buffer, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    line.append(buffer, static_cast<size_t>(n));
  }
  return line == kShown;
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
