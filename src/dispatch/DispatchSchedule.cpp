#include "dispatch/DispatchSchedule.h"

#include "compose/FieldFormatter.h"

#include <QLocale>

namespace {
constexpr qint64 msecsPerDay = 24 * 60 * 60 * 1000;

// Wall-clock milliseconds: the counting follows the dates and times of day the operator sees,
// also across a change to or from summer time.
qint64 wallClock(const QDateTime &moment) {
  return moment.date().toJulianDay() * msecsPerDay + moment.time().msecsSinceStartOfDay();
}
} // namespace

DispatchSchedule::DispatchSchedule(Clock clock) : clock_(std::move(clock)) {
  if (!clock_)
    clock_ = [] { return QDateTime::currentDateTime(); };
}

void DispatchSchedule::arm(const QDate &date, const QTime &time) {
  target_ = QDateTime(date, time);
  armed_ = true;
}

void DispatchSchedule::disarm() {
  armed_ = false;
}

QString DispatchSchedule::countdown(const QString &stTime, const QString &stSpan,
                                    const QString &timeFormat) const {
  const QDateTime current = now();
  const qint64 days = qAbs(wallClock(target_) - wallClock(current)) / msecsPerDay;
  // The time of day of the target less the time of day now, brought into one day.
  qint64 rest = (target_.time().msecsSinceStartOfDay() - current.time().msecsSinceStartOfDay()) % msecsPerDay;
  if (rest < 0)
    rest += msecsPerDay;
  const QString remainder = QLocale().toString(QTime::fromMSecsSinceStartOfDay(int(rest)), timeFormat);
  if (days > 0)
    return stTime + u' ' + QString::number(days) + stSpan + QStringLiteral(", ") + remainder;
  return stTime + u' ' + remainder;
}

bool DispatchSchedule::due() const {
  return armed_ && wallClock(target_) <= wallClock(now());
}

QString DispatchSchedule::longTimeFormat() {
  return timeFormatWithoutZone(QLocale().timeFormat(QLocale::LongFormat));
}
