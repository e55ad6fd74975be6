// The two readers of a gateway answer on the same bytes: the fast reader of the ordinary answer
// and the general QXmlStreamReader reader. Where the fast one takes an answer, the general one
// reads the same items; whatever the fast one takes or leaves, the client gives what the general
// reader gives. Any difference is a finding. An input may hold several answers, separated by
// a zero byte, "NEXT" and a zero byte, read one after the other as a client thread reads them:
// what one answer leaves behind must not change how the next one reads.
#include "FuzzCheck.h"
#include "GatewayReading.h"

#include "gateway/OrdinaryAnswer.h"
#include "gateway/SoapResponse.h"

namespace {

void compareReaders(const QByteArray &body) {
  const fuzz::Reading general = fuzz::readingOf([&] { return gateway::readAnswerItems(body); });
  const std::optional<QStringList> fast = gateway::readOrdinaryAnswer(body);
  if (fast) {
    const fuzz::Reading fastReading{*fast, {}};
    FUZZ_CHECK(general == fastReading, QStringLiteral("fast ") + fastReading.shown() +
                                           QStringLiteral(", general ") + general.shown());
  }
  const QString url = QStringLiteral("http://127.0.0.1/sms.asmx");
  const fuzz::Reading client = fuzz::readingOf([&] {
    return gateway::readResultItems({200, "OK", "text/xml; charset=utf-8", body}, url);
  });
  FUZZ_CHECK(client == general,
             QStringLiteral("client ") + client.shown() + QStringLiteral(", general ") + general.shown());
  // Under status 500 an answer the general reader reads is still read as such.
  if (general.error.isEmpty()) {
    const fuzz::Reading server = fuzz::readingOf([&] {
      return gateway::readResultItems({500, "Internal Server Error", "text/xml", body}, url);
    });
    FUZZ_CHECK(server == general, QStringLiteral("status 500 ") + server.shown() +
                                      QStringLiteral(", general ") + general.shown());
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray input = fuzz::bytes(data, size);
  static const QByteArray separator("\0NEXT\0", 6);
  qsizetype start = 0;
  for (qsizetype next; (next = input.indexOf(separator, start)) >= 0; start = next + separator.size())
    compareReaders(input.mid(start, next - start));
  compareReaders(input.mid(start));
  return 0;
}
