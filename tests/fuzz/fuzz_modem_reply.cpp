// The modem's replies as the link reads them, without a port: the first byte chooses the
// command's expected text ("OK" or the prompt ">"), the rest arrives in reads of at most 255
// bytes, each read's length taken from one byte of the input. The reply is complete exactly
// when the rules say so, stays complete, and keeps every byte in arrival order.
#include "FuzzCheck.h"

#include "gsm/ModemReply.h"

#include <algorithm>

namespace {

bool completeByTheRules(const QByteArray &text, bool prompt) {
  const QByteArray upper = text.toUpper();
  if (upper.contains("ERROR"))
    return true;
  return prompt ? upper.contains('>') : upper.contains("OK");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0)
    return 0;
  const bool prompt = data[0] & 1;
  ModemReply reply(prompt ? QByteArray(">") : QByteArray("OK"));
  QByteArray sent;
  bool wasComplete = false;
  size_t at = 1;
  while (at < size) {
    const size_t announced = data[at++];
    const size_t length = std::min(announced, size - at);
    const QByteArray got = fuzz::bytes(data + at, length);
    at += length;
    const bool complete = reply.add(got);
    sent += got;
    FUZZ_CHECK(reply.text() == sent, QString());
    FUZZ_CHECK(complete == reply.complete(), QString());
    FUZZ_CHECK(!wasComplete || complete, QStringLiteral("a complete reply became incomplete"));
    FUZZ_CHECK(complete == (wasComplete || (!got.isEmpty() && completeByTheRules(sent, prompt))),
               QString::fromLatin1(sent.toPercentEncoding()));
    wasComplete = complete;
  }
  const QByteArray upper = sent.toUpper();
  FUZZ_CHECK(ModemReply::hasPrompt(sent) == upper.contains('>'), QString());
  FUZZ_CHECK(ModemReply::isAccepted(sent) == upper.contains("+CMGS: "), QString());
  return 0;
}
