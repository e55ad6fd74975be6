// The client's reading of a gateway answer on any bytes: status and content type from the first
// byte, the body after it. Every answer gives items or a GatewayError with a text; the items
// of a send or status call become numbers or a GatewayError too.
#include "FuzzCheck.h"
#include "GatewayReading.h"

#include "gateway/SoapResponse.h"

#include <array>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static constexpr std::array<int, 4> statuses{200, 500, 404, 302};
  static const std::array<QByteArray, 4> types{"text/xml; charset=utf-8", "text/plain", "", "TEXT/HTML"};
  const unsigned first = size > 0 ? data[0] : 0;
  const gateway::HttpReply reply{statuses[first % 4], "Reason", types[(first / 4) % 4],
                                 size > 0 ? fuzz::bytes(data + 1, size - 1) : QByteArray()};
  const fuzz::Reading reading = fuzz::readingOf(
      [&] { return gateway::readResultItems(reply, QStringLiteral("http://127.0.0.1/sms.asmx")); });
  if (reading.error.isEmpty()) {
    try {
      const QList<qint32> numbers = gateway::toIntegers(reading.items);
      FUZZ_CHECK(numbers.size() == reading.items.size(), reading.shown());
      for (qsizetype i = 0; i < numbers.size(); ++i)
        FUZZ_CHECK(reading.items[i].trimmed() == QString::number(numbers[i]) ||
                       reading.items[i].trimmed().toInt() == numbers[i],
                   reading.items[i]);
    } catch (const GatewayError &e) {
      FUZZ_CHECK(!e.text().isEmpty(), reading.shown());
    }
  }
  return 0;
}
