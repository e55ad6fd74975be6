#pragma once
// The texts of the contact list's statement, apart from the list itself: the filtered
// statement of a condition and the rule that tells a filtered statement from the unfiltered
// one (see ContactListFilter).
#include <QString>

namespace filtered_statement {

// SELECT * FROM CONTACTS / WHERE (<condition>) AND (IDGROUP = :ID)
QString selectSql(const QString &condition);
// True while the statement, each line followed by CR LF, is longer than the 45 characters
// of the unfiltered one.
bool isFiltered(const QString &sql);

} // namespace filtered_statement
