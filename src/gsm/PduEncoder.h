#pragma once
// SMS-SUBMIT protocol data units (3GPP TS 23.040) as the hex text written after the modem's
// "> " prompt in PDU mode (3GPP TS 27.005). No service centre address: the modem uses its own.
#include <QByteArray>
#include <QString>

namespace pdu {

// One PDU holds at most this many septets (7-bit) or characters (UCS-2).
constexpr int kMaxSeptets = 160;
constexpr int kMaxUcs2Chars = 64;

// A destination address holds 1 to 20 digits (ten octets).
constexpr int kMaxNumberDigits = 20;

// The number in swapped semi-octets after an "F" is appended; a character left without
// partner is dropped, so the filler stays only for an odd count: "71234567890" gives
// "1732547698F0", "7123456789" gives "1732547698".
QString EncodePhone(const QString &number);
// Septet values (0..127) packed LSB first into octets, as upper-case hex.
QString PackSeptetValues(const QByteArray &septets);
// The text converted to the GSM default alphabet and packed.
QString PackSeptets(const QString &text);
// Four upper-case hex digits per character from the UCS-2 table.
QString TextToUcs2Hex(const QString &text);

struct Submission {
  QByteArray pduText; // hex text followed by Ctrl-Z
  int length = 0;     // the length for AT+CMGS: octets after the service centre octet
};
// Builds the PDU; the text must fit one PDU of its alphabet and the number must hold 1 to 20
// digits. The address length field is the number of digits, not of octets.
Submission build(const QString &text, bool sevenBit, const QString &number, bool flash);

} // namespace pdu
