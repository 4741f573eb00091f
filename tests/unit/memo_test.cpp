#include "memo/memo.h"

#include <gtest/gtest.h>

#include "store/record.h"
#include "support/temp_folder.h"

using namespace memo;

TEST(MemoNotes, DatedNoteTakesMonthAndDay) {
  EXPECT_EQ(datedNote("2024/01/05", "X"), "01/05 - X");
  EXPECT_EQ(datedNote("2024/12/31", "大掃除, 窓"), "12/31 - 大掃除, 窓");
}

TEST(MemoFiles, NotesAndTitlesRoundTrip) {
  testing_support::TempFolder dir;
  std::string list = dir.file("ﾘｽﾄ2.txt");
  appendNote(list, "牛乳, 卵, パン");
  appendNote(list, "");
  appendNote(list, "ジム");
  EXPECT_EQ(dir.readUtf8("ﾘｽﾄ2.txt"), "\"牛乳, 卵, パン\"\r\n\"\"\r\n\"ジム\"\r\n");
  EXPECT_EQ(readNotes(list), (std::vector<std::string>{"牛乳, 卵, パン", "", "ジム"}));

  std::string titles = dir.file("ﾘｽﾄ題目.txt");
  writeTitles({"A", "B, C", "", "D"}, titles);
  EXPECT_EQ(dir.readUtf8("ﾘｽﾄ題目.txt"), "\"A\"\r\n\"B, C\"\r\n\"\"\r\n\"D\"\r\n");
  EXPECT_EQ(readTitles(titles), (std::vector<std::string>{"A", "B, C", "", "D"}));

  dir.writeCp932("three.txt", "\"A\"\r\n\"B\"\r\n\"C\"\r\n");
  EXPECT_THROW(readTitles(dir.file("three.txt")), store::StoreError);
  EXPECT_THROW(readNotes(dir.file("ﾘｽﾄ9.txt")), store::StoreError);
}

TEST(MemoFiles, QuoteInsideAHandEditedNoteEndsIt) {
  testing_support::TempFolder dir;
  dir.writeCp932("ﾘｽﾄ1.txt", "\"He said \"hi\" there\"\r\n\"next\"\r\n");
  EXPECT_EQ(readNotes(dir.file("ﾘｽﾄ1.txt")), (std::vector<std::string>{"He said ", "next"}));
}
