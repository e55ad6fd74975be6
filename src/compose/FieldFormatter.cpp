#include "compose/FieldFormatter.h"

#include <QDateTime>

QString timeFormatWithoutZone(const QString &format) {
  QString out;
  bool quoted = false;
  for (QChar c : format) {
    if (c == u'\'')
      quoted = !quoted;
    if (!quoted && c == u't')
      continue;
    out.append(c);
  }
  return out.simplified();
}

FieldFormatter::FieldFormatter(const QLocale &locale)
    : locale_(locale), dateFormat_(locale.dateFormat(QLocale::ShortFormat)),
      timeFormat_(timeFormatWithoutZone(locale.timeFormat(QLocale::LongFormat))) {}

QString FieldFormatter::formatDate(const QDate &date) const {
  const qint64 day = date.toJulianDay();
  auto it = dates_.constFind(day);
  if (it != dates_.constEnd())
    return *it;
  if (dates_.size() > 65536) // some 180 years of distinct days: keep the cache bounded
    dates_.clear();
  return *dates_.insert(day, locale_.toString(date, dateFormat_));
}

QString FieldFormatter::format(const QVariant &value, ColumnType type) const {
  const bool null = !value.isValid() || value.isNull();
  switch (type) {
  case ColumnType::Text:
    return null ? QString() : value.toString();
  case ColumnType::Integer:
    return null ? QStringLiteral("0") : QString::number(value.toInt());
  case ColumnType::Date:
    return formatDate(null ? zeroDate() : value.toDate());
  case ColumnType::Timestamp:
    return formatDate(null ? zeroDate() : value.toDateTime().date());
  case ColumnType::Time:
    return locale_.toString(null ? QTime(0, 0) : value.toTime(), timeFormat_);
  default:
    return {};
  }
}
