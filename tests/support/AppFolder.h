#pragma once
// A temporary "executable folder" for tests: the program's files beside the executable
// (kyv.ini, langs/, translit/, help/) live here, copied from the source tree on request.
#include <QString>
#include <QTemporaryDir>

class AppFolder {
public:
  AppFolder(); // empty folder, installed as the executable folder
  ~AppFolder();

  QString path() const { return dir_.path(); }
  QString filePath(const QString &relative) const { return dir_.filePath(relative); }
  // Copies langs/, translit/ and help/ of the source tree.
  void copyShippedFiles();
  // Writes a file; text is converted to cp1251.
  void writeText(const QString &relative, const QString &text);

private:
  QTemporaryDir dir_;
};
