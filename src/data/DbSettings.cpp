#include "data/DbSettings.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace {
const QString organisation = QStringLiteral("Kelvanor");
const QString key = QStringLiteral("DBName");
const QString userKey = QStringLiteral("DBUser");
const QString passwordKey = QStringLiteral("DBPassword");

void storeOrRemove(QSettings &settings, const QString &name, const QString &value) {
  if (value.isEmpty())
    settings.remove(name);
  else
    settings.setValue(name, value);
}
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

DbLogin dbLoginSetting() {
  const QSettings settings(organisation, QString());
  DbLogin login = DbLogin::defaults();
  const QString user = settings.value(userKey).toString();
  const QString password = settings.value(passwordKey).toString();
  if (!user.isEmpty())
    login.user = user;
  if (!password.isEmpty())
    login.password = password;
  return login;
}

void setDbLoginSetting(const DbLogin &login) {
  QSettings settings(organisation, QString());
  storeOrRemove(settings, userKey, login.user);
  storeOrRemove(settings, passwordKey, login.password);
  settings.sync();
  if (settings.status() != QSettings::NoError)
    return;
  // Other users of the machine must not read the password.
  QFile::setPermissions(settings.fileName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

QString normalizedDbLocation(const QString &location) {
  // Any colon outside an absolute path means a server ("host:/path", "host/3050:path",
  // "inet://host/path"); the client resolves those itself.
  const bool onServer = location.contains(u':') && !location.startsWith(u'/');
  if (location.isEmpty() || onServer)
    return location;
  return QFileInfo(location).absoluteFilePath();
}
