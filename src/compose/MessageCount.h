#pragma once
// Message parts as the count shows them: 64 characters a part for Cyrillic text, 140 once
// transliterated (deliberately below the network's 70 and 160, leaving room for the
// numbering of long messages). Lengths are in cp1251 characters.
#include "common/MasNameValue.h"

#include <QStringView>
#include <QtGlobal>

namespace message_count {

constexpr int CyrillicPart = 64;
constexpr int LatinPart = 140;

inline int partSize(bool transliterated) {
  return transliterated ? LatinPart : CyrillicPart;
}

// 1 for a text that fits one part (an empty one too), otherwise length / size rounded up.
qint64 partsOf(qsizetype length, int size);

// Parts of one message text. A transliterated text that goes out in the GSM alphabet is
// counted in septets, as the modem splits it (an extension character such as "[" takes two);
// any other text in characters.
qint64 partsOfText(QStringView text, bool transliterated);

// The parts of every message together.
qint64 totalParts(const TMasSMS &messages, bool transliterated);

} // namespace message_count
