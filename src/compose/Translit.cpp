#include "compose/Translit.h"

#include "common/AppPaths.h"
#include "common/LangConstants.h"
#include "common/TextLines.h"

#include <QFile>

namespace {

// ASCII letters are one source whatever their case; every other character is exact
// (Cyrillic capitals and small letters are different sources).
char16_t fold(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? char16_t(c - u'A' + u'a') : c;
}

} // namespace

void TranslitTable::clear() {
  sources_.clear();
  replacements_.clear();
  firstRule_.clear();
}

void TranslitTable::parse(QByteArrayView bytes) {
  clear();
  const auto lines = text_lines::decodeCp1251Lines(bytes, text_lines::split(bytes));
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QString &line = lines[i];
    if (line.isEmpty())
      continue;
    // The first hyphen may be the source itself: then the rest of the line replaces it.
    const qsizetype hyphen = line.indexOf(u'-');
    const QString replacement = hyphen < 0 ? QString() : line.mid(hyphen + 1);
    const qint32 lineNumber = qint32(i);
    sources_.append({lineNumber, line.left(1)});
    replacements_.append({lineNumber, replacement});
    const char16_t source = fold(line.front().unicode());
    if (!firstRule_.contains(source)) // an earlier rule for the same source wins
      firstRule_.insert(source, sources_.size() - 1);
  }
}

void TranslitTable::load(const QString &path) {
  clear();
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw TranslitFileError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
  parse(file.readAll());
}

QString TranslitTable::apply(const QString &text) const {
  if (firstRule_.isEmpty())
    return text;
  QString result;
  result.reserve(text.size() * 2);
  for (const QChar c : text) {
    const auto rule = firstRule_.constFind(fold(c.unicode()));
    if (rule == firstRule_.constEnd())
      result += c;
    else
      result += replacements_.at(*rule).Name;
  }
  return result;
}

TranslitTable &translitTable() {
  static TranslitTable table;
  return table;
}

QString translitFilePath(const QString &lang) {
  return app_paths::findBesideExecutable(QStringLiteral("translit/") + lang + QStringLiteral(".trs"));
}

void LoadTranslit() {
  LoadTranslit(CurrentLang());
}

void LoadTranslit(const QString &lang) {
  translitTable().load(translitFilePath(lang));
}

QString Translit(const QString &text) {
  return translitTable().apply(text);
}
