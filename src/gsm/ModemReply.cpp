#include "gsm/ModemReply.h"

bool ModemReply::add(QByteArrayView received) {
  text_ += received;
  if (complete_ || received.isEmpty())
    return complete_;
  const QByteArray upper = text_.toUpper();
  if (expected_ == ">")
    complete_ = upper.contains('>');
  else
    complete_ = upper.contains(expected_) && upper.contains("OK");
  complete_ = complete_ || upper.contains("ERROR");
  return complete_;
}

bool ModemReply::hasPrompt(QByteArrayView reply) {
  return reply.toByteArray().toUpper().contains('>');
}

bool ModemReply::isAccepted(QByteArrayView reply) {
  return reply.toByteArray().toUpper().contains("+CMGS: ");
}
