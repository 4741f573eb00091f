#include "app/read_ahead.h"

#include <system_error>

namespace app {

void ReadAhead::readHere(size_t i) {
  Read& r = *reads_[i];
  if (r.begun.exchange(true)) return;
  r.run();
  {
    std::lock_guard lock(doneMutex_);
    r.done = true;
  }
  doneChanged_.notify_all();  // no system call while nobody waits
}

void ReadAhead::waitUntilDone(size_t i) {
  std::unique_lock lock(doneMutex_);
  doneChanged_.wait(lock, [&] { return reads_[i]->done; });
}

void ReadAhead::start() {
  try {
    worker_ = std::thread([this] {
      for (size_t i = 0; i < reads_.size(); ++i) {
        if (stop_) return;
        readHere(i);
      }
    });
  } catch (const std::system_error&) {
    // No thread to be had (the system is out of them): read here, in order, as before.
    for (size_t i = 0; i < reads_.size(); ++i) readHere(i);
  }
}

void ReadAhead::startIfWorth() {
  if (bytes_ >= kWorthAThread) return start();
  for (size_t i = 0; i < reads_.size(); ++i)
    if (!reads_[i]->shared) readHere(i);
}

ReadAhead::~ReadAhead() {
  stop();
  if (worker_.joinable()) worker_.join();
}

}  // namespace app
