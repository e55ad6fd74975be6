#pragma once
// The statement of the contact list (the data set behind the contacts grid, the detail of
// the group list): unfiltered "SELECT * FROM CONTACTS" / "WHERE IDGROUP = :ID", filtered
//   SELECT * FROM CONTACTS
//   WHERE (<condition>) AND (IDGROUP = :ID)
// The parentheses keep a condition joined by OR inside the current group. The list stays
// the group list's detail either way and still reads its rows on demand.
//
// The list counts as filtered while its statement, each line followed by CR LF, is longer
// than the 45 characters of the unfiltered one; that holds also while a rejected filter
// has left the list closed, so removing the filter is offered then too.
#include <QString>

class DataSet;

class ContactListFilter {
public:
  explicit ContactListFilter(DataSet &contacts);

  static QString filteredSelectSql(const QString &condition);
  // The 45-character rule on a statement text.
  static bool isFilteredStatement(const QString &sql);

  bool isFiltered() const;
  // The LISTFILT ID of the saved filter the list shows, 0 when it shows none (or another
  // statement has replaced it since).
  int savedFilterId() const;

  // Closes the list, puts the filtered statement in place and opens it again. Throws
  // DatabaseError with the database's text when the list cannot be closed or the database
  // rejects the statement; the list then stays closed with the filtered statement. A
  // condition that could reach past its parentheses throws FilterConditionError before the
  // list is touched.
  void apply(const QString &condition, int savedFilterId = 0);
  // The same with a whole statement of the list's own (the birthday selection's), which
  // must still take :ID from the group list.
  void applyStatement(const QString &sql, int savedFilterId = 0);
  // Closes the list, restores the unfiltered statement and opens it again: the whole group.
  void remove();

private:
  DataSet &contacts_;
  int savedFilterId_ = 0;
  QString savedFilterSql_;
};
