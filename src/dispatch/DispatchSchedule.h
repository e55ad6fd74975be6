#pragma once
// The one-shot timer of the dispatch without its window: the armed moment, the countdown the
// status bar shows each second, and whether the moment has come. Time comes from a clock
// function, so the countdown can be followed without waiting for it.
#include <QDateTime>
#include <QString>

#include <functional>

class DispatchSchedule {
public:
  using Clock = std::function<QDateTime()>; // the local date and time of day now

  explicit DispatchSchedule(Clock clock = {});

  // The armed moment: the date part of date and the time of day of time. Arming again
  // replaces the target.
  void arm(const QDate &date, const QTime &time);
  void disarm();
  bool armed() const { return armed_; }
  const QDateTime &target() const { return target_; }
  QDateTime now() const { return clock_(); }

  // stTime + " " + D + stSpan + ", " + R while whole days remain, else stTime + " " + R: D the
  // whole days between now and the target, R the remaining time modulo 24 hours in
  // timeFormat.
  QString countdown(const QString &stTime, const QString &stSpan, const QString &timeFormat) const;
  // The target is now or past.
  bool due() const;

  // The regional long time format without its time zone: hours, minutes and seconds.
  static QString longTimeFormat();

private:
  Clock clock_;
  QDateTime target_;
  bool armed_ = false;
};
