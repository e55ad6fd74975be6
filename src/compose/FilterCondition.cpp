#include "compose/FilterCondition.h"

namespace {

// Only ASCII letters make names for the database's lexer: "Щq'" still opens a Q'...' literal.
bool isWordChar(QChar c) {
  return c.unicode() < 0x80 && (c.isLetterOrNumber() || c == u'_' || c == u'$');
}

[[noreturn]] void refuse(const QString &condition, qsizetype position, const QString &what) {
  throw FilterConditionError(QStringLiteral("The filter condition \"%1\" cannot be used: %2 (character %3).")
                                 .arg(condition.left(200), what)
                                 .arg(position + 1));
}

// The end of the literal or quoted name opening at i: after its closing mark, a doubled mark
// standing for one.
qsizetype quotedEnd(const QString &condition, qsizetype i) {
  const QChar mark = condition[i];
  for (qsizetype j = i + 1; j < condition.size(); ++j) {
    if (condition[j] != mark)
      continue;
    if (j + 1 < condition.size() && condition[j + 1] == mark) {
      ++j;
      continue;
    }
    return j + 1;
  }
  refuse(condition, i,
         mark == u'\'' ? QStringLiteral("a string literal is not closed")
                       : QStringLiteral("a quoted name is not closed"));
}

} // namespace

void checkFilterCondition(const QString &condition) {
  int depth = 0;
  qsizetype open = -1; // the outermost parenthesis still open
  for (qsizetype i = 0; i < condition.size();) {
    const QChar c = condition[i];
    const QChar next = i + 1 < condition.size() ? condition[i + 1] : QChar();
    if (c == u'\'' || c == u'"') {
      // Q'{...}' quotes with a delimiter of its choice; a plain reading of it would differ.
      if (c == u'\'' && i > 0 && (condition[i - 1] == u'q' || condition[i - 1] == u'Q') &&
          (i == 1 || !isWordChar(condition[i - 2])))
        refuse(condition, i - 1, QStringLiteral("alternative quoting (Q'...') is not taken in a filter"));
      i = quotedEnd(condition, i);
      continue;
    }
    if ((c == u'-' && next == u'-') || (c == u'/' && next == u'*'))
      refuse(condition, i, QStringLiteral("a comment is not taken in a filter"));
    if (c == QChar(0))
      refuse(condition, i, QStringLiteral("the text holds a null character"));
    if (c == u'(') {
      if (depth++ == 0)
        open = i;
    } else if (c == u')') {
      if (depth-- == 0)
        refuse(condition, i, QStringLiteral("a parenthesis is closed that was not opened"));
    }
    ++i;
  }
  if (depth > 0)
    refuse(condition, open, QStringLiteral("a parenthesis is opened and not closed"));
}
