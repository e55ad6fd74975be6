#pragma once
#include <QString>

// Paths of the system's own files are relative to the folder of the executable,
// never to the working folder. Tests may point the "executable folder" elsewhere.
namespace app_paths {

QString executableDir();
void overrideExecutableDir(const QString &dir); // empty restores the real one
QString besideExecutable(const QString &relative);
// The same, but each part of the relative path matches an existing entry regardless of case,
// as file names do on the desktop the program's data files come from ("English.INI" is found
// for "langs/english.ini"). Parts with no match are kept as given.
QString findBesideExecutable(const QString &relative);

} // namespace app_paths
