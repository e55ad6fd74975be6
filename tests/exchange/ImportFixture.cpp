#include "ImportFixture.h"

#include "data/Query.h"
#include "data/Transaction.h"

namespace {
int newGroup(Attachment &db, const QString &name) {
  Transaction t(db, Transaction::Ending::Commit);
  Query id(t, QStringLiteral("SELECT GEN_ID(GEN_LISTGROUPS_ID, 1) FROM RDB$DATABASE"));
  id.execute();
  const int value = id.value(0).toInt();
  Query insert(t, QStringLiteral("INSERT INTO LISTGROUPS (ID, NAME) VALUES (:ID, :NAME)"));
  insert.setParam(QStringLiteral("ID"), value);
  insert.setParam(QStringLiteral("NAME"), name);
  insert.execute();
  t.commit();
  return value;
}
} // namespace

ImportFixture::ImportFixture() {
  db.open(database.path());
  group = newGroup(db, QStringLiteral("Импорт"));
  otherGroup = newGroup(db, QStringLiteral("Другая"));
  texts.stEmail = QStringLiteral("mailbox not set up");
  texts.stServerError = QStringLiteral("cannot connect");
  texts.stQueryOutlook = QStringLiteral("import the address book?");
}

QStringList ImportFixture::contacts(int group) const {
  Transaction t(const_cast<Attachment &>(db), Transaction::Ending::Commit);
  Query q(t, QStringLiteral("SELECT PHONE, NAME, BIRTHDATE, DFIELD, EFIELD, FFIELD, GFIELD, SEND, DATESEND, "
                            "TIMESEND, PARTSEND, FERROR FROM CONTACTS WHERE IDGROUP = :G ORDER BY ID"));
  q.setParam(QStringLiteral("G"), group);
  q.open();
  QStringList rows;
  while (q.fetch()) {
    QStringList values;
    for (const QVariant &v : q.row())
      values << (v.isValid() && !v.isNull() ? v.toString() : QStringLiteral("NULL"));
    rows << values.join(u'|');
  }
  return rows;
}

QStringList ImportFixture::phonesAndNames(int group) const {
  QStringList out;
  for (const QString &row : contacts(group)) {
    const QStringList values = row.split(u'|');
    out << values[0] + u'|' + values[1];
  }
  return out;
}
