#include "data/contacts/ContactGrid.h"

#include "common/LangConstants.h"
#include "data/DataSet.h"

namespace contact_grid {

const QList<Column> &columns() {
  static const QList<Column> list{
      {QStringLiteral("PHONE"), 109},   {QStringLiteral("NAME"), 123},   {QStringLiteral("BIRTHDATE"), 0},
      {QStringLiteral("DFIELD"), 124},  {QStringLiteral("EFIELD"), 98},  {QStringLiteral("FFIELD"), 95},
      {QStringLiteral("GFIELD"), 92},   {QStringLiteral("SEND"), 89},    {QStringLiteral("DATESEND"), 86},
      {QStringLiteral("TIMESEND"), 87}, {QStringLiteral("PARTSEND"), 0}, {QStringLiteral("FERROR"), 0},
  };
  return list;
}

QString columnTitle(const QString &lang, const QString &field) {
  return langText(lang, QStringLiteral("Fields"), QStringLiteral("DS") + field);
}

QString groupsTitle(const QString &lang) {
  return langText(lang, QStringLiteral("Fields"), QStringLiteral("DSGROUPS"));
}

std::optional<bool> descriptorVisible(DataSet &fields, const QString &field) {
  if (!fields.isOpen() || !fields.locate(QStringLiteral("NAMEDS"), field))
    return std::nullopt;
  const QVariant visible = fields.value(QStringLiteral("FVISIBLE"));
  return !visible.isNull() && visible.toInt() == 1;
}

QVariant statusWord(const QString &field, const QVariant &value) {
  const int code = value.isNull() ? 0 : value.toInt();
  if (field == QLatin1String("SEND")) {
    switch (code) {
    case 1:
      return QStringLiteral("Да");
    case 2:
      return QStringLiteral("Нет");
    case 3:
      return QStringLiteral("Доставлено");
    default:
      return QVariant();
    }
  }
  if (field == QLatin1String("FERROR") && code == 0)
    return QStringLiteral("Нет");
  return QVariant();
}

} // namespace contact_grid
