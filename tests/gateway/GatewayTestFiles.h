#pragma once
// Data files kept beside the gateway tests.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtTest>

inline QString gatewayDataPath(const QString &name) {
  return qEnvironmentVariable("BL_SOURCE_DIR") + QStringLiteral("/tests/gateway/data/") + name;
}

inline QByteArray gatewayData(const QString &name) {
  QFile file(gatewayDataPath(name));
  if (!file.open(QIODevice::ReadOnly))
    qWarning("missing test data %s", qPrintable(file.fileName()));
  return file.readAll();
}

// Loopback only: a proxy configured in the environment must not see the test traffic.
inline void keepTrafficLocal() {
  qputenv("no_proxy", "127.0.0.1,localhost");
  qputenv("NO_PROXY", "127.0.0.1,localhost");
}
