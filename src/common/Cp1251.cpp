#include "common/Cp1251.h"

#include <QSet>
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

namespace {
// The characters above ASCII that cp1251 holds: what its bytes 0x80..0xFF decode to. (The
// encoder cannot tell us: it writes a substitute byte for a character it lacks.)
const QSet<char16_t> &upperHalf() {
  static const QSet<char16_t> chars = [] {
    QByteArray bytes;
    for (int b = 0x80; b < 0x100; ++b)
      bytes.append(char(b));
    QSet<char16_t> set;
    for (const QChar c : decode(bytes))
      set.insert(c.unicode());
    set.remove(QChar::ReplacementCharacter);
    return set;
  }();
  return chars;
}
} // namespace

qsizetype firstUnencodable(QStringView text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text.at(i).unicode();
    if (c >= 0x80 && !upperHalf().contains(c))
      return i;
  }
  return -1;
}

QString characterAt(QStringView text, qsizetype index) {
  if (index < 0 || index >= text.size())
    return {};
  const bool pair =
      text[index].isHighSurrogate() && index + 1 < text.size() && text[index + 1].isLowSurrogate();
  return text.mid(index, pair ? 2 : 1).toString();
}

QString firstUnencodableCharacter(QStringView text) {
  return characterAt(text, firstUnencodable(text));
}

bool canEncode(QStringView text) {
  return firstUnencodable(text) < 0;
}

} // namespace cp1251
