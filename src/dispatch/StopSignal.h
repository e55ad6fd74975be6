#pragma once
// The stop request of a run: set by the window thread, read by the worker before each
// recipient. A pause between messages waits on it, so a stop ends the pause at once.
#include <chrono>
#include <condition_variable>
#include <mutex>

class StopSignal {
public:
  void request();
  void clear();
  bool requested() const;
  // Waits for duration, or less when a stop is requested meanwhile (or already was).
  void pause(std::chrono::milliseconds duration);

private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool requested_ = false;
};
