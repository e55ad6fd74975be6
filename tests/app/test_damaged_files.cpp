// The program started for real over damaged files: the language and transliteration files and
// kyv.ini beside it, and the per-user settings that name the database. Each start checks
// what the operator sees: the window's texts, the one warning that names the file, no
// question without its text, and transliteration withheld rather than wrong.
#include "app/Program.h"
#include "app/TFMain.h"
#include "common/Cp1251.h"
#include "common/IniFile.h"
#include "common/LangConstants.h"
#include "compose/Translit.h"
#include "data/DataSet.h"
#include "data/DbSettings.h"
#include "data/Query.h"
#include "data/TDModule.h"
#include "gui/message/MessageController.h"
#include "gui/message/MessagePage.h"
#include "support/AppFolder.h"
#include "support/HoldsOpen.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDatabase.h"

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

// Per-user settings of this test alone (set before anything reads them), so the damaged
// settings file cannot disturb the other tests of the run.
QTemporaryDir &privateConfig() {
  static QTemporaryDir dir;
  return dir;
}
const bool configSet = [] {
  qputenv("XDG_CONFIG_HOME", privateConfig().path().toLocal8Bit());
  return true;
}();

QByteArray randomBytes(int size) {
  QByteArray bytes;
  quint32 seed = 2024;
  for (int i = 0; i < size; ++i) {
    seed = seed * 1103515245u + 12345u;
    bytes.append(char(seed >> 24));
  }
  return bytes;
}

void writeBytes(const QString &path, const QByteArray &bytes) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    qFatal("cannot write %s", qPrintable(path));
  file.write(bytes);
}

QString settingsFile() {
  return privateConfig().filePath("Kelvanor.conf");
}

} // namespace

class DamagedFilesTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TestDatabase> db;

  void registerDatabase() { writeBytes(settingsFile(), "[General]\nDBName=" + db->path().toUtf8() + "\n"); }
  QStringList warnings(const ScriptedDialogs &dialogs) {
    QStringList texts;
    for (const auto &shown : dialogs.shown)
      texts << shown.text;
    return texts;
  }

private slots:
  void initTestCase() {
    QVERIFY(configSet && privateConfig().isValid());
    db = std::make_unique<TestDatabase>();
  }
  void cleanupTestCase() { db.reset(); }
  void init() {
    registerDatabase();
    reloadLangFiles();
  }

  void startsOverDamagedFiles_data() {
    QTest::addColumn<QString>("file");      // relative to the executable's folder
    QTest::addColumn<QByteArray>("bytes");  // "absent": the file is removed
    QTest::addColumn<QString>("lang");      // the language the window then speaks
    QTest::addColumn<QStringList>("named"); // the files the one warning names; none: no warning
    QTest::addColumn<bool>("translit");     // transliteration available

    const QByteArray huge(3000000, 'x');
    const QString ru = "langs/Russian.ini", trs = "translit/Russian.trs";
    QTest::newRow("language file missing")
        << ru << QByteArray("absent") << "builtin" << QStringList{ru} << true;
    QTest::newRow("language file random bytes")
        << ru << randomBytes(20000) << "builtin" << QStringList{ru} << true;
    QTest::newRow("language file in UTF-8") << ru << QString("[Constant]\r\nstDelGroup=Удалить?\r\n").toUtf8()
                                            << "builtin" << QStringList{ru} << true;
    QTest::newRow("language file without [Constant]")
        << ru << cp1251::encode(u"[TForm]\r\nFMain=Рассылка\r\n") << "file" << QStringList{} << true;
    QTest::newRow("language file with a huge line")
        << ru << cp1251::encode(u"[TForm]\r\nFMain=Рассылка\r\n[Other]\r\nx=") + huge << "file"
        << QStringList{} << true;
    QTest::newRow("kyv.ini names a language there is no file for")
        << "kyv.ini" << QByteArray("[params]\r\nLang=Klingon\r\n") << "builtin"
        << QStringList{"langs/Klingon.ini", "translit/Klingon.trs"} << false;
    QTest::newRow("kyv.ini missing") << "kyv.ini" << QByteArray("absent") << "Russian" << QStringList{}
                                     << true;
    QTest::newRow("kyv.ini random bytes")
        << "kyv.ini" << randomBytes(5000) << "Russian" << QStringList{} << true;
    QTest::newRow("kyv.ini in UTF-8 with its mark")
        << "kyv.ini" << QByteArray("\xEF\xBB\xBF[params]\r\nLang=English\r\n") << "English" << QStringList{}
        << true;
    QTest::newRow("kyv.ini without [params]")
        << "kyv.ini" << QByteArray("Lang=English\r\n") << "Russian" << QStringList{} << true;
    QTest::newRow("kyv.ini with a huge line") << "kyv.ini"
                                              << "[params]\r\nx=" + huge + "\r\nLang=English\r\n"
                                              << "English" << QStringList{} << true;
    QTest::newRow("translit file missing")
        << trs << QByteArray("absent") << "Russian" << QStringList{trs} << false;
    QTest::newRow("translit file random bytes")
        << trs << randomBytes(3000) << "Russian" << QStringList{trs} << false;
    QTest::newRow("translit file in UTF-8")
        << trs << QString("в-v\r\nП-P\r\n").toUtf8() << "Russian" << QStringList{trs} << false;
    QTest::newRow("translit file of no rules")
        << trs << cp1251::encode(u"Здравствуйте\r\n") << "Russian" << QStringList{trs} << false;
    QTest::newRow("translit file with a huge line")
        << trs << "a-" + huge << "Russian" << QStringList{trs} << false;
  }
  void startsOverDamagedFiles() {
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, lang);
    QFETCH(QStringList, named);
    QFETCH(bool, translit);
    AppFolder folder;
    folder.copyShippedFiles();
    if (bytes == "absent")
      QFile::remove(folder.filePath(file));
    else
      writeBytes(folder.filePath(file), bytes);
    ScriptedDialogs dialogs;
    Program program;
    QVERIFY(program.start());
    TFMain *window = program.mainWindow();
    QVERIFY(window);

    // At most one warning, naming each file that failed.
    QCOMPARE(dialogs.shown.size(), named.isEmpty() ? 0 : 1);
    for (const QString &name : named)
      QVERIFY2(dialogs.shown.first().text.contains(name), qPrintable(dialogs.shown.first().text));

    // The window speaks a language: the built-in one, the file's, or the one kyv.ini names.
    const auto expected = [&](const QString &section, const QString &key) {
      if (lang == "builtin")
        return builtinLangFile()->readString(section, key);
      if (lang == "file")
        return langText("Russian", section, key);
      return IniFile(folder.filePath("langs/" + lang + ".ini")).readString(section, key);
    };
    QCOMPARE(window->windowTitle(), expected("TForm", "FMain"));
    QVERIFY(!window->windowTitle().isEmpty());
    if (lang != "file") {
      QCOMPARE(window->lbTitles->text(), expected("Titles", "ttContacts"));
      QCOMPARE(window->TS2->cbTranslit->text(), expected("TCheckBox", "cbTranslit"));
    }

    // The question before deleting a group with contacts is never blank, whatever the file.
    TDModule &dm = *program.dataModule();
    {
      Transaction tr(dm.KyvBase, Transaction::Ending::Commit);
      Query(tr, "INSERT INTO LISTGROUPS (ID, NAME) VALUES (GEN_ID(GEN_LISTGROUPS_ID, 1), 'Doomed')")
          .execute();
      Query(tr, "INSERT INTO CONTACTS (ID, IDGROUP, NAME) SELECT GEN_ID(GEN_CONTACTS_ID, 1), ID, 'Ann' "
                "FROM LISTGROUPS WHERE NAME = 'Doomed'")
          .execute();
    }
    dm.IBGroups.refresh();
    QVERIFY(dm.IBGroups.locate("NAME", "Doomed"));
    dialogs.shown.clear();
    dialogs.confirmAnswers << true << false;
    try {
      dm.IBGroups.remove();
    } catch (const SilentAbort &) {
    }
    QCOMPARE(dialogs.shown.size(), 2);
    for (const auto &question : dialogs.shown) {
      QVERIFY(!question.title.trimmed().isEmpty());
      QVERIFY(!question.text.trimmed().isEmpty());
    }
    QCOMPARE(dialogs.shown[0].text, LangConst().stDelGroup);
    QCOMPARE(dialogs.shown[1].text, GetIniText(LangConst().stDelAllGroup));
    QVERIFY(dm.IBGroups.locate("NAME", "Doomed")); // Cancel at the second question kept it
    {
      Transaction tr(dm.KyvBase, Transaction::Ending::Commit);
      Query(tr, "DELETE FROM LISTGROUPS").execute();
    }

    // Transliteration is offered only from a table that passed its check.
    QCheckBox *box = window->TS2->cbTranslit;
    QCOMPARE(box->isEnabled(), translit);
    QCOMPARE(translitTable().usable(), translit);
    if (!translit) {
      QCOMPARE(box->toolTip(), translitTable().refusal());
      QVERIFY(box->toolTip().contains(named.last()));
      QVERIFY(!box->isChecked());
      // Ticked anyway (as a stale state would have it): nothing is made from the table.
      box->setChecked(true);
      auto *message = window->findChild<MessageController *>();
      QVERIFY(message);
      window->TS2->mmTemplate->setPlainText("Привет");
      QVERIFY_THROWS_EXCEPTION(TranslitFileError, message->generate(message->recipientQueryText()));
      QVERIFY(!box->isChecked());
      QVERIFY(!box->isEnabled());
    }
  }

  // The settings that name the database: without a usable DBName the one message says that
  // no contact database is set, where it is kept and how to make one.
  void startsOverDamagedSettings_data() {
    QTest::addColumn<QByteArray>("bytes"); // "absent": no settings file; "@" stands for the path
    QTest::addColumn<bool>("opens");
    QTest::newRow("missing") << QByteArray("absent") << false;
    QTest::newRow("random bytes") << randomBytes(5000) << false;
    QTest::newRow("UTF-8 with its mark and a Cyrillic comment")
        << QByteArray("\xEF\xBB\xBF; ") + QString("база контактов").toUtf8() + "\n[General]\nDBName=@\n"
        << true;
    QTest::newRow("DBName outside [General]") << QByteArray("[Other]\nDBName=@\n") << false;
    QTest::newRow("DBName empty") << QByteArray("[General]\nDBName=\n") << false;
    QTest::newRow("a huge line before DBName")
        << "[General]\nJunk=" + QByteArray(2000000, 'x') + "\nDBName=@\n"
        << true;
  }
  void startsOverDamagedSettings() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, opens);
    AppFolder folder;
    folder.copyShippedFiles();
    QFile::remove(settingsFile());
    if (bytes != "absent")
      writeBytes(settingsFile(), QByteArray(bytes).replace("@", db->path().toUtf8()));
    ScriptedDialogs dialogs;
    Program program;
    QCOMPARE(program.start(), opens);
    if (opens) {
      QVERIFY(dialogs.shown.isEmpty());
      return;
    }
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.shown[0].title, LangConst().stError);
    QCOMPARE(dialogs.shown[0].text, GetIniText(LangConst().stNoDatabase).arg(dbNameSettingFile()));
    QVERIFY(dialogs.shown[0].text.contains("brisklane-mkdb"));
    QVERIFY(dialogs.shown[0].text.contains(settingsFile()));
  }

  // A database another program holds (here a second Brisklane): the message says so, and
  // the engine's own text stays below it.
  void databaseInUseElsewhere() {
    AppFolder folder;
    folder.copyShippedFiles();
    QProcess other;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    other.setProcessEnvironment(env);
    other.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    other.start(qEnvironmentVariable("BL_BIN_DIR") + "/brisklane", QStringList());
    QVERIFY(other.waitForStarted());
    QElapsedTimer waited;
    waited.start();
    while (!holdsOpen(other.processId(), db->path()) && waited.elapsed() < 30000)
      QTest::qWait(50);
    QVERIFY2(holdsOpen(other.processId(), db->path()), "the other program never opened the database");

    ScriptedDialogs dialogs;
    {
      Program program;
      QVERIFY(!program.start());
    }
    ::kill(pid_t(other.processId()), SIGTERM);
    QVERIFY(other.waitForFinished(10000));

    QCOMPARE(dialogs.shown.size(), 1);
    const QString text = dialogs.shown[0].text;
    const QString explanation = GetIniText(LangConst().stDbInUse).arg(db->path());
    QVERIFY2(text.startsWith(explanation + "\n\n"), qPrintable(text));
    QVERIFY2(text.size() > explanation.size() + 2, "the engine's own text is missing");
  }
};

QTEST_MAIN(DamagedFilesTest)
#include "test_damaged_files.moc"
