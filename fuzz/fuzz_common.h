#pragma once
// Shared by the fuzz targets: a private working folder, emptied for every input.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace fuzzing {

// The private folder, made on first use and removed when the process ends. Held by a pointer
// that is never freed, so the removal at exit still finds its name.
inline const std::string& folderName() {
  static const std::string* const folder = [] {
    std::string templ = (std::filesystem::temp_directory_path() / "zorvel-fuzz-XXXXXX").string();
    if (!::mkdtemp(templ.data())) std::abort();
    auto* name = new std::string(templ);
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(folderName(), ec);
    });
    return name;
  }();
  return *folder;
}

// Makes the private folder the working folder, emptied of what the last input left.
inline const std::string& freshFolder() {
  const std::string& folder = folderName();
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
