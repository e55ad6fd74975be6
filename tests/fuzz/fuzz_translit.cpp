// A transliteration file on any bytes, and its table applied to text: the table must rewrite
// exactly as the rules of the file say, read one by one (the earlier rule wins, an ASCII
// letter's rule serves both cases, a replacement is never rewritten again).
#include "FuzzCheck.h"

#include "common/Cp1251.h"
#include "compose/Translit.h"

#include <QHash>

namespace {

char16_t folded(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? char16_t(c - u'A' + u'a') : c;
}

// The rules as the file states them, applied to text the slow way.
QString byTheRules(const TranslitTable &table, const QString &text) {
  QHash<char16_t, qsizetype> first;
  for (qsizetype i = 0; i < table.sources().size(); ++i) {
    const char16_t source = folded(table.sources()[i].Name.front().unicode());
    if (!first.contains(source))
      first.insert(source, i);
  }
  QString out;
  for (const QChar c : text) {
    const qsizetype rule = first.value(folded(c.unicode()), -1);
    out += rule < 0 ? QString(c) : table.replacements()[rule].Name;
  }
  return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray input = fuzz::bytes(data, size);
  // The file's text, then after a line of "====" the text to transliterate.
  const qsizetype split = input.indexOf("\n====\n");
  const QByteArray file = split < 0 ? input : input.left(split);
  TranslitTable table;
  table.parse(file);
  FUZZ_CHECK(table.sources().size() == table.replacements().size(), QString());
  for (qsizetype i = 0; i < table.sources().size(); ++i)
    FUZZ_CHECK(table.sources()[i].Name.size() == 1 &&
                   table.sources()[i].Value == table.replacements()[i].Value,
               QString::number(i));
  const QString text = split < 0
                           ? cp1251::decode(file) + QStringLiteral(u"Съешь же ещё этих мягких булок, Ё ё Z z")
                           : cp1251::decode(input.mid(split + 6));
  const QString applied = table.apply(text);
  const QString expected = byTheRules(table, text);
  FUZZ_CHECK(applied == expected, applied + QStringLiteral(" expected ") + expected);
  return 0;
}
