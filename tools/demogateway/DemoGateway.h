#pragma once
// The demo gateway's answers: it speaks the SMS gateway's SOAP contract (SendSMS and
// VerifySMSStatus), accepts every message with a number of its own, and reports a message
// delivered once the delivery delay has passed since it was accepted. Nothing is sent
// anywhere: each request is only printed.
#include "LocalGateway.h"

#include <QHash>
#include <QString>

#include <chrono>
#include <functional>
#include <mutex>

class DemoGateway {
public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  using Print = std::function<void(const QString &line)>;

  DemoGateway(
      std::chrono::milliseconds deliveryDelay, Print print,
      Clock clock = [] { return std::chrono::steady_clock::now(); });

  // Called from the server's connection threads.
  CannedAnswer answer(const ReceivedRequest &request);

private:
  CannedAnswer sendSms(const QString &ns, const QHash<QString, QString> &args);
  CannedAnswer verifySmsStatus(const QString &ns, const QHash<QString, QString> &args);

  std::chrono::milliseconds delay_;
  Print print_;
  Clock clock_;
  std::mutex mutex_;
  qint32 lastId_ = 0;
  QHash<qint32, std::chrono::steady_clock::time_point> accepted_;
};
