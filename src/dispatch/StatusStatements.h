#pragma once
// The status columns of a run's recipients in CONTACTS: the reset before the first message
// and one outcome per recipient. Each statement runs on the run's own transaction and is
// committed before the next, so every recorded outcome is durable at once. The pause setting
// is read in the outcome's transaction: a commit of its own would cost as much as the
// outcome's.
#include "data/Query.h"
#include "data/Transaction.h"
#include "dispatch/DispatchChannel.h"

#include <QDateTime>
#include <QString>

namespace status_sql {

// The reset of exactly the rows recipientQuery selects: its condition (the scope and the
// filter) is taken over as it stands. recipientQuery must be "SELECT " + columns + " FROM
// CONTACTS" with an optional condition; anything else throws DatabaseError.
QString reset(const QString &recipientQuery, const QString &columns);
QString gatewayOutcome();
QString modemOutcome();

} // namespace status_sql

class StatusStatements {
public:
  StatusStatements(Attachment &db, DispatchChannel::Kind kind);

  void reset(const QString &recipientQuery, const QString &columns);
  // The outcome of recipient id, dated when, committed; returns the pause after the message
  // (GSMTIME of the settings row, read with it: 0 for none or no row).
  int record(qint32 id, const SendOutcome &outcome, const QDateTime &when);

private:
  void commitOrRollBack(Query &statement, Query *alsoRead = nullptr);

  Transaction transaction_;
  DispatchChannel::Kind kind_;
  Query outcome_;
  Query pause_;
};
