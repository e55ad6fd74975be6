#include "select/FilteredStatement.h"

#include <QStringList>

namespace filtered_statement {

namespace {
constexpr qsizetype unfilteredLength = 45;
}

QString selectSql(const QString &condition) {
  return QStringLiteral("SELECT * FROM CONTACTS\nWHERE (") + condition +
         QStringLiteral(") AND (IDGROUP = :ID)");
}

bool isFiltered(const QString &sql) {
  // Every line followed by CR LF, as the statement's line list gives it as text.
  const QStringList lines = sql.split(u'\n');
  qsizetype length = 0;
  for (const QString &line : lines)
    length += (line.endsWith(u'\r') ? line.size() - 1 : line.size()) + 2;
  return length > unfilteredLength;
}

} // namespace filtered_statement
