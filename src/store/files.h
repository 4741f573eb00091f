#pragma once
// Safe file handling below the record syntax: reads that refuse what is not a plain file, appends
// that never leave half a record, atomic rewrites through unique temporaries, replacing several
// files as one step, the folder lock, and the recovery after a crash.
#include <cstdint>
#include <string>
#include <vector>

#include "words/messages.h"

namespace store {

// ---- reading and writing one file (raw CP932 bytes)

// The file's bytes. Missing, a folder, a symbolic link or anything but a plain file is a StoreError
// naming the file.
std::string readFileBytes(const std::string& fileName);
// A file opened now and read later, perhaps on another thread: its size is known without asking
// the file system again. read() gives what readFileBytes() would, and fails where it is called
// as readFileBytes() would have failed.
class OpenedFile {
 public:
  explicit OpenedFile(std::string fileName);
  ~OpenedFile();
  OpenedFile(const OpenedFile&) = delete;
  OpenedFile& operator=(const OpenedFile&) = delete;
  const std::string& name() const { return name_; }
  // 0 for what could not be opened or is no plain file.
  uintmax_t size() const { return size_; }
  // Nothing has the name: no file, folder or link.
  bool missing() const;
  // The bytes; once.
  std::string read();

 private:
  std::string name_;
  int fd_ = -1;
  int openError_ = 0;
  unsigned mode_ = 0;  // 0 when it could not be looked at
  uintmax_t size_ = 0;
};
// True when the file exists (as anything, a broken link too).
bool pathExists(const std::string& fileName);
// Atomic replacement: a unique temporary in the same folder, flushed, renamed over the file.
// A new file is private to the user (0600); a rewrite keeps the old file's mode unless that is
// the one an earlier version gave every file (0666 less the umask). Every writer refuses a
// file the user made read-only, naming it.
void rewriteFileBytes(const std::string& fileName, const std::string& bytes);
// Appends after a CR LF put first when the file does not end with a line end. On any failure the
// file is cut back to its old length (or removed when this call created it).
void appendFileBytes(const std::string& fileName, const std::string& bytes);

// ---- several files as one step

struct FileContent {
  std::string fileName;
  std::string bytes;  // CP932
};
struct FileMove {
  std::string from, to;  // `to` may lie in a folder below; that folder must exist
};
// Everything one change does to the folder: files written, files removed, files moved aside.
struct FileChanges {
  std::vector<FileContent> write;
  std::vector<std::string> remove;
  std::vector<FileMove> move;
};
// Replaces every file or none of them. A crash part-way is finished by recoverFolder().
void replaceFiles(const std::vector<FileContent>& files);
// The same for writes, removals and moves together, in that order, as one step. A removed file
// must be a plain file; a move never replaces anything at `to`.
void changeFiles(const FileChanges& changes);

// ---- start-up

// Finishes (or takes back) a replacement a crash interrupted, then removes the temporaries an
// earlier holder of the folder lock left in the current folder; call it holding the lock.
// `sweepTemporaries`: also remove temporaries a killed program left (it lists the whole folder,
// so a start after a clean end skips it).
void recoverFolder(bool sweepTemporaries = true);
// A leftover made outside the store (a backup's folder under its partial name) counts like the
// store's temporaries until it is renamed or removed: a clean end needs none left, so that only
// the start after a holder that died, or left one, looks for them.
void temporaryMade();
void temporarySettled();
// True for the names of this program's own temporaries and journal.
bool isOwnTemporaryName(const std::string& name);

// An advisory lock on the current folder, held while the object lives; a lock whose holder has
// died is free again.
class FolderLock {
 public:
  enum class Result { Taken, Busy, Unavailable };
  FolderLock() = default;
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  // Unavailable: the lock file cannot be opened or locked (it is a folder, a link, another
  // user's file, the folder is read-only ...): problem() says why. Never go on without it.
  Result take();
  // After Unavailable: the lock file's name, what is wrong with it and what to do.
  const std::string& problem() const { return problem_; }
  void release();
  // After take(): whether the last holder ended cleanly with no temporary left behind.
  bool endedCleanly() const { return endedCleanly_; }
  // Called at a clean end: the next holder need not sweep for temporaries.
  void markCleanEnd();

 private:
  int fd_ = -1;
  bool endedCleanly_ = false;
  std::string problem_;
};
inline constexpr const char* kFolderLockFile = ".zorvel.lock";
inline constexpr const char* kFolderBusyMessage = words::kFolderBusy;

// ---- test seam: make one system call of the store fail

enum class IoStep { Open, Write, Fsync, Rename, Link, Remove, Truncate };
// The nth call (1-based, counted from now) of that kind fails with `err`, and so do the next
// `times` - 1 calls of that kind; a failing write first writes half of its bytes, as a full disk does.
// Each kind has its own plan, so that a clean-up can be made to fail after the failure it cleans up.
void failNthStep(IoStep step, int nth, int err, int times = 1);
void clearInjectedFailure();
// True once a planned failure (of that kind) has happened.
bool injectedFailureFired();
bool injectedFailureFired(IoStep step);
// Every link() fails with `err` from now on, as on a file system without hard links; 0 ends it.
void refuseHardLinks(int err);
// Every flush of a backup's copy (flushFolderFiles) fails with `err` from now on; 0 ends it.
void failCopyFlushes(int err);

// Every call that changes the disk (open for writing, write, flush, rename, link, remove, make
// or remove a folder) is one step. The kill test ends the process at a chosen step.
inline constexpr int kEndedAtStepStatus = 86;
// The process ends with kEndedAtStepStatus just before its nth step from now, as a kill between
// two system calls leaves it (a write to a file is never cut by a kill); 0 turns it off.
void endProcessAtStep(long nth);
// Steps taken since the last resetStepCount().
long stepsTaken();
void resetStepCount();

}  // namespace store
