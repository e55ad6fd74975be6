#include "gateway/GatewaySettings.h"

#include "common/AppPaths.h"
#include "common/IniFile.h"
#include "gateway/FileStamp.h"

#include <QFile>

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

// The settings file's path, worked out again only when the executable's folder changes.
struct SettingsPath {
  QString dir;
  QString path;
  QByteArray encoded; // in the file system's encoding
  bool known = false;

  void update() {
    const QString now = app_paths::executableDir();
    if (known && now == dir)
      return;
    path = app_paths::besideExecutable(QStringLiteral("kyv.ini"));
    encoded = QFile::encodeName(path);
    dir = now;
    known = true;
  }
};

struct KeptSettings {
  QString path;
  FileStamp stamp;
  bool trusted = false; // false until read once, and while the stamp is too recent to trust
  GatewaySettings settings;
};

} // namespace

GatewaySettings readGatewaySettings() {
  thread_local KeptSettings kept;
  thread_local SettingsPath where;
  where.update();
  const QString &path = where.path;
  const FileStamp stamp = FileStamp::of(where.encoded.constData());
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
