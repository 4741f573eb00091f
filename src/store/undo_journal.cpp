#include "store/undo_journal.h"

#include "store/files.h"
#include "store/record.h"
#include "words/messages.h"

namespace store {

std::vector<FileImage> UndoJournal::images(const std::vector<std::string>& fileNames) {
  std::vector<FileImage> out;
  for (const auto& name : fileNames) {
    if (!pathExists(name)) {
      out.push_back({name, std::nullopt});
      continue;
    }
    try {
      out.push_back({name, readFileBytes(name)});
    } catch (const StoreError&) {
    }
  }
  return out;
}

void UndoJournal::commit(std::string description, std::vector<FileImage> before) {
  std::vector<std::string> names;
  for (const auto& f : before) names.push_back(f.fileName);
  std::vector<FileImage> after = images(names);
  bool changed = after.size() != before.size();
  for (size_t i = 0; !changed && i < after.size(); ++i) changed = after[i].bytes != before[i].bytes;
  if (!changed) return;
  steps_.push_back({std::move(description), std::move(before), std::move(after)});
  while (steps_.size() > kDepth) steps_.pop_front();
}

std::vector<std::string> UndoJournal::undo() {
  if (steps_.empty()) return {};
  const Step& step = steps_.back();
  for (const auto& now : images([&] {
         std::vector<std::string> names;
         for (const auto& f : step.after) names.push_back(f.fileName);
         return names;
       }())) {
    for (const auto& then : step.after)
      if (then.fileName == now.fileName && then.bytes != now.bytes)
        throw StoreError(now.fileName, words::changedSince(now.fileName));
  }
  // One step: the old contents back, and a file the change created gone again.
  FileChanges restore;
  std::vector<std::string> names;
  for (const auto& f : step.before) {
    names.push_back(f.fileName);
    if (f.bytes)
      restore.write.push_back({f.fileName, *f.bytes});
    else
      restore.remove.push_back(f.fileName);
  }
  changeFiles(restore);
  steps_.pop_back();
  return names;
}

}  // namespace store
