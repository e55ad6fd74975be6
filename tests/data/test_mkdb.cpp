// brisklane-mkdb and the script runner behind it.
#include "support/TestDatabase.h"

#include "data/Attachment.h"
#include "data/DatabaseCreator.h"
#include "data/DatabaseError.h"
#include "data/DbSettings.h"
#include "data/Query.h"
#include "data/Transaction.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
struct Run {
  int code;
  QString out, err;
};

Run mkdb(const QStringList &args, const QString &workDir = QString()) {
  QProcess p;
  if (!workDir.isEmpty())
    p.setWorkingDirectory(workDir);
  p.start(qEnvironmentVariable("BL_BIN_DIR") + "/brisklane-mkdb", args);
  if (!p.waitForFinished(60000))
    return {-1, {}, "did not finish"};
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
          QString::fromLocal8Bit(p.readAllStandardOutput()),
          QString::fromLocal8Bit(p.readAllStandardError())};
}

int count(const QString &path, const QString &sql) {
  Attachment att;
  att.open(path);
  Transaction tr(att);
  Query q(tr, sql);
  q.execute();
  return q.value(0).toInt();
}
} // namespace

class TestMakeDatabase : public QObject {
  Q_OBJECT
  QTemporaryDir dir;

private slots:
  void cleanup() { TestDatabase::clearDbName(); }

  void splitScript_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("statements");
    QTest::newRow("plain") << "create table A (X integer);\ncommit;"
                           << QStringList{"create table A (X integer)", "commit"};
    QTest::newRow("semicolon in literal")
        << "insert into T values ('a;b');" << QStringList{"insert into T values ('a;b')"};
    QTest::newRow("comments") << "-- a; b\ninsert into T values (1); /* ; */\n-- tail;\n"
                              << QStringList{"-- a; b\ninsert into T values (1)"};
    QTest::newRow("no final semicolon")
        << "select 1 from RDB$DATABASE" << QStringList{"select 1 from RDB$DATABASE"};
  }
  void splitScript() {
    QFETCH(QString, script);
    QTEST(DatabaseCreator::splitScript(script), "statements");
  }

  void createsADatabaseFromAnyFolder() {
    const QString path = dir.filePath("demo.fdb");
    const Run run = mkdb({"--demo", path}, QDir::rootPath());
    QVERIFY2(run.code == 0, qPrintable(run.err));
    QCOMPARE(count(path, "select count(*) from CONTACTS"), 5);
    QCOMPARE(count(path, "select count(*) from RB_FIELDS"), 12);
    QCOMPARE(count(path, "select count(*) from RDB$DATABASE where RDB$CHARACTER_SET_NAME = 'WIN1251'"), 1);

    const QString plain = dir.filePath("plain.fdb");
    QCOMPARE(mkdb({plain}).code, 0);
    QCOMPARE(count(plain, "select count(*) from LISTGROUPS"), 0);
    QCOMPARE(count(plain, "select count(*) from RB_OPTIONS"), 1);
  }

  void neverOverwritesAFile() {
    const QString path = dir.filePath("existing.fdb");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a database");
    file.close();
    const Run run = mkdb({path});
    QCOMPARE(run.code, 1);
    QVERIFY2(run.err.contains("exists"), qPrintable(run.err));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("not a database"));
  }

  void badArgumentsShowTheUsage_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("nothing") << QStringList{};
    QTest::newRow("two paths") << QStringList{"a.fdb", "b.fdb"};
    QTest::newRow("unknown option") << QStringList{"--force", "a.fdb"};
    QTest::newRow("both registers") << QStringList{"--register", "--register-if-unset", "a.fdb"};
  }
  void badArgumentsShowTheUsage() {
    QFETCH(QStringList, args);
    const Run run = mkdb(args);
    QCOMPARE(run.code, 2);
    QVERIFY(run.err.contains("usage"));
  }

  void registersTheLocation_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("after");
    QTest::newRow("register") << "--register"
                              << ""
                              << "/data/kyv.fdb"
                              << "/data/kyv.fdb";
    QTest::newRow("register replaces") << "--register"
                                       << "/old.fdb"
                                       << "/data/kyv.fdb"
                                       << "/data/kyv.fdb";
    QTest::newRow("if unset, unset") << "--register-if-unset"
                                     << ""
                                     << "/data/kyv.fdb"
                                     << "/data/kyv.fdb";
    QTest::newRow("if unset, set") << "--register-if-unset"
                                   << "/old.fdb"
                                   << "/data/kyv.fdb"
                                   << "/old.fdb";
    QTest::newRow("relative") << "--register"
                              << ""
                              << "kyv.fdb" << QDir::rootPath() + "kyv.fdb";
    QTest::newRow("server") << "--register"
                            << ""
                            << "dbhost:/srv/kyv.fdb"
                            << "dbhost:/srv/kyv.fdb";
  }
  void registersTheLocation() {
    QFETCH(QString, option);
    QFETCH(QString, before);
    QFETCH(QString, path);
    if (!before.isEmpty())
      setDbNameSetting(before);
    const Run run = mkdb({option, path}, QDir::rootPath());
    QCOMPARE(run.code, 0);
    QTEST(dbNameSetting(), "after");
  }
};

QTEST_GUILESS_MAIN(TestMakeDatabase)
#include "test_mkdb.moc"
