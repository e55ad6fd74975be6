// Start-up on a database on a Firebird server: a wrong login shows the one start-up error with
// the server's text and opens no window; the operator's own login from the settings opens it.
#include <QTest>

#include "app/Program.h"
#include "common/IniFile.h"
#include "data/Attachment.h"
#include "data/DatabaseCreator.h"
#include "data/DatabaseError.h"
#include "data/DbSettings.h"
#include "support/AppFolder.h"
#include "support/LocalFirebirdServer.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDatabase.h"

#include <QTemporaryDir>

class StartupServerTest : public QObject {
  Q_OBJECT

  const DbLogin own{QStringLiteral("SYSDBA"), QStringLiteral("the operator's choice")};
  std::unique_ptr<LocalFirebirdServer> server;
  QTemporaryDir dir;
  QString location;

private slots:
  void initTestCase() {
    server = std::make_unique<LocalFirebirdServer>(own.password);
    location = server->location(dir.filePath(QStringLiteral("kyv.fdb")));
    DatabaseCreator::create(location, true, own);
  }
  void cleanupTestCase() { server.reset(); }

  void wrongLogin_data() {
    QTest::addColumn<QString>("password");
    QTest::newRow("none recorded: the default password") << QString();
    QTest::newRow("a wrong one") << "a wrong one";
  }
  void wrongLogin() {
    QFETCH(QString, password);
    AppFolder folder;
    folder.copyShippedFiles();
    setDbNameSetting(location);
    setDbLoginSetting({QStringLiteral("SYSDBA"), password});
    QString serverText;
    try {
      Attachment direct;
      direct.open(location, dbLoginSetting());
    } catch (const DatabaseError &e) {
      serverText = e.text();
    }
    QVERIFY(serverText.contains(QLatin1String("password")));

    ScriptedDialogs dialogs;
    Program program;
    QVERIFY(!program.start());
    QVERIFY(!program.mainWindow());
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown[0].title,
             IniFile(folder.filePath("langs/Russian.ini")).readString("Constant", "stError"));
    // The explanation comes first, the server's own text below it.
    QVERIFY2(dialogs.shown[0].text.endsWith(serverText), qPrintable(dialogs.shown[0].text));
  }

  void theOperatorsLoginOpensTheWindow() {
    AppFolder folder;
    folder.copyShippedFiles();
    setDbNameSetting(location);
    setDbLoginSetting(own);
    ScriptedDialogs dialogs;
    Program program;
    QVERIFY2(program.start(), qPrintable(dialogs.shown.isEmpty() ? QString() : dialogs.shown[0].text));
    QVERIFY(program.mainWindow());
    QVERIFY(dialogs.shown.isEmpty());
  }
};

QTEST_MAIN(StartupServerTest)
#include "test_startup_server.moc"
