#include "gateway/GatewaySettings.h"

#include "common/AppPaths.h"
#include "common/IniFile.h"
#include "gateway/FileStamp.h"

namespace gateway {

namespace {

QString valueOrDefault(const IniFile &ini, const QString &key, const QString &builtIn) {
  const QString value = ini.readString(QStringLiteral("gateway"), key);
  return value.isEmpty() ? builtIn : value;
}

GatewaySettings readFile(const QString &path) {
  const IniFile ini(path);
  return {valueOrDefault(ini, QStringLiteral("Url"), QString::fromUtf16(defaultEndpointUrl)),
          valueOrDefault(ini, QStringLiteral("Namespace"), QString::fromUtf16(defaultServiceNamespace))};
}

struct KeptSettings {
  QString path;
  FileStamp stamp;
  bool trusted = false; // false until read once, and while the stamp is too recent to trust
  GatewaySettings settings;
};

} // namespace

GatewaySettings readGatewaySettings() {
  thread_local KeptSettings kept;
  const QString path = app_paths::besideExecutable(QStringLiteral("kyv.ini"));
  const FileStamp stamp = FileStamp::of(path);
  if (kept.trusted && path == kept.path && stamp == kept.stamp)
    return kept.settings;
  kept.trusted = false;
  kept.settings = readFile(path);
  kept.path = path;
  // Stamped before reading: a write during the read shows as a change next time.
  kept.stamp = stamp;
  kept.trusted = !stamp.isRecent();
  return kept.settings;
}

QString descriptionUrlOf(const QString &endpointUrl) {
  return endpointUrl + QStringLiteral("?WSDL");
}

} // namespace gateway
