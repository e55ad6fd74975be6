// The dispatch timer's countdown and firing moment, with a clock the test moves.
#include "dispatch/DispatchSchedule.h"

#include <QtTest>

namespace {
const QString stTime = QStringLiteral(u"До рассылки:");
const QString stSpan = QStringLiteral(u" дн.");
const QDateTime start(QDate(2024, 3, 10), QTime(14, 0, 0));

QString days(int d, const char *rest) {
  return stTime + u' ' + QString::number(d) + stSpan + QStringLiteral(", ") + QLatin1String(rest);
}
QString noDays(const char *rest) {
  return stTime + u' ' + QLatin1String(rest);
}
} // namespace

class TestDispatchSchedule : public QObject {
  Q_OBJECT

  QDateTime now_;
  DispatchSchedule schedule() {
    return DispatchSchedule([this] { return now_; });
  }

private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
  void init() { now_ = start; }

  void longTimeFormatHasNoZone() { QCOMPARE(DispatchSchedule::longTimeFormat(), QStringLiteral("HH:mm:ss")); }

  void countdown_data() {
    QTest::addColumn<QDateTime>("target");
    QTest::addColumn<QString>("shown");
    QTest::newRow("26 hours ahead") << start.addSecs(26 * 3600) << days(1, "02:00:00");
    QTest::newRow("30 minutes ahead") << start.addSecs(30 * 60) << noDays("00:30:00");
    QTest::newRow("a second short of a day") << start.addSecs(86399) << noDays("23:59:59");
    QTest::newRow("exactly a day") << start.addDays(1) << days(1, "00:00:00");
    QTest::newRow("49.5 hours ahead") << start.addSecs(49 * 3600 + 1800) << days(2, "01:30:00");
    QTest::newRow("past midnight, earlier time of day")
        << QDateTime(start.date().addDays(1), QTime(1, 0)) << noDays("11:00:00");
    QTest::newRow("ten days ahead") << start.addDays(10).addSecs(5) << days(10, "00:00:05");
  }
  void countdown() {
    QFETCH(QDateTime, target);
    QFETCH(QString, shown);
    DispatchSchedule s = schedule();
    s.arm(target.date(), target.time());
    QCOMPARE(s.countdown(stTime, stSpan, DispatchSchedule::longTimeFormat()), shown);
    QVERIFY(!s.due());
  }

  void countsDownEachSecond() {
    DispatchSchedule s = schedule();
    const QDateTime target = start.addSecs(26 * 3600);
    s.arm(target.date(), target.time());
    QStringList seen;
    for (int i = 0; i < 3; ++i) {
      seen << s.countdown(stTime, stSpan, "HH:mm:ss");
      now_ = now_.addSecs(1);
    }
    QCOMPARE(seen, (QStringList{days(1, "02:00:00"), days(1, "01:59:59"), days(1, "01:59:58")}));
  }

  void dueAtTheTarget() {
    DispatchSchedule s = schedule();
    QVERIFY(!s.due()); // not armed
    const QDateTime target = start.addSecs(90);
    s.arm(target.date(), target.time());
    QCOMPARE(s.target(), target);
    now_ = target.addMSecs(-1);
    QVERIFY(!s.due());
    now_ = target;
    QVERIFY(s.due());
    now_ = target.addDays(3);
    QVERIFY(s.due());
    s.disarm();
    QVERIFY(!s.due());
  }

  void pastTargetIsDueAtOnce() {
    DispatchSchedule s = schedule();
    s.arm(start.date(), start.time().addSecs(-3600));
    QVERIFY(s.due());
  }

  void armingAgainReplacesTheTarget() {
    DispatchSchedule s = schedule();
    s.arm(start.date(), QTime(15, 0));
    s.arm(start.date().addDays(1), QTime(9, 30));
    QCOMPARE(s.target(), QDateTime(start.date().addDays(1), QTime(9, 30)));
    QVERIFY(s.armed());
  }
};

QTEST_GUILESS_MAIN(TestDispatchSchedule)
#include "test_dispatch_schedule.moc"
