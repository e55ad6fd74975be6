#include "exchange/ContactListQuery.h"

#include "data/DataSet.h"
#include "data/NamedParams.h"

ContactListQuery ContactListQuery::of(const DataSet &contacts) {
  ContactListQuery q{contacts.selectSql(), {}};
  const DataSet *master = contacts.master();
  for (const QString &name : parseNamedParams(q.sql).names) {
    QVariant value;
    if (master && master->hasField(name) && master->currentRow() >= 0)
      value = master->value(name);
    q.params.insert(name, value);
  }
  return q;
}
