#include "app/read_ahead.h"

namespace app {

void ReadAhead::start() {
  worker_ = std::thread([this] {
    for (auto& read : reads_) {
      if (stop_) return;
      read();
    }
  });
}

ReadAhead::~ReadAhead() {
  stop_ = true;
  if (worker_.joinable()) worker_.join();
}

}  // namespace app
