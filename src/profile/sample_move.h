#pragma once
// Leaving the sample: its diary days, their comments and its calendar months were never the
// user's, so a new start from the sample puts them aside instead of showing them in the new diary.
#include <string>
#include <vector>

#include "store/files.h"

namespace profile {

inline constexpr const char* kSampleFolder = "サンプル";

// The files of `folder` that belong to the sample's diary: day files (YYYYMMDD.txt), comment files
// (日記YYYYMMDD.txt), calendar months (YYYY年M月.txt) and the filled days of its weight log
// (補完.txt), sorted by name.
std::vector<std::string> sampleDiaryFiles(const std::string& folder);

// The moves that put those files of the current folder, byte for byte, into サンプル/, for the
// new start to make in its one step. The folder is made here when missing (a link there is
// refused); a name already taken in it gets a number ("20261128-2.txt") rather than replacing
// anything. Throws store::StoreError naming the folder.
std::vector<store::FileMove> sampleDiaryMoves();

}  // namespace profile
