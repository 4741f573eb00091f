#include "profile/sample_move.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "store/folder_files.h"
#include "store/record.h"
#include "words/file_errors.h"

namespace profile {

namespace fs = std::filesystem;

namespace {

std::string freeName(const std::string& dir, const std::string& name) {
  const fs::path given(name);
  const std::string stem = given.stem().string(), ext = given.extension().string();
  std::string target = store::joinPath(dir, name);
  for (int n = 2; store::pathExists(target); ++n) target = store::joinPath(dir, stem + "-" + std::to_string(n) + ext);
  return target;
}

}  // namespace

std::vector<std::string> sampleDiaryFiles(const std::string& folder) {
  std::vector<std::string> names;
  for (std::string& name : store::fileNamesIn(folder))
    if (store::isDayOrMonthFileName(name) || name == store::kFilledDaysFile) names.push_back(std::move(name));
  return names;
}

std::vector<store::FileMove> sampleDiaryMoves() {
  std::vector<store::FileMove> moves;
  const std::vector<std::string> names = sampleDiaryFiles(".");
  if (names.empty()) return moves;
  if (store::pathExists(kSampleFolder) && !store::isRealDirectory(kSampleFolder)) {
    std::error_code ec;
    throw store::fileError(kSampleFolder, store::FileOp::MakeFolder,
                           fs::is_symlink(kSampleFolder, ec) ? ELOOP : EEXIST);
  }
  store::makeDirectories(kSampleFolder);
  for (const auto& name : names) moves.push_back({name, freeName(kSampleFolder, name)});
  return moves;
}

}  // namespace profile
