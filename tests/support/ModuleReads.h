#pragma once
// What a test reads back from the data module, as the operator would see it.
#include "data/DataSet.h"
#include "data/Query.h"
#include "data/TDModule.h"

#include <QList>
#include <QStringList>
#include <QVariantList>

// Names of the contacts the contact list shows (all its rows read), sorted.
inline QStringList listedContactNames(DataSet &contacts) {
  contacts.fetchAll();
  QStringList names;
  const int name = contacts.fieldIndex("NAME");
  for (int row = 0; row < contacts.rowCount(); ++row)
    names << contacts.value(row, name).toString();
  names.sort();
  return names;
}

// The saved filters (ID, NAME, FILT) as the data module's own transaction sees them: a delete
// in the filter list is committed with that transaction.
inline QList<QVariantList> savedFiltersOf(TDModule &module) {
  Query q(module.IBTrDef, "SELECT ID, NAME, FILT FROM LISTFILT ORDER BY ID");
  q.open();
  QList<QVariantList> rows;
  while (q.fetch())
    rows << QVariantList{q.value(0), q.value(1), q.value(2)};
  return rows;
}
