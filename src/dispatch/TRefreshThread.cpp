#include "dispatch/TRefreshThread.h"

TRefreshThread::TRefreshThread(Attachment *connection, QObject *parent)
    : Worker(parent), connection_(connection) {}

TRefreshThread::~TRefreshThread() {
  closing_ = true;
  // The pass reads this object's members: it has to end before they go.
  while (busy())
    QThread::msleep(5);
}

void TRefreshThread::job() {
  if (!connection_)
    return;
  DeliveryRefresh pass(*connection_);
  pass.setStopFlag(&closing_);
  pass.run(); // a pass reports nothing to the operator
}
