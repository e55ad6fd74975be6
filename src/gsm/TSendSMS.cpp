#include "gsm/TSendSMS.h"
#include "common/Cp1251.h"
#include "gsm/GsmAlphabet.h"
#include "gsm/ModemReply.h"
#include "gsm/PduEncoder.h"
#include "gsm/SmsSplit.h"

namespace {

// The number as it is dialled: contacts hold numbers as people write them ("+7 (900)
// 123-45-01"); a leading plus and the blanks, hyphens, dots and parentheses are dropped.
QString dialledNumber(const QString &written) {
  QString number;
  number.reserve(written.size());
  for (QChar c : written)
    if (!QStringView(u" \u00A0-.()").contains(c))
      number += c;
  if (number.startsWith(QLatin1Char('+')))
    number.remove(0, 1);
  return number;
}

bool validNumber(const QString &number) {
  if (number.isEmpty() || number.size() > pdu::kMaxNumberDigits)
    return false;
  for (QChar c : number)
    if (c < QLatin1Char('0') || c > QLatin1Char('9'))
      return false;
  return true;
}

// A UCS-2 text is counted and sliced in cp1251 characters: whatever cp1251 cannot hold counts
// as one character, as it would in a stored text.
QString asStoredText(const QString &text) {
  return cp1251::decode(cp1251::encode(text));
}

} // namespace

TSendSMS::TSendSMS(quint8 portNumber, const QString &logFileName) {
  if (portNumber == 0)
    CreateSearch(logFileName);
  else
    Create(portNumber, logFileName);
}

QString TSendSMS::EncodePhone(const QString &number) {
  return pdu::EncodePhone(number);
}
QString TSendSMS::PackSeptets(const QString &text) {
  return pdu::PackSeptets(text);
}
QString TSendSMS::TextToUcs2Hex(const QString &text) {
  return pdu::TextToUcs2Hex(text);
}

void TSendSMS::CheckSevenBit() {
  SevenBit = gsm_alphabet::isGsmText(MessageText);
}

int TSendSMS::CountParts() {
  PartCount = int(sms_split::slices(MessageText, SevenBit).size());
  return PartCount;
}

bool TSendSMS::Refuse(quint8 code, const QString &answer) {
  LastError = code;
  if (code == link_error::MessageRefused)
    ErrorAnswer = answer;
  return false;
}

bool TSendSMS::SubmitPdu() {
  CheckSevenBit();
  const QString text = SevenBit ? MessageText : asStoredText(MessageText);
  const int units = sms_split::unitLength(text, SevenBit);
  if (units > (SevenBit ? pdu::kMaxSeptets : pdu::kMaxUcs2Chars))
    return Refuse(link_error::TextTooLong, {});
  // Anything but digits would corrupt the PDU or, as CR or Ctrl-Z, the dialogue itself.
  const QString number = dialledNumber(DestNumber);
  if (!validNumber(number))
    return Refuse(link_error::MessageRefused,
                  QStringLiteral("Invalid destination number: \"%1\"").arg(DestNumber));
  Purge();
  const pdu::Submission submission = pdu::build(text, SevenBit, number, Flash);
  const QByteArray prompt = Exchange("AT+CMGS=" + QByteArray::number(submission.length) + "\r\n", ">");
  bool result = true;
  if (ModemReply::hasPrompt(prompt)) {
    // The network may take seconds to accept; only this exchange waits longer.
    CommTimeouts timeouts = CurrentTimeouts();
    timeouts.ReadTotalTimeoutConstant = kPduReadConstant;
    ApplyTimeouts(timeouts);
    const QByteArray answer = Exchange(submission.pduText, "OK");
    timeouts.ReadTotalTimeoutConstant = ReadTotalTimeoutConstant;
    ApplyTimeouts(timeouts);
    if (!ModemReply::isAccepted(answer))
      result = Refuse(link_error::MessageRefused, cp1251::decode(answer));
  } else {
    result = Refuse(link_error::MessageRefused, cp1251::decode(prompt));
  }
  Purge();
  return result;
}

bool TSendSMS::Send() {
  PartsSent = 0;
  CheckSevenBit();
  const QString whole = SevenBit ? MessageText : asStoredText(MessageText);
  if (sms_split::fitsOneMessage(whole, SevenBit)) {
    const bool ok = SubmitPdu();
    if (ok)
      PartsSent = 1;
    return ok;
  }
  const QStringList slices = sms_split::slices(whole, SevenBit);
  PartCount = int(slices.size());
  bool result = true;
  for (int i = 1; i <= PartCount; ++i) {
    MessageText = sms_split::label(i, PartCount) + slices.at(i - 1);
    if (SubmitPdu()) {
      ++PartsSent;
    } else {
      Log(QStringLiteral(u"Ошибка при отправке SMS. Код ошибки: %1").arg(LastError));
      result = false;
    }
  }
  return result;
}
