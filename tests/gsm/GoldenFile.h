#pragma once
// Golden files of the modem dialogue, kept beside the tests in tests/gsm/data.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtTest>

inline QByteArray goldenBytes(const QString &name) {
  QFile file(qEnvironmentVariable("BL_SOURCE_DIR") + QStringLiteral("/tests/gsm/data/") + name);
  if (!file.open(QIODevice::ReadOnly))
    qFatal("golden file %s is missing", qPrintable(file.fileName()));
  return file.readAll();
}
