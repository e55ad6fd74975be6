#include "compose/Translit.h"

#include "common/AppPaths.h"
#include "common/LangConstants.h"
#include "common/TextLines.h"

#include <QDir>

#include <algorithm>

namespace {

// ASCII letters are one source whatever their case; every other character is exact
// (Cyrillic capitals and small letters are different sources).
char16_t fold(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? char16_t(c - u'A' + u'a') : c;
}

} // namespace

std::array<qint32, TranslitTable::denseLimit> TranslitTable::emptyDense() {
  std::array<qint32, denseLimit> none;
  none.fill(-1);
  return none;
}

void TranslitTable::clear() {
  refusal_.clear();
  sources_.clear();
  replacements_.clear();
  dense_ = emptyDense();
  sparse_.clear();
  empty_ = true;
  longestReplacement_ = 1;
}

qsizetype TranslitTable::ruleOf(char16_t c) const {
  if (c < denseLimit)
    return dense_[c];
  return sparse_.value(c, -1);
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
    longestReplacement_ = std::max(longestReplacement_, replacement.size());
    const char16_t source = fold(line.front().unicode());
    const qint32 position = qint32(sources_.size() - 1);
    // An earlier rule for the same source wins. An ASCII letter's rule serves both cases.
    if (ruleOf(source) >= 0)
      continue;
    empty_ = false;
    if (source >= denseLimit) {
      sparse_.insert(source, position);
      continue;
    }
    dense_[source] = position;
    if (source >= u'a' && source <= u'z')
      dense_[source - u'a' + u'A'] = position;
  }
}

TextFileProblem TranslitTable::check(QByteArrayView bytes) {
  TextFileProblem problem = text_file_check::check(bytes, MaxLineLength);
  if (!problem.ok())
    return problem;
  const auto lines = text_lines::decodeCp1251Lines(bytes, text_lines::split(bytes));
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QString &line = lines[i];
    const qsizetype hyphen = line.indexOf(u'-');
    // A source, at most one ignored character, then the hyphen; or a lone source (dropped).
    const bool rule = line.size() <= 1 || (hyphen >= 0 && hyphen <= 2);
    if (!rule) {
      problem.kind = TextFileProblem::Kind::RuleShape;
      problem.line = i + 1;
      problem.detail = line;
      return problem;
    }
  }
  return problem;
}

void TranslitTable::load(const QString &path) {
  clear();
  const CheckedTextFile file = text_file_check::read(path, MaxLineLength);
  TextFileProblem problem = file.problem;
  if (problem.ok())
    problem = check(file.bytes);
  if (!problem.ok()) {
    refusal_ = GetIniText(LangConst().stTranslitFile).arg(QDir::toNativeSeparators(path), problem.describe());
    throw TranslitFileError(refusal_);
  }
  parse(file.bytes);
}

QString TranslitTable::apply(const QString &text) const {
  if (empty_)
    return text;
  // Written straight into a buffer long enough for the longest replacement of every character.
  QString result(text.size() * longestReplacement_, Qt::Uninitialized);
  QChar *out = result.data();
  for (const QChar c : text) {
    const qsizetype rule = ruleOf(c.unicode());
    if (rule < 0) {
      *out++ = c;
    } else {
      const QString &replacement = replacements_[rule].Name;
      out = std::copy(replacement.cbegin(), replacement.cend(), out);
    }
  }
  result.truncate(out - result.constData());
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
