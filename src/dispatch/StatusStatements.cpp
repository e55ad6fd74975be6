#include "dispatch/StatusStatements.h"

#include "data/DatabaseError.h"

namespace status_sql {

QString reset(const QString &recipientQuery, const QString &columns) {
  const QString select = QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM CONTACTS");
  if (columns.isEmpty() || !recipientQuery.startsWith(select))
    throw DatabaseError(
        QStringLiteral("The recipients' query \"%1\" does not select from CONTACTS").arg(recipientQuery));
  const QString condition = recipientQuery.mid(select.size()).trimmed();
  QString sql =
      QStringLiteral("UPDATE CONTACTS\nSET SEND = 2, DATESEND = NULL, TIMESEND = NULL, PARTSEND = 0, "
                     "FERROR = 0");
  if (!condition.isEmpty())
    sql += QLatin1Char('\n') + condition;
  return sql;
}

QString gatewayOutcome() {
  return QStringLiteral("UPDATE CONTACTS\nSET SEND = :SEND, DATESEND = :DATESEND, TIMESEND = :TIMESEND, "
                        "PARTSEND = :PARTSEND, FERROR = :FERROR, IDMESSAGE = :IDMESSAGE\nWHERE ID = :ID");
}

QString modemOutcome() {
  return QStringLiteral("UPDATE CONTACTS\nSET SEND = :SEND, DATESEND = :DATESEND, TIMESEND = :TIMESEND, "
                        "PARTSEND = :PARTSEND, FERROR = :FERROR\nWHERE ID = :ID");
}

} // namespace status_sql

StatusStatements::StatusStatements(Attachment &db, DispatchChannel::Kind kind)
    : transaction_(db, Transaction::Ending::Rollback), kind_(kind),
      outcome_(transaction_, kind == DispatchChannel::Kind::Gateway ? status_sql::gatewayOutcome()
                                                                    : status_sql::modemOutcome()),
      pause_(transaction_, QStringLiteral("SELECT FIRST 1 GSMTIME\nFROM RB_OPTIONS")) {}

void StatusStatements::commitOrRollBack(Query &statement, Query *alsoRead) {
  try {
    statement.execute();
    if (alsoRead)
      alsoRead->execute();
    transaction_.commit();
  } catch (...) {
    try {
      transaction_.rollback();
    } catch (...) {
      // the statement's own error is the one to report
    }
    throw;
  }
}

void StatusStatements::reset(const QString &recipientQuery, const QString &columns) {
  Query reset(transaction_, status_sql::reset(recipientQuery, columns));
  commitOrRollBack(reset);
}

int StatusStatements::record(qint32 id, const SendOutcome &outcome, const QDateTime &when) {
  outcome_.setParam(QStringLiteral("SEND"), outcome.accepted ? 1 : 2);
  outcome_.setParam(QStringLiteral("DATESEND"), when.date());
  outcome_.setParam(QStringLiteral("TIMESEND"), when.time());
  outcome_.setParam(QStringLiteral("PARTSEND"), outcome.parts);
  outcome_.setParam(QStringLiteral("FERROR"), outcome.error);
  if (kind_ == DispatchChannel::Kind::Gateway)
    outcome_.setParam(QStringLiteral("IDMESSAGE"), outcome.accepted ? outcome.messageId : QVariant());
  outcome_.setParam(QStringLiteral("ID"), id);
  commitOrRollBack(outcome_, &pause_);
  return pause_.row().isEmpty() ? 0 : pause_.value(0).toInt();
}
