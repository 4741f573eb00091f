// Reads queued on the second thread give their results and errors where they are taken, and a
// start-up that stops early does not wait for reads it will never take.
#include "app/read_ahead.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <future>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "store/files.h"
#include "store/record.h"
#include "support/temp_folder.h"

namespace {

using namespace std::chrono_literals;

// Every wait here ends: a read-ahead that never runs a read fails the test instead of hanging it.
bool waitFor(const std::atomic<bool>& flag, const char* what) {
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (!flag) {
    if (std::chrono::steady_clock::now() > deadline) {
      ADD_FAILURE() << what << " did not happen within 5 s";
      return false;
    }
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

template <class T>
bool ready(std::future<T>& f) {
  return f.wait_for(5s) == std::future_status::ready;
}

}  // namespace

TEST(ReadAhead, ResultsAndErrorsComeWhereTheyAreTakenAndUnbegunReadsAreSkipped) {
  std::atomic<int> ran{0};
  {
    app::ReadAhead ahead;
    auto first = ahead.later([&] { return ++ran; });
    auto damaged = ahead.later([&]() -> std::string {
      ++ran;
      throw std::runtime_error("「ﾘｽﾄ2.txt」の 2 行目");
    });
    auto last = ahead.later([&] { return std::string("筋トレ") + std::to_string(++ran); });
    ahead.start();
    ASSERT_TRUE(ready(first) && ready(last)) << "the queued reads did not run";
    EXPECT_EQ(first.get(), 1);
    try {
      damaged.get();
      ADD_FAILURE() << "the read's error was lost";
    } catch (const std::runtime_error& e) {
      EXPECT_STREQ(e.what(), "「ﾘｽﾄ2.txt」の 2 行目");
    }
    EXPECT_EQ(last.get(), "筋トレ3");  // the reads after a failed one still run, in order
  }
  EXPECT_EQ(ran, 3);

  // Start-up stopped while the first read runs: the rest never begin.
  std::atomic<bool> began{false}, release{false};
  ran = 0;
  std::future<int> skipped;
  {
    app::ReadAhead ahead;
    auto slow = ahead.later([&] {
      began = true;
      waitFor(release, "the release of the slow read");
      return ++ran;
    });
    skipped = ahead.later([&] { return ++ran; });
    ahead.start();
    const bool slowBegan = waitFor(began, "the start of the first read");
    ahead.stop();
    release = true;
    ASSERT_TRUE(slowBegan && ready(slow)) << "the running read did not end";
    EXPECT_EQ(slow.get(), 1);
  }
  EXPECT_EQ(ran, 1);
  EXPECT_THROW(skipped.get(), std::future_error);  // never begun, never to come
}

// While the second thread is busy, the first reads the shared reads itself, and takes their
// results and errors in queue order all the same.
TEST(ReadAhead, SharedReadsNotBegunAreReadByTheThreadThatTakesThem) {
  std::atomic<bool> began{false}, release{false};
  const std::thread::id here = std::this_thread::get_id();
  app::ReadAhead ahead;
  auto busy = ahead.later([&] {
    began = true;
    waitFor(release, "the release of the busy read");
    return std::this_thread::get_id();
  });
  std::vector<app::ReadAhead::Shared<std::thread::id>> reads;
  for (int i = 0; i < 3; ++i)
    reads.push_back(ahead.shared([i]() -> std::thread::id {
      if (i == 1) throw std::runtime_error("「筋トレ2.txt」の 4 行目");
      return std::this_thread::get_id();
    }));
  ahead.start();
  if (!waitFor(began, "the start of the busy read on the second thread")) {
    release = true;
    return;
  }
  try {
    app::takeAll(reads);
    ADD_FAILURE() << "the second read's error was lost";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "「筋トレ2.txt」の 4 行目");
  }
  EXPECT_EQ(reads[2].get(), here);  // read here while the other thread was busy
  release = true;
  ASSERT_TRUE(ready(busy)) << "the busy read did not end";
  EXPECT_NE(busy.get(), here);

  // A shared read the second thread has begun is waited for, and not read twice.
  std::atomic<bool> running{false}, go{false};
  std::atomic<int> runs{0};
  app::ReadAhead other;
  auto slow = other.shared([&] {
    ++runs;
    running = true;
    waitFor(go, "the release of the slow shared read");
    return 42;
  });
  other.start();
  if (!waitFor(running, "the start of the shared read on the second thread")) {
    go = true;
    return;
  }
  std::thread releaser([&] {
    std::this_thread::sleep_for(20ms);
    go = true;
  });
  EXPECT_EQ(slow.get(), 42);
  EXPECT_TRUE(go) << "the result was taken before the read ended";
  releaser.join();
  EXPECT_EQ(runs, 1);
}

// A second thread is started only for files large enough to pay for it, sized by the files it
// opens; each read gets its file, or fails where it is taken as reading it by name would.
TEST(ReadAhead, ReadsSmallFilesHereAndLargeOnesOnASecondThread) {
  testing_support::TempFolder dir;
  testing_support::InFolder in(dir);
  dir.writeBytes("log.txt", "1\r\n");
  const std::thread::id here = std::this_thread::get_id();
  auto sizeRead = [](store::OpenedFile& file) { return file.read().size(); };
  for (const uintmax_t size : {uintmax_t{3}, app::ReadAhead::kWorthAThread}) {
    std::filesystem::resize_file("log.txt", size);
    app::ReadAhead ahead;
    auto other = ahead.later([] { return std::this_thread::get_id(); });
    auto log = ahead.sharedFile("log.txt", sizeRead);
    auto missing = ahead.sharedFile("none.txt", sizeRead);
    ahead.startIfWorth();
    ASSERT_TRUE(ready(other));
    EXPECT_EQ(other.get() == here, size < app::ReadAhead::kWorthAThread) << size << " bytes";
    EXPECT_EQ(log.get(), size);
    std::string byName;
    try {
      store::readFileBytes("none.txt");
    } catch (const store::StoreError& e) {
      byName = e.what();
    }
    try {
      missing.get();
      ADD_FAILURE() << "read a missing file";
    } catch (const store::StoreError& e) {
      EXPECT_EQ(e.what(), byName);
    }
  }
}
