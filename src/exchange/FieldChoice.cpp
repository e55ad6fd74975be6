#include "exchange/FieldChoice.h"

#include "common/LangConstants.h"
#include "data/DataSet.h"
#include "data/DatabaseError.h"
#include "data/Query.h"
#include "data/Transaction.h"

namespace field_choice {

QList<Entry> loadEntries(DataSet &fields, const QString &lang, Mode mode) {
  fields.close();
  try {
    fields.open();
  } catch (const DatabaseError &) {
    return {}; // the list stays empty, as for a data set that will not open
  }
  fields.fetchAll();
  const int nameColumn = fields.fieldIndex(QStringLiteral("NAMEDISP"));
  const int visibleColumn = fields.fieldIndex(QStringLiteral("FVISIBLE"));
  QList<Entry> entries;
  for (int row = 0; row < fields.rowCount(); ++row) {
    const QString key = fields.value(row, nameColumn).toString();
    const QVariant visible = fields.value(row, visibleColumn);
    const bool ticked = mode != Mode::Visibility || (!visible.isNull() && visible.toInt() == 1);
    entries.append({langText(lang, QStringLiteral("Fields"), key), ticked});
  }
  return entries;
}

namespace {
void store(Attachment &db, const QList<bool> &ticks, const std::function<void(int, bool)> &showColumn) {
  // Commits what was stored also when an update is refused half-way.
  Transaction transaction(db, Transaction::Ending::Commit);
  Query update(transaction, QStringLiteral("UPDATE RB_FIELDS\nSET FVISIBLE = :CH\nWHERE ID = :ID"));
  for (int k = 0; k < ticks.size(); ++k) {
    update.setParam(QStringLiteral("CH"), ticks[k] ? 1 : 0);
    update.setParam(QStringLiteral("ID"), k + 1);
    if (showColumn)
      showColumn(k, ticks[k]);
    update.execute();
  }
  transaction.commit();
}

void reread(DataSet &fields) {
  fields.close();
  fields.open();
}
} // namespace

void storeVisibility(Attachment &db, DataSet &fields, const QList<bool> &ticks,
                     const std::function<void(int, bool)> &showColumn) {
  try {
    store(db, ticks, showColumn);
  } catch (...) {
    try {
      reread(fields);
    } catch (const DatabaseError &) {
      // the refused update is the failure to report
    }
    throw;
  }
  reread(fields);
}

} // namespace field_choice
