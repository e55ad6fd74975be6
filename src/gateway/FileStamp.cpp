#include "gateway/FileStamp.h"

#include <QFile>

#include <algorithm>

#include <sys/stat.h>

namespace gateway {

namespace {

bool sameTime(const timespec &a, const timespec &b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

} // namespace

FileStamp FileStamp::of(const QString &path) {
  return of(QFile::encodeName(path).constData());
}

FileStamp FileStamp::of(const char *encodedPath) {
  struct stat info {};
  FileStamp stamp;
  if (::stat(encodedPath, &info) != 0)
    return stamp;
  stamp.exists = true;
  stamp.device = info.st_dev;
  stamp.inode = info.st_ino;
  stamp.size = info.st_size;
  stamp.modified = info.st_mtim;
  stamp.changed = info.st_ctim;
  return stamp;
}

bool FileStamp::isRecent() const {
  if (!exists)
    return false;
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  const time_t latest = std::max(modified.tv_sec, changed.tv_sec);
  return now.tv_sec - latest < 2;
}

bool FileStamp::operator==(const FileStamp &other) const {
  return exists == other.exists && device == other.device && inode == other.inode && size == other.size &&
         sameTime(modified, other.modified) && sameTime(changed, other.changed);
}

} // namespace gateway
