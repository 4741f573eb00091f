#pragma once
// The whole diary as CSV files for spreadsheets: read from the data files of the current
// folder, one CSV per kind of record.
#include <string>
#include <vector>

namespace csv {

struct CsvFile {
  std::string name;   // e.g. "体重.csv"
  std::string bytes;  // the whole document
};

// Reads every data file and builds every CSV; a missing log gives a file with its header
// only. Throws store::StoreError (naming the file) when a data file is damaged.
std::vector<CsvFile> exportDiary(float stepLength);

}  // namespace csv
