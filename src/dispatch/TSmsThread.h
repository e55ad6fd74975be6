#pragma once
// The dispatch worker: each wake-up performs one run of the dispatch it was given.
#include "dispatch/DispatchRun.h"
#include "dispatch/Worker.h"

#include <atomic>

class TSmsThread : public Worker {
  Q_OBJECT
public:
  using Worker::Worker;

  // Set or cleared while the worker is idle; without a run a wake-up does nothing.
  void setRun(DispatchRun *run) { run_ = run; }
  DispatchRun *run() const { return run_; }

protected:
  void job() override {
    if (DispatchRun *run = run_)
      run->perform();
  }

private:
  std::atomic<DispatchRun *> run_{nullptr};
};
