#include "gsm/PortMap.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <algorithm>

namespace {

const QString kGroup = QStringLiteral("SerialPorts");

QSettings userSettings() {
  return QSettings(QStringLiteral("Kelvanor"), QString());
}

QString key(int n) {
  return QStringLiteral("COM%1").arg(n);
}

// Devices named prefix + number in /dev, ordered by number.
QStringList numbered(const QString &prefix) {
  const QStringList names = QDir(QStringLiteral("/dev")).entryList({prefix + QLatin1Char('*')}, QDir::System);
  QList<std::pair<int, QString>> found;
  const QRegularExpression rx(QLatin1Char('^') + prefix + QStringLiteral("(\\d+)$"));
  for (const QString &name : names) {
    const auto m = rx.match(name);
    if (m.hasMatch())
      found.append({m.captured(1).toInt(), name});
  }
  std::sort(found.begin(), found.end());
  QStringList out;
  for (const auto &f : found)
    out.append(f.second);
  return out;
}

// The kernel creates ttyS nodes for ports without hardware; those report UART type 0.
bool hasUart(const QString &name) {
  QFile type(QStringLiteral("/sys/class/tty/%1/type").arg(name));
  if (!type.open(QIODevice::ReadOnly))
    return false;
  return type.readAll().trimmed() != "0";
}

QStringList machinePorts() {
  QStringList out;
  for (const QString &name : numbered(QStringLiteral("ttyS")))
    if (hasUart(name))
      out.append(QStringLiteral("/dev/") + name);
  for (const QString &prefix : {QStringLiteral("ttyUSB"), QStringLiteral("ttyACM")})
    for (const QString &name : numbered(prefix))
      out.append(QStringLiteral("/dev/") + name);
  return out.mid(0, port_map::kLastPort);
}

} // namespace

namespace port_map {

QStringList devicePaths() {
  QSettings settings = userSettings();
  settings.beginGroup(kGroup);
  if (settings.childKeys().isEmpty())
    return machinePorts();
  QStringList out;
  for (int n = kFirstPort; n <= kLastPort; ++n)
    out.append(settings.value(key(n)).toString());
  while (!out.isEmpty() && out.last().isEmpty())
    out.removeLast();
  return out;
}

QString devicePath(int n) {
  if (n < kFirstPort || n > kLastPort)
    return {};
  return devicePaths().value(n - 1);
}

void setMapping(int n, const QString &path) {
  QSettings settings = userSettings();
  settings.beginGroup(kGroup);
  if (path.isEmpty())
    settings.remove(key(n));
  else
    settings.setValue(key(n), path);
}

void clearMappings() {
  QSettings settings = userSettings();
  settings.remove(kGroup);
}

} // namespace port_map
