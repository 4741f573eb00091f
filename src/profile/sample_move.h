#pragma once
// Leaving the sample: its diary days, their comments and its calendar months were never the
// user's, so a new start from the sample puts them aside instead of showing them in the new diary.
#include <string>
#include <vector>

namespace profile {

inline constexpr const char* kSampleFolder = "サンプル";

// The files of `folder` that belong to the sample's diary: day files (YYYYMMDD.txt), comment files
// (日記YYYYMMDD.txt) and calendar months (YYYY年M月.txt), sorted by name.
std::vector<std::string> sampleDiaryFiles(const std::string& folder);

// Moves those files, byte for byte, into `folder`/サンプル/ (created when missing). A name
// already taken there gets a number ("20261128-2.txt") rather than replacing anything. Throws
// store::StoreError naming the file that could not be moved; the files moved before it stay moved.
void moveSampleDiary(const std::string& folder);

}  // namespace profile
