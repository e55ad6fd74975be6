#include "compose/FieldPlaceholders.h"

#include "data/Query.h"
#include "data/Transaction.h"

#include <QStringList>

// Neither read sorts: the descriptor rows are inserted once in ID order and only ever
// updated in place, so a natural scan returns them in that one order every time.

FieldPlaceholders readFieldPlaceholders(Attachment &db) {
  Transaction tr(db, Transaction::Ending::Commit);
  Query q(tr, QStringLiteral("SELECT FORTEMP, FTYPE, FVISIBLE, FWIDTH, ID, NAMEDISP, NAMEDS, TEMPL\n"
                             "FROM RB_FIELDS"));
  q.open();
  FieldPlaceholders result;
  for (qint32 position = 0; q.fetch(); ++position) {
    if (q.value(7).toInt() != 1)
      continue;
    const QString display = q.value(5).toString();
    result.menu.append({QStringLiteral("MI_") + display, display, position + 1});
    result.table.append({position, q.value(0).toString()});
  }
  return result;
}

QString GetListFields(Attachment &db) {
  Transaction tr(db, Transaction::Ending::Commit);
  Query q(tr, QStringLiteral("SELECT NAMEDS\nFROM RB_FIELDS"));
  q.open();
  QStringList names;
  while (q.fetch())
    names.append(q.value(0).toString());
  if (names.isEmpty())
    return {};
  return names.join(QStringLiteral(", ")) + QStringLiteral(", ID");
}

TMasNameValue &placeholderTable() {
  static TMasNameValue table;
  return table;
}
