// The program as a process, over an embedded database: a shutdown signal closes it the way
// the operator does, it exits with status 0 and leaves the database closed and usable.
#include "data/Attachment.h"
#include "data/DatabaseError.h"
#include "support/HoldsOpen.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

class ShutdownSignalsTest : public QObject {
  Q_OBJECT
private slots:
  void closesAndExitsZero_data() {
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGINT") << SIGINT;
    QTest::newRow("SIGHUP") << SIGHUP;
  }
  void closesAndExitsZero() {
    QFETCH(int, signal);
    TestDatabase db(true);
    QTemporaryDir config; // the program's own per-user settings, naming the database
    QVERIFY(QDir().mkpath(config.filePath(".")));
    QFile conf(config.filePath("Kelvanor.conf"));
    QVERIFY(conf.open(QIODevice::WriteOnly));
    conf.write("[General]\nDBName=" + db.path().toUtf8() + "\n");
    conf.close();

    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", config.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(qEnvironmentVariable("BL_BIN_DIR") + "/brisklane", QStringList());
    QVERIFY(program.waitForStarted());
    // The database is open once the process holds the file; the window comes right after.
    QElapsedTimer waited;
    waited.start();
    while (!holdsOpen(program.processId(), db.path()) && waited.elapsed() < 30000)
      QTest::qWait(50);
    QVERIFY2(holdsOpen(program.processId(), db.path()), "the program never opened its database");
    QTest::qWait(500); // let it reach its event loop; a signal before that waits for it anyway

    ::kill(pid_t(program.processId()), signal);
    QVERIFY2(program.waitForFinished(10000), "still running ten seconds after the signal");
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    // Closed cleanly: this process can attach the file now.
    Attachment after;
    try {
      after.open(db.path());
    } catch (const DatabaseError &e) {
      QFAIL(qPrintable(e.text()));
    }
  }
};

QTEST_MAIN(ShutdownSignalsTest)
#include "test_shutdown_signals.moc"
