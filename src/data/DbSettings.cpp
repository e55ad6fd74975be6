#include "data/DbSettings.h"

#include <QFileInfo>
#include <QSettings>

namespace {
const QString organisation = QStringLiteral("Kelvanor");
const QString key = QStringLiteral("DBName");
} // namespace

QString dbNameSetting() {
  const QSettings settings(organisation, QString());
  return settings.value(key).toString();
}

QString dbNameSettingFile() {
  return QSettings(organisation, QString()).fileName();
}

void setDbNameSetting(const QString &location) {
  QSettings settings(organisation, QString());
  settings.setValue(key, location);
  settings.sync();
}

QString normalizedDbLocation(const QString &location) {
  // Any colon outside an absolute path means a server ("host:/path", "host/3050:path",
  // "inet://host/path"); the client resolves those itself.
  const bool onServer = location.contains(u':') && !location.startsWith(u'/');
  if (location.isEmpty() || onServer)
    return location;
  return QFileInfo(location).absoluteFilePath();
}
