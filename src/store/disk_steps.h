#pragma once
// The system calls that change the disk, as the store and the backups make them: each one is a
// step the test seam of files.h can end the process at. Those of the data files' own writers can
// also be made to fail; `injectable` false keeps a step out of that count (the backups' copies,
// which every start makes, so that a failure planned for a writer reaches the writer).
#include <sys/types.h>

#include <string>

namespace store::disk {

// open(); counted as a step (kind Open) when it may create or change a file.
int open(const char* path, int flags, mode_t mode = 0, bool injectable = true);
// mkostemp() on `name` (a template ending in XXXXXX); kind Open.
int makeTemporary(std::string& name);
ssize_t write(int fd, const char* data, size_t size, bool injectable = true);
int fsync(int fd, bool injectable = true);
// Starts writing a file's data to disk and returns at once (sync_file_range); a hint that changes
// nothing a crash could show, so no step. fsync still puts the file down.
void startWriteback(int fd);
// fsync() of a backup's copy or of its folder; no planned failure reaches it, but failCopyFlushes
// stands in for a disk that fails it.
int flushCopy(int fd);
int rename(const char* from, const char* to, bool injectable = true);
int link(const char* from, const char* to);
int unlink(const char* path);
int unlinkAt(int folderFd, const char* name, int flags);
int mkdir(const char* path, mode_t mode);
int ftruncate(int fd, off_t size);

}  // namespace store::disk
