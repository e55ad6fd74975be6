#pragma once
// The modem channel: one TSendSMS link for the whole run, each message submitted as one or
// more PDUs. The port is held from open() to close().
#include "dispatch/DispatchChannel.h"

#include <memory>

class TSendSMS;

class ModemChannel : public DispatchChannel {
public:
  ModemChannel();
  ~ModemChannel() override;

  Kind kind() const override { return Kind::Modem; }
  // portNumber 0 searches COM1..COM30.
  int open(int portNumber, const QString &logFile) override;
  SendOutcome send(const TRecSMS &message, const RecipientInputs &inputs) override;
  void close() override;

private:
  std::unique_ptr<TSendSMS> link_;
};
