#include "store/undo_journal.h"

#include <functional>
#include <string_view>

#include "store/files.h"
#include "store/record.h"
#include "words/messages.h"

namespace store {
namespace {

uint64_t hashOf(std::string_view bytes) { return std::hash<std::string_view>{}(bytes); }

}  // namespace

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
  Step step{std::move(description), {}};
  for (size_t i = 0; i < before.size(); ++i) {
    FileStep f;
    f.fileName = before[i].fileName;
    std::optional<std::string> now;
    for (FileImage& a : after)
      if (a.fileName == f.fileName) now = std::move(a.bytes);
    if (now) {
      f.afterLength = now->size();
      f.afterHash = hashOf(*now);
    }
    std::optional<std::string>& then = before[i].bytes;
    if (then && now && now->size() >= then->size() && now->compare(0, then->size(), *then) == 0) {
      f.append = true;
      f.oldLength = then->size();
      f.appended = now->substr(then->size());
    } else {
      f.before = std::move(then);
    }
    step.files.push_back(std::move(f));
  }
  steps_.push_back(std::move(step));
  while (steps_.size() > kDepth) steps_.pop_front();
}

std::vector<std::string> UndoJournal::undo() {
  if (steps_.empty()) return {};
  const Step& step = steps_.back();
  // One step: the old contents back, and a file the change created gone again.
  FileChanges restore;
  std::vector<std::string> names;
  for (const FileStep& f : step.files) {
    std::optional<std::string> now;
    if (pathExists(f.fileName)) now = readFileBytes(f.fileName);
    const bool asLeft = now ? f.afterLength == now->size() && hashOf(*now) == f.afterHash &&
                                  (!f.append || now->compare(f.oldLength, std::string::npos, f.appended) == 0)
                            : !f.afterLength;
    if (!asLeft) throw StoreError(f.fileName, words::changedSince(f.fileName));
    names.push_back(f.fileName);
    if (f.append)
      restore.write.push_back({f.fileName, now->substr(0, f.oldLength)});
    else if (f.before)
      restore.write.push_back({f.fileName, *f.before});
    else
      restore.remove.push_back(f.fileName);
  }
  changeFiles(restore);
  steps_.pop_back();
  return names;
}

}  // namespace store
