// Start-up: the database opens first; without it the operator sees one error and no window.
#include <QTest>

#include "app/Program.h"
#include "app/TFMain.h"
#include "common/IniFile.h"
#include "common/LangConstants.h"
#include "data/DbSettings.h"
#include "support/AppFolder.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDatabase.h"

class StartupTest : public QObject {
  Q_OBJECT
private slots:
  void failingConnection_data() {
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("lang");
    QTest::newRow("no DBName") << QString() << "Russian";
    QTest::newRow("missing file") << "/nonexistent/folder/contacts.fdb"
                                  << "Russian";
    QTest::newRow("title from the kyv.ini language") << "/nonexistent/contacts.fdb"
                                                     << "English";
  }
  void failingConnection() {
    QFETCH(QString, location);
    QFETCH(QString, lang);
    AppFolder folder;
    folder.copyShippedFiles();
    if (lang != "Russian")
      folder.writeText("kyv.ini", "[params]\r\nLang=" + lang + "\r\n");
    TestDatabase::clearDbName();
    if (!location.isEmpty())
      setDbNameSetting(location);
    ScriptedDialogs dialogs;
    Program program;
    QVERIFY(!program.start());
    QVERIFY(!program.mainWindow());
    QCOMPARE(dialogs.shown.size(), 1);
    const QString title =
        IniFile(folder.filePath("langs/" + lang + ".ini")).readString("Constant", "stError");
    QVERIFY(!title.isEmpty());
    QCOMPARE(dialogs.shown[0].title, title);
    QVERIFY(!dialogs.shown[0].text.isEmpty());
    if (!location.isEmpty())
      QVERIFY2(dialogs.shown[0].text.contains("contacts.fdb"), qPrintable(dialogs.shown[0].text));
  }

  void opensTheRegisteredDatabase() {
    AppFolder folder;
    folder.copyShippedFiles();
    TestDatabase db;
    db.registerAsDbName();
    ScriptedDialogs dialogs;
    Program program;
    QVERIFY(program.start());
    QVERIFY(program.mainWindow());
    QVERIFY(dialogs.shown.isEmpty());
  }
};

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
