#pragma once
// SMS submission over the link: one text and one number become one or more SMS-SUBMIT PDUs
// sent with AT+CMGS. The modem must already be in PDU mode; nothing here selects the format.
#include "gsm/TWorkCom.h"

#include <QString>

class TSendSMS : public TWorkCom {
public:
  // Port 0 searches COM1..COM30; any other number opens that port.
  TSendSMS(quint8 portNumber, const QString &logFileName);

  // Sends MessageText to DestNumber; true when every part was accepted. Afterwards
  // MessageText holds the last part's text.
  bool Send();

  // Inner steps, public for the callers that need one of them alone.
  void CheckSevenBit();
  int CountParts();
  bool SubmitPdu();
  static QString EncodePhone(const QString &number);
  static QString PackSeptets(const QString &text);
  static QString TextToUcs2Hex(const QString &text);

  QString MessageText;
  // Country code first, 1 to 20 digits; a leading plus and the blanks, hyphens, dots and
  // parentheses of a written number are dropped when it is sent. Anything else is refused.
  QString DestNumber;
  bool Flash = false;
  qint32 PartCount = 0;
  qint32 PartsSent = 0;
  bool SevenBit = true;
  QString ErrorAnswer;

private:
  static constexpr quint32 kPduReadConstant = 5000;
  bool Refuse(quint8 code, const QString &answer);
};
