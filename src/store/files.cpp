#include "store/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <utility>

#include "store/disk_steps.h"
#include "store/folder_files.h"
#include "store/record.h"
#include "words/file_errors.h"

namespace store {
namespace {

// ---- the injected failure and the counted steps

struct Plan {
  bool active = false;
  bool fired = false;
  int remaining = 0;
  int err = 0;
  int times = 1;
};
Plan plans[7];  // one per IoStep
long stepCount = 0;
long endAtStep = 0;
int hardLinksRefused = 0;
int copyFlushFailure = 0;

bool injected(IoStep step) {
  Plan& plan = plans[static_cast<int>(step)];
  if (!plan.active || --plan.remaining > 0) return false;
  plan.fired = true;
  if (--plan.times > 0)
    plan.remaining = 1;  // the following calls fail too
  else
    plan.active = false;
  errno = plan.err;
  return true;
}

// One change of the disk; the kill test's planned end comes just before it.
void step() {
  if (++stepCount == endAtStep) ::_exit(kEndedAtStepStatus);
}

}  // namespace

namespace disk {

int open(const char* path, int flags, mode_t mode, bool injectable) {
  if ((flags & (O_CREAT | O_TRUNC)) != 0) {
    step();
    if (injectable && injected(IoStep::Open)) return -1;
  }
  return ::open(path, flags, mode);
}

int makeTemporary(std::string& name) {
  step();
  if (injected(IoStep::Open)) return -1;
  return ::mkostemp(name.data(), O_CLOEXEC);  // O_CREAT | O_EXCL with a fresh name
}

ssize_t write(int fd, const char* data, size_t size, bool injectable) {
  step();
  if (!injectable) return ::write(fd, data, size);
  const Plan& plan = plans[static_cast<int>(IoStep::Write)];
  if (plan.active && plan.remaining == 1 && size > 1) {
    int err = plan.err;
    if (::write(fd, data, size / 2) < 0) return -1;
    injected(IoStep::Write);
    errno = err;
    return -1;
  }
  if (injected(IoStep::Write)) return -1;
  return ::write(fd, data, size);
}

int fsync(int fd, bool injectable) {
  step();
  if (injectable && injected(IoStep::Fsync)) return -1;
  return ::fsync(fd);
}

void startWriteback(int fd) { ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE); }

int flushCopy(int fd) {
  step();
  if (copyFlushFailure != 0) {
    errno = copyFlushFailure;
    return -1;
  }
  return ::fsync(fd);
}

int rename(const char* from, const char* to, bool injectable) {
  step();
  if (injectable && injected(IoStep::Rename)) return -1;
  return ::rename(from, to);
}

int link(const char* from, const char* to) {
  step();
  if (injected(IoStep::Link)) return -1;
  if (hardLinksRefused != 0) {
    errno = hardLinksRefused;
    return -1;
  }
  return ::link(from, to);
}

int unlink(const char* path) {
  step();
  if (injected(IoStep::Remove)) return -1;
  return ::unlink(path);
}

int unlinkAt(int folderFd, const char* name, int flags) {
  step();
  if (injected(IoStep::Remove)) return -1;
  return ::unlinkat(folderFd, name, flags);
}

int mkdir(const char* path, mode_t mode) {
  step();
  return ::mkdir(path, mode);
}

int ftruncate(int fd, off_t size) {
  step();
  if (injected(IoStep::Truncate)) return -1;
  return ::ftruncate(fd, size);
}

}  // namespace disk

namespace {

// ---- names and messages

constexpr const char* kTempPrefix = ".~zorvel-";
constexpr const char* kTempTemplate = ".~zorvel-XXXXXX";
constexpr const char* kJournalFile = ".~zorvel-journal";
// The journal of a replacement being taken back after a failure part-way.
constexpr const char* kBackJournalFile = ".~zorvel-journal-back";
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

std::string baseName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string tempTemplateFor(const std::string& fileName) {
  std::string folder = folderOf(fileName);
  return folder == "." ? std::string(kTempTemplate) : folder + "/" + kTempTemplate;
}

constexpr mode_t kNewFileMode = 0600;

// The mode every file got before files were made private: 0666 less the umask.
mode_t sharedFileMode() {
  static const mode_t mask = [] {
    mode_t m = ::umask(0);
    ::umask(m);
    return m;
  }();
  return 0666 & ~mask;
}

// A rewrite keeps a mode the user chose (or a stricter one); only the old shared default
// becomes private.
mode_t keptMode(const struct stat& st) {
  const mode_t mode = st.st_mode & 07777;
  return mode == sharedFileMode() ? kNewFileMode : mode;
}

// A file the user made read-only is left alone by every writer, a rewrite by rename included.
void refuseReadOnly(const std::string& fileName, const struct stat& st) {
  const bool writable = st.st_uid == ::geteuid() ? (st.st_mode & S_IWUSR) != 0
                                                 : ::faccessat(AT_FDCWD, fileName.c_str(), W_OK, AT_EACCESS) == 0;
  if (!writable) throw readOnlyFileError(fileName);
}

// A data file about to be replaced must be a plain file or missing; never a link or a folder.
// Returns the mode to give the new file.
mode_t checkReplaceable(const std::string& fileName) {
  struct stat st {};
  if (::lstat(fileName.c_str(), &st) != 0) {
    if (errno == ENOENT) return kNewFileMode;
    writeFailed(fileName, errno);
  }
  if (!S_ISREG(st.st_mode)) notAPlainFile(fileName, FileOp::Write, st.st_mode);
  refuseReadOnly(fileName, st);
  return keptMode(st);
}

bool writeAll(int fd, const std::string& bytes, int& err) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = disk::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      err = errno;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

// FAT and exFAT have no modes: they refuse or ignore a change of mode, and the file is written
// all the same.
bool noModesHere(int err) { return err == EPERM || err == ENOTSUP || err == EOPNOTSUPP; }

// A new unique temporary beside `fileName` holding `bytes`, flushed and closed. Returns its name.
// Its failures are told as failures of `toldAs`.
std::string writeTemporary(const std::string& fileName, const std::string& bytes, mode_t mode,
                           const std::string& toldAs) {
  std::string name = tempTemplateFor(fileName);
  int fd = disk::makeTemporary(name);
  if (fd < 0) writeFailed(toldAs, errno);
  ++leftTemporaries;
  int err = 0;
  bool ok = ::fchmod(fd, mode) == 0 || noModesHere(errno) || (err = errno, false);
  ok = ok && writeAll(fd, bytes, err);
  ok = ok && (disk::fsync(fd) == 0 || (err = errno, false));
  if (::close(fd) != 0 && ok) ok = false, err = errno;
  if (!ok) {
    settled(disk::unlink(name.c_str()));
    writeFailed(toldAs, err);
  }
  return name;
}

std::string writeTemporary(const std::string& fileName, const std::string& bytes, mode_t mode) {
  return writeTemporary(fileName, bytes, mode, fileName);
}

// A unique unused name for a temporary beside `fileName`.
std::string freshTemporaryName(const std::string& fileName) {
  std::string name = tempTemplateFor(fileName);
  int fd = disk::makeTemporary(name);
  if (fd < 0) writeFailed(fileName, errno);
  ::close(fd);
  if (disk::unlink(name.c_str()) != 0) ++leftTemporaries;
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

// A path inside the data folder as a journal may name it: relative, without "..".
bool isInsidePath(const std::string& path) {
  if (path.empty() || path.front() == '/') return false;
  size_t from = 0;
  for (;;) {
    const size_t slash = path.find('/', from);
    const std::string part = path.substr(from, slash == std::string::npos ? std::string::npos : slash - from);
    if (part.empty() || part == "." || part == "..") return false;
    if (slash == std::string::npos) return true;
    from = slash + 1;
  }
}

bool isOwnTemporaryPath(const std::string& path) { return isInsidePath(path) && isOwnTemporaryName(baseName(path)); }

bool sameFile(const std::string& a, const std::string& b) {
  struct stat sa {
  }, sb{};
  return ::lstat(a.c_str(), &sa) == 0 && ::lstat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

// ---- one replacement: what it does to each file, as its journal records it

// Without hard links (FAT, exFAT, some network shares) the old file keeps its second name by a
// rename when its turn comes instead.
bool noHardLinksHere(int err) {
  return err == EPERM || err == ENOSYS || err == EOPNOTSUPP || err == ENOTSUP || err == EXDEV || err == EMLINK;
}

struct Entry {
  char op = 'W';          // W: new contents, R: removed, M: moved
  std::string temp;       // W: the new contents
  std::string file;       // the file written, removed or moved
  std::string to;         // M: where it goes
  std::string backup;     // W, R: the old file's second name ("" when there is no old file)
  bool byRename = false;  // W: the old file takes its second name by rename when its turn comes
  bool oldAside = false;  // the old file has gone to `backup`
  bool done = false;
};

std::string journalLine(const Entry& e) {
  switch (e.op) {
    case 'W': return "W\t" + e.temp + "\t" + e.file + "\t" + e.backup + "\n";
    case 'R': return "R\t" + e.file + "\t" + e.backup + "\t\n";
    default: return "M\t" + e.file + "\t" + e.to + "\t\n";
  }
}

// The entries of a journal whose every name is one this program may touch; a torn last line (a
// journal never committed) and anything else are left out.
std::vector<Entry> readJournal(const char* name) {
  std::string text;
  try {
    text = readFileBytes(name);
  } catch (const StoreError&) {
  }
  std::vector<Entry> entries;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t end = text.find('\n', pos);
    if (end == std::string::npos) break;
    std::vector<std::string> f = splitFields(text.substr(pos, end - pos));
    pos = end + 1;
    if (f.size() == 3) f.insert(f.begin(), "W");  // the journal of an earlier version
    if (f.size() != 4 || f[0].size() != 1) continue;
    Entry e;
    e.op = f[0][0];
    if (e.op == 'W' && isOwnTemporaryPath(f[1]) && isInsidePath(f[2]) && (f[3].empty() || isOwnTemporaryPath(f[3])))
      e.temp = f[1], e.file = f[2], e.backup = f[3];
    else if (e.op == 'R' && isInsidePath(f[1]) && isOwnTemporaryPath(f[2]))
      e.file = f[1], e.backup = f[2];
    else if (e.op == 'M' && isInsidePath(f[1]) && isInsidePath(f[2]))
      e.file = f[1], e.to = f[2];
    else
      continue;
    entries.push_back(std::move(e));
  }
  return entries;
}

// After a crash past the journal: every change it records is made.
void finishForward(const std::vector<Entry>& entries) {
  for (const Entry& e : entries) {
    if (e.op == 'W' && pathExists(e.temp))
      ::rename(e.temp.c_str(), e.file.c_str());
    else if (e.op == 'R' && pathExists(e.file))
      ::unlink(e.file.c_str());
    else if (e.op == 'M' && pathExists(e.file) && !pathExists(e.to))
      ::rename(e.file.c_str(), e.to.c_str());
  }
}

// After a crash while a failed replacement was being taken back: every old file goes back.
void finishBackward(const std::vector<Entry>& entries) {
  for (size_t i = entries.size(); i-- > 0;) {
    const Entry& e = entries[i];
    if (e.op == 'W') {
      if (!e.backup.empty() && pathExists(e.backup)) {
        // A second link of a file never replaced stays a second link: renaming it does nothing.
        ::rename(e.backup.c_str(), e.file.c_str());
        if (sameFile(e.backup, e.file)) ::unlink(e.backup.c_str());
      } else if (e.backup.empty() && !pathExists(e.temp)) {
        ::unlink(e.file.c_str());  // a file the replacement made
      }
      ::unlink(e.temp.c_str());
    } else if (e.op == 'R' && pathExists(e.backup)) {
      ::rename(e.backup.c_str(), e.file.c_str());
    } else if (e.op == 'M' && pathExists(e.to) && !pathExists(e.file)) {
      ::rename(e.to.c_str(), e.file.c_str());
    }
  }
}

// Makes one entry's change; 0 or the errno of the step that failed.
int apply(Entry& e) {
  if (e.op == 'M') {
    if (disk::rename(e.file.c_str(), e.to.c_str()) != 0) return errno;
  } else if (e.op == 'R') {
    if (disk::rename(e.file.c_str(), e.backup.c_str()) != 0) return errno;
    ++leftTemporaries;
    e.oldAside = true;
  } else {
    if (e.byRename) {
      if (disk::rename(e.file.c_str(), e.backup.c_str()) != 0) return errno;
      ++leftTemporaries;
      e.oldAside = true;
    }
    if (disk::rename(e.temp.c_str(), e.file.c_str()) != 0) return errno;
    --leftTemporaries;
  }
  e.done = true;
  return 0;
}

// Takes one entry's change back (a failed step part-way included); false when it cannot.
bool takeBack(const Entry& e) {
  if (e.op == 'M') return !e.done || ::rename(e.to.c_str(), e.file.c_str()) == 0;
  if (e.op == 'W' && e.done && e.backup.empty()) return ::unlink(e.file.c_str()) == 0;
  const bool oldIsAside = e.op == 'W' ? (e.done && !e.byRename) || e.oldAside : e.oldAside;
  if (!oldIsAside) return true;
  if (::rename(e.backup.c_str(), e.file.c_str()) != 0) return false;
  --leftTemporaries;
  return true;
}

// Removes the temporaries and second names a replacement that changed nothing left.
void removeLeftovers(const std::vector<Entry>& entries) {
  for (const Entry& e : entries) {
    if (!e.temp.empty() && !e.done) settled(disk::unlink(e.temp.c_str()));
    if (e.op == 'W' && !e.backup.empty() && !e.byRename && !e.done) settled(disk::unlink(e.backup.c_str()));
  }
}

}  // namespace

// ---------------------------------------------------------------- reading

std::string readFileBytes(const std::string& fileName) { return OpenedFile(fileName).read(); }

OpenedFile::OpenedFile(std::string fileName) : name_(std::move(fileName)) {
  fd_ = ::open(name_.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) {
    openError_ = errno;
    return;
  }
  struct stat st {};
  if (::fstat(fd_, &st) != 0) return;
  mode_ = st.st_mode;
  if (S_ISREG(st.st_mode)) size_ = static_cast<uintmax_t>(st.st_size);
}

bool OpenedFile::missing() const { return fd_ < 0 && openError_ == ENOENT; }

OpenedFile::~OpenedFile() {
  if (fd_ >= 0) ::close(fd_);
}

std::string OpenedFile::read() {
  if (fd_ < 0) {
    struct stat st {};
    if (openError_ != ENOENT && ::lstat(name_.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
      notAPlainFile(name_, FileOp::Read, st.st_mode);
    readFailed(name_, openError_);
  }
  const int fd = fd_;
  fd_ = -1;
  if (!S_ISREG(mode_)) {
    ::close(fd);
    notAPlainFile(name_, FileOp::Read, static_cast<mode_t>(mode_));
  }
  // Read straight into the text; one byte of room more shows a file that grew meanwhile.
  std::string bytes(static_cast<size_t>(size_) + 1, '\0');
  size_t have = 0;
  for (;;) {
    if (have == bytes.size()) bytes.resize(bytes.size() * 2);
    ssize_t n = ::read(fd, bytes.data() + have, bytes.size() - have);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      int err = errno;
      ::close(fd);
      readFailed(name_, err);
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
  if (disk::rename(temp.c_str(), fileName.c_str()) != 0) {
    int err = errno;
    settled(disk::unlink(temp.c_str()));
    writeFailed(fileName, err);
  }
  --leftTemporaries;
  syncFolder(folderOf(fileName));
}

void appendFileBytes(const std::string& fileName, const std::string& bytes) {
  bool created = true;
  int fd = disk::open(fileName.c_str(), O_RDWR | O_APPEND | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kNewFileMode);
  if (fd < 0 && errno == EEXIST) {
    created = false;
    fd = ::open(fileName.c_str(), O_RDWR | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  }
  if (fd < 0) {
    int err = errno;
    struct stat st {};
    if (::lstat(fileName.c_str(), &st) == 0) {
      if (!S_ISREG(st.st_mode)) notAPlainFile(fileName, FileOp::Write, st.st_mode);
      refuseReadOnly(fileName, st);
    }
    writeFailed(fileName, err);
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    mode_t mode = st.st_mode;
    ::close(fd);
    notAPlainFile(fileName, FileOp::Write, mode);
  }
  if (!created) {
    try {
      refuseReadOnly(fileName, st);
    } catch (...) {
      ::close(fd);
      throw;
    }
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
  ok = ok && (disk::fsync(fd) == 0 || (err = errno, false));
  if (!ok) {
    // Leave the file exactly as it was: half a record would stop every later start.
    if (created)
      disk::unlink(fileName.c_str());
    else if (disk::ftruncate(fd, oldSize) == 0)
      ::fsync(fd);
    ::close(fd);
    writeFailed(fileName, err);
  }
  if (::close(fd) != 0) writeFailed(fileName, errno);
}

// ---------------------------------------------------------------- several files

void replaceFiles(const std::vector<FileContent>& files) { changeFiles(FileChanges{files, {}, {}}); }

void changeFiles(const FileChanges& changes) {
  std::vector<Entry> entries;
  entries.reserve(changes.write.size() + changes.remove.size() + changes.move.size());
  try {
    for (const auto& f : changes.write) {
      const mode_t mode = checkReplaceable(f.fileName);
      Entry e;
      e.file = f.fileName;
      e.temp = writeTemporary(f.fileName, f.bytes, mode);
      entries.push_back(e);
      if (!pathExists(f.fileName)) continue;
      // A second name for the old file, so that a failure part-way can put it back.
      Entry& last = entries.back();
      last.backup = freshTemporaryName(f.fileName);
      if (disk::link(f.fileName.c_str(), last.backup.c_str()) == 0)
        ++leftTemporaries;
      else if (noHardLinksHere(errno))
        last.byRename = true;
      else
        writeFailed(f.fileName, errno);
    }
    for (const auto& name : changes.remove) {
      struct stat st {};
      if (::lstat(name.c_str(), &st) != 0) {
        if (errno == ENOENT) continue;
        writeFailed(name, errno);
      }
      if (!S_ISREG(st.st_mode)) notAPlainFile(name, FileOp::Remove, st.st_mode);
      refuseReadOnly(name, st);
      Entry e;
      e.op = 'R';
      e.file = name;
      e.backup = freshTemporaryName(name);
      entries.push_back(e);
    }
    for (const auto& m : changes.move) {
      struct stat st {};
      if (::lstat(m.from.c_str(), &st) != 0) throw fileError(m.from, FileOp::Move, errno);
      if (!S_ISREG(st.st_mode)) notAPlainFile(m.from, FileOp::Move, st.st_mode);
      if (pathExists(m.to)) throw fileError(m.to, FileOp::Move, EEXIST);
      Entry e;
      e.op = 'M';
      e.file = m.from;
      e.to = m.to;
      entries.push_back(e);
    }
    // The journal is the point of no return: from here a start-up finishes what a crash stopped.
    if (!entries.empty()) {
      std::string journal;
      for (const auto& e : entries) journal += journalLine(e);
      // Its failures are told as failures of the first file: the journal is no file of the user's.
      const std::string& first = entries.front().file;
      const std::string temp = writeTemporary(kJournalFile, journal, 0600, first);
      if (disk::rename(temp.c_str(), kJournalFile) != 0) {
        const int err = errno;
        settled(disk::unlink(temp.c_str()));
        writeFailed(first, err);
      }
      --leftTemporaries;  // it is the journal now
      syncFolder(".");
    }
  } catch (...) {
    removeLeftovers(entries);
    throw;
  }
  if (entries.empty()) return;
  for (size_t i = 0; i < entries.size(); ++i) {
    const int err = apply(entries[i]);
    if (err == 0) continue;
    // Put back what was already changed, newest first; then nothing has changed. Should a crash
    // come meanwhile, the next start goes on putting back.
    ::rename(kJournalFile, kBackJournalFile);
    syncFolder(".");
    bool restored = true;
    for (size_t j = i + 1; j-- > 0;) restored = takeBack(entries[j]) && restored;
    if (restored) {
      removeLeftovers(entries);
      ::unlink(kBackJournalFile);
      ::unlink(kJournalFile);
    }
    syncFolder(".");
    const FileOp op = entries[i].op == 'M' ? FileOp::Move : entries[i].op == 'R' ? FileOp::Remove : FileOp::Write;
    throw fileError(entries[i].file, op, err);
  }
  syncFolder(".");
  for (const auto& e : entries)
    if (!e.backup.empty() && (e.op == 'R' || !e.byRename || e.oldAside)) settled(disk::unlink(e.backup.c_str()));
  disk::unlink(kJournalFile);
}

// ---------------------------------------------------------------- start-up

bool isOwnTemporaryName(const std::string& name) {
  const std::string prefix = kTempPrefix;
  if (name.compare(0, prefix.size(), prefix) == 0) return true;
  const std::string legacy = std::string(".txt") + kLegacyTempSuffix;
  return name.size() > legacy.size() && name.compare(name.size() - legacy.size(), legacy.size(), legacy) == 0;
}

void recoverFolder(bool sweepTemporaries) {
  struct stat st {};
  bool finished = false;
  if (::lstat(kBackJournalFile, &st) == 0 && S_ISREG(st.st_mode)) {
    finishBackward(readJournal(kBackJournalFile));
    finished = true;
  } else if (::lstat(kJournalFile, &st) == 0 && S_ISREG(st.st_mode)) {
    // Every temporary was complete before the journal was written: finish the changes.
    finishForward(readJournal(kJournalFile));
    finished = true;
  }
  if (finished) {
    syncFolder(".");
    ::unlink(kBackJournalFile);
    ::unlink(kJournalFile);
  }
  if (!sweepTemporaries) return;
  DIR* dir = ::opendir(".");
  if (!dir) return;
  std::vector<std::string> stale;
  while (dirent* e = ::readdir(dir)) {
    const std::string name = e->d_name;
    if (!isOwnTemporaryName(name)) continue;
    // The lock is held: every temporary here was left by an earlier holder, however recent it
    // looks (a file's time may run ahead of the clock's seconds).
    if (::lstat(name.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) stale.push_back(name);
  }
  ::closedir(dir);
  for (const auto& name : stale) ::unlink(name.c_str());
}

FolderLock::~FolderLock() { release(); }

FolderLock::Result FolderLock::take() {
  if (fd_ >= 0) return Result::Taken;
  problem_.clear();
  int fd = ::open(kFolderLockFile, O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, kNewFileMode);
  struct stat st {};
  if (fd < 0) {
    const int err = errno;
    const bool odd = ::lstat(kFolderLockFile, &st) == 0 && !S_ISREG(st.st_mode);
    problem_ = (odd ? notAPlainFileError(kFolderLockFile, FileOp::Lock, st.st_mode)
                    : fileError(kFolderLockFile, FileOp::Lock, err))
                   .startUpText();
    return Result::Unavailable;
  }
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    problem_ = notAPlainFileError(kFolderLockFile, FileOp::Lock, st.st_mode).startUpText();
    ::close(fd);
    return Result::Unavailable;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int err = errno;
    ::close(fd);
    if (err == EWOULDBLOCK) return Result::Busy;
    problem_ = fileError(kFolderLockFile, FileOp::Lock, err).startUpText();
    return Result::Unavailable;
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

void temporaryMade() { ++leftTemporaries; }
void temporarySettled() { --leftTemporaries; }

void FolderLock::markCleanEnd() {
  struct stat st {};
  if (fd_ < 0 || leftTemporaries != 0 || ::lstat(kJournalFile, &st) == 0 || ::lstat(kBackJournalFile, &st) == 0) return;
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

void failNthStep(IoStep step, int nth, int err, int times) {
  plans[static_cast<int>(step)] = Plan{true, false, nth, err, times};
}
void clearInjectedFailure() {
  for (Plan& plan : plans) plan = Plan{};
}
bool injectedFailureFired() {
  return std::any_of(std::begin(plans), std::end(plans), [](const Plan& plan) { return plan.fired; });
}
bool injectedFailureFired(IoStep step) { return plans[static_cast<int>(step)].fired; }

void refuseHardLinks(int err) { hardLinksRefused = err; }
void failCopyFlushes(int err) { copyFlushFailure = err; }

void endProcessAtStep(long nth) { endAtStep = nth > 0 ? stepCount + nth : 0; }
long stepsTaken() { return stepCount; }
void resetStepCount() {
  stepCount = 0;
  endAtStep = 0;
}

}  // namespace store
