#pragma once
// A fresh contact database with a few contacts in two groups, opened for the compose tests.
#include "data/Attachment.h"
#include "data/Query.h"
#include "data/Transaction.h"
#include "support/ContactTable.h"
#include "support/TestDatabase.h"

#include <QVariantList>
#include <memory>

struct ComposeFixture {
  TestDatabase database;
  Attachment db;

  ComposeFixture() { db.open(database.path()); }

  // Runs one statement on its own committed transaction.
  void exec(const QString &sql, const QVariantMap &params = {}) { ContactTable(db).execute(sql, params); }

  void addGroup(int id, const QString &name) {
    exec(QStringLiteral("INSERT INTO LISTGROUPS (ID, NAME) VALUES (:ID, :NAME)"),
         {{"ID", id}, {"NAME", name}});
  }

  // PHONE, NAME, BIRTHDATE, DFIELD, SEND, TIMESEND, ID, IDGROUP
  void addContact(int id, int group, const QVariant &phone, const QVariant &name, const QVariant &birth = {},
                  const QVariant &dfield = {}, const QVariant &send = {}, const QVariant &time = {}) {
    exec(QStringLiteral("INSERT INTO CONTACTS (PHONE, NAME, BIRTHDATE, DFIELD, SEND, TIMESEND, ID, IDGROUP) "
                        "VALUES (:PHONE, :NAME, :BIRTHDATE, :DFIELD, :SEND, :TIMESEND, :ID, :IDGROUP)"),
         {{"PHONE", phone},
          {"NAME", name},
          {"BIRTHDATE", birth},
          {"DFIELD", dfield},
          {"SEND", send},
          {"TIMESEND", time},
          {"ID", id},
          {"IDGROUP", group}});
  }

  QList<int> ids(const QString &sql) {
    Transaction tr(db, Transaction::Ending::Commit);
    Query q(tr, sql);
    const int id = q.columnIndex(QStringLiteral("ID"));
    q.open();
    QList<int> out;
    while (q.fetch())
      out.append(q.value(id).toInt());
    return out;
  }
};
