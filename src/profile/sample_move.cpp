#include "profile/sample_move.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "store/record.h"
#include "words/file_errors.h"

namespace profile {

namespace fs = std::filesystem;

namespace {

// Takes `n` (min..max) ASCII digits off the front of `s`; false when there are fewer than min.
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

// A day file (YYYYMMDD.txt), its comment file (日記YYYYMMDD.txt) or a calendar month (YYYY年M月.txt).
bool isSampleDiaryName(const std::string& name) {
  std::string_view day = name;
  takeText(day, "日記");
  if (takeDigits(day, 8, 8) && day == ".txt") return true;
  std::string_view month = name;
  return takeDigits(month, 4, 4) && takeText(month, "年") && takeDigits(month, 1, 2) && month == "月.txt";
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
