#pragma once
// One way of sending a run's messages: the gateway or the modem. A channel is opened once per
// run, sends one message at a time and says what the status columns and the result line get.
#include "common/MasNameValue.h"
#include "dispatch/DispatchWindow.h"

#include <QString>
#include <QVariant>

struct SendOutcome {
  bool accepted = false;
  qint32 parts = 0;   // PARTSEND
  qint32 error = 0;   // FERROR
  QVariant messageId; // IDMESSAGE (gateway only); NULL when not accepted
  QString phone;      // the number the result line names
  QString answer;     // what the result line gives as the operator's answer on failure
};

class DispatchChannel {
public:
  enum class Kind { Gateway, Modem };

  virtual ~DispatchChannel() = default;
  virtual Kind kind() const = 0;
  // Makes the channel ready: 0, or the link's error code when it is not (nothing is sent).
  virtual int open(int portNumber, const QString &logFile) = 0;
  virtual SendOutcome send(const TRecSMS &message, const RecipientInputs &inputs) = 0;
  // Releases what open() took; also done on destruction.
  virtual void close() = 0;
};
