#pragma once
// A second, plain reading of a profile file for the targets to check the reader against: every
// key line of the first section of each name, with the value the profile functions give it.
#include "common/Cp1251.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>

namespace fuzz {

struct IniEntry {
  QString section;
  QString key;
  QString value;
};

inline QList<QByteArray> plainLines(const QByteArray &bytes) {
  QList<QByteArray> lines;
  qsizetype start = 0;
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n')
      continue;
    lines.append(bytes.mid(start, i - start));
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
      ++i;
    start = i + 1;
  }
  if (start < bytes.size())
    lines.append(bytes.mid(start));
  return lines;
}

// Key lines after a repeated section, or before the first one, are not read.
inline QList<IniEntry> plainEntries(const QByteArray &bytes, qsizetype maxValue) {
  QList<IniEntry> entries;
  QSet<QString> sections;
  QSet<QString> keys;
  QString section;
  bool reading = false;
  for (const QByteArray &raw : plainLines(bytes)) {
    const QString line = cp1251::decode(raw).trimmed();
    if (line.isEmpty() || line.startsWith(u';'))
      continue;
    if (line.startsWith(u'[') && line.contains(u']')) {
      section = line.mid(1, line.lastIndexOf(u']') - 1).trimmed().toCaseFolded();
      reading = !sections.contains(section);
      sections.insert(section);
      keys.clear();
      continue;
    }
    const qsizetype eq = line.indexOf(u'=');
    const QString key = (eq < 0 ? line : line.left(eq)).trimmed().toCaseFolded();
    if (!reading || key.isEmpty() || keys.contains(key))
      continue;
    keys.insert(key);
    QString value = eq < 0 ? QString() : line.mid(eq + 1).trimmed();
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
      value = value.mid(1, value.size() - 2);
    entries.append({section, key, value.left(maxValue)});
  }
  return entries;
}

} // namespace fuzz
