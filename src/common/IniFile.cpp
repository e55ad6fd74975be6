#include "common/IniFile.h"

#include "common/Cp1251.h"
#include "common/TextLines.h"

#include <QFile>
#include <QSaveFile>

namespace {

constexpr char utf8Bom[] = "\xEF\xBB\xBF";

QString fold(const QString &name) {
  return name.trimmed().toCaseFolded();
}

// A section line is "[name]"; the name is what lies between '[' and the last ']'.
bool sectionName(const QString &line, QString *name) {
  if (!line.startsWith(u'['))
    return false;
  const qsizetype close = line.lastIndexOf(u']');
  if (close < 0)
    return false;
  *name = line.mid(1, close - 1).trimmed();
  return true;
}

// The profile functions drop one pair of matching quotes around a value.
QString unquote(const QString &value) {
  if (value.size() > 1 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
    return value.mid(1, value.size() - 2);
  return value;
}

QByteArray readAllOrEmpty(const QString &path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return {};
  return file.readAll();
}

void checkName(const QString &what, const QString &name, QChar forbidden) {
  if (name.trimmed().isEmpty())
    throw IniFileError(QStringLiteral("The %1 name is empty.").arg(what));
  if (name.contains(forbidden))
    throw IniFileError(QStringLiteral("The %1 name \"%2\" contains \"%3\".").arg(what, name, forbidden));
}

void checkText(const QString &text) {
  if (text.contains(u'\r') || text.contains(u'\n'))
    throw IniFileError(QStringLiteral("\"%1\" contains a line break and cannot be stored in a settings file.")
                           .arg(text.simplified()));
  const qsizetype bad = cp1251::firstUnencodable(text);
  if (bad >= 0)
    throw IniFileError(QStringLiteral("The character \"%1\" of \"%2\" cannot be stored in a settings file.")
                           .arg(text.at(bad))
                           .arg(text));
}

} // namespace

IniFile::IniFile(const QString &path) : path_(path) {
  parse(readAllOrEmpty(path));
}

IniFile IniFile::fromBytes(QByteArrayView bytes) {
  IniFile ini;
  ini.parse(bytes);
  return ini;
}

void IniFile::parse(QByteArrayView bytes) {
  values_.clear();
  // A file saved as UTF-8 by an editor starts with its byte-order mark; the names after it
  // are plain ASCII and still read.
  if (bytes.startsWith(utf8Bom))
    bytes = bytes.sliced(3);
  QHash<QString, QString> *section = nullptr; // lines before the first section belong to none
  const auto raw = text_lines::split(bytes);
  for (const QString &text : text_lines::decodeCp1251Lines(bytes, raw)) {
    const QString line = text.trimmed();
    if (line.isEmpty() || line.startsWith(u';'))
      continue;
    QString name;
    if (sectionName(line, &name)) {
      const QString key = fold(name);
      // A repeated section adds nothing: the first one answers, as on Windows.
      section = values_.contains(key) ? nullptr : &values_[key];
      continue;
    }
    if (!section)
      continue;
    const qsizetype eq = line.indexOf(u'=');
    const QString key = fold(eq < 0 ? line : line.left(eq));
    if (key.isEmpty() || section->contains(key))
      continue;
    const QString value = eq < 0 ? QString() : unquote(line.mid(eq + 1).trimmed());
    section->insert(key, value.left(MaxValueLength));
  }
}

QString IniFile::readString(const QString &section, const QString &key, const QString &defaultValue) const {
  const auto s = values_.constFind(fold(section));
  if (s == values_.constEnd())
    return defaultValue;
  const auto v = s->constFind(fold(key));
  return v == s->constEnd() ? defaultValue : *v;
}

bool IniFile::hasKey(const QString &section, const QString &key) const {
  const auto s = values_.constFind(fold(section));
  return s != values_.constEnd() && s->contains(fold(key));
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value) {
  if (path_.isEmpty())
    throw IniFileError(QStringLiteral("The settings were not read from a file and cannot be written."));
  checkName(QStringLiteral("section"), section, u']');
  checkName(QStringLiteral("key"), key, u'=');
  checkText(section);
  checkText(key);
  checkText(value);
  // A longer value would read back cut short.
  if (value.size() > MaxValueLength)
    throw IniFileError(
        QStringLiteral("A value of %1 characters cannot be stored in a settings file; the longest "
                       "is %2 characters.")
            .arg(value.size())
            .arg(MaxValueLength));

  const QByteArray before = readAllOrEmpty(path_);
  // A byte-order mark stays where it is, before the first line.
  const QByteArrayView bom = before.startsWith(utf8Bom) ? QByteArrayView(before).first(3) : QByteArrayView();
  const QByteArrayView old = QByteArrayView(before).sliced(bom.size());
  const auto lines = text_lines::split(old);
  const auto decoded = text_lines::decodeCp1251Lines(old, lines);
  QByteArray eol = "\r\n";
  if (!lines.isEmpty() && !lines.first().end.isEmpty())
    eol = lines.first().end.toByteArray();

  const QString wantedSection = fold(section);
  const QString wantedKey = fold(key);
  qsizetype sectionLine = -1;   // the first section of that name
  qsizetype lastInSection = -1; // its last non-empty line
  qsizetype keyLine = -1;
  bool inside = false;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QString line = decoded[i].trimmed();
    QString name;
    if (sectionName(line, &name)) {
      if (sectionLine >= 0)
        break; // the section that answers reads has ended
      inside = fold(name) == wantedSection;
      if (inside)
        sectionLine = lastInSection = i;
      continue;
    }
    if (!inside || line.isEmpty())
      continue;
    lastInSection = i;
    if (line.startsWith(u';'))
      continue;
    const qsizetype eq = line.indexOf(u'=');
    if (fold(eq < 0 ? line : line.left(eq)) == wantedKey) {
      keyLine = i;
      break;
    }
  }

  // Blanks around a value, or quotes around it, would be dropped by the next read: such a
  // value is written inside quotes, which that read removes again.
  const bool quote = value != value.trimmed() || unquote(value) != value;
  const QByteArray encodedValue = quote ? '"' + cp1251::encode(value) + '"' : cp1251::encode(value);
  const QByteArray newKeyLine = cp1251::encode(key.trimmed()) + '=' + encodedValue;
  QByteArray out = bom.toByteArray();
  out.reserve(before.size() + newKeyLine.size() + section.size() + 8);
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const auto &line = lines[i];
    const bool addKeyAfter = i == lastInSection && keyLine < 0;
    const bool addSectionAfter = i + 1 == lines.size() && sectionLine < 0;
    if (i == keyLine) {
      // Keep the key as it is spelled in the file; only the value changes.
      const qsizetype eq = line.text.indexOf('=');
      out += eq < 0 ? newKeyLine : line.text.first(eq + 1).toByteArray() + encodedValue;
    } else {
      out += line.text;
    }
    // A last line without a line end gets one only when something is added after it.
    out += (line.end.isEmpty() && (addKeyAfter || addSectionAfter)) ? QByteArrayView(eol) : line.end;
    if (addKeyAfter)
      out += newKeyLine + eol;
  }
  if (sectionLine < 0)
    out += '[' + cp1251::encode(section.trimmed()) + ']' + eol + newKeyLine + eol;

  QSaveFile file(path_);
  if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size() || !file.commit())
    throw IniFileError(QStringLiteral("Cannot write \"%1\": %2").arg(path_, file.errorString()));
  parse(out);
}
