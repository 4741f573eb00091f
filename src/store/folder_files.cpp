#include "store/folder_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "store/files.h"
#include "store/record.h"
#include "words/file_errors.h"

namespace store {
namespace fs = std::filesystem;

namespace {

[[noreturn]] void failWrite(const std::string& path, int err) { throw fileError(path, FileOp::Write, err); }

bool endsWith(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

std::vector<std::string> namesIn(const std::string& folder, bool wantFolders) {
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (ec) throw fileError(folder, FileOp::ReadFolder, ec.value());
  std::vector<std::string> out;
  for (const fs::directory_entry& e : it) {
    std::error_code kindError;
    // Links are not followed: a backup never copies what lies outside the data folder.
    const fs::file_status st = e.symlink_status(kindError);
    if (kindError) continue;
    if (wantFolders ? fs::is_directory(st) : fs::is_regular_file(st)) out.push_back(e.path().filename().string());
  }
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace

std::string joinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

// Through the store's own safe reads and writes: no links followed, unique temporaries that a
// start-up after a crash recognises and removes.
std::string readBytes(const std::string& path) { return readFileBytes(path); }

void writeBytesAtomic(const std::string& path, std::string_view bytes) { rewriteFileBytes(path, std::string(bytes)); }

void copyFileInto(const std::string& from, const std::string& to) {
  const std::string bytes = readBytes(from);
  const int fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) failWrite(to, errno);
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int err = errno;
      ::close(fd);
      failWrite(to, err);
    }
    done += static_cast<size_t>(n);
  }
  int err = ::fsync(fd) != 0 ? errno : 0;
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err != 0) failWrite(to, err);
}

void copyFileAtomic(const std::string& from, const std::string& to) { writeBytesAtomic(to, readBytes(from)); }

bool isDirectory(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(fs::symlink_status(path, ec)) || fs::is_directory(fs::status(path, ec));
}

void makeDirectories(const std::string& path) {
  std::error_code ec;
  fs::create_directories(path, ec);
  if (ec || !isDirectory(path)) throw fileError(path, FileOp::MakeFolder, ec ? ec.value() : EEXIST);
}

void renamePath(const std::string& from, const std::string& to) {
  if (::rename(from.c_str(), to.c_str()) != 0) failWrite(to, errno);
}

void removeTree(const std::string& path) {
  std::error_code ec;
  fs::remove_all(path, ec);
  if (ec) throw fileError(path, FileOp::Remove, ec.value());
}

std::vector<std::string> fileNamesIn(const std::string& folder) { return namesIn(folder, false); }
std::vector<std::string> folderNamesIn(const std::string& folder) { return namesIn(folder, true); }

std::vector<std::string> dataFileNames(const std::string& folder) {
  std::vector<std::string> out;
  for (std::string& name : fileNamesIn(folder))
    if (endsWith(name, ".txt")) out.push_back(std::move(name));
  return out;
}

}  // namespace store
