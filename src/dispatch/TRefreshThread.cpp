#include "dispatch/TRefreshThread.h"

TRefreshThread::TRefreshThread(Attachment *connection, QObject *parent, DeliveryRefresh::ProxyFactory proxy)
    : Worker(parent), connection_(connection), proxy_(std::move(proxy)) {
  qRegisterMetaType<DeliveryRefresh::Outcome>();
}

TRefreshThread::~TRefreshThread() {
  closing_ = true;
  // The pass reads this object's members: it has to end before they go.
  while (busy())
    QThread::msleep(5);
}

void TRefreshThread::job() {
  if (!connection_)
    return;
  DeliveryRefresh pass(*connection_, proxy_);
  pass.setStopFlag(&closing_);
  emit passFinished(pass.run());
}
