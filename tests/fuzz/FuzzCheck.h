#pragma once
// What the fuzz targets share: a finding ends the process with the property that failed, so
// libFuzzer keeps the input and the replay test fails on it.
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

[[noreturn]] inline void fail(const char *property, const QString &detail = {}) {
  std::fprintf(stderr, "finding: %s\n%s\n", property, detail.toLocal8Bit().constData());
  std::abort();
}

inline QByteArray bytes(const uint8_t *data, size_t size) {
  return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// A private folder for targets that must read a real file, made once per process and removed
// at its end.
inline QString scratchDir() {
  static const QTemporaryDir dir;
  if (!dir.isValid())
    fail("a scratch folder can be made", dir.errorString());
  return dir.path();
}

} // namespace fuzz

#define FUZZ_CHECK(condition, detail)                                                                        \
  do {                                                                                                       \
    if (!(condition))                                                                                        \
      ::fuzz::fail(#condition, detail);                                                                      \
  } while (0)
