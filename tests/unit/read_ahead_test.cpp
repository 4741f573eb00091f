// Reads queued on the second thread give their results and errors where they are taken, and a
// start-up that stops early does not wait for reads it will never take.
#include "app/read_ahead.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <stdexcept>
#include <string>
#include <thread>

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
      while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      return ++ran;
    });
    skipped = ahead.later([&] { return ++ran; });
    ahead.start();
    while (!began) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ahead.stop();
    release = true;
    EXPECT_EQ(slow.get(), 1);
  }
  EXPECT_EQ(ran, 1);
  EXPECT_THROW(skipped.get(), std::future_error);  // never begun, never to come
}
