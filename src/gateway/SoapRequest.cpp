#include "gateway/SoapRequest.h"

#include "gateway/GatewayError.h"

namespace gateway {

namespace {

const QString envelopeNs = QStringLiteral("http://schemas.xmlsoap.org/soap/envelope/");
const QString schemaNs = QStringLiteral("http://www.w3.org/2001/XMLSchema");
const QString instanceNs = QStringLiteral("http://www.w3.org/2001/XMLSchema-instance");

bool allowedInXml(char32_t c) {
  // a surrogate left alone here was not part of a pair
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
         (c >= 0x10000 && c <= 0x10FFFF);
}

// Control characters (and broken surrogate pairs) would make the request malformed, and the
// XML writer would drop them silently; refuse the call instead.
void checkCarriable(const QString &name, const QString &value) {
  qsizetype position = 0; // in characters, a surrogate pair counting as one
  for (qsizetype i = 0; i < value.size(); ++i) {
    ++position;
    char32_t c = value[i].unicode();
    if (value[i].isHighSurrogate() && i + 1 < value.size() && value[i + 1].isLowSurrogate()) {
      c = QChar::surrogateToUcs4(value[i], value[i + 1]);
      ++i;
    }
    if (!allowedInXml(c))
      throw GatewayError(QStringLiteral("The %1 holds a character that cannot be sent to the gateway "
                                        "(code %2 at position %3)")
                             .arg(name)
                             .arg(quint32(c), 4, 16, QLatin1Char('0'))
                             .arg(position));
  }
}

} // namespace

SoapRequest::SoapRequest(const QString &serviceNamespace, const QString &operation)
    : namespace_(serviceNamespace), operation_(operation) {
  // Declared before the root so that the root takes the SOAP-ENV prefix.
  writer_.writeNamespace(envelopeNs, QStringLiteral("SOAP-ENV"));
  writer_.writeNamespace(schemaNs, QStringLiteral("xsd"));
  writer_.writeNamespace(instanceNs, QStringLiteral("xsi"));
  writer_.writeStartElement(envelopeNs, QStringLiteral("Envelope"));
  writer_.writeStartElement(envelopeNs, QStringLiteral("Body"));
  writer_.writeStartElement(operation);
  writer_.writeDefaultNamespace(serviceNamespace);
}

void SoapRequest::writeText(const QString &value) {
  // A bare CR would reach the gateway as LF after XML line-end normalisation; a character
  // reference keeps CR LF line breaks of the message intact.
  const QStringList pieces = value.split(QLatin1Char('\r'));
  for (qsizetype i = 0; i < pieces.size(); ++i) {
    if (i > 0)
      writer_.writeEntityReference(QStringLiteral("#13"));
    if (!pieces[i].isEmpty())
      writer_.writeCharacters(pieces[i]);
  }
}

void SoapRequest::addText(const QString &name, const QString &value) {
  checkCarriable(name, value);
  writer_.writeStartElement(name);
  writeText(value);
  writer_.writeEndElement();
}

void SoapRequest::addInteger(const QString &name, qint32 value) {
  writer_.writeTextElement(name, QString::number(value));
}

void SoapRequest::addStringTable(const QString &name, const QList<QStringList> &rows) {
  for (const QStringList &row : rows)
    for (const QString &cell : row)
      checkCarriable(name, cell);
  writer_.writeStartElement(name);
  for (const QStringList &row : rows) {
    writer_.writeStartElement(QStringLiteral("ArrayOfString"));
    for (const QString &cell : row) {
      writer_.writeStartElement(QStringLiteral("string"));
      writeText(cell);
      writer_.writeEndElement();
    }
    writer_.writeEndElement();
  }
  writer_.writeEndElement();
}

QByteArray SoapRequest::soapAction() const {
  return '"' + (namespace_ + QLatin1Char('/') + operation_).toUtf8() + '"';
}

QByteArray SoapRequest::finish() {
  writer_.writeEndDocument(); // closes the operation element, Body and Envelope
  // A writer on a string leaves the encoding out of the declaration; the body names it.
  return QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>") + body_.toUtf8();
}

} // namespace gateway
