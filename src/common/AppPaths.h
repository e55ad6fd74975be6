#pragma once
#include <QString>

// Paths of the system's own files are relative to the folder of the executable,
// never to the working folder. Tests may point the "executable folder" elsewhere.
namespace app_paths {

QString executableDir();
void overrideExecutableDir(const QString &dir); // empty restores the real one
QString besideExecutable(const QString &relative);

} // namespace app_paths
