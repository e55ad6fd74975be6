#include "data/NamedParams.h"

namespace {

bool isNameStart(QChar c) {
  return c.isLetter() || c == u'_';
}
bool isNamePart(QChar c) {
  return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

// Index just past a quoted run starting at i (a doubled quote stays inside).
qsizetype skipQuoted(const QString &s, qsizetype i) {
  const QChar quote = s[i++];
  while (i < s.size()) {
    if (s[i] == quote) {
      if (i + 1 < s.size() && s[i + 1] == quote) {
        i += 2;
        continue;
      }
      return i + 1;
    }
    ++i;
  }
  return i;
}

} // namespace

NamedParams parseNamedParams(const QString &sql) {
  NamedParams out;
  out.sql.reserve(sql.size());
  qsizetype i = 0;
  while (i < sql.size()) {
    const QChar c = sql[i];
    qsizetype end = i + 1;
    if (c == u'\'' || c == u'"') {
      end = skipQuoted(sql, i);
    } else if (c == u'-' && sql.mid(i, 2) == u"--") {
      end = sql.indexOf(u'\n', i);
      end = end < 0 ? sql.size() : end;
    } else if (c == u'/' && sql.mid(i, 2) == u"/*") {
      end = sql.indexOf(u"*/", i + 2);
      end = end < 0 ? sql.size() : end + 2;
    } else if (c == u':' && i + 1 < sql.size() && isNameStart(sql[i + 1])) {
      end = i + 1;
      while (end < sql.size() && isNamePart(sql[end]))
        ++end;
      const QString name = sql.mid(i + 1, end - i - 1).toUpper();
      qsizetype index = out.names.indexOf(name);
      if (index < 0) {
        index = out.names.size();
        out.names.append(name);
      }
      out.positions.append(int(index));
      out.sql += u'?';
      i = end;
      continue;
    }
    out.sql += QStringView(sql).sliced(i, end - i);
    i = end;
  }
  return out;
}
