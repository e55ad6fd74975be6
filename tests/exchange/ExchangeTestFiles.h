#pragma once
// Data files kept beside the exchange tests.
#include <QByteArray>
#include <QFile>
#include <QString>

inline QString exchangeDataPath(const QString &name) {
  return qEnvironmentVariable("BL_SOURCE_DIR") + QStringLiteral("/tests/exchange/data/") + name;
}

inline QByteArray exchangeData(const QString &name) {
  QFile file(exchangeDataPath(name));
  if (!file.open(QIODevice::ReadOnly))
    qWarning("missing test data %s", qPrintable(file.fileName()));
  return file.readAll();
}
