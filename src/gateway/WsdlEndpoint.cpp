#include "gateway/WsdlEndpoint.h"

#include "gateway/GatewayError.h"

#include <QUrl>
#include <QXmlStreamReader>

namespace gateway {

namespace {

const QString wsdlNs = QStringLiteral("http://schemas.xmlsoap.org/wsdl/");
const QString soapBindingNs = QStringLiteral("http://schemas.xmlsoap.org/wsdl/soap/");

bool isWsdl(const QXmlStreamReader &xml, QLatin1String localName, QLatin1String nameAttribute) {
  return xml.namespaceUri() == wsdlNs && xml.name() == localName &&
         xml.attributes().value(QLatin1String("name")) == nameAttribute;
}

// Inside a port: the location of its soap:address.
QString readPortAddress(QXmlStreamReader &xml) {
  QString location;
  while (xml.readNextStartElement()) {
    if (location.isEmpty() && xml.namespaceUri() == soapBindingNs && xml.name() == QLatin1String("address"))
      location = xml.attributes().value(QLatin1String("location")).toString();
    xml.skipCurrentElement();
  }
  return location;
}

// Inside a service: the address of its port SMSSoap.
QString readServiceAddress(QXmlStreamReader &xml) {
  QString location;
  while (xml.readNextStartElement()) {
    if (location.isEmpty() && isWsdl(xml, QLatin1String("port"), QLatin1String("SMSSoap")))
      location = readPortAddress(xml);
    else
      xml.skipCurrentElement();
  }
  return location;
}

} // namespace

QString endpointFromDescription(const QByteArray &document, const QString &descriptionUrl) {
  QXmlStreamReader xml(document);
  QString location;
  if (xml.readNextStartElement()) {
    while (xml.readNextStartElement()) {
      if (location.isEmpty() && isWsdl(xml, QLatin1String("service"), QLatin1String("SMS")))
        location = readServiceAddress(xml);
      else
        xml.skipCurrentElement();
    }
  }
  while (!xml.atEnd())
    xml.readNext();
  if (xml.hasError())
    throw GatewayError(
        QStringLiteral("The service description '%1' is not readable XML: %2 (line %3, column %4)")
            .arg(descriptionUrl, xml.errorString())
            .arg(xml.lineNumber())
            .arg(xml.columnNumber()));
  if (location.isEmpty())
    throw GatewayError(
        QStringLiteral("The service description '%1' has no address for port \"SMSSoap\" of service \"SMS\"")
            .arg(descriptionUrl));
  return QUrl(descriptionUrl).resolved(QUrl(location)).toString();
}

} // namespace gateway
