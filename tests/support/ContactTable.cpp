#include "support/ContactTable.h"

#include "data/Query.h"
#include "data/Transaction.h"

#include <QStringList>

void ContactTable::execute(const QString &sql, const QVariantMap &params) {
  Transaction tr(connection_, Transaction::Ending::Commit);
  Query q(tr, sql);
  q.setParams(params);
  q.execute();
  tr.commit();
}

QVariant ContactTable::scalar(const QString &sql, const QVariantMap &params) {
  Transaction tr(connection_);
  Query q(tr, sql);
  q.setParams(params);
  q.open();
  return q.fetch() ? q.value(0) : QVariant();
}

QList<QVariantList> ContactTable::rows(const QString &sql, const QVariantMap &params) {
  Transaction tr(connection_);
  Query q(tr, sql);
  q.setParams(params);
  q.open();
  QList<QVariantList> out;
  while (q.fetch())
    out << q.row();
  return out;
}

int ContactTable::addGroup(const QString &name) {
  const int id = scalar("SELECT GEN_ID(GEN_LISTGROUPS_ID, 1) FROM RDB$DATABASE").toInt();
  execute("INSERT INTO LISTGROUPS (ID, NAME) VALUES (:ID, :NAME)", {{"ID", id}, {"NAME", name}});
  return id;
}

int ContactTable::addContact(int group, const QVariantMap &values) {
  const int id = scalar("SELECT GEN_ID(GEN_CONTACTS_ID, 1) FROM RDB$DATABASE").toInt();
  QStringList columns{"ID", "IDGROUP"};
  QStringList params{":ID", ":IDGROUP"};
  QVariantMap all = values;
  all.insert("ID", id);
  all.insert("IDGROUP", group);
  for (auto it = values.begin(); it != values.end(); ++it) {
    columns << it.key();
    params << ':' + it.key();
  }
  execute(QStringLiteral("INSERT INTO CONTACTS (%1) VALUES (%2)").arg(columns.join(", "), params.join(", ")),
          all);
  return id;
}

QVariant ContactTable::value(int contact, const QString &column) {
  return scalar(QStringLiteral("SELECT %1 FROM CONTACTS WHERE ID = :ID").arg(column), {{"ID", contact}});
}

QVariantList ContactTable::row(int contact) {
  Transaction tr(connection_);
  Query q(tr, "SELECT * FROM CONTACTS WHERE ID = :ID");
  q.setParam("ID", contact);
  q.open();
  return q.fetch() ? QVariantList(q.row().begin(), q.row().end()) : QVariantList();
}
