#pragma once
// What tells one state of a file from another without reading it.
#include <QString>

#include <ctime>

namespace gateway {

struct FileStamp {
  bool exists = false;
  unsigned long long device = 0;
  unsigned long long inode = 0;
  long long size = 0;
  timespec modified{};
  timespec changed{};

  static FileStamp of(const QString &path);
  // The same for a path already in the file system's encoding.
  static FileStamp of(const char *encodedPath);
  // True while the file may still change within its time stamp's granularity: a stamp taken
  // so soon after a write cannot be trusted to show the next one.
  bool isRecent() const;
  bool operator==(const FileStamp &other) const;
};

} // namespace gateway
