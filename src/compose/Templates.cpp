#include "compose/Templates.h"

#include "data/DatabaseError.h"
#include "data/Query.h"

namespace templates {

QList<MenuItem> menuItems(const QList<Saved> &saved, const QString &saveCaption, const QString &editCaption) {
  QList<MenuItem> items;
  for (const Saved &t : saved)
    items.append({MenuItem::Template, QStringLiteral("MI_") + QString::number(t.id), t.name, t.id});
  items.append({MenuItem::Separator, QStringLiteral("MI_Space"), QStringLiteral("-"), 0});
  items.append({MenuItem::Save, QStringLiteral("MI_Save"), saveCaption, 0});
  items.append({MenuItem::Edit, QStringLiteral("MI_Edit"), editCaption, 0});
  return items;
}

QString loadText(Transaction &tr, qint32 id) {
  Query q(tr, QStringLiteral("SELECT FTEXT\nFROM TEMPLATE\nWHERE ID = :ID"));
  q.setParam(QStringLiteral("ID"), id);
  q.open();
  if (!q.fetch())
    throw DatabaseError(QStringLiteral("The template %1 no longer exists.").arg(id));
  const QString text = q.value(0).toString();
  q.close();
  return text;
}

} // namespace templates
