#include "store/data_folder.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "store/folder_files.h"
#include "store/record.h"
#include "words/file_errors.h"
#include "words/messages.h"

namespace store {
namespace fs = std::filesystem;

DataFolderChoice chooseDataFolder(const std::optional<std::string>& commandLine,
                                  const std::optional<std::string>& environment, const std::string& programFolder,
                                  const std::string& userDataFolder) {
  if (commandLine && !commandLine->empty()) return {*commandLine, FolderOrigin::CommandLine};
  if (environment && !environment->empty()) return {*environment, FolderOrigin::Environment};
  std::error_code ec;
  if (!programFolder.empty() && fs::is_regular_file(joinPath(programFolder, kProfileFileName), ec))
    return {programFolder, FolderOrigin::ProgramFolder};
  return {userDataFolder, FolderOrigin::UserData};
}

std::optional<std::string> prepareDataFolder(const std::string& folder, const std::string& seedFolder) {
  std::error_code ec;
  const bool existed = fs::exists(folder, ec);
  if (existed && !isDirectory(folder)) return dataFolderErrorText(folder, FileOp::Write, ENOTDIR);
  if (!existed) {
    // Find the nearest existing parent and check it first, so a refused folder leaves no trace.
    fs::path parent = fs::absolute(folder, ec).parent_path();
    while (!parent.empty() && !fs::exists(parent, ec) && parent != parent.root_path()) parent = parent.parent_path();
    if (!isDirectory(parent.string())) return dataFolderErrorText(folder, FileOp::MakeFolder, ENOTDIR);
    if (::access(parent.c_str(), W_OK | X_OK) != 0) return dataFolderErrorText(folder, FileOp::MakeFolder, errno);
    // Private to the user, as every folder the program makes.
    if (const int err = makePrivateFolders(folder); err != 0)
      return dataFolderErrorText(folder, FileOp::MakeFolder, err);
  }
  if (::access(folder.c_str(), R_OK | W_OK | X_OK) != 0) return dataFolderErrorText(folder, FileOp::Write, errno);

  if (seedFolder.empty() || !isDirectory(seedFolder)) return std::nullopt;
  if (fs::exists(joinPath(folder, kProfileFileName), ec)) return std::nullopt;
  try {
    // The profile last: a seed cut short leaves no profile, so the next start seeds the rest.
    std::vector<std::string> names = dataFileNames(seedFolder);
    std::stable_partition(names.begin(), names.end(), [](const std::string& n) { return n != kProfileFileName; });
    for (const std::string& name : names) {
      const std::string to = joinPath(folder, name);
      if (!fs::exists(to, ec)) copyFileAtomic(joinPath(seedFolder, name), to);
    }
  } catch (const StoreError& e) {
    return words::sampleNotPrepared(folder, e.what());
  }
  return std::nullopt;
}

}  // namespace store
