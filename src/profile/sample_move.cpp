#include "profile/sample_move.h"

#include <algorithm>
#include <filesystem>
#include <regex>
#include <system_error>

#include "store/record.h"
#include "words/file_errors.h"

namespace profile {

namespace fs = std::filesystem;

namespace {

bool isSampleDiaryName(const std::string& name) {
  static const std::regex pattern(R"((日記)?[0-9]{8}\.txt|[0-9]{4}年[0-9]{1,2}月\.txt)");
  return std::regex_match(name, pattern);
}

fs::path freeName(const fs::path& dir, const std::string& name) {
  fs::path target = dir / name;
  const std::string stem = target.stem().string(), ext = target.extension().string();
  for (int n = 2; fs::exists(target); ++n) target = dir / (stem + "-" + std::to_string(n) + ext);
  return target;
}

}  // namespace

std::vector<std::string> sampleDiaryFiles(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(folder, ec)) {
    const std::string name = e.path().filename().string();
    if (e.is_regular_file() && isSampleDiaryName(name)) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

void moveSampleDiary(const std::string& folder) {
  const std::vector<std::string> names = sampleDiaryFiles(folder);
  if (names.empty()) return;
  const fs::path dir = fs::path(folder) / kSampleFolder;
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec) throw store::fileError(dir.string(), store::FileOp::MakeFolder, ec.value());
  for (const auto& name : names) {
    fs::rename(fs::path(folder) / name, freeName(dir, name), ec);
    if (ec) throw store::fileError((fs::path(folder) / name).string(), store::FileOp::Move, ec.value());
  }
}

}  // namespace profile
