#pragma once
// The birthday selection: the contacts born on today's day and month, in any year. It is
// worked out once, when it is applied; a program running past midnight keeps the day it
// was applied on. A contact without a date of birth never matches (EXTRACT of NULL is
// NULL).
#include <QDate>
#include <QString>

// The condition that becomes CurrentFilter:
//   (EXTRACT(DAY FROM BIRTHDATE) = d) AND (EXTRACT(MONTH FROM BIRTHDATE) = m)
QString birthdayCondition(const QDate &today);

// The contact list's statement for the current group, in four lines:
//   SELECT * FROM CONTACTS
//   WHERE (EXTRACT(DAY FROM BIRTHDATE) = d) AND
//   (EXTRACT(MONTH FROM BIRTHDATE) = m) AND
//   (IDGROUP = :ID)
// (each of the two middle lines ends with a blank after AND).
QString birthdaySelectSql(const QDate &today);
