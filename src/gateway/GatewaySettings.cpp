#include "gateway/GatewaySettings.h"

#include "common/AppPaths.h"
#include "common/IniFile.h"

namespace gateway {

namespace {

QString valueOrDefault(const IniFile &ini, const QString &key, const QString &builtIn) {
  const QString value = ini.readString(QStringLiteral("gateway"), key);
  return value.isEmpty() ? builtIn : value;
}

} // namespace

GatewaySettings readGatewaySettings() {
  const IniFile ini(app_paths::besideExecutable(QStringLiteral("kyv.ini")));
  return {valueOrDefault(ini, QStringLiteral("Url"), QString::fromUtf16(defaultEndpointUrl)),
          valueOrDefault(ini, QStringLiteral("Namespace"), QString::fromUtf16(defaultServiceNamespace))};
}

QString descriptionUrlOf(const QString &endpointUrl) {
  return endpointUrl + QStringLiteral("?WSDL");
}

} // namespace gateway
