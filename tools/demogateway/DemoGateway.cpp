#include "DemoGateway.h"

#include "gsm/GsmAlphabet.h"
#include "gsm/SmsSplit.h"

#include <QXmlStreamReader>

namespace {

const QByteArray envelopeStart = "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
                                 "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
                                 "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                                 "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"><soap:Body>";
const QByteArray envelopeEnd = "</soap:Body></soap:Envelope>";

QByteArray escaped(const QString &text) {
  return text.toHtmlEscaped().toUtf8();
}

CannedAnswer xmlAnswer(int status, const QByteArray &reason, const QByteArray &body) {
  return {status, reason, "text/xml; charset=utf-8", envelopeStart + body + envelopeEnd};
}

CannedAnswer fault(const QString &text) {
  return xmlAnswer(500, "Internal Server Error",
                   "<soap:Fault><faultcode>soap:Client</faultcode><faultstring>" + escaped(text) +
                       "</faultstring></soap:Fault>");
}

CannedAnswer result(const QString &ns, const QString &operation, const QByteArray &items) {
  const QByteArray op = operation.toUtf8();
  return xmlAnswer(200, "OK",
                   "<" + op + "Response xmlns=\"" + escaped(ns) + "\"><" + op + "Result>" + items + "</" +
                       op + "Result></" + op + "Response>");
}

// The operation element of the body, its namespace and its parameters by name.
struct Call {
  QString operation;
  QString ns;
  QHash<QString, QString> args;
};

Call readCall(const QByteArray &body) {
  Call call;
  QXmlStreamReader xml(body);
  int depth = 0;
  int bodyDepth = -1;
  while (!xml.atEnd()) {
    const QXmlStreamReader::TokenType token = xml.readNext();
    if (token == QXmlStreamReader::StartElement) {
      ++depth;
      if (xml.name() == QLatin1String("Body") && bodyDepth < 0) {
        bodyDepth = depth;
      } else if (bodyDepth > 0 && depth == bodyDepth + 1 && call.operation.isEmpty()) {
        call.operation = xml.name().toString();
        call.ns = xml.namespaceUri().toString();
      } else if (bodyDepth > 0 && depth == bodyDepth + 2) {
        const QString name = xml.name().toString();
        call.args.insert(name, xml.readElementText(QXmlStreamReader::IncludeChildElements));
        --depth; // readElementText consumed the end element
      }
    } else if (token == QXmlStreamReader::EndElement) {
      --depth;
    }
  }
  return call;
}

int partsOf(const QString &text) {
  const bool sevenBit = gsm_alphabet::isGsmText(text);
  return sms_split::fitsOneMessage(text, sevenBit) ? 1 : int(sms_split::slices(text, sevenBit).size());
}

} // namespace

DemoGateway::DemoGateway(std::chrono::milliseconds deliveryDelay, Print print, Clock clock)
    : delay_(deliveryDelay), print_(std::move(print)), clock_(std::move(clock)) {}

CannedAnswer DemoGateway::answer(const ReceivedRequest &request) {
  if (request.method != "POST")
    return {404, "Not Found", "text/plain", "The demo gateway answers SOAP posts only.\n"};
  const Call call = readCall(request.body);
  if (call.operation == QLatin1String("SendSMS"))
    return sendSms(call.ns, call.args);
  if (call.operation == QLatin1String("VerifySMSStatus"))
    return verifySmsStatus(call.ns, call.args);
  print_(QStringLiteral("refused %1: the demo gateway does not offer it").arg(call.operation));
  return fault(QStringLiteral("The demo gateway does not offer '%1'").arg(call.operation));
}

CannedAnswer DemoGateway::sendSms(const QString &ns, const QHash<QString, QString> &args) {
  const QString text = args.value(QStringLiteral("Message"));
  const int parts = partsOf(text);
  qint32 id = 0;
  {
    std::lock_guard lock(mutex_);
    id = ++lastId_;
    accepted_.insert(id, clock_());
  }
  print_(QStringLiteral("SendSMS #%1 to %2 (login \"%3\", %4 part(s)): %5")
             .arg(QString::number(id), args.value(QStringLiteral("PhoneNumber")),
                  args.value(QStringLiteral("Login")), QString::number(parts), text));
  return result(ns, QStringLiteral("SendSMS"),
                "<int>" + QByteArray::number(id) + "</int><int>0</int><int>" + QByteArray::number(parts) +
                    "</int>");
}

CannedAnswer DemoGateway::verifySmsStatus(const QString &ns, const QHash<QString, QString> &args) {
  bool ok = false;
  const qint32 id = args.value(QStringLiteral("smsID")).trimmed().toInt(&ok);
  QString state = QStringLiteral("st_unknown");
  if (ok) {
    std::lock_guard lock(mutex_);
    const auto it = accepted_.constFind(id);
    if (it != accepted_.cend())
      state = clock_() - it.value() >= delay_ ? QStringLiteral("st_deliver") : QStringLiteral("st_send");
  }
  print_(QStringLiteral("VerifySMSStatus #%1: %2").arg(args.value(QStringLiteral("smsID")), state));
  return result(ns, QStringLiteral("VerifySMSStatus"),
                "<anyType xsi:type=\"xsd:int\">" + QByteArray::number(id) +
                    "</anyType><anyType xsi:type=\"xsd:string\">" + state.toUtf8() + "</anyType>");
}
