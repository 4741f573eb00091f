#pragma once
// The steps a user can take back: for each stored change, what each file it touched held before
// (for an append only the old length), and what tells whether the file is still as the change
// left it.
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace store {

struct FileImage {
  std::string fileName;
  std::optional<std::string> bytes;  // nullopt: there was no such file
};

class UndoJournal {
 public:
  static constexpr size_t kDepth = 20;

  // The files as they are now, before a change. A file that cannot be read is left out: the
  // change will fail on it anyway.
  static std::vector<FileImage> images(const std::vector<std::string>& fileNames);

  // Records the change that followed `before`, with the files as they are now. A change that
  // left every file as it was is no step.
  void commit(std::string description, std::vector<FileImage> before);

  size_t depth() const { return steps_.size(); }
  // What the last step did ("2026/12/07 の体重 62.9Kg の入力"); empty when there is none.
  std::string lastDescription() const { return steps_.empty() ? std::string() : steps_.back().description; }

  // Puts the files of the last step back as they were before it, all or none, and forgets the
  // step. A file changed since (by hand or by another program) is never overwritten: that is a
  // StoreError naming it, and nothing changes. Returns the names of the files put back.
  std::vector<std::string> undo();

  void clear() { steps_.clear(); }

 private:
  // One file of a step. A diary grows by appends, so an append keeps only its old length and
  // the bytes it added: the steps weigh what changed, not the files.
  struct FileStep {
    std::string fileName;
    std::optional<std::string> before;  // a rewrite's old bytes; nullopt for a file the change made
    bool append = false;
    size_t oldLength = 0;  // an append's
    std::string appended;
    // The file as the change left it, to see whether it was changed since.
    std::optional<size_t> afterLength;  // nullopt: the change removed it
    uint64_t afterHash = 0;
  };
  struct Step {
    std::string description;
    std::vector<FileStep> files;
  };
  std::deque<Step> steps_;
};

}  // namespace store
