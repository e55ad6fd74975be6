#pragma once
// The modem's reply to one command, gathered read by read. The reply is complete once the
// prompt came (when the command waits for one), or the expected text together with "OK", or
// any report holding "ERROR" (+CME ERROR and +CMS ERROR included). Texts compare without
// regard to case; the expected texts in use are upper case ("OK", ">").
#include <QByteArray>
#include <QByteArrayView>

#include <utility>

class ModemReply {
public:
  explicit ModemReply(QByteArray expected) : expected_(std::move(expected)) {}

  // Appends what one read gave, in arrival order; true when the reply is now complete.
  bool add(QByteArrayView received);

  bool complete() const { return complete_; }
  // Every byte received for this command.
  const QByteArray &text() const { return text_; }

  // The modem's prompt for the PDU (">") is in the reply.
  static bool hasPrompt(QByteArrayView reply);
  // The network took the PDU: the reply holds the message reference "+CMGS: ".
  static bool isAccepted(QByteArrayView reply);

private:
  QByteArray expected_;
  QByteArray text_;
  bool complete_ = false;
};
