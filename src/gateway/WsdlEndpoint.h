#pragma once
#include <QByteArray>
#include <QString>

namespace gateway {

// The address of port "SMSSoap" of service "SMS" in a service description document (WSDL 1.1
// with a SOAP 1.1 binding). A relative address is resolved against descriptionUrl.
// Throws GatewayError when the document is unreadable or has no such port.
QString endpointFromDescription(const QByteArray &document, const QString &descriptionUrl);

} // namespace gateway
