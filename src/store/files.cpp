#include "store/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "store/record.h"
#include "words/file_errors.h"

namespace store {
namespace {

// ---- the injected failure

struct Plan {
  bool active = false;
  bool fired = false;
  IoStep step = IoStep::Write;
  int remaining = 0;
  int err = 0;
  int times = 1;
};
Plan plan;

bool injected(IoStep step) {
  if (!plan.active || plan.step != step || --plan.remaining > 0) return false;
  plan.fired = true;
  if (--plan.times > 0)
    plan.remaining = 1;  // the following calls fail too
  else
    plan.active = false;
  errno = plan.err;
  return true;
}

int sysOpen(const char* path, int flags, mode_t mode = 0) {
  if (injected(IoStep::Open)) return -1;
  return ::open(path, flags, mode);
}

ssize_t sysWrite(int fd, const char* data, size_t size) {
  if (plan.active && plan.step == IoStep::Write && plan.remaining == 1 && size > 1) {
    int err = plan.err;
    if (::write(fd, data, size / 2) < 0) return -1;
    injected(IoStep::Write);
    errno = err;
    return -1;
  }
  if (injected(IoStep::Write)) return -1;
  return ::write(fd, data, size);
}

int sysFsync(int fd) {
  if (injected(IoStep::Fsync)) return -1;
  return ::fsync(fd);
}

int sysRename(const char* from, const char* to) {
  if (injected(IoStep::Rename)) return -1;
  return ::rename(from, to);
}

// ---- names and messages

constexpr const char* kTempPrefix = ".~zorvel-";
constexpr const char* kTempTemplate = ".~zorvel-XXXXXX";
constexpr const char* kJournalFile = ".~zorvel-journal";
constexpr const char* kLegacyTempSuffix = ".tmp~";

// Temporaries (and second names of old files) this process made and has not yet renamed or
// removed. A clean end with none left tells the next start that nothing needs sweeping.
int leftTemporaries = 0;
// Counts a temporary renamed or removed when `rc` says the call succeeded.
void settled(int rc) {
  if (rc == 0) --leftTemporaries;
}

[[noreturn]] void writeFailed(const std::string& fileName, int err) { throw fileError(fileName, FileOp::Write, err); }
[[noreturn]] void readFailed(const std::string& fileName, int err) { throw fileError(fileName, FileOp::Read, err); }
[[noreturn]] void notAPlainFile(const std::string& fileName, FileOp op, mode_t mode) {
  throw notAPlainFileError(fileName, op, mode);
}

std::string folderOf(const std::string& fileName) {
  size_t slash = fileName.rfind('/');
  return slash == std::string::npos ? std::string(".") : fileName.substr(0, slash == 0 ? 1 : slash);
}

std::string tempTemplateFor(const std::string& fileName) {
  std::string folder = folderOf(fileName);
  return folder == "." ? std::string(kTempTemplate) : folder + "/" + kTempTemplate;
}

mode_t newFileMode() {
  static const mode_t mask = [] {
    mode_t m = ::umask(0);
    ::umask(m);
    return m;
  }();
  return 0666 & ~mask;
}

// A data file about to be replaced must be a plain file or missing; never a link or a folder.
// Returns the mode to give the new file.
mode_t checkReplaceable(const std::string& fileName) {
  struct stat st {};
  if (::lstat(fileName.c_str(), &st) != 0) {
    if (errno == ENOENT) return newFileMode();
    writeFailed(fileName, errno);
  }
  if (!S_ISREG(st.st_mode)) notAPlainFile(fileName, FileOp::Write, st.st_mode);
  return st.st_mode & 07777;
}

void syncFolder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);  // best effort: the renames are done either way
  ::close(fd);
}

bool writeAll(int fd, const std::string& bytes, int& err) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = sysWrite(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      err = errno;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

// A new unique temporary beside `fileName` holding `bytes`, flushed and closed. Returns its name.
std::string writeTemporary(const std::string& fileName, const std::string& bytes, mode_t mode) {
  std::string name = tempTemplateFor(fileName);
  if (injected(IoStep::Open)) writeFailed(fileName, errno);
  int fd = ::mkostemp(name.data(), O_CLOEXEC);  // O_CREAT | O_EXCL with a fresh name
  if (fd < 0) writeFailed(fileName, errno);
  ++leftTemporaries;
  int err = 0;
  bool ok = ::fchmod(fd, mode) == 0 || (err = errno, false);
  ok = ok && writeAll(fd, bytes, err);
  ok = ok && (sysFsync(fd) == 0 || (err = errno, false));
  if (::close(fd) != 0 && ok) ok = false, err = errno;
  if (!ok) {
    settled(::unlink(name.c_str()));
    writeFailed(fileName, err);
  }
  return name;
}

// A unique unused name for a temporary beside `fileName`.
std::string freshTemporaryName(const std::string& fileName) {
  std::string name = tempTemplateFor(fileName);
  int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) writeFailed(fileName, errno);
  ::close(fd);
  if (::unlink(name.c_str()) != 0) ++leftTemporaries;
  return name;
}

std::vector<std::string> splitFields(const std::string& line) {
  std::vector<std::string> out(1);
  for (char c : line) {
    if (c == '\t')
      out.emplace_back();
    else
      out.back() += c;
  }
  return out;
}

bool isBareName(const std::string& name) { return !name.empty() && name.find('/') == std::string::npos; }

}  // namespace

// ---------------------------------------------------------------- reading

std::string readFileBytes(const std::string& fileName) {
  int fd = ::open(fileName.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    int err = errno;
    struct stat st {};
    if (err != ENOENT && ::lstat(fileName.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
      notAPlainFile(fileName, FileOp::Read, st.st_mode);
    readFailed(fileName, err);
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    mode_t mode = st.st_mode;
    ::close(fd);
    notAPlainFile(fileName, FileOp::Read, mode);
  }
  // Read straight into the text; one byte of room more shows a file that grew meanwhile.
  std::string bytes(static_cast<size_t>(st.st_size) + 1, '\0');
  size_t have = 0;
  for (;;) {
    if (have == bytes.size()) bytes.resize(bytes.size() * 2);
    ssize_t n = ::read(fd, bytes.data() + have, bytes.size() - have);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      int err = errno;
      ::close(fd);
      readFailed(fileName, err);
    }
    if (n == 0) break;
    have += static_cast<size_t>(n);
  }
  ::close(fd);
  bytes.resize(have);
  return bytes;
}

bool pathExists(const std::string& fileName) {
  struct stat st {};
  return ::lstat(fileName.c_str(), &st) == 0;
}

// ---------------------------------------------------------------- writing one file

void rewriteFileBytes(const std::string& fileName, const std::string& bytes) {
  const mode_t mode = checkReplaceable(fileName);
  const std::string temp = writeTemporary(fileName, bytes, mode);
  // rename() replaces a link itself rather than its target, and the check above refused links.
  if (sysRename(temp.c_str(), fileName.c_str()) != 0) {
    int err = errno;
    settled(::unlink(temp.c_str()));
    writeFailed(fileName, err);
  }
  --leftTemporaries;
  syncFolder(folderOf(fileName));
}

void appendFileBytes(const std::string& fileName, const std::string& bytes) {
  bool created = true;
  int fd = sysOpen(fileName.c_str(), O_RDWR | O_APPEND | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, newFileMode());
  if (fd < 0 && errno == EEXIST) {
    created = false;
    fd = ::open(fileName.c_str(), O_RDWR | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  }
  if (fd < 0) {
    int err = errno;
    struct stat st {};
    if (::lstat(fileName.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) notAPlainFile(fileName, FileOp::Write, st.st_mode);
    writeFailed(fileName, err);
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    mode_t mode = st.st_mode;
    ::close(fd);
    notAPlainFile(fileName, FileOp::Write, mode);
  }
  const off_t oldSize = st.st_size;
  // A last line without its line end (a hand edit) must not run into the new record.
  std::string out;
  if (oldSize > 0) {
    char last = 0;
    if (::pread(fd, &last, 1, oldSize - 1) != 1) {
      int err = errno;
      ::close(fd);
      writeFailed(fileName, err);
    }
    if (last != '\n' && last != '\r') out.push_back('\r');
    if (last != '\n') out.push_back('\n');
  }
  out += bytes;
  int err = 0;
  bool ok = writeAll(fd, out, err);
  ok = ok && (sysFsync(fd) == 0 || (err = errno, false));
  if (!ok) {
    // Leave the file exactly as it was: half a record would stop every later start.
    if (created)
      ::unlink(fileName.c_str());
    else if (::ftruncate(fd, oldSize) == 0)
      ::fsync(fd);
    ::close(fd);
    writeFailed(fileName, err);
  }
  if (::close(fd) != 0) writeFailed(fileName, errno);
}

// ---------------------------------------------------------------- several files

void replaceFiles(const std::vector<FileContent>& files) {
  struct Step {
    std::string temp, fileName, backup;
  };
  std::vector<Step> steps;
  auto removeTemporaries = [&] {
    for (const auto& s : steps) {
      settled(::unlink(s.temp.c_str()));
      if (!s.backup.empty()) settled(::unlink(s.backup.c_str()));
    }
  };
  try {
    for (const auto& f : files) {
      const mode_t mode = checkReplaceable(f.fileName);
      Step s{writeTemporary(f.fileName, f.bytes, mode), f.fileName, {}};
      steps.push_back(s);
      if (pathExists(f.fileName)) {
        // A second name for the old file, so that a failure part-way can put it back.
        steps.back().backup = freshTemporaryName(f.fileName);
        if (::link(f.fileName.c_str(), steps.back().backup.c_str()) != 0) writeFailed(f.fileName, errno);
        ++leftTemporaries;
      }
    }
    // The journal is the point of no return: from here a start-up finishes what a crash stopped.
    std::string journal;
    for (const auto& s : steps) journal += s.temp + "\t" + s.fileName + "\t" + s.backup + "\n";
    if (!steps.empty()) {
      // Its failures are told as failures of the first file: the journal is no file of the user's.
      const std::string& first = steps.front().fileName;
      const std::string temp = writeTemporary(first, journal, 0600);
      if (sysRename(temp.c_str(), kJournalFile) != 0) {
        const int err = errno;
        settled(::unlink(temp.c_str()));
        writeFailed(first, err);
      }
      --leftTemporaries;  // it is the journal now
      syncFolder(".");
    }
  } catch (...) {
    removeTemporaries();
    throw;
  }
  for (size_t i = 0; i < steps.size(); ++i) {
    if (sysRename(steps[i].temp.c_str(), steps[i].fileName.c_str()) == 0) {
      --leftTemporaries;
      continue;
    }
    const int err = errno;
    // Put back what was already replaced, newest first; then nothing has changed.
    bool restored = true;
    for (size_t j = i; j-- > 0;) {
      const Step& s = steps[j];
      if (s.backup.empty()) {
        if (::unlink(s.fileName.c_str()) != 0) restored = false;
      } else if (::rename(s.backup.c_str(), s.fileName.c_str()) == 0) {
        --leftTemporaries;
      } else {
        restored = false;
      }
    }
    if (restored) {
      removeTemporaries();
      ::unlink(kJournalFile);
    }  // otherwise the journal stays and the next start completes the replacement
    syncFolder(".");
    writeFailed(steps[i].fileName, err);
  }
  syncFolder(".");
  for (const auto& s : steps)
    if (!s.backup.empty()) settled(::unlink(s.backup.c_str()));
  ::unlink(kJournalFile);
}

// ---------------------------------------------------------------- start-up

bool isOwnTemporaryName(const std::string& name) {
  const std::string prefix = kTempPrefix;
  if (name.compare(0, prefix.size(), prefix) == 0) return true;
  const std::string legacy = std::string(".txt") + kLegacyTempSuffix;
  return name.size() > legacy.size() && name.compare(name.size() - legacy.size(), legacy.size(), legacy) == 0;
}

void recoverFolder(bool sweepTemporaries) {
  const std::time_t start = std::time(nullptr);
  struct stat st {};
  if (::lstat(kJournalFile, &st) == 0 && S_ISREG(st.st_mode)) {
    std::string journal;
    try {
      journal = readFileBytes(kJournalFile);
    } catch (const StoreError&) {
    }
    // Every temporary was complete before the journal was written: finish the renames.
    size_t pos = 0;
    std::vector<std::vector<std::string>> lines;
    while (pos < journal.size()) {
      size_t end = journal.find('\n', pos);
      if (end == std::string::npos) break;  // a torn last line: the journal was never committed
      lines.push_back(splitFields(journal.substr(pos, end - pos)));
      pos = end + 1;
    }
    for (const auto& f : lines)
      if (f.size() == 3 && isBareName(f[0]) && isBareName(f[1]) && isOwnTemporaryName(f[0]) && pathExists(f[0]))
        ::rename(f[0].c_str(), f[1].c_str());
    syncFolder(".");
    ::unlink(kJournalFile);
  }
  if (!sweepTemporaries) return;
  DIR* dir = ::opendir(".");
  if (!dir) return;
  std::vector<std::string> stale;
  while (dirent* e = ::readdir(dir)) {
    const std::string name = e->d_name;
    if (!isOwnTemporaryName(name)) continue;
    if (::lstat(name.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) && st.st_mtime <= start) stale.push_back(name);
  }
  ::closedir(dir);
  for (const auto& name : stale) ::unlink(name.c_str());
}

FolderLock::~FolderLock() { release(); }

FolderLock::Result FolderLock::take() {
  if (fd_ >= 0) return Result::Taken;
  int fd = ::open(kFolderLockFile, O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, newFileMode());
  if (fd < 0) return Result::Unavailable;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int err = errno;
    ::close(fd);
    return err == EWOULDBLOCK ? Result::Busy : Result::Unavailable;
  }
  fd_ = fd;
  leftTemporaries = 0;  // counted from here: the writes of this holder
  // The lock file's first byte: '0' once a holder ended with no temporary left, '1' while one
  // holds it. Anything else (a new file, a holder that died) asks for a sweep.
  char state = 0;
  endedCleanly_ = ::pread(fd, &state, 1, 0) == 1 && state == '0';
  if (::pwrite(fd, "1", 1, 0) != 1) endedCleanly_ = false;
  return Result::Taken;
}

void FolderLock::markCleanEnd() {
  struct stat st {};
  if (fd_ < 0 || leftTemporaries != 0 || ::lstat(kJournalFile, &st) == 0) return;
  // Should the mark fail, the next start only sweeps, as after a crash.
  const ssize_t written = ::pwrite(fd_, "0", 1, 0);
  (void)written;
}

void FolderLock::release() {
  if (fd_ < 0) return;
  ::close(fd_);  // closing drops the lock
  fd_ = -1;
}

// ---------------------------------------------------------------- test seam

void failNthStep(IoStep step, int nth, int err, int times) { plan = Plan{true, false, step, nth, err, times}; }
void clearInjectedFailure() { plan = Plan{}; }
bool injectedFailureFired() { return plan.fired; }

}  // namespace store
