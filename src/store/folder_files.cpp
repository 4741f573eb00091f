#include "store/folder_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "store/disk_steps.h"
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
    // Links are not followed: a backup never copies what lies outside the data folder. The kind
    // comes with the entry where the file system gives it, so no name is looked up again.
    const bool link = e.is_symlink(kindError);
    if (kindError || link) continue;
    const bool wanted = wantFolders ? e.is_directory(kindError) : e.is_regular_file(kindError);
    if (!kindError && wanted) out.push_back(e.path().filename().string());
  }
  std::sort(out.begin(), out.end());
  return out;
}

// Takes `min` to `max` ASCII digits off the front of `s`; false when there are fewer than min.
bool takeDigits(std::string_view& s, size_t min, size_t max) {
  size_t n = 0;
  while (n < max && n < s.size() && s[n] >= '0' && s[n] <= '9') ++n;
  if (n < min) return false;
  s.remove_prefix(n);
  return true;
}

bool takeText(std::string_view& s, std::string_view head) {
  if (s.substr(0, head.size()) != head) return false;
  s.remove_prefix(head.size());
  return true;
}

constexpr const char* kFixedDataFiles[] = {
    "ﾌﾟﾗｲﾍﾞｰﾄ.txt", "設定.txt",    "体重.txt",    "連続体重.txt", "体脂肪率.txt", "歩数.txt",    "栄養.txt",
    "ｶﾛﾘｰ.txt",     "ﾘｽﾄ題目.txt", "ﾘｽﾄ1.txt",    "ﾘｽﾄ2.txt",     "ﾘｽﾄ3.txt",     "ﾘｽﾄ4.txt",    "筋トレ題目.txt",
    "筋トレ1.txt",  "筋トレ2.txt", "筋トレ3.txt", "筋トレ4.txt",  "筋トレ5.txt",  "筋トレ6.txt", kFilledDaysFile};

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

void copyFileInto(const std::string& from, const std::string& to) { writeFileInto(to, readBytes(from)); }

void writeFileInto(const std::string& to, std::string_view bytes) {
  const int fd = disk::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600, false);
  if (fd < 0) failWrite(to, errno);
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = disk::write(fd, bytes.data() + done, bytes.size() - done, false);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int err = errno;
      ::close(fd);
      failWrite(to, err);
    }
    done += static_cast<size_t>(n);
  }
  disk::startWriteback(fd);  // flushFolderFiles waits for it
  if (::close(fd) != 0) failWrite(to, errno);
}

void flushFolderFiles(const std::string& folder) {
  // Each file's data is on its way since it was written, so these flushes mostly wait for writes
  // already under way, and a journal commits many files at once. Not syncfs: that would wait for
  // every other program's pending writes on the same disk too, gigabytes at times.
  std::vector<std::string> paths;
  for (const std::string& name : fileNamesIn(folder)) paths.push_back(joinPath(folder, name));
  paths.push_back(folder);  // its list of names last
  for (const std::string& path : paths) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    const int err = fd < 0 ? errno : disk::flushCopy(fd) != 0 ? errno : 0;
    if (fd >= 0) ::close(fd);
    if (err != 0) failWrite(folder, err);
  }
}

void copyFileAtomic(const std::string& from, const std::string& to) { writeBytesAtomic(to, readBytes(from)); }

bool isDirectory(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(fs::symlink_status(path, ec)) || fs::is_directory(fs::status(path, ec));
}

bool isRealDirectory(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int makePrivateFolders(const std::string& path) {
  if (path.empty() || isDirectory(path)) return 0;
  std::string parent = path;
  while (parent.size() > 1 && parent.back() == '/') parent.pop_back();
  const size_t slash = parent.rfind('/');
  if (slash != std::string::npos && slash > 0)
    if (const int err = makePrivateFolders(parent.substr(0, slash)); err != 0) return err;
  if (disk::mkdir(path.c_str(), 0700) == 0 || (errno == EEXIST && isDirectory(path))) return 0;
  return errno;
}

void makeDirectories(const std::string& path) {
  if (const int err = makePrivateFolders(path); err != 0) throw fileError(path, FileOp::MakeFolder, err);
}

void syncFolder(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

void renamePath(const std::string& from, const std::string& to) {
  if (disk::rename(from.c_str(), to.c_str(), false) != 0) failWrite(to, errno);
}

bool removeOwnFolder(const std::string& path, const std::function<bool(const std::string&)>& ours) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  DIR* dir = ::fdopendir(fd);
  if (!dir) {
    ::close(fd);
    return false;
  }
  std::vector<std::string> files;
  while (const dirent* e = ::readdir(dir)) {
    const std::string name = e->d_name;
    struct stat st {};
    if (name == "." || name == "..") continue;
    if (::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) && ours(name))
      files.push_back(name);
  }
  for (const auto& name : files) disk::unlinkAt(fd, name.c_str(), 0);
  ::closedir(dir);
  // Whatever else is in it stays, and so does the folder.
  return disk::unlinkAt(AT_FDCWD, path.c_str(), AT_REMOVEDIR) == 0;
}

std::vector<std::string> fileNamesIn(const std::string& folder) { return namesIn(folder, false); }
std::vector<std::string> folderNamesIn(const std::string& folder) { return namesIn(folder, true); }

std::vector<std::string> dataFileNames(const std::string& folder) {
  std::vector<std::string> out;
  for (std::string& name : fileNamesIn(folder))
    if (endsWith(name, ".txt")) out.push_back(std::move(name));
  return out;
}

bool isDayOrMonthFileName(const std::string& name) {
  std::string_view day = name;
  takeText(day, "日記");
  if (takeDigits(day, 8, 8) && day == ".txt") return true;
  std::string_view month = name;
  return takeDigits(month, 4, 4) && takeText(month, "年") && takeDigits(month, 1, 2) && month == "月.txt";
}

bool isOwnDataFileName(const std::string& name) {
  return isDayOrMonthFileName(name) ||
         std::find(std::begin(kFixedDataFiles), std::end(kFixedDataFiles), name) != std::end(kFixedDataFiles);
}

}  // namespace store
