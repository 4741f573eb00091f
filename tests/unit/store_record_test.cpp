#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <random>

#include "store/cp932.h"
#include "store/record.h"
#include "store/text_column.h"
#include "support/temp_folder.h"

using store::Record;
using store::RecordReader;
using store::StoreError;
using testing_support::InFolder;
using testing_support::TempFolder;

namespace {

RecordReader fromText(const std::string& text) { return RecordReader("テスト.txt", text); }

}  // namespace

TEST(RecordReader, ReadsTextAndNumberOfAWeightLine) {
  auto r = fromText("\"2004/05/01\",65.5\r\n");
  EXPECT_EQ(r.readText(), "2004/05/01");
  EXPECT_FLOAT_EQ(r.readSingle(), 65.5f);
  EXPECT_TRUE(r.atEnd());
}

TEST(RecordReader, LineEndSeparatesFieldsLikeAComma) {
  // Records are counted by fields: a record split over lines still reads.
  auto r = fromText("\"a\"\r\n1,\"b\",2\r\n");
  EXPECT_EQ(r.readText(), "a");
  EXPECT_EQ(r.readInt16(), 1);
  EXPECT_EQ(r.readText(), "b");
  EXPECT_EQ(r.readInt32(), 2);
  EXPECT_TRUE(r.atEnd());
}

TEST(RecordReader, LastLineWithoutLineEndAndEmptyFile) {
  auto r = fromText("\"2004/05/01\",65\r\n\"2004/05/02\",64.5");
  r.readText();
  r.readSingle();
  EXPECT_FALSE(r.atEnd());
  EXPECT_EQ(r.readText(), "2004/05/02");
  EXPECT_FLOAT_EQ(r.readSingle(), 64.5f);
  EXPECT_TRUE(r.atEnd());
  EXPECT_TRUE(fromText("").atEnd());
}

TEST(RecordReader, NumberForms) {
  auto r = fromText("\"一歩換算\",.7\r\n\"一歩換算\",0.7\r\n,\r\n -3 ,  12.25\r\n");
  r.skipField();
  float a = r.readSingle();
  r.skipField();
  EXPECT_EQ(a, r.readSingle());  // .7 and 0.7 are the same value
  EXPECT_FLOAT_EQ(a, 0.7f);
  EXPECT_EQ(r.readInt16(), 0);  // empty field reads as 0
  EXPECT_EQ(r.readInt16(), 0);
  EXPECT_EQ(r.readInt16(), -3);  // blanks around a bare field are skipped
  EXPECT_DOUBLE_EQ(r.readDouble(), 12.25);
}

TEST(RecordReader, QuotedTextKeepsCommasAndSkipsToSeparator) {
  auto r = fromText("  \"a,b\"junk,\"\"\r\nplain text,\"x\"\r\n");
  EXPECT_EQ(r.readText(), "a,b");
  EXPECT_EQ(r.readText(), "");
  EXPECT_EQ(r.readText(), "plain text");
  EXPECT_EQ(r.readText(), "x");
}

TEST(RecordReader, WrongFormNamesFileAndLine) {
  auto r = fromText("\"2004/05/01\",65\r\n\"2004/05/02\",abc\r\n");
  r.readText();
  r.readSingle();
  r.readText();
  try {
    r.readSingle();
    FAIL() << "letters read as a number";
  } catch (const StoreError& e) {
    std::string m = e.what();
    EXPECT_NE(m.find("テスト.txt"), std::string::npos) << m;
    EXPECT_NE(m.find("2 行目"), std::string::npos) << m;
    EXPECT_NE(m.find("abc"), std::string::npos) << m;
  }
}

TEST(RecordReader, ReadingPastTheEndAndOutOfRangeIntegersAreErrors) {
  auto r = fromText("\"氏名\"\r\n");
  r.skipField();
  EXPECT_THROW(r.readText(), StoreError);
  auto big = fromText("40000\r\n");
  EXPECT_THROW(big.readInt16(), StoreError);
  auto halfOver = fromText("32767.5\r\n32766.5\r\n");  // rounds to 32768: out of range, never wrapped
  EXPECT_THROW(halfOver.readInt16(), StoreError);
  EXPECT_EQ(halfOver.readInt16(), 32766);
  auto ok = fromText("40000\r\n");
  EXPECT_EQ(ok.readInt32(), 40000);
}

// A quote left open at a line end is damage named at its line, read any way, with any line ends,
// short texts (read byte by byte) and long ones (sixteen bytes at a time).
TEST(RecordReader, AQuoteLeftOpenAtALineEndIsDamageNamedWhereItOpened) {
  for (const std::string eol : {"\r\n", "\n", "\r"})
    for (const std::string& text : {std::string("a"), std::string(40, 'x'), "\x91\xcc\x8f\x64" + std::string(40, 'x')})
      for (int way = 0; way < 4; ++way) {
        SCOPED_TRACE(testing::Message() << eol.size() << " " << text.size() << " " << way);
        TempFolder dir;
        InFolder in(dir);
        // Line 1 is split between its fields; the quote of line 4 would close on line 5.
        dir.writeBytes("log.txt", "\"2024/01/01\"\r\n1" + eol + "\"" + text + "\",2" + eol + "\"" + text + eol + text +
                                      "\",3" + eol);
        RecordReader r("log.txt");
        store::TextColumn column;
        const std::function<void()> reads[] = {[&] { r.readText(); }, [&] { store::TextIs("a").next(r); },
                                               [&] { r.skipField(); }, [&] { column.read(r); }};
        r.readText();
        EXPECT_EQ(r.readInt16(), 1);
        reads[way]();
        EXPECT_EQ(r.readInt16(), 2);
        try {
          reads[way]();
          FAIL() << "read on past the open quote";
        } catch (const StoreError& e) {
          EXPECT_EQ(std::string(e.what()),
                    "「log.txt」の 4 行目: 「\"」で始まる文字の欄が、その行のうちに「\"」で閉じていません。");
        }
      }
  auto atEnd = fromText("\"a\"\r\n\"b");  // left open at the end of the file
  atEnd.readText();
  EXPECT_THROW(atEnd.readText(), StoreError);
}

TEST(RecordWriter, FieldsAsTheyAreWritten) {
  Record r;
  r.text("2004/05/01").single(65.5f).int16(-3).int32(40000).single(65.0f).single(168.5f).text("");
  EXPECT_EQ(r.line(), "\"2004/05/01\",65.5,-3,40000,65,168.5,\"\"");
  EXPECT_EQ(Record().single(65.3f).line(), "65.3");
  EXPECT_EQ(Record().single(0.7f).line(), "0.7");
  EXPECT_EQ(Record().dbl(65.25).line(), "65.25");
}

TEST(StoreFiles, AppendCreatesAndRoundTripsEveryFieldType) {
  TempFolder dir;
  InFolder in(dir);
  store::appendRecords("体重.txt", {Record().text("2004/05/01").single(65.3f)});
  store::appendRecords("体重.txt", {Record().text("ｶﾛﾘｰ①～").int16(-32768).int32(2147483647).dbl(0.200000000000003)});
  EXPECT_EQ(dir.readBytes("体重.txt"),
            store::utf8ToCp932("\"2004/05/01\",65.3\r\n\"ｶﾛﾘｰ①～\",-32768,2147483647,0.200000000000003\r\n"));
  RecordReader r("体重.txt");
  EXPECT_EQ(r.readText(), "2004/05/01");
  EXPECT_EQ(r.readSingle(), 65.3f);
  EXPECT_EQ(r.readText(), "ｶﾛﾘｰ①～");
  EXPECT_EQ(r.readInt16(), -32768);
  EXPECT_EQ(r.readInt32(), 2147483647);
  EXPECT_DOUBLE_EQ(r.readDouble(), 0.200000000000003);
  EXPECT_TRUE(r.atEnd());
}

TEST(StoreFiles, KnownCp932Bytes) {
  TempFolder dir;
  InFolder in(dir);
  store::rewriteRecords("設定.txt", {Record().text("ヘルプツアー").int16(1)});
  // "ヘルプツアー" in CP932, then ,1 CR LF.
  EXPECT_EQ(dir.readBytes("設定.txt"), std::string("\"\x83\x77\x83\x8B\x83\x76\x83\x63\x83\x41\x81\x5B\",1\r\n"));
  EXPECT_TRUE(dir.exists("設定.txt"));  // file name itself in UTF-8 on disk
}

TEST(StoreFiles, RewriteIsAtomicAndLeavesNoTemporaryFile) {
  TempFolder dir;
  InFolder in(dir);
  store::rewriteRecords("ﾘｽﾄ題目.txt", {Record().text("old")});
  store::rewriteRecords("ﾘｽﾄ題目.txt", {Record().text("new"), Record().text("two")});
  EXPECT_EQ(dir.readUtf8("ﾘｽﾄ題目.txt"), "\"new\"\r\n\"two\"\r\n");
  EXPECT_EQ(dir.list().size(), 1u);
}

TEST(StoreFiles, UnencodableTextIsNeverWrittenInPart) {
  TempFolder dir;
  InFolder in(dir);
  store::rewriteRecords("memo.txt", {Record().text("keep")});
  try {
    store::rewriteRecords("memo.txt", {Record().text("ok"), Record().text("smile 😀")});
    FAIL();
  } catch (const StoreError& e) {
    EXPECT_NE(std::string(e.what()).find("😀"), std::string::npos);
  }
  EXPECT_THROW(store::appendRecords("memo.txt", {Record().text("ok"), Record().text("😀")}), StoreError);
  EXPECT_EQ(dir.readUtf8("memo.txt"), "\"keep\"\r\n");
  EXPECT_EQ(dir.list().size(), 1u);
}

TEST(StoreFiles, MissingAndUndecodableFilesNameTheFile) {
  TempFolder dir;
  InFolder in(dir);
  try {
    RecordReader r("ない.txt");
    FAIL();
  } catch (const StoreError& e) {
    EXPECT_NE(std::string(e.what()).find("ない.txt"), std::string::npos);
    EXPECT_EQ(e.file(), "ない.txt");
  }
  dir.writeBytes("bad.txt", "\"\x81\"\r\n");  // a lead byte with no trail byte
  EXPECT_THROW(RecordReader r("bad.txt"), StoreError);
}

// Texts of every kind (ASCII, double-byte, a character with two codes, half-width kana, tabs
// and commas inside quotes, long and empty, a blank before or a stray byte after the quotes)
// read the same by readText, TextIs and a TextColumn, which keeps its texts after the reader
// is gone.
TEST(RecordReader, EveryWayOfReadingATextAgrees) {
  const std::vector<std::string> pieces = {"a",
                                           "Z9",
                                           " ",
                                           ",",
                                           "\t",
                                           "\x81\x9c" /*●*/,
                                           "\x81\x7e" /*×*/,
                                           "\x81\xe0" /*≒*/,
                                           "\x87\x90" /*≒*/,
                                           "\xb1" /*ｱ*/,
                                           "\x91\xcc\x8f\x64" /*体重*/};
  // Each asked for fifty texts running, as a log asks for its marks.
  const std::vector<std::string> targets = {"●", "×", "≒", "体重", "a", ""};
  std::mt19937 rng(17);
  TempFolder dir;
  InFolder in(dir);
  std::string bytes;
  std::vector<std::string> expected;
  std::vector<int> textsOf;
  for (int record = 0; record < 3000; ++record) {
    textsOf.push_back(1 + static_cast<int>(rng() % 3));
    for (int t = 0; t < textsOf.back(); ++t) {
      std::string stored;
      const size_t n = rng() % 4 == 0 ? rng() % 40 : rng() % 4;
      for (size_t k = 0; k < n; ++k) stored += pieces[rng() % pieces.size()];
      // Now and then a blank before the quote or a stray byte after it, which reading skips.
      const bool blank = rng() % 8 == 0, stray = rng() % 8 == 0;
      bytes += std::string(blank ? " " : "") + "\"" + stored + "\"" + (stray ? "x" : "") + ",";
      expected.push_back(store::cp932ToUtf8(stored));
    }
    bytes += std::to_string(record) + "\r\n";
  }
  dir.writeBytes("log.txt", bytes);
  std::vector<std::string> plain;
  std::vector<bool> is;
  store::TextColumn column;
  {
    RecordReader a("log.txt"), b("log.txt"), c("log.txt");
    std::vector<store::TextIs> isTarget(targets.begin(), targets.end());
    for (size_t record = 0, i = 0; record < textsOf.size(); ++record) {
      for (int t = 0; t < textsOf[record]; ++t, ++i) {
        plain.push_back(a.readText());
        is.push_back(isTarget[i / 50 % targets.size()].next(b));
        column.read(c);
      }
      for (RecordReader* r : {&a, &b, &c}) ASSERT_EQ(r->readInt32(), static_cast<int>(record));
    }
    EXPECT_TRUE(a.atEnd() && b.atEnd() && c.atEnd());
  }
  // A copy (as a chart keeps one) stays as it was when either of the two gains a text.
  store::TextColumn copy = column, second = column;
  column.push_back("体重");
  second.push_back("x");
  ASSERT_EQ(plain.size(), expected.size());
  ASSERT_EQ(copy.size(), expected.size());
  EXPECT_EQ(column.back(), "体重");
  EXPECT_EQ(second.back(), "x");
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(plain[i], expected[i]) << i;
    EXPECT_EQ(is[i], expected[i] == targets[i / 50 % targets.size()]) << i;
    EXPECT_EQ(copy[i], expected[i]) << i;
    EXPECT_EQ(column[i], expected[i]) << i;
  }
}

TEST(Cp932, FirstUnencodableCharacter) {
  EXPECT_FALSE(store::firstUnencodable("体重ﾌﾟﾗｲﾍﾞｰﾄ①～ABC").has_value());
  EXPECT_EQ(store::firstUnencodable("ab😀c🍣").value_or(""), "😀");
  EXPECT_EQ(store::cp932ToUtf8(store::utf8ToCp932("Ｑ＆Ｚ")), "Ｑ＆Ｚ");
}
