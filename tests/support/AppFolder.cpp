#include "support/AppFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include "common/AppPaths.h"
#include "common/Cp1251.h"

AppFolder::AppFolder() {
  app_paths::overrideExecutableDir(dir_.path());
}

AppFolder::~AppFolder() {
  app_paths::overrideExecutableDir({});
}

void AppFolder::copyShippedFiles() {
  const QString source = qEnvironmentVariable("BL_SOURCE_DIR");
  for (const char *folder : {"langs", "translit", "help"}) {
    QDir(dir_.path()).mkpath(folder);
    QDirIterator it(QDir(source).filePath(folder), QDir::Files);
    while (it.hasNext()) {
      const QString file = it.next();
      QFile::copy(file, QDir(dir_.filePath(folder)).filePath(QFileInfo(file).fileName()));
    }
  }
}

void AppFolder::writeText(const QString &relative, const QString &text) {
  const QString target = dir_.filePath(relative);
  QDir().mkpath(QFileInfo(target).path());
  QFile f(target);
  if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
    f.write(cp1251::encode(text));
}
