#include "exchange/StorableText.h"

#include "common/Cp1251.h"

void requireStorableText(const QString &text, const QString &what) {
  const qsizetype bad = cp1251::firstUnencodable(text);
  if (bad < 0)
    return;
  const qsizetype width = QChar::isHighSurrogate(text[bad].unicode()) && bad + 1 < text.size() ? 2 : 1;
  throw ImportTextError(
      QStringLiteral("%1 (\"%2\") contains the character \"%3\", which the Windows Cyrillic "
                     "code page of the database cannot hold; nothing of it was stored.")
          .arg(what, text, text.mid(bad, width)));
}
