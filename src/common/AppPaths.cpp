#include "common/AppPaths.h"

#include <QCoreApplication>
#include <QDir>

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

void overrideExecutableDir(const QString &dir) { overridden() = dir; }

QString besideExecutable(const QString &relative) {
  return QDir(executableDir()).filePath(relative);
}

} // namespace app_paths
