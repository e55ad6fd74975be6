#include "select/ContactListFilter.h"

#include "compose/FilterCondition.h"
#include "data/DataSet.h"
#include "select/FilteredStatement.h"

ContactListFilter::ContactListFilter(DataSet &contacts) : contacts_(contacts) {}

QString ContactListFilter::filteredSelectSql(const QString &condition) {
  return filtered_statement::selectSql(condition);
}

bool ContactListFilter::isFilteredStatement(const QString &sql) {
  return filtered_statement::isFiltered(sql);
}

bool ContactListFilter::isFiltered() const {
  return isFilteredStatement(contacts_.selectSql());
}

int ContactListFilter::savedFilterId() const {
  return savedFilterId_ && contacts_.selectSql() == savedFilterSql_ ? savedFilterId_ : 0;
}

void ContactListFilter::apply(const QString &condition, int savedFilterId) {
  checkFilterCondition(condition); // the list is left as it is
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
