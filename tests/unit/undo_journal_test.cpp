#include "store/undo_journal.h"

#include <gtest/gtest.h>

#include "store/files.h"
#include "store/record.h"
#include "support/temp_folder.h"

using testing_support::InFolder;
using testing_support::TempFolder;

TEST(UndoJournal, PutsBackByteForByteInOrderAndRefusesHandEdits) {
  TempFolder dir;
  InFolder in(dir);
  dir.writeBytes("a.txt", "one\r\n");
  store::UndoJournal journal;

  auto before = store::UndoJournal::images({"a.txt", "b.txt"});
  dir.writeBytes("a.txt", "two\r\n");
  dir.writeBytes("b.txt", "new\r\n");
  journal.commit("first", std::move(before));
  before = store::UndoJournal::images({"a.txt"});
  journal.commit("nothing changed", std::move(before));
  EXPECT_EQ(journal.depth(), 1u);

  before = store::UndoJournal::images({"a.txt"});
  dir.writeBytes("a.txt", "three\r\n");
  journal.commit("second", std::move(before));
  EXPECT_EQ(journal.lastDescription(), "second");

  // A hand edit since the change is never overwritten.
  dir.writeBytes("a.txt", "by hand\r\n");
  EXPECT_THROW(journal.undo(), store::StoreError);
  EXPECT_EQ(journal.depth(), 2u);
  EXPECT_EQ(dir.readBytes("a.txt"), "by hand\r\n");

  dir.writeBytes("a.txt", "three\r\n");
  EXPECT_EQ(journal.undo(), std::vector<std::string>{"a.txt"});
  EXPECT_EQ(dir.readBytes("a.txt"), "two\r\n");
  journal.undo();
  EXPECT_EQ(dir.readBytes("a.txt"), "one\r\n");
  EXPECT_FALSE(dir.exists("b.txt"));  // created by the change, so gone again
  EXPECT_EQ(journal.depth(), 0u);
}

TEST(UndoJournal, KeepsTheLatestTwentySteps) {
  TempFolder dir;
  InFolder in(dir);
  store::UndoJournal journal;
  for (int i = 0; i < 25; ++i) {
    auto before = store::UndoJournal::images({"a.txt"});
    dir.writeBytes("a.txt", std::to_string(i));
    journal.commit("step " + std::to_string(i), std::move(before));
  }
  EXPECT_EQ(journal.depth(), store::UndoJournal::kDepth);
  EXPECT_EQ(journal.lastDescription(), "step 24");
  while (journal.depth() > 0) journal.undo();
  EXPECT_EQ(dir.readBytes("a.txt"), "4");
}

TEST(UndoJournal, TakesAnAppendBackToItsOldLengthAndNoticesEditsBeforeIt) {
  TempFolder dir;
  InFolder in(dir);
  dir.writeBytes("a.txt", "one\r\n");
  store::UndoJournal journal;
  for (const char* added : {"two\r\n", "three\r\n"}) {
    auto before = store::UndoJournal::images({"a.txt"});
    dir.writeBytes("a.txt", dir.readBytes("a.txt") + added);
    journal.commit(added, std::move(before));
  }
  dir.writeBytes("a.txt", "ONE\r\ntwo\r\nthree\r\n");
  EXPECT_THROW(journal.undo(), store::StoreError);
  dir.writeBytes("a.txt", "one\r\ntwo\r\nthree\r\n");
  journal.undo();
  EXPECT_EQ(dir.readBytes("a.txt"), "one\r\ntwo\r\n");
  journal.undo();
  EXPECT_EQ(dir.readBytes("a.txt"), "one\r\n");
}
