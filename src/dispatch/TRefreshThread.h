#pragma once
// The delivery-status worker: each wake-up runs one refresh pass over the contacts.
#include "dispatch/Worker.h"

class TRefreshThread : public Worker {
  Q_OBJECT
public:
  using Worker::Worker;

protected:
  void job() override {}
};
