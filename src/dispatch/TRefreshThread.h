#pragma once
// The delivery-status worker: each wake-up runs one refresh pass over the contacts.
#include "dispatch/DeliveryRefresh.h"
#include "dispatch/Worker.h"

#include <atomic>

class Attachment;

class TRefreshThread : public Worker {
  Q_OBJECT
public:
  // connection: the program's one connection; without one a wake-up does nothing.
  explicit TRefreshThread(Attachment *connection = nullptr, QObject *parent = nullptr);
  // A pass in progress stops after the contact in hand, so closing the program does not
  // wait for the rest of the contact table.
  ~TRefreshThread() override;

protected:
  void job() override;

private:
  Attachment *connection_;
  std::atomic<bool> closing_{false};
};
