#include "gateway/SoapResponse.h"

#include "gateway/GatewayError.h"
#include "gateway/OrdinaryAnswer.h"

#include <QXmlStreamReader>

#include <optional>
#include <utility>

namespace gateway {

namespace {

const QString envelopeNs = QStringLiteral("http://schemas.xmlsoap.org/soap/envelope/");

struct Envelope {
  std::optional<QString> fault; // faultstring, when the body holds a fault
  QStringList items;
};

QString unreadable(const QXmlStreamReader &xml) {
  return QStringLiteral("The gateway's answer is not readable XML: %1 (line %2, column %3)")
      .arg(xml.errorString())
      .arg(xml.lineNumber())
      .arg(xml.columnNumber());
}

void checkWellFormed(QXmlStreamReader &xml) {
  if (xml.hasError())
    throw GatewayError(unreadable(xml));
}

// Reads the rest of the current element; returns the text of its child named faultstring.
QString readFault(QXmlStreamReader &xml) {
  QString text;
  while (xml.readNextStartElement()) {
    if (xml.name() == QLatin1String("faultstring"))
      text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
    else
      xml.skipCurrentElement();
  }
  checkWellFormed(xml);
  if (text.isEmpty())
    return QStringLiteral("The gateway reported a SOAP fault without a fault string");
  return text;
}

// The texts of the child elements of the current element.
QStringList readItems(QXmlStreamReader &xml) {
  QStringList items;
  while (xml.readNextStartElement())
    items.append(xml.readElementText(QXmlStreamReader::IncludeChildElements));
  return items;
}

bool isResultName(QStringView localName) {
  return localName.compare(QLatin1String("Result"), Qt::CaseInsensitive) == 0 ||
         localName.compare(QLatin1String("Return"), Qt::CaseInsensitive) == 0;
}

// The wrapper's only child holds the list; among several, the one named Result or Return.
QStringList readWrapper(QXmlStreamReader &xml) {
  const QString wrapper = xml.name().toString();
  QList<QStringList> children;
  std::optional<qsizetype> named;
  while (xml.readNextStartElement()) {
    if (isResultName(xml.name()) && !named)
      named = children.size();
    children.append(readItems(xml));
  }
  checkWellFormed(xml);
  if (children.isEmpty())
    return {};
  if (children.size() == 1)
    return children.first();
  if (!named)
    throw GatewayError(
        QStringLiteral("The gateway's answer %1 holds several elements and none of them is the result")
            .arg(wrapper));
  return children[*named];
}

Envelope readEnvelope(const QByteArray &body) {
  // A reader of its own for each answer: a reader used before, even after clear(), still knows
  // namespace prefixes of the answer it stopped in, and would read the next answer by them.
  QXmlStreamReader xml(body);
  if (!xml.readNextStartElement()) {
    checkWellFormed(xml);
    throw GatewayError(QStringLiteral("The gateway's answer holds no XML element"));
  }
  if (xml.namespaceUri() != envelopeNs || xml.name() != QLatin1String("Envelope"))
    throw GatewayError(QStringLiteral("The gateway's answer is not a SOAP envelope (root element %1)")
                           .arg(xml.qualifiedName().toString()));
  Envelope envelope;
  bool bodySeen = false;
  while (xml.readNextStartElement()) {
    if (bodySeen || xml.namespaceUri() != envelopeNs || xml.name() != QLatin1String("Body")) {
      xml.skipCurrentElement();
      continue;
    }
    bodySeen = true;
    if (!xml.readNextStartElement()) {
      checkWellFormed(xml);
      throw GatewayError(QStringLiteral("The body of the gateway's answer is empty"));
    }
    if (xml.namespaceUri() == envelopeNs && xml.name() == QLatin1String("Fault")) {
      envelope.fault = readFault(xml);
      return envelope; // the fault is the answer, whatever follows it
    }
    envelope.items = readWrapper(xml);
    while (xml.readNextStartElement()) // anything after the wrapper is ignored
      xml.skipCurrentElement();
  }
  while (!xml.atEnd())
    xml.readNext();
  checkWellFormed(xml);
  if (!bodySeen)
    throw GatewayError(QStringLiteral("The gateway's answer has no SOAP body"));
  return envelope;
}

bool isContentType(const QByteArray &received, QLatin1String expected) {
  return QLatin1String(received).compare(expected, Qt::CaseInsensitive) == 0;
}

} // namespace

QString statusErrorText(const HttpReply &reply, const QString &url) {
  return QStringLiteral("%1 (%2) - '%3'").arg(QString::fromLatin1(reply.reason)).arg(reply.status).arg(url);
}

QStringList readResultItems(const HttpReply &reply, const QString &url) {
  if (reply.status >= 300 && reply.status != 500)
    throw GatewayError(statusErrorText(reply, url));
  if (isContentType(reply.contentType, QLatin1String("text/plain")) ||
      isContentType(reply.contentType, QLatin1String("text/html")))
    throw GatewayError(QStringLiteral("The gateway answered with content of type %1; SOAP expects text/xml")
                           .arg(QString::fromLatin1(reply.contentType)));
  if (std::optional<QStringList> items = readOrdinaryAnswer(reply.body))
    return std::move(*items);
  if (reply.status == 500) {
    // A server error that carries an ordinary answer is read as that answer: a message the
    // gateway accepted must not be reported as failed and sent a second time. A fault speaks
    // for itself; anything unreadable is reported by its status.
    Envelope envelope;
    try {
      envelope = readEnvelope(reply.body);
    } catch (const GatewayError &) {
      throw GatewayError(statusErrorText(reply, url));
    }
    if (envelope.fault)
      throw GatewayError(*envelope.fault);
    return envelope.items;
  }
  return readAnswerItems(reply.body);
}

QStringList readAnswerItems(const QByteArray &body) {
  const Envelope envelope = readEnvelope(body);
  if (envelope.fault)
    throw GatewayError(*envelope.fault);
  return envelope.items;
}

namespace {

// The usual item, up to nine ASCII digits, read without the general parser; anything else
// (signs, blanks, longer numbers) goes through QString::toInt.
std::optional<qint32> plainDigits(const QString &item) {
  const qsizetype size = item.size();
  if (size == 0 || size > 9)
    return std::nullopt;
  qint32 value = 0;
  for (const QChar c : item) {
    const char16_t unit = c.unicode();
    if (unit < u'0' || unit > u'9')
      return std::nullopt;
    value = value * 10 + qint32(unit - u'0');
  }
  return value;
}

} // namespace

QList<qint32> toIntegers(const QStringList &items) {
  QList<qint32> numbers;
  numbers.reserve(items.size());
  for (qsizetype i = 0; i < items.size(); ++i) {
    if (const std::optional<qint32> plain = plainDigits(items[i])) {
      numbers.append(*plain);
      continue;
    }
    bool ok = false;
    const qint32 value = items[i].trimmed().toInt(&ok, 10);
    if (!ok)
      throw GatewayError(QStringLiteral("Item %1 of the gateway's answer is not a 32-bit integer: '%2'")
                             .arg(i + 1)
                             .arg(items[i]));
    numbers.append(value);
  }
  return numbers;
}

} // namespace gateway
