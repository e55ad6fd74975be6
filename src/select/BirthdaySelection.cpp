#include "select/BirthdaySelection.h"

namespace {

// Day and month in decimal without leading zeros.
QString dayTerm(const QDate &today) {
  return QStringLiteral("(EXTRACT(DAY FROM BIRTHDATE) = %1)").arg(today.day());
}
QString monthTerm(const QDate &today) {
  return QStringLiteral("(EXTRACT(MONTH FROM BIRTHDATE) = %1)").arg(today.month());
}

} // namespace

QString birthdayCondition(const QDate &today) {
  return dayTerm(today) + QStringLiteral(" AND ") + monthTerm(today);
}

QString birthdaySelectSql(const QDate &today) {
  return QStringLiteral("SELECT * FROM CONTACTS\nWHERE ") + dayTerm(today) + QStringLiteral(" AND \n") +
         monthTerm(today) + QStringLiteral(" AND \n(IDGROUP = :ID)");
}
