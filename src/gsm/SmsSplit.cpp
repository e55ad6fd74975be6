#include "gsm/SmsSplit.h"
#include "gsm/GsmAlphabet.h"

namespace {

constexpr int kSingleSeptets = 140;
constexpr int kSingleUcs2 = 64;
constexpr int kMaxOneDigitParts = 9;

struct SliceLengths {
  int upToNine;
  int fromTen;
};
constexpr SliceLengths kSevenBit{135, 133};
constexpr SliceLengths kUcs2{59, 57};

int weight(QChar c, bool sevenBit) {
  return sevenBit ? gsm_alphabet::septetCount(c) : 1;
}

// Greedy slices of at most `limit` units each.
QStringList cut(const QString &text, bool sevenBit, int limit) {
  QStringList out;
  qsizetype start = 0;
  int used = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const int w = weight(text.at(i), sevenBit);
    if (used + w > limit) {
      out.append(text.mid(start, i - start));
      start = i;
      used = 0;
    }
    used += w;
  }
  if (start < text.size())
    out.append(text.mid(start));
  return out;
}

} // namespace

namespace sms_split {

int unitLength(QStringView text, bool sevenBit) {
  if (!sevenBit)
    return int(text.size());
  int n = 0;
  for (QChar c : text)
    n += gsm_alphabet::septetCount(c);
  return n;
}

std::optional<int> septetLength(QStringView text) {
  if (!gsm_alphabet::isGsmText(text))
    return std::nullopt;
  return unitLength(text, true);
}

bool fitsOneMessage(QStringView text, bool sevenBit) {
  return unitLength(text, sevenBit) <= (sevenBit ? kSingleSeptets : kSingleUcs2);
}

QStringList slices(const QString &text, bool sevenBit) {
  const SliceLengths lengths = sevenBit ? kSevenBit : kUcs2;
  QStringList parts = cut(text, sevenBit, lengths.upToNine);
  if (parts.size() > kMaxOneDigitParts)
    parts = cut(text, sevenBit, lengths.fromTen);
  return parts;
}

QString label(int i, int n) {
  return QStringLiteral("(%1/%2)").arg(i).arg(n);
}

} // namespace sms_split
