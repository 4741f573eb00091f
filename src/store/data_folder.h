#pragma once
// Which folder holds the diary, and making it ready before start-up.
#include <optional>
#include <string>

namespace store {

inline constexpr const char* kProfileFileName = "ﾌﾟﾗｲﾍﾞｰﾄ.txt";

enum class FolderOrigin { CommandLine, Environment, ProgramFolder, UserData };

struct DataFolderChoice {
  std::string folder;
  FolderOrigin origin = FolderOrigin::UserData;
};

// In this order: the command line's folder, the environment's, the program's own folder when
// it holds a profile (portable use), else the user's data folder. Empty texts count as unset.
DataFolderChoice chooseDataFolder(const std::optional<std::string>& commandLine,
                                  const std::optional<std::string>& environment, const std::string& programFolder,
                                  const std::string& userDataFolder);

// Creates the folder when missing and checks it can be written. A folder without a profile is a
// new diary: the seed folder's .txt files are copied where a file of that name is missing (no
// seed when `seedFolder` is empty or missing). Returns the error text for the user, naming the
// folder, or nullopt when the folder is ready; on an error nothing has been written.
std::optional<std::string> prepareDataFolder(const std::string& folder, const std::string& seedFolder);

}  // namespace store
