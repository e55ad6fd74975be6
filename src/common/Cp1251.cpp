#include "common/Cp1251.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace cp1251 {

QString decode(QByteArrayView bytes) {
  QStringDecoder decoder("windows-1251");
  return decoder.decode(bytes);
}

QByteArray encode(QStringView text) {
  QStringEncoder encoder("windows-1251");
  return encoder.encode(text);
}

qsizetype firstUnencodable(QStringView text) {
  QStringEncoder encoder("windows-1251", QStringConverter::Flag::Stateless);
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c.unicode() < 0x80)
      continue;
    // Round-trip one character: an unmappable one comes back as '?'.
    const QByteArray one = encoder.encode(text.sliced(i, 1));
    if (one.size() != 1 || one.at(0) == '?')
      return i;
  }
  return -1;
}

bool canEncode(QStringView text) { return firstUnencodable(text) < 0; }

} // namespace cp1251
