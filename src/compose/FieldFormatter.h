#pragma once
// How a contact's column value reads inside a message: text as stored, integers in decimal,
// dates in the operator's short date format, times in the long time format. NULL reads as
// the empty text, "0", the zero date of the day-count calendar (30 December 1899) or
// midnight; a column of any other type reads as the empty text.
#include "data/Query.h"

#include <QDate>
#include <QHash>
#include <QLocale>
#include <QString>
#include <QVariant>

class FieldFormatter {
public:
  // The operator's regional settings: QLocale() (the system locale unless a default was set).
  explicit FieldFormatter(const QLocale &locale = QLocale());

  QString format(const QVariant &value, ColumnType type) const;

  const QString &dateFormat() const { return dateFormat_; }
  const QString &timeFormat() const { return timeFormat_; }

  // The day-count calendar's day 0, which an empty date reads as.
  static QDate zeroDate() { return QDate(1899, 12, 30); }

private:
  QString formatDate(const QDate &date) const;

  QLocale locale_;
  QString dateFormat_;
  QString timeFormat_;
  // Contacts share birthdays and dispatch days; formatting each distinct day once keeps a
  // generation over a large table close to the cost of reading it.
  mutable QHash<qint64, QString> dates_;
};

// A locale's time format without its time-zone part: a time of day carries no zone, and the
// regional "long time" of a desktop is hours, minutes and seconds.
QString timeFormatWithoutZone(const QString &format);
