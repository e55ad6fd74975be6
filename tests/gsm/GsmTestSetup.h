#pragma once
// Per-test port maps: COM numbers point at simulated modems on pseudo-terminals, in a private
// settings folder of the test process.
#include "gsm/PortMap.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class PrivatePortMap {
public:
  PrivatePortMap() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path());
    port_map::clearMappings();
  }
  ~PrivatePortMap() { port_map::clearMappings(); }
  void map(int n, const QString &path) { port_map::setMapping(n, path); }
  void clear() { port_map::clearMappings(); }

private:
  QTemporaryDir dir_;
};

inline QByteArray readFile(const QString &name) {
  QFile f(name);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
