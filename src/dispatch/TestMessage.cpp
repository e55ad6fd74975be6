#include "dispatch/TestMessage.h"

#include "data/DataSet.h"
#include "gsm/TSendSMS.h"

namespace {

QString failureText(const QString &text, int code) {
  return text + QStringLiteral("\r\nError code: %1").arg(code);
}

} // namespace

void TestMessage::sendByGateway(const QString &login, const QString &password, const QString &phone,
                                const QString &text) {
  CreateGatewayProxy()->SendSMS(login, password, phone, text);
}

TestMessage::ModemOutcome TestMessage::sendByModem(const ModemRequest &request, const TestMessageTexts &texts,
                                                   const std::function<void(int)> &portReady) {
  const bool search = request.portNumber == 0;
  if (request.portNumber < 0 || request.portNumber > 255) // no port chosen
    throw TestMessageError(failureText(texts.portFalse, link_error::OpenFailed));
  TSendSMS link(quint8(request.portNumber), request.logFileName);
  if (link.LastError != link_error::None)
    throw TestMessageError(failureText(search ? texts.findPort : texts.portFalse, link.LastError));
  ModemOutcome outcome;
  outcome.portNumber = link.PortNumber;
  if (portReady)
    portReady(link.PortNumber);
  if (!link.ApplyState(lineStateFor(request.settings)))
    throw TestMessageError(failureText(texts.setState, link.LastError));
  link.MessageText = request.text;
  link.DestNumber = request.phone;
  link.Flash = request.flash;
  outcome.accepted = link.Send();
  outcome.partsSent = link.PartsSent;
  return outcome;
}

SerialSettings TestMessage::storedSerialSettings(const DataSet *options) {
  SerialSettings settings;
  if (!options || !options->isOpen() || options->currentRow() < 0)
    return settings;
  auto read = [options](const char *column, qint32 &into) {
    const QVariant value = options->value(QLatin1String(column));
    if (!value.isNull())
      into = value.toInt();
  };
  read("COMRATE", settings.COMRATE);
  read("COMBIT", settings.COMBIT);
  read("COMSTOPBIT", settings.COMSTOPBIT);
  read("COMPARITY", settings.COMPARITY);
  read("COMCONTROL", settings.COMCONTROL);
  return settings;
}
