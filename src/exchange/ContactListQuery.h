#pragma once
// The contacts the contact list shows, as a statement to run again: the list's current
// select (the current group, narrowed by a filter in force) with its parameter values. The
// exports read their rows through it, in the order the database returns them, which is the
// list's order.
#include <QString>
#include <QVariantMap>

class DataSet;

struct ContactListQuery {
  QString sql;
  QVariantMap params; // by parameter name, upper case

  // The contact list's select with the parameters that follow its master (":ID" of the
  // current group, NULL when there is none).
  static ContactListQuery of(const DataSet &contacts);
};
