#pragma once
// A Windows profile (INI) file in cp1251, read the way the profile functions read it:
// section and key names compare without regard to case, a value is read up to 2047
// characters, and a missing file, section or key reads as the default. The file is parsed
// once, so reading hundreds of keys costs one pass over the file.
#include "common/Error.h"

#include <QByteArray>
#include <QHash>
#include <QString>

BL_ERROR_CLASS(IniFileError, AppError)

class IniFile {
public:
  // The longest value a read gives; longer values are cut.
  static constexpr qsizetype MaxValueLength = 2047;

  IniFile() = default;
  // Parses the file at path; a missing or unreadable file behaves as an empty one.
  explicit IniFile(const QString &path);
  // Parses the given cp1251 bytes (nothing is written back to disk from such an object).
  static IniFile fromBytes(QByteArrayView bytes);

  const QString &path() const { return path_; }

  // The value of key in section, or defaultValue when the section or key is missing.
  // Blanks around the value are dropped, and so is one pair of matching quotes around it.
  QString readString(const QString &section, const QString &key, const QString &defaultValue = {}) const;
  // True when the section holds the key, also with an empty value.
  bool hasKey(const QString &section, const QString &key) const;

  // Sets key in section to value in the file itself: an existing key line is rewritten in
  // place, a missing key is added at the end of its section, a missing section at the end of
  // the file (the file is created when missing). Every other line keeps its bytes. The file is
  // re-read first, so changes made to it since this object was parsed are kept too.
  // Throws IniFileError for a text cp1251 cannot hold, a line break inside a name or value, a
  // value longer than MaxValueLength, or a file that cannot be written; the file is then left
  // as it was.
  void writeString(const QString &section, const QString &key, const QString &value);

private:
  void parse(QByteArrayView bytes);

  QString path_;
  // folded section name -> folded key name -> value (first occurrence wins, as on Windows)
  QHash<QString, QHash<QString, QString>> values_;
};
