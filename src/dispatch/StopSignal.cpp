#include "dispatch/StopSignal.h"

void StopSignal::request() {
  {
    std::lock_guard lock(mutex_);
    requested_ = true;
  }
  changed_.notify_all();
}

void StopSignal::clear() {
  std::lock_guard lock(mutex_);
  requested_ = false;
}

bool StopSignal::requested() const {
  std::lock_guard lock(mutex_);
  return requested_;
}

void StopSignal::pause(std::chrono::milliseconds duration) {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, duration, [this] { return requested_; });
}
