#include "common/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
QString &overridden() {
  static QString dir;
  return dir;
}
} // namespace

namespace app_paths {

QString executableDir() {
  if (!overridden().isEmpty())
    return overridden();
  return QCoreApplication::applicationDirPath();
}

void overrideExecutableDir(const QString &dir) {
  overridden() = dir;
}

QString besideExecutable(const QString &relative) {
  return QDir(executableDir()).filePath(relative);
}

QString findBesideExecutable(const QString &relative) {
  QDir dir(executableDir());
  const QStringList parts = relative.split('/', Qt::SkipEmptyParts);
  QString path = dir.path();
  for (const QString &part : parts) {
    QString match = part;
    if (!QFileInfo::exists(QDir(path).filePath(part))) {
      const QStringList entries = QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
      for (const QString &entry : entries)
        if (entry.compare(part, Qt::CaseInsensitive) == 0) {
          match = entry;
          break;
        }
    }
    path = QDir(path).filePath(match);
  }
  return path;
}

} // namespace app_paths
