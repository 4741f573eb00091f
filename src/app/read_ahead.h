#pragma once
// Start-up reads the logs it needs late on a second thread while the first builds the pages.
// Each read is queued with the function that reads it and taken where start-up comes to it,
// so a damaged file stops start-up where it always did. The reads touch no form and write
// nothing, and start-up writes none of the files they read meanwhile.
#include <atomic>
#include <future>
#include <thread>
#include <vector>

namespace app {

class ReadAhead {
 public:
  ReadAhead() = default;
  ~ReadAhead();  // skips the reads not begun and waits for the one running
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // Queues `read` behind the reads queued before; the future gives its result, or throws what
  // it threw. Queue every read, then start(); without a thread to be had, start() reads them
  // all itself.
  template <class Read>
  auto later(Read read) -> std::future<decltype(read())> {
    std::packaged_task<decltype(read())()> task(std::move(read));
    auto result = task.get_future();
    reads_.emplace_back(std::move(task));
    return result;
  }
  void start();
  // The reads not yet begun will not be (the destructor's first step).
  void stop() { stop_ = true; }

 private:
  std::vector<std::packaged_task<void()>> reads_;
  std::atomic<bool> stop_{false};
  std::thread worker_;
};

}  // namespace app
