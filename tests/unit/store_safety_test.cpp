#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <utility>

#include "store/files.h"
#include "store/folder_files.h"
#include "store/record.h"
#include "support/drive.h"
#include "support/temp_folder.h"
#include "words/file_errors.h"

using store::IoStep;
using store::Record;
using store::StoreError;
using testing_support::InFolder;
using testing_support::TempFolder;

namespace {

std::string messageOf(const std::function<void()>& work) {
  try {
    work();
  } catch (const StoreError& e) {
    return e.what();
  }
  return "(no error)";
}

bool hasOwnTemporary(const TempFolder& dir) {
  for (const auto& name : dir.list())
    if (store::isOwnTemporaryName(name)) return true;
  return false;
}

using Files = std::map<std::string, std::string>;
Files filesOf(const TempFolder& dir, bool temporaries = true) {
  Files files;
  for (const auto& name : dir.list())
    if (temporaries || !store::isOwnTemporaryName(name)) files[name] = dir.readBytes(name);
  return files;
}
std::optional<std::string> fileIn(const Files& files, const std::string& name) {
  const auto it = files.find(name);
  return it == files.end() ? std::nullopt : std::optional(it->second);
}

// Runs `work` from the same folder with the nth call of each kind of step failing, n = 1, 2, ...
// until a run no longer reaches it; exactly the kinds `reached` must fail at least once. A failed
// open, write, fsync, rename or link leaves the folder byte for byte as before. A failed removal
// or truncation, alone or as the clean-up after a failed fsync, leaves each file as before or as
// the work makes it, with at most a temporary beside them. Ends with the work done.
void everyFailureLeavesTheFolderAlone(const TempFolder& dir, const std::function<void()>& work,
                                      const std::set<IoStep>& reached) {
  const Files start = filesOf(dir);
  const auto putBack = [&] {
    for (const auto& name : dir.list())
      if (!start.count(name)) std::filesystem::remove(dir.file(name));
    for (const auto& [name, bytes] : start) dir.writeBytes(name, bytes);
  };
  work();
  const Files done = filesOf(dir, false);
  std::set<IoStep> fired;
  for (const IoStep step :
       {IoStep::Open, IoStep::Write, IoStep::Fsync, IoStep::Rename, IoStep::Link, IoStep::Remove, IoStep::Truncate}) {
    const bool cleanUp = step == IoStep::Remove || step == IoStep::Truncate;
    for (int afterFsync = 0; afterFsync <= (cleanUp ? 1 : 0); ++afterFsync)
      for (int nth = 1;; ++nth) {
        SCOPED_TRACE(testing::Message() << "step " << static_cast<int>(step) << " call " << nth << " " << afterFsync);
        putBack();
        store::failNthStep(step, nth, ENOSPC);
        if (afterFsync) store::failNthStep(IoStep::Fsync, 1, EIO);
        std::string error;
        try {
          work();
        } catch (const StoreError& e) {
          error = e.what();
        }
        const bool hit = store::injectedFailureFired(step);
        store::clearInjectedFailure();
        if (!hit) break;
        fired.insert(step);
        if (!cleanUp) {
          EXPECT_NE(error.find("No space left on device"), std::string::npos) << error;
          EXPECT_EQ(filesOf(dir), start);
          continue;
        }
        EXPECT_TRUE(!afterFsync || error.find("Input/output error") != std::string::npos) << error;
        const Files now = filesOf(dir, false);
        Files all = now;
        all.insert(start.begin(), start.end());
        all.insert(done.begin(), done.end());
        for (const auto& [name, bytes] : all)
          EXPECT_TRUE(fileIn(now, name) == fileIn(start, name) || fileIn(now, name) == fileIn(done, name)) << name;
      }
  }
  EXPECT_EQ(fired, reached);
  putBack();
  work();
}

}  // namespace

TEST(StoreAppend, ALastLineWithoutItsLineEndGetsOneFirst) {
  TempFolder dir;
  InFolder in(dir);
  const std::pair<std::string, std::string> cases[] = {
      {"\"2026/12/03\",68.3", "\"2026/12/03\",68.3\r\n\"2026/12/04\",68\r\n"},
      {"\"2026/12/03\",68.3\r", "\"2026/12/03\",68.3\r\n\"2026/12/04\",68\r\n"},
      {"\"2026/12/03\",68.3\n", "\"2026/12/03\",68.3\n\"2026/12/04\",68\r\n"},
      {"\"2026/12/03\",68.3\r\n", "\"2026/12/03\",68.3\r\n\"2026/12/04\",68\r\n"},
      {"", "\"2026/12/04\",68\r\n"}};
  for (const auto& [old, expected] : cases) {
    dir.writeBytes("体重.txt", old);
    store::appendRecords("体重.txt", {Record().text("2026/12/04").single(68)});
    EXPECT_EQ(dir.readBytes("体重.txt"), expected);
    store::RecordReader r("体重.txt");
    int records = 0;
    while (!r.atEnd()) r.readText(), r.readSingle(), ++records;
    EXPECT_EQ(records, old.empty() ? 1 : 2);
  }
}

TEST(StoreAppend, EveryFailedStepLeavesTheFileAsItWas) {
  TempFolder dir;
  InFolder in(dir);
  dir.writeBytes("体重.txt", "\"2026/12/02\",70.1\r\n\"2026/12/03\",70");  // no final line end
  everyFailureLeavesTheFolderAlone(
      dir, [] { store::appendRecords("体重.txt", {Record().text("2026/12/04").single(69.5f)}); },
      {IoStep::Open, IoStep::Write, IoStep::Fsync, IoStep::Truncate});
  // A file the failed append would have created is not left behind, not even empty.
  everyFailureLeavesTheFolderAlone(dir, [] { store::appendRecords("歩数.txt", {Record().text("x").single(1)}); },
                                   {IoStep::Open, IoStep::Write, IoStep::Fsync, IoStep::Remove});
  EXPECT_EQ(dir.readBytes("体重.txt"), "\"2026/12/02\",70.1\r\n\"2026/12/03\",70\r\n\"2026/12/04\",69.5\r\n");
}

TEST(StoreRewrite, EveryFailedStepLeavesTheFileAsItWasAndNoTemporary) {
  TempFolder dir;
  InFolder in(dir);
  store::rewriteRecords("a.txt", {Record().text("keep")});
  for (const char* name : {"a.txt", "b.txt"})
    everyFailureLeavesTheFolderAlone(dir, [&] { store::rewriteRecords(name, {Record().text("new")}); },
                                     {IoStep::Open, IoStep::Write, IoStep::Fsync, IoStep::Rename, IoStep::Remove});
  EXPECT_EQ(dir.readUtf8("a.txt"), "\"new\"\r\n");
  EXPECT_FALSE(hasOwnTemporary(dir));
  // Nothing is written through a link planted at the old fixed temporary name either.
  std::filesystem::create_symlink(dir.file("elsewhere.txt"), dir.file("a.txt.tmp~"));
  store::rewriteRecords("a.txt", {Record().text("again")});
  EXPECT_FALSE(dir.exists("elsewhere.txt"));
  EXPECT_EQ(dir.readUtf8("a.txt"), "\"again\"\r\n");
}

TEST(StoreFiles, LinksFoldersAndOtherNonFilesAreRefusedByName) {
  TempFolder dir;
  TempFolder outside;
  InFolder in(dir);
  outside.writeBytes("target.txt", "\"x\"\r\n");
  std::filesystem::create_symlink(outside.file("target.txt"), dir.file("体重.txt"));
  std::filesystem::create_directory(dir.file("歩数.txt"));
  ASSERT_EQ(::mkfifo(dir.file("栄養.txt").c_str(), 0644), 0);

  for (const char* name : {"体重.txt", "歩数.txt", "栄養.txt"}) {
    SCOPED_TRACE(name);
    const std::string quoted = std::string("「") + name + "」";
    // Opened now to be read later, it is no missing file and has no size.
    store::OpenedFile opened(name);
    EXPECT_FALSE(opened.missing());
    EXPECT_EQ(opened.size(), 0u);
    for (const auto& message : {messageOf([&] { store::RecordReader r(name); }), messageOf([&] { opened.read(); }),
                                messageOf([&] { store::appendRecords(name, {Record().text("y")}); }),
                                messageOf([&] { store::rewriteRecords(name, {Record().text("y")}); })})
      EXPECT_EQ(message.rfind(quoted, 0), 0u) << message;
  }
  EXPECT_EQ(
      messageOf([] {
        store::RecordReader r("歩数.txt");
      }).rfind("「歩数.txt」を読み込めませんでした。ファイルではなくフォルダーです（Is a directory）。\n場所：", 0),
      0u);
  EXPECT_NE(messageOf([] { store::RecordReader r("体重.txt"); }).find("シンボリックリンク"), std::string::npos);
  EXPECT_EQ(outside.readBytes("target.txt"), "\"x\"\r\n");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("体重.txt")));
  EXPECT_FALSE(hasOwnTemporary(dir));
  std::filesystem::create_symlink("nowhere.txt", dir.file("ﾘｽﾄ1.txt"));
  EXPECT_FALSE(store::OpenedFile("ﾘｽﾄ1.txt").missing());
  EXPECT_TRUE(store::OpenedFile("nowhere.txt").missing());
}

TEST(StoreFiles, AFileFarBeyondItsLimitIsRefusedBeforeItIsRead) {
  TempFolder dir;
  InFolder in(dir);
  std::string text;
  for (int i = 0; i < 11; ++i) text += "\"2026/12/03\",70\r\n";
  dir.writeBytes("体重.txt", text);
  EXPECT_EQ(messageOf([] { store::RecordReader r("体重.txt", store::RecordLimit{10}); }),
            "「体重.txt」には 11 行の記録があり、扱える 10 行を超えています。");
  store::RecordReader ok("体重.txt", store::RecordLimit{11});
  EXPECT_EQ(ok.readText(), "2026/12/03");
}

// With hard links, and without them (FAT, exFAT, some network shares: the old files then keep
// their second names by rename), every failure leaves the folder as it was.
TEST(StoreReplace, SeveralFilesChangeAllOrNothing) {
  for (int noLinks : {0, EPERM, ENOSYS, EOPNOTSUPP, EXDEV}) {
    SCOPED_TRACE(noLinks);
    TempFolder dir;
    InFolder in(dir);
    dir.writeBytes("a.txt", "old a\r\n");
    dir.writeBytes("c.txt", "old c\r\n");
    dir.writeBytes("d.txt", "old d\r\n");
    const store::FileChanges changes = {{{"a.txt", ""}, {"b.txt", "new b\r\n"}, {"c.txt", "new c\r\n"}}, {"d.txt"}, {}};
    store::refuseHardLinks(noLinks);
    everyFailureLeavesTheFolderAlone(
        dir, [&] { store::changeFiles(changes); },
        {IoStep::Open, IoStep::Write, IoStep::Fsync, IoStep::Rename, IoStep::Link, IoStep::Remove});
    store::refuseHardLinks(0);
    EXPECT_EQ(dir.readBytes("a.txt") + dir.readBytes("b.txt") + dir.readBytes("c.txt"), "new b\r\nnew c\r\n");
    EXPECT_EQ(dir.list().size(), 3u);
  }
}

TEST(StoreReplace, StartUpFinishesAnInterruptedReplacementAndClearsStaleTemporaries) {
  TempFolder dir;
  InFolder in(dir);
  // The state a crash leaves after the journal and the first rename: a.txt new, c.txt still old.
  dir.writeBytes("a.txt", "new a\r\n");
  dir.writeBytes(".~zorvel-bak001", "old a\r\n");
  dir.writeBytes("c.txt", "old c\r\n");
  dir.writeBytes(".~zorvel-new002", "new c\r\n");
  dir.writeBytes(".~zorvel-bak002", "old c\r\n");
  dir.writeBytes(".~zorvel-journal",
                 ".~zorvel-new001\ta.txt\t.~zorvel-bak001\n.~zorvel-new002\tc.txt\t.~zorvel-bak002\n");
  // A temporary of a rewrite killed half-way, an old-style one, and a user's file that only looks alike.
  dir.writeBytes(".~zorvel-Ab12Cd", "half");
  dir.writeBytes("体重.txt.tmp~", "half");
  dir.writeBytes("memo.tmp~", "mine");
  store::recoverFolder();
  EXPECT_EQ(dir.readBytes("a.txt"), "new a\r\n");
  EXPECT_EQ(dir.readBytes("c.txt"), "new c\r\n");
  std::vector<std::string> left = dir.list();
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"a.txt", "c.txt", "memo.tmp~"}));

  // A crash while a failed replacement was being taken back: the start takes the rest back. a.txt
  // was replaced, b.txt made, c.txt not reached; d.txt removed and e.txt moved aside.
  std::filesystem::create_directory(dir.file("sub"));
  for (const auto& [name, bytes] : std::map<std::string, std::string>{{"a.txt", "new a"},
                                                                      {".~zorvel-old-a", "old a"},
                                                                      {"b.txt", "new b"},
                                                                      {".~zorvel-new-c", "new c"},
                                                                      {".~zorvel-old-d", "old d"},
                                                                      {"sub/e.txt", "e"}})
    dir.writeBytes(name, bytes);
  dir.writeBytes(".~zorvel-journal-back",
                 "W\t.~zorvel-new-a\ta.txt\t.~zorvel-old-a\nW\t.~zorvel-new-b\tb.txt\t\n"
                 "W\t.~zorvel-new-c\tc.txt\t.~zorvel-link-c\nR\td.txt\t.~zorvel-old-d\t\nM\te.txt\tsub/e.txt\t\n");
  store::recoverFolder();
  left = dir.list();
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"a.txt", "c.txt", "d.txt", "e.txt", "memo.tmp~", "sub"}));
  EXPECT_EQ(dir.readBytes("a.txt") + dir.readBytes("c.txt") + dir.readBytes("d.txt") + dir.readBytes("e.txt"),
            "old anew c\r\nold de");
}

TEST(FolderLock, OneHolderAtATimeAndADeadHoldersLockIsFree) {
  TempFolder dir;
  InFolder in(dir);
  {
    store::FolderLock first;
    ASSERT_EQ(first.take(), store::FolderLock::Result::Taken);
    store::FolderLock second;
    EXPECT_EQ(second.take(), store::FolderLock::Result::Busy);
    first.release();
    EXPECT_EQ(second.take(), store::FolderLock::Result::Taken);
  }
  // A holder that dies without letting go: the lock file stays, the lock does not.
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    store::FolderLock held;
    ::_exit(held.take() == store::FolderLock::Result::Taken ? 0 : 1);
  }
  const int status = testing_support::waitForChild(child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_TRUE(dir.exists(store::kFolderLockFile));
  store::FolderLock after;
  EXPECT_EQ(after.take(), store::FolderLock::Result::Taken);
}

TEST(StoreFiles, NewFilesArePrivateAChosenModeIsKeptAndAReadOnlyFileIsNeverRemoved) {
  TempFolder dir;
  InFolder in(dir);
  auto mode = [&](const std::string& name) {
    struct stat st {};
    ::lstat(dir.file(name).c_str(), &st);
    return st.st_mode & 07777;
  };
  store::rewriteFileBytes("a.txt", "a\r\n");
  store::appendRecords("b.txt", {Record().text("b")});
  store::makeDirectories("x/y");
  std::filesystem::create_directory(dir.file("mine"));
  ::chmod(dir.file("mine").c_str(), 0755);
  store::makeDirectories("mine/z");
  // The user's own folder is left as it is.
  EXPECT_EQ((std::vector{mode("a.txt"), mode("b.txt"), mode("x"), mode("x/y"), mode("mine")}),
            (std::vector<mode_t>{0600, 0600, 0700, 0700, 0755}));
  // The mode every file got from earlier versions becomes private; one the user chose stays.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::chmod(dir.file("a.txt").c_str(), 0666 & ~mask);
  ::chmod(dir.file("b.txt").c_str(), 0640);
  store::replaceFiles({{"a.txt", "a2\r\n"}, {"b.txt", "b2\r\n"}});
  EXPECT_EQ(mode("a.txt") * 010000 + mode("b.txt"), 0600u * 010000 + 0640u);
  ::chmod(dir.file("a.txt").c_str(), 0444);
  EXPECT_EQ(messageOf([] {
              store::changeFiles({{}, {"a.txt"}, {}});
            }).rfind("「a.txt」に書き込めませんでした。読み取り専用のファイルです。\n場所：", 0),
            0u);
  EXPECT_EQ(dir.readBytes("a.txt"), "a2\r\n");
}

// Only a start after a holder that died, or that left a temporary behind, needs to list the
// folder for leftovers: every write's temporary is counted until it is renamed or removed.
TEST(FolderLock, ACleanEndWithNoTemporaryLeftSparesTheNextStartItsSweep) {
  TempFolder dir;
  InFolder in(dir);
  auto nextStartSweeps = [] {
    store::FolderLock next;
    EXPECT_EQ(next.take(), store::FolderLock::Result::Taken);
    return !next.endedCleanly();
  };
  EXPECT_TRUE(nextStartSweeps());  // a new lock file: nothing is known of the last program
  {
    store::FolderLock lock;
    ASSERT_EQ(lock.take(), store::FolderLock::Result::Taken);
    store::rewriteFileBytes("a.txt", "a\r\n");
    store::replaceFiles({{"a.txt", "b\r\n"}, {"c.txt", "c\r\n"}});
    store::failNthStep(IoStep::Rename, 1, EIO);  // a failed rewrite removes its temporary
    EXPECT_THROW(store::rewriteFileBytes("a.txt", "d\r\n"), StoreError);
    store::failNthStep(IoStep::Rename, 2, EIO);  // a replacement put back half-way, likewise
    EXPECT_THROW(store::replaceFiles({{"a.txt", "e\r\n"}, {"c.txt", "f\r\n"}}), StoreError);
    store::clearInjectedFailure();
    lock.markCleanEnd();
  }
  EXPECT_EQ(dir.list().size(), 3u);  // a.txt, c.txt and the lock file
  EXPECT_FALSE(nextStartSweeps());
  // That holder ended without marking: it died, as far as the next start can tell.
  EXPECT_TRUE(nextStartSweeps());
  {
    store::FolderLock lock;
    ASSERT_EQ(lock.take(), store::FolderLock::Result::Taken);
    store::failNthStep(IoStep::Rename, 1, EIO);  // and its temporary cannot be removed
    store::failNthStep(IoStep::Remove, 1, EIO);
    EXPECT_THROW(store::rewriteFileBytes("a.txt", "g\r\n"), StoreError);
    store::clearInjectedFailure();
    lock.markCleanEnd();
  }
  EXPECT_TRUE(nextStartSweeps());
  // A backup's folder under its partial name counts until it has its own name or is gone.
  for (const bool settled : {true, false}) {
    {
      store::FolderLock lock;
      ASSERT_EQ(lock.take(), store::FolderLock::Result::Taken);
      store::temporaryMade();
      if (settled) store::temporarySettled();
      lock.markCleanEnd();
    }
    EXPECT_EQ(nextStartSweeps(), !settled);
  }
}

TEST(FileErrorText, AMissingFileIsPutBackThroughTheRestoreInUseAndByHandAtStartUp) {
  TempFolder dir;
  InFolder in(dir);
  const std::string here = std::filesystem::canonical(dir.path()).string();
  try {
    store::RecordReader r("ﾘｽﾄ題目.txt");
    FAIL() << "read a missing file";
  } catch (const StoreError& e) {
    const std::string head =
        "「ﾘｽﾄ題目.txt」を読み込めませんでした。見つかりません（No such file or directory）。\n場所：" + here;
    EXPECT_EQ(e.what(), head + "\n設定の「バックアップから戻す」で、問題のなかった日のバックアップを戻してください。");
    EXPECT_EQ(
        store::startUpErrorText(e),
        head +
            "\nデータフォルダーの「バックアップ」フォルダーにある日付のフォルダーから、同じ名前のファイルをデータフォル"
            "ダーにコピーしてください。\n\nプログラムを終了します。");
  }
  // A file below the data folder is named by its own name, in its own folder.
  EXPECT_EQ(messageOf([] { store::appendRecords("バックアップ/2024-01-05/体重.txt", {Record().text("x")}); }),
            "「体重.txt」に書き込めませんでした。見つかりません（No such file or directory）。\n場所：" + here +
                "/バックアップ/2024-01-05\n場所のフォルダーがあるか確かめてから、もう一度お試しください。");
}
