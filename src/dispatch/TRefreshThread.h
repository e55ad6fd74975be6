#pragma once
// The delivery-status worker: each wake-up runs one refresh pass over the contacts.
#include "dispatch/DeliveryRefresh.h"
#include "dispatch/Worker.h"

#include <QMetaType>

#include <atomic>

class Attachment;

class TRefreshThread : public Worker {
  Q_OBJECT
public:
  // connection: the program's one connection; without one a wake-up does nothing.
  explicit TRefreshThread(Attachment *connection = nullptr, QObject *parent = nullptr,
                          DeliveryRefresh::ProxyFactory proxy = {});
  // A pass in progress stops after the contact in hand, so closing the program does not
  // wait for the rest of the contact table.
  ~TRefreshThread() override;

signals:
  // Emitted on the worker thread at the end of every pass, before jobFinished.
  void passFinished(const DeliveryRefresh::Outcome &outcome);

protected:
  void job() override;

private:
  Attachment *connection_;
  DeliveryRefresh::ProxyFactory proxy_;
  std::atomic<bool> closing_{false};
};

Q_DECLARE_METATYPE(DeliveryRefresh::Outcome)
