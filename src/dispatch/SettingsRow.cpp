#include "dispatch/SettingsRow.h"

#include "data/Query.h"
#include "data/Transaction.h"

QString readLogFile(Attachment &db) {
  Transaction transaction(db, Transaction::Ending::Commit);
  Query select(transaction, QStringLiteral("SELECT FIRST 1 LOGFILE\nFROM RB_OPTIONS"));
  select.execute();
  return select.row().isEmpty() ? QString() : select.value(0).toString();
}
