#pragma once
// Whether a process holds a file open, read from its descriptors in /proc: no attach is
// tried, which would disturb the engine inside that process.
#include <QDir>
#include <QFileInfo>
#include <QString>

inline bool holdsOpen(qint64 pid, const QString &path) {
  const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
  for (const QFileInfo &fd : fds.entryInfoList(QDir::NoDotAndDotDot | QDir::System | QDir::Files))
    if (fd.symLinkTarget() == path)
      return true;
  return false;
}
