#pragma once
// The dispatch worker: each wake-up runs one mass dispatch.
#include "dispatch/Worker.h"

class TSmsThread : public Worker {
  Q_OBJECT
public:
  using Worker::Worker;

protected:
  void job() override {}
};
