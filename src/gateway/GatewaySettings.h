#pragma once
#include <QString>

namespace gateway {

// Where the gateway is and the namespace of its contract: keys "Url" and "Namespace" of
// section [gateway] in "kyv.ini" beside the executable; a missing or empty key gives the
// built-in value.
struct GatewaySettings {
  QString endpointUrl;
  QString serviceNamespace;
};

inline constexpr char16_t defaultEndpointUrl[] = u"http://sms.kelvanor.ru/sms.asmx";
inline constexpr char16_t defaultServiceNamespace[] = u"http://sms.kelvanor.ru";

// The settings as the file holds them now. Every message makes a proxy, so each thread keeps
// what it read and reads the file again only when its time stamp, size or identity changed.
GatewaySettings readGatewaySettings();

// The service description document of an endpoint: the same URL with the query "?WSDL".
QString descriptionUrlOf(const QString &endpointUrl);

} // namespace gateway
