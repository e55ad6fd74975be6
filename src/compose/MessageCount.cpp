#include "compose/MessageCount.h"
#include "gsm/SmsSplit.h"

namespace message_count {

qint64 partsOf(qsizetype length, int size) {
  if (length <= size)
    return 1;
  return (qint64(length) + size - 1) / size;
}

qint64 partsOfText(QStringView text, bool transliterated) {
  const int size = partSize(transliterated);
  if (transliterated) {
    if (const std::optional<int> septets = sms_split::septetLength(text))
      return partsOf(*septets, size);
  }
  return partsOf(text.size(), size);
}

qint64 totalParts(const TMasSMS &messages, bool transliterated) {
  qint64 total = 0;
  for (const TRecSMS &m : messages)
    total += partsOfText(m.Text, transliterated);
  return total;
}

} // namespace message_count
