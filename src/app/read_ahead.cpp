#include "app/read_ahead.h"

#include <system_error>

namespace app {

void ReadAhead::start() {
  try {
    worker_ = std::thread([this] {
      for (auto& read : reads_) {
        if (stop_) return;
        read();
      }
    });
  } catch (const std::system_error&) {
    // No thread to be had (the system is out of them): read here, in order, as before.
    for (auto& read : reads_) read();
  }
}

ReadAhead::~ReadAhead() {
  stop();
  if (worker_.joinable()) worker_.join();
}

}  // namespace app
