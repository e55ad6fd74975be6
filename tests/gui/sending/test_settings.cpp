// The settings sub-pages over a real database: edit mode while the page shows, storing on
// leaving and on the save buttons, the gateway edits, the log file chooser, the pause edit
// and the language choice.
#include "common/AppPaths.h"
#include "common/Cp1251.h"
#include "common/IniFile.h"
#include "common/LangConstants.h"
#include "data/Query.h"
#include "data/TDModule.h"
#include "gui/sending/SendingPage.h"
#include "gui/sending/SettingsController.h"
#include "support/AppFolder.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDatabase.h"

#include <QComboBox>
#include <QFile>
#include <QTest>

#include <memory>

namespace {
// Types text key by key, a character outside the basic plane (both halves) as one key.
void typeCharacters(QWidget *widget, const QString &text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    const qsizetype width = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, text.mid(i, width), Qt::NoModifier);
    i += width - 1;
  }
}
} // namespace

class TestSettings : public QObject {
  Q_OBJECT
  std::unique_ptr<AppFolder> folder;
  std::unique_ptr<TestDatabase> database;
  std::unique_ptr<TDModule> dm;
  std::unique_ptr<ScriptedDialogs> dialogs;
  std::unique_ptr<SendingPage> page;
  std::unique_ptr<SettingsController> c;

  QVariant stored(const QString &column) {
    // Read on the default transaction, where the row is posted.
    Query q(dm->IBTrDef, "SELECT " + column + " FROM RB_OPTIONS");
    q.open();
    const QVariant v = q.fetch() ? q.value(0) : QVariant();
    q.close();
    return v;
  }
  void exec(const QString &sql) {
    Transaction tr(dm->KyvBase, Transaction::Ending::Commit);
    Query(tr, sql).execute();
  }

private slots:
  void init();
  void cleanup();

  void gatewayEditsReloadOnlyWhenBothEmpty_data();
  void gatewayEditsReloadOnlyWhenBothEmpty();
  void gatewaySaveLeavesRowInBrowseSoSaveDoesNothing();
  void saveStoresRowAndConfirms();
  void leavingPageStoresTypedValues();
  void logFileChooser_data();
  void logFileChooser();
  void logBoxOnlyEnablesChooser();
  void pauseEditTakesIntegerCharactersOnly_data();
  void pauseEditTakesIntegerCharactersOnly();
  void applyingLanguageWithNothingSelectedStoresEmptyName();
  void emptyOptionsTableGetsItsRowOnFirstSave();
  void unstorableCharacterIsRefusedAndKept_data();
  void unstorableCharacterIsRefusedAndKept();
  void gatewayAccountRefusedAndCutAloud();
};

void TestSettings::init() {
  folder = std::make_unique<AppFolder>();
  folder->copyShippedFiles();
  CurrentLang() = "Russian";
  LoadLangConst("Russian");
  database = std::make_unique<TestDatabase>();
  dm = std::make_unique<TDModule>();
  dm->openAt(database->path());
  dialogs = std::make_unique<ScriptedDialogs>();
  page = std::make_unique<SendingPage>();
  c = std::make_unique<SettingsController>(page.get(), page.get(), dm.get());
}

void TestSettings::cleanup() {
  c.reset();
  page.reset();
  dialogs.reset();
  dm.reset();
  database.reset();
  folder.reset();
  CurrentLang() = "Russian";
}

void TestSettings::gatewayEditsReloadOnlyWhenBothEmpty_data() {
  QTest::addColumn<QString>("login");
  QTest::addColumn<QString>("password");
  QTest::addColumn<QString>("expectedLogin");
  QTest::addColumn<QString>("expectedPassword");
  QTest::newRow("both cleared: reloaded") << ""
                                          << ""
                                          << "user"
                                          << "secret";
  QTest::newRow("only login cleared: kept") << ""
                                            << "typed"
                                            << ""
                                            << "typed";
  QTest::newRow("only password cleared: kept") << "typed"
                                               << ""
                                               << "typed"
                                               << "";
}

void TestSettings::gatewayEditsReloadOnlyWhenBothEmpty() {
  QFETCH(QString, login);
  QFETCH(QString, password);
  QFETCH(QString, expectedLogin);
  QFETCH(QString, expectedPassword);
  QVERIFY(page->edLoginSh->text().isEmpty()); // empty until the sub-page is shown
  exec("UPDATE RB_OPTIONS SET SHLOGIN = 'user', SHPASSWORD = 'secret'");
  dm->IBOptions.refresh();
  c->TSInterShow();
  QCOMPARE(page->edLoginSh->text(), QString("user"));
  QCOMPARE(page->edPassSh->text(), QString("secret"));
  page->edLoginSh->setText(login);
  page->edPassSh->setText(password);
  c->TSOptionsShow();
  c->TSOptionsHide();
  c->TSInterShow();
  QCOMPARE(page->edLoginSh->text(), expectedLogin);
  QCOMPARE(page->edPassSh->text(), expectedPassword);
}

void TestSettings::gatewaySaveLeavesRowInBrowseSoSaveDoesNothing() {
  c->TS4Show();
  page->edLoginSh->setText("acc");
  page->edPassSh->setText("pw");
  c->butSaveShClick();
  QCOMPARE(dm->IBOptions.state(), DataSet::State::Browse);
  QCOMPARE(stored("SHLOGIN").toString(), QString("acc"));
  QCOMPARE(stored("SHPASSWORD").toString(), QString("pw"));
  c->butSaveClick();
  QVERIFY(dialogs->shown.isEmpty());
}

void TestSettings::saveStoresRowAndConfirms() {
  c->TS4Show();
  QCOMPARE(dm->IBOptions.state(), DataSet::State::Edit);
  QTest::keyClicks(page->DBEdit6, "pop.example");
  c->butSaveClick();
  QCOMPARE(dialogs->shown.size(), 1);
  QCOMPARE(dialogs->shown[0].text, LangConst().stSuccOp);
  QCOMPARE(dialogs->shown[0].title, QString("Brisklane"));
  QCOMPARE(stored("EMPOP").toString(), QString("pop.example"));
  QCOMPARE(dm->IBOptions.state(), DataSet::State::Edit);
}

void TestSettings::leavingPageStoresTypedValues() {
  c->TS4Show();
  QTest::keyClicks(page->DBEdit4, "mailuser");
  QCOMPARE(page->DBEdit4->text(), QString("mailuser"));
  c->TS4Hide();
  QCOMPARE(dm->IBOptions.state(), DataSet::State::Browse);
  QCOMPARE(stored("EMLOGIN").toString(), QString("mailuser"));
  // Typing into a bound edit outside edit mode puts the row into edit mode by itself.
  QTest::keyClicks(page->DBEdit5, "x");
  QCOMPARE(dm->IBOptions.state(), DataSet::State::Edit);
}

void TestSettings::logFileChooser_data() {
  QTest::addColumn<QString>("chosen");
  QTest::addColumn<QString>("expected"); // relative to the folder; empty: LOGFILE unchanged
  QTest::newRow("plain name") << "modem"
                              << "modem.txt";
  QTest::newRow("name already ending in .txt") << "modem.txt"
                                               << "modem.txt.txt";
  QTest::newRow("folder missing: nothing stored") << "missing/modem"
                                                  << "";
  QTest::newRow("name the code page lacks: refused") << QString::fromUtf8("журнал中") << "";
}

void TestSettings::logFileChooser() {
  QFETCH(QString, chosen);
  QFETCH(QString, expected);
  exec("UPDATE RB_OPTIONS SET LOGFILE = 'old.txt', GSMLOG = 1");
  dm->IBOptions.refresh();
  folder->writeText(expected.isEmpty() ? "unused" : expected, "earlier log lines");
  c->TS4Show();
  QTest::keyClicks(page->DBEdit4, "pending");
  dialogs->fileAnswers.enqueue(folder->filePath(chosen));
  c->sbLogFileClick();
  if (cp1251::canEncode(chosen)) {
    QCOMPARE(dialogs->messageTexts(), QStringList()); // nothing is reported either way
  } else {
    // Refused before anything is touched: said, and the other typed change is kept.
    QCOMPARE(dialogs->messageTexts(),
             QStringList{GetIniText(LangConst().stCharField.arg(page->dbcbLog->text(), "中"))});
    QCOMPARE(page->DBEdit4->text(), QString("pending"));
    QCOMPARE(stored("LOGFILE").toString(), QString("old.txt"));
    return;
  }
  if (expected.isEmpty()) {
    QCOMPARE(stored("LOGFILE").toString(), QString("old.txt"));
    QVERIFY(!stored("EMLOGIN").isValid()); // the other unsaved change was discarded
    QCOMPARE(page->DBEdit4->text(), QString());
    return;
  }
  QCOMPARE(stored("LOGFILE").toString(), folder->filePath(expected));
  QCOMPARE(page->dbeLogFile->text(), folder->filePath(expected));
  QFile log(folder->filePath(expected));
  QVERIFY(log.exists());
  QCOMPARE(log.size(), 0); // emptied at once
}

void TestSettings::logBoxOnlyEnablesChooser() {
  exec("UPDATE RB_OPTIONS SET LOGFILE = '/tmp/x.txt', GSMLOG = 1");
  dm->IBOptions.refresh();
  QVERIFY(page->dbcbLog->isChecked());
  QVERIFY(page->sbLogFile->isEnabled());
  c->TS4Show();
  page->dbcbLog->click();
  QVERIFY(!page->sbLogFile->isEnabled());
  c->TS4Hide();
  QCOMPARE(stored("GSMLOG").toInt(), 0);
  QCOMPARE(stored("LOGFILE").toString(), QString("/tmp/x.txt")); // the log stays in force
  // Cancelling the chooser changes nothing.
  c->TS4Show();
  page->dbcbLog->click();
  c->sbLogFileClick();
  QCOMPARE(stored("LOGFILE").toString(), QString("/tmp/x.txt"));
}

void TestSettings::pauseEditTakesIntegerCharactersOnly_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("shown");
  QTest::addColumn<QVariant>("value");
  QTest::newRow("digits") << "15"
                          << "15" << QVariant(15);
  QTest::newRow("letters refused") << "1a2b"
                                   << "12" << QVariant(12);
  QTest::newRow("negative") << "-3"
                            << "-3" << QVariant(-3);
  QTest::newRow("sign only later") << "4-"
                                   << "4" << QVariant(4);
  QTest::newRow("too many digits for the column") << "12345678901"
                                                  << "123456789" << QVariant(123456789);
}

void TestSettings::pauseEditTakesIntegerCharactersOnly() {
  QFETCH(QString, typed);
  QFETCH(QString, shown);
  QFETCH(QVariant, value);
  c->TS4Show();
  page->DBEdit1->clear();
  QTest::keyClicks(page->DBEdit1, typed);
  QCOMPARE(page->DBEdit1->text(), shown);
  c->TS4Hide();
  QCOMPARE(stored("GSMTIME"), value);
}

void TestSettings::applyingLanguageWithNothingSelectedStoresEmptyName() {
  page->cbxLang->addItems({"English", "Russian"});
  page->cbxLang->setCurrentIndex(0);
  c->butApplyClick();
  QCOMPARE(CurrentLang(), QString("English"));
  QCOMPARE(IniFile(folder->filePath("kyv.ini")).readString("params", "Lang", "?"), QString("English"));
  QCOMPARE(page->butSave->text(), langText("English", "TButton", "butSave"));

  page->cbxLang->setCurrentIndex(-1);
  dialogs->clear();
  c->butApplyClick(); // no language file and no transliteration file for an empty name
  QCOMPARE(CurrentLang(), QString());
  const IniFile ini(folder->filePath("kyv.ini"));
  QVERIFY(ini.hasKey("params", "Lang"));
  QCOMPARE(ini.readString("params", "Lang", "?"), QString());
}

void TestSettings::emptyOptionsTableGetsItsRowOnFirstSave() {
  exec("DELETE FROM RB_OPTIONS");
  dm->IBOptions.close();
  dm->IBOptions.open();
  c->TS4Show();
  QCOMPARE(dm->IBOptions.state(), DataSet::State::Insert);
  QTest::keyClicks(page->DBEdit1, "7");
  c->butSaveClick();
  QCOMPARE(dialogs->shown.size(), 1);
  QCOMPARE(stored("GSMTIME").toInt(), 7);
  QVERIFY(stored("ID").toInt() > 1); // a key from the generator
  c->TS4Hide();
  QCOMPARE(stored("COUNT(*)").toInt(), 1);
}

void TestSettings::unstorableCharacterIsRefusedAndKept_data() {
  QTest::addColumn<QString>("how"); // how the row is to be stored
  QTest::newRow("Save") << "save";
  QTest::newRow("leaving the sub-page and the page") << "leave";
}

// A mailbox password with a character the code page lacks: the refusal names the field and
// the character, all three mailbox fields keep what was typed and nothing is lost.
void TestSettings::unstorableCharacterIsRefusedAndKept() {
  QFETCH(QString, how);
  c->TS4Show();
  QTest::keyClicks(page->DBEdit4, "user");
  typeCharacters(page->DBEdit5, QString::fromUtf8("пароль\U0001F511"));
  QTest::keyClicks(page->DBEdit6, "pop.example");
  if (how == "save") {
    c->butSaveClick();
  } else {
    c->TSOptionsHide();
    c->TS4Hide(); // the page and its sub-page hide together: told once
  }
  QCOMPARE(dialogs->messageTexts(),
           QStringList{GetIniText(LangConst().stCharField.arg("Пароль", QString::fromUtf8("\U0001F511")))});
  QCOMPARE(page->DBEdit4->text(), QString("user"));
  QCOMPARE(page->DBEdit5->text(), QString::fromUtf8("пароль\U0001F511"));
  QCOMPARE(page->DBEdit6->text(), QString("pop.example"));
  QVERIFY(dm->IBOptions.isEditing());
  QVERIFY(!stored("EMLOGIN").isValid());

  // Corrected, the row is stored with everything typed.
  dialogs->clear();
  c->TS4Show();
  page->DBEdit5->selectAll();
  typeCharacters(page->DBEdit5, "пароль");
  c->butSaveClick();
  QCOMPARE(dialogs->messageTexts(), QStringList{LangConst().stSuccOp});
  QCOMPARE(stored("EMLOGIN").toString(), QString("user"));
  QCOMPARE(stored("EMPASS").toString(), QString("пароль"));
  QCOMPARE(stored("EMPOP").toString(), QString("pop.example"));
}

// The gateway edits stop at the columns' 30 characters, and say so; a character the code
// page lacks is refused before the row is touched.
void TestSettings::gatewayAccountRefusedAndCutAloud() {
  c->TS4Show();
  page->edPassSh->setFocus();
  QTest::keyClicks(page->edPassSh, QString(35, u'p'));
  QCOMPARE(page->edPassSh->text(), QString(30, u'p'));
  QTRY_COMPARE(dialogs->messageTexts(), QStringList{GetIniText(LangConst().stCut.arg("Пароль", "30", "31"))});

  dialogs->clear();
  page->edLoginSh->setText(QString::fromUtf8("логин中"));
  c->butSaveShClick();
  QCOMPARE(dialogs->messageTexts(), QStringList{GetIniText(LangConst().stCharField.arg("Логин", "中"))});
  QCOMPARE(page->edLoginSh->text(), QString::fromUtf8("логин中"));
  QVERIFY(!stored("SHLOGIN").isValid());
  QVERIFY(!stored("SHPASSWORD").isValid());
}

QTEST_MAIN(TestSettings)
#include "test_settings.moc"
