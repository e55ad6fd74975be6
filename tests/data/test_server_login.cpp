// Logins on a Firebird server: the operator's own from the per-user settings beside DBName,
// recorded by brisklane-mkdb, a user of the database's own made as the README tells, and
// wrong ones refused with the server's text.
#include "support/LocalFirebirdServer.h"
#include "support/TestDatabase.h"

#include "data/Attachment.h"
#include "data/DatabaseCreator.h"
#include "data/DatabaseError.h"
#include "data/DbSettings.h"
#include "data/Query.h"
#include "data/TDModule.h"
#include "data/Transaction.h"

#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString serverPassword = QStringLiteral("Chosen by the test, 7");
const QString refusedText = QStringLiteral("Your user name and password are not defined");

struct Run {
  int code;
  QString out, err;
};

Run mkdb(const QStringList &args, const QByteArray &input = QByteArray()) {
  QProcess p;
  p.start(qEnvironmentVariable("BL_BIN_DIR") + "/brisklane-mkdb", args);
  p.write(input);
  p.closeWriteChannel();
  if (!p.waitForFinished(60000))
    return {-1, {}, "did not finish"};
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
          QString::fromLocal8Bit(p.readAllStandardOutput()),
          QString::fromLocal8Bit(p.readAllStandardError())};
}

QVariant scalar(Attachment &att, const QString &sql) {
  Transaction tr(att);
  Query q(tr, sql);
  q.execute();
  return q.value(0);
}

void clearLogin() {
  QSettings settings(QStringLiteral("Kelvanor"), QString());
  settings.remove(QStringLiteral("DBUser"));
  settings.remove(QStringLiteral("DBPassword"));
}

} // namespace

class TestServerLogin : public QObject {
  Q_OBJECT

  std::unique_ptr<LocalFirebirdServer> server;
  QTemporaryDir dir;
  QString location;
  const DbLogin admin{QStringLiteral("SYSDBA"), serverPassword};

  QString newLocation() {
    static int n = 0;
    return server->location(dir.filePath(QStringLiteral("kyv%1.fdb").arg(++n)));
  }

private slots:
  void initTestCase() {
    server = std::make_unique<LocalFirebirdServer>(serverPassword);
    QVERIFY(dir.isValid());
    location = newLocation();
    DatabaseCreator::create(location, true, admin);
  }
  void cleanup() {
    TestDatabase::clearDbName();
    clearLogin();
  }
  void cleanupTestCase() { server.reset(); }

  void theSettingsLoginOpensTheDatabase_data() {
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("opens");
    QTest::newRow("none set: the default login") << QString() << QString() << false;
    QTest::newRow("the server's password") << QString() << serverPassword << true;
    QTest::newRow("user and password") << "SYSDBA" << serverPassword << true;
    QTest::newRow("user in lower case") << "sysdba" << serverPassword << true;
    QTest::newRow("wrong password") << "SYSDBA"
                                    << "not it" << false;
    QTest::newRow("unknown user") << "NOBODY" << serverPassword << false;
  }
  void theSettingsLoginOpensTheDatabase() {
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(bool, opens);
    setDbNameSetting(location);
    setDbLoginSetting({user, password});
    TDModule module;
    try {
      module.open();
      QVERIFY(opens);
      QCOMPARE(module.IBContacts.rowCount(), 5);
    } catch (const DatabaseError &e) {
      QVERIFY2(!opens, qPrintable(e.text()));
      QVERIFY2(e.text().startsWith(refusedText), qPrintable(e.text()));
      QVERIFY(!module.KyvBase.isOpen());
    }
  }

  // The settings file holds a password: it is the owner's alone.
  void aRecordedPasswordIsTheOwnersAlone() {
    setDbLoginSetting(admin);
    const QString file = QSettings(QStringLiteral("Kelvanor"), QString()).fileName();
    QCOMPARE(QFileInfo(file).permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup |
                                              QFile::WriteOther | QFile::ReadOwner | QFile::WriteOwner),
             QFile::ReadOwner | QFile::WriteOwner);
  }

  void mkdbRegistersTheLogin_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::newRow("user and password")
        << QStringList{"--user", "KYVOP", "--password"} << QByteArray("s3cret\n") << "KYVOP"
        << "s3cret";
    QTest::newRow("password without line end")
        << QStringList{"--password"} << QByteArray("s3cret") << "SYSDBA"
        << "s3cret";
    QTest::newRow("no login: the defaults")
        << QStringList{} << QByteArray() << DbLogin::defaults().user << DbLogin::defaults().password;
  }
  void mkdbRegistersTheLogin() {
    QFETCH(QStringList, args);
    QFETCH(QByteArray, input);
    setDbLoginSetting({QStringLiteral("EARLIER"), QStringLiteral("earlier")});
    const Run run = mkdb(QStringList{"--register"} + args + QStringList{location}, input);
    QVERIFY2(run.code == 0, qPrintable(run.err));
    QVERIFY2(!run.out.contains(QLatin1String("s3cret")), qPrintable(run.out));
    QCOMPARE(dbNameSetting(), location);
    QTEST(dbLoginSetting().user, "user");
    QTEST(dbLoginSetting().password, "password");
  }

  void mkdbRefusesAnEmptyPassword() {
    const Run run = mkdb({"--register", "--password", location}, "\n");
    QCOMPARE(run.code, 2);
    QVERIFY(dbNameSetting().isEmpty());
  }

  void mkdbCreatesOnTheServerWithTheLoginGiven() {
    const QString created = newLocation();
    const Run refused = mkdb({"--user", "SYSDBA", "--password", created}, "wrong\n");
    QCOMPARE(refused.code, 1);
    QVERIFY2(refused.err.contains(refusedText), qPrintable(refused.err));

    const Run run =
        mkdb({"--demo", "--user", "SYSDBA", "--password", created}, serverPassword.toUtf8() + '\n');
    QVERIFY2(run.code == 0, qPrintable(run.err));
    Attachment att;
    att.open(created, admin);
    QCOMPARE(scalar(att, "select count(*) from CONTACTS").toInt(), 5);
  }

  // As the README tells: the administrator makes a user with isql-fb (its password on
  // standard input) and lets it create databases; the database made with that login is its
  // own, and the program works with that login alone.
  void aUserOfTheDatabasesOwn() {
    const DbLogin own{QStringLiteral("KYVOP"), QStringLiteral("op's own")};
    QProcess isql;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ISC_USER", admin.user);
    env.insert("ISC_PASSWORD", admin.password);
    isql.setProcessEnvironment(env);
    isql.start("isql-fb", {"-q"});
    isql.write(QStringLiteral("CREATE DATABASE '%1';\nCREATE USER KYVOP PASSWORD '%2';\n"
                              "GRANT CREATE DATABASE TO USER KYVOP;\nDROP DATABASE;\n")
                   .arg(newLocation(), QString(own.password).replace("'", "''"))
                   .toUtf8());
    isql.closeWriteChannel();
    QVERIFY(isql.waitForFinished(60000));
    const QString isqlOutput =
        QString::fromLocal8Bit(isql.readAllStandardOutput() + isql.readAllStandardError());
    QVERIFY2(isqlOutput.trimmed().isEmpty(), qPrintable(isqlOutput));

    const QString created = newLocation();
    const Run run = mkdb({"--demo", "--user", "KYVOP", "--password", created}, own.password.toUtf8() + '\n');
    QVERIFY2(run.code == 0, qPrintable(run.err));
    QCOMPARE(mkdb({"--register", "--user", "KYVOP", "--password", created}, own.password.toUtf8()).code, 0);

    TDModule module;
    module.open();
    if (server->everyLoginActsAsSysdba())
      QSKIP("the server runs in the engine's boot mode here: every login acts as SYSDBA");
    QCOMPARE(scalar(module.KyvBase,
                    "select trim(RDB$OWNER_NAME) from RDB$RELATIONS where RDB$RELATION_NAME = "
                    "'CONTACTS'")
                 .toString(),
             QStringLiteral("KYVOP"));
    module.IBGroups.append();
    module.IBGroups.setValue("NAME", QStringLiteral("Своя группа"));
    module.IBGroups.post();
    module.IBTrGroups.commitRetaining();
    QCOMPARE(module.IBGroups.rowCount(), 2);
    module.close();

    // The user has no business in the administrator's database.
    Attachment other;
    other.open(location, own);
    QVERIFY_THROWS_EXCEPTION(DatabaseError, scalar(other, "select count(*) from CONTACTS"));
  }
};

QTEST_GUILESS_MAIN(TestServerLogin)
#include "test_server_login.moc"
