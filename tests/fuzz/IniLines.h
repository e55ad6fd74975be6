#pragma once
// A second, plain reading of a profile file for the targets to check the reader against: every
// key line of the first section of each name, with the value the profile functions give it.
#include "common/Cp1251.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace fuzz {

struct IniEntry {
  QString section;
  QString key;
  QString value;
};

// The file's lines, decoded in one pass: cp1251 keeps CR and LF as they are.
inline QStringList plainLines(const QByteArray &bytes) {
  const QString text = cp1251::decode(bytes);
  QStringList lines;
  qsizetype start = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n')
      continue;
    lines.append(text.mid(start, i - start));
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
      ++i;
    start = i + 1;
  }
  if (start < text.size())
    lines.append(text.mid(start));
  return lines;
}

// Key lines after a repeated section, or before the first one, are not read.
inline QList<IniEntry> plainEntries(const QByteArray &bytes, qsizetype maxValue) {
  QList<IniEntry> entries;
  QSet<QString> sections;
  QSet<QString> keys;
  QString section;
  bool reading = false;
  for (const QString &raw : plainLines(bytes)) {
    const QString line = raw.trimmed();
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
