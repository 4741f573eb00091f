#pragma once
// One weight entry with its recompute against start-up, timed apart in this process.
#include <filesystem>
#include <iosfwd>

namespace bench {

struct EntryCase {
  double startup = 0;        // start-up on 729 weights, median ms
  double entry = 0;          // the entry of the 730th day, appending its rows, median ms
  double wholeEntry = 0;     // the same entry recomputing everything, median ms
  double appendFsync = 0;    // one record appended and flushed to disk alone, median ms
  double entryCpu = 0;       // the entry's processor time (its wait for the disk left out), median ms
  double wholeEntryCpu = 0;  // the same for the entry recomputing everything
};

// `folder` holds the diary at the design limits (730 weights up to its last day); its weight
// log is as before afterwards. Prints one line per case and the ratios to `out`.
EntryCase runEntryCase(const std::filesystem::path& folder, int runs, std::ostream& out);

}  // namespace bench
