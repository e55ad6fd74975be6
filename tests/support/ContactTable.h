#pragma once
// Rows of a fresh test database set up and read back with plain statements, each in a
// committed transaction of its own on the given connection.
#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantMap>

class Attachment;

class ContactTable {
public:
  explicit ContactTable(Attachment &connection) : connection_(connection) {}

  void execute(const QString &sql, const QVariantMap &params = {});
  // The first column of the first row; NULL when there is none.
  QVariant scalar(const QString &sql, const QVariantMap &params = {});
  // Every row of a select.
  QList<QVariantList> rows(const QString &sql, const QVariantMap &params = {});
  int addGroup(const QString &name);
  // values: columns of CONTACTS besides ID and IDGROUP (NAME, PHONE, SEND, IDMESSAGE...).
  int addContact(int group, const QVariantMap &values = {});
  // One column of one contact.
  QVariant value(int contact, const QString &column);
  // Every column of one contact, in table order.
  QVariantList row(int contact);

private:
  Attachment &connection_;
};
