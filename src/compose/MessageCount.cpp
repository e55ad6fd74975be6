#include "compose/MessageCount.h"

namespace message_count {

qint64 partsOf(qsizetype length, int size) {
  if (length <= size)
    return 1;
  return (qint64(length) + size - 1) / size;
}

qint64 totalParts(const TMasSMS &messages, bool transliterated) {
  const int size = partSize(transliterated);
  qint64 total = 0;
  for (const TRecSMS &m : messages)
    total += partsOf(m.Text.size(), size);
  return total;
}

} // namespace message_count
