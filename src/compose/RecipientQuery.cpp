#include "compose/RecipientQuery.h"

#include "compose/FilterCondition.h"

QString recipientQuery(const QString &columns, const RecipientScope &scope, const QString &filter) {
  checkFilterCondition(filter);
  const QString select = QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM CONTACTS");
  if (scope.group) {
    // A missing group leaves the condition incomplete on purpose: the database then refuses
    // the statement instead of sending to a wrong selection.
    const QString group = scope.groupId.isValid() ? QString::number(scope.groupId.toLongLong()) : QString();
    const QString where = select + QStringLiteral(" WHERE IDGROUP = ") + group;
    return filter.isEmpty() ? where : where + QStringLiteral(" AND (") + filter + QStringLiteral(")");
  }
  if (scope.all)
    return filter.isEmpty() ? select : select + QStringLiteral(" WHERE (") + filter + QStringLiteral(")");
  return {};
}

QString countQuery(const QString &columns, const RecipientScope &scope) {
  return recipientQuery(columns, scope, QString());
}

QString firstContactQuery(const QString &columns) {
  return QStringLiteral("SELECT FIRST 1 ") + columns + QStringLiteral(" FROM CONTACTS");
}
