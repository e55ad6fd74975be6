// The fast reader of the ordinary answer, a hand-written scanner over raw bytes, on any bytes:
// it takes an answer or leaves it, and what it takes is well-formed text.
#include "FuzzCheck.h"

#include "gateway/OrdinaryAnswer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::optional<QStringList> items = gateway::readOrdinaryAnswer(fuzz::bytes(data, size));
  if (!items)
    return 0;
  for (const QString &item : *items) {
    FUZZ_CHECK(item.isValidUtf16(), item);
    FUZZ_CHECK(!item.contains(u'\r'), item); // the general reader turns line ends into LF
  }
  return 0;
}
