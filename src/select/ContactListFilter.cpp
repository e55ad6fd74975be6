#include "select/ContactListFilter.h"

#include "data/DataSet.h"

namespace {
constexpr qsizetype unfilteredLength = 45;
}

ContactListFilter::ContactListFilter(DataSet &contacts) : contacts_(contacts) {}

QString ContactListFilter::filteredSelectSql(const QString &condition) {
  return QStringLiteral("SELECT * FROM CONTACTS\nWHERE (") + condition +
         QStringLiteral(") AND (IDGROUP = :ID)");
}

bool ContactListFilter::isFilteredStatement(const QString &sql) {
  // Every line followed by CR LF, as the statement's line list gives it as text.
  const QStringList lines = sql.split(u'\n');
  qsizetype length = 0;
  for (const QString &line : lines)
    length += (line.endsWith(u'\r') ? line.size() - 1 : line.size()) + 2;
  return length > unfilteredLength;
}

bool ContactListFilter::isFiltered() const {
  return isFilteredStatement(contacts_.selectSql());
}

int ContactListFilter::savedFilterId() const {
  return savedFilterId_ && contacts_.selectSql() == savedFilterSql_ ? savedFilterId_ : 0;
}

void ContactListFilter::apply(const QString &condition, int savedFilterId) {
  applyStatement(filteredSelectSql(condition), savedFilterId);
}

void ContactListFilter::applyStatement(const QString &sql, int savedFilterId) {
  savedFilterId_ = 0;
  contacts_.close();
  contacts_.setSelectSql(sql);
  contacts_.open();
  savedFilterId_ = savedFilterId;
  savedFilterSql_ = sql;
}

void ContactListFilter::remove() {
  savedFilterId_ = 0;
  contacts_.close();
  contacts_.restoreSelectSql();
  contacts_.open();
}
