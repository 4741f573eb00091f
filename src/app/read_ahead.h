#pragma once
// Start-up reads the logs it needs late on a second thread while the first builds the pages, when
// they are large enough for that to pay; else each is read where start-up comes to it.
// Each read is queued with the function that reads it and taken where start-up comes to it,
// so a damaged file stops start-up where it always did. The reads touch no form and write
// nothing, and start-up writes none of the files they read meanwhile.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "store/files.h"

namespace app {

class ReadAhead {
 public:
  // A read the first thread does itself when it comes to it before the second has begun it,
  // rather than wait while that thread is busy or not yet running.
  template <class T>
  class Shared {
   public:
    Shared() = default;
    // Does the read here unless the second thread has begun it.
    void readHereIfNotBegun() {
      if (ahead_) ahead_->readHere(index_);
    }
    // The result, read here or waited for; or what the read threw. Taken once.
    T get() {
      readHereIfNotBegun();
      ahead_->waitUntilDone(index_);
      if (result_->error) std::rethrow_exception(result_->error);
      return std::move(*result_->value);
    }

   private:
    friend class ReadAhead;
    struct Result {
      std::optional<T> value;
      std::exception_ptr error;
    };
    Shared(ReadAhead* ahead, size_t index, std::shared_ptr<Result> result)
        : ahead_(ahead), index_(index), result_(std::move(result)) {}
    ReadAhead* ahead_ = nullptr;
    size_t index_ = 0;
    std::shared_ptr<Result> result_;
  };

  ReadAhead() = default;
  ~ReadAhead();  // skips the reads not begun and waits for the one running
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // Queues `read` behind the reads queued before; the future gives its result, or throws what
  // it threw. Queue every read, then start(); without a thread to be had, start() reads them
  // all itself.
  template <class Read>
  auto later(Read read) -> std::future<decltype(read())> {
    auto task = std::make_shared<std::packaged_task<decltype(read())()>>(std::move(read));
    auto result = task->get_future();
    queue([task] { (*task)(); });
    return result;
  }
  // The same, read by whichever thread comes to it first. Its result is handed over without a
  // future: a future's result wakes its waiters with a system call even when there are none, at
  // each of start-up's reads.
  template <class Read>
  auto shared(Read read) -> Shared<decltype(read())> {
    using T = decltype(read());
    auto result = std::make_shared<typename Shared<T>::Result>();
    queue([result, read = std::move(read)] {
      try {
        result->value.emplace(read());
      } catch (...) {
        result->error = std::current_exception();
      }
    });
    reads_.back()->shared = true;
    return Shared<T>(this, reads_.size() - 1, std::move(result));
  }
  // A shared read of `file`, opened here so that its size counts towards the second thread
  // without another look at the file system; `read` reads the opened file.
  template <class Read>
  auto sharedFile(const std::string& file, Read read) {
    auto opened = std::make_shared<store::OpenedFile>(file);
    bytes_ += opened->size();
    return shared([opened, read = std::move(read)] { return read(*opened); });
  }
  void start();
  // Starts the second thread only when the shared reads' files come to kWorthAThread bytes: a
  // thread costs more than it saves on smaller ones, and on a busy machine the first may wait
  // for the second to be given a core again. Below that the shared reads are done where they
  // are taken, the others at once.
  void startIfWorth();
  static constexpr uintmax_t kWorthAThread = 4u << 20;
  // The reads not yet begun will not be (the destructor's first step).
  void stop() { stop_ = true; }

 private:
  struct Read {
    std::function<void()> run;  // keeps its result or error; throws nothing
    std::atomic<bool> begun{false};
    bool done = false;  // under doneMutex_
    bool shared = false;
  };
  void queue(std::function<void()> run) {
    reads_.push_back(std::make_unique<ReadAhead::Read>());
    reads_.back()->run = std::move(run);
  }
  // Does read `i` here unless some thread has begun it.
  void readHere(size_t i);
  // Waits until read `i`, begun by either thread, has ended.
  void waitUntilDone(size_t i);

  std::vector<std::unique_ptr<Read>> reads_;
  uintmax_t bytes_ = 0;
  std::atomic<bool> stop_{false};
  std::mutex doneMutex_;
  std::condition_variable doneChanged_;
  std::thread worker_;
};

// Shared reads taken in order, the ones not begun read here from the last back, so that the
// first thread waits only for what the second is reading.
template <class T>
std::vector<T> takeAll(std::vector<ReadAhead::Shared<T>>& reads) {
  for (size_t i = reads.size(); i-- > 0;) reads[i].readHereIfNotBegun();
  std::vector<T> results;
  results.reserve(reads.size());
  for (auto& r : reads) results.push_back(r.get());
  return results;
}

}  // namespace app
