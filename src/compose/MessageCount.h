#pragma once
// Message parts as the count shows them: 64 characters a part for Cyrillic text, 140 once
// transliterated (deliberately below the network's 70 and 160, leaving room for the
// numbering of long messages). Lengths are in cp1251 characters.
#include "common/MasNameValue.h"

#include <QtGlobal>

namespace message_count {

constexpr int CyrillicPart = 64;
constexpr int LatinPart = 140;

inline int partSize(bool transliterated) {
  return transliterated ? LatinPart : CyrillicPart;
}

// 1 for a text that fits one part (an empty one too), otherwise length / size rounded up.
qint64 partsOf(qsizetype length, int size);

// The parts of every message together.
qint64 totalParts(const TMasSMS &messages, bool transliterated);

} // namespace message_count
