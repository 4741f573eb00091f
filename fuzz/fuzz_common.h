#pragma once
// Shared by the fuzz targets: a private working folder, emptied for every input.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace fuzzing {

// Makes a fresh folder the working folder on the first call, empties it on every later one.
inline const std::string& freshFolder() {
  static const std::string folder = [] {
    std::string templ = (std::filesystem::temp_directory_path() / "zorvel-fuzz-XXXXXX").string();
    if (!::mkdtemp(templ.data())) std::abort();
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(freshFolder(), ec);
    });
    return templ;
  }();
  std::error_code ec;
  std::filesystem::current_path(folder, ec);
  for (const auto& e : std::filesystem::directory_iterator(folder, ec)) std::filesystem::remove_all(e.path(), ec);
  return folder;
}

inline void writeFile(const std::string& name, const std::string& bytes) {
  FILE* f = std::fopen(name.c_str(), "wb");
  if (!f) std::abort();
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

}  // namespace fuzzing
