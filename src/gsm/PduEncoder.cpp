#include "gsm/PduEncoder.h"
#include "gsm/GsmAlphabet.h"
#include "gsm/Ucs2Table.h"

namespace {

constexpr char kCtrlZ = 26;

QString hexByte(int value) {
  return QStringLiteral("%1").arg(value & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}

} // namespace

namespace pdu {

QString EncodePhone(const QString &number) {
  const QString padded = number + QLatin1Char('F');
  QString out;
  for (qsizetype i = 0; i + 1 < padded.size(); i += 2) {
    out += padded.at(i + 1);
    out += padded.at(i);
  }
  return out;
}

QString PackSeptetValues(const QByteArray &septets) {
  QString out;
  out.reserve(septets.size() * 2);
  const qsizetype n = septets.size();
  for (qsizetype j = 0; j < n; ++j) {
    const int shift = int(j % 8);
    if (shift == 7)
      continue; // its bits went into the previous octet
    const int current = septets.at(j) & 0x7F;
    const int next = j + 1 < n ? septets.at(j + 1) & 0x7F : 0;
    out += hexByte(((next & ((1 << (shift + 1)) - 1)) << (7 - shift)) | (current >> shift));
  }
  return out;
}

QString PackSeptets(const QString &text) {
  return PackSeptetValues(gsm_alphabet::toSeptets(text));
}

QString TextToUcs2Hex(const QString &text) {
  QString out;
  out.reserve(text.size() * 4);
  for (QChar c : text)
    out += QStringLiteral("%1").arg(int(ucs2_table::code(c)), 4, 16, QLatin1Char('0')).toUpper();
  return out;
}

Submission build(const QString &text, bool sevenBit, const QString &number, bool flash) {
  QString userData;
  int userDataLength = 0;
  QString coding;
  if (sevenBit) {
    const QByteArray septets = gsm_alphabet::toSeptets(text);
    userData = PackSeptetValues(septets);
    userDataLength = int(septets.size());
    coding = flash ? QStringLiteral("10") : QStringLiteral("00");
  } else {
    userData = TextToUcs2Hex(text);
    userDataLength = int(text.size() * 2);
    coding = flash ? QStringLiteral("18") : QStringLiteral("08");
  }
  // SMS-SUBMIT with a relative validity period; the address length counts digits (11 gives 0B);
  // international number; validity AA (four days).
  const QString hex = QStringLiteral("001100") + hexByte(int(number.size())) + QStringLiteral("91") +
                      EncodePhone(number) + QStringLiteral("00") + coding + QStringLiteral("AA") +
                      hexByte(userDataLength) + userData;
  Submission s;
  s.pduText = hex.toLatin1() + kCtrlZ;
  s.length = int(s.pduText.size() / 2 - 1);
  return s;
}

} // namespace pdu
