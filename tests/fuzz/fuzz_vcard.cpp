// The vCard reader on any bytes: the cards in file order with the line each begins on, or a
// VCardError that names the line.
#include "FuzzCheck.h"

#include "exchange/VCardError.h"
#include "exchange/VCardReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  try {
    const QList<AddressEntry> entries = VCardReader::read(fuzz::bytes(data, size));
    for (qsizetype i = 0; i < entries.size(); ++i) {
      FUZZ_CHECK(entries[i].line >= 1 && (i == 0 || entries[i].line > entries[i - 1].line),
                 QString::number(i));
    }
  } catch (const VCardError &e) {
    FUZZ_CHECK(e.text().startsWith(QStringLiteral("line ")), e.text());
  }
  return 0;
}
