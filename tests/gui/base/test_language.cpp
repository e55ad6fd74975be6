// Putting a language file's texts onto a window, its controls and its menu items.
#include "LanguageTestWindow.h"

#include "common/AppPaths.h"
#include "common/Cp1251.h"
#include "common/LangConstants.h"
#include "compose/Translit.h"
#include "gui/base/Language.h"
#include "support/AppFolder.h"
#include "support/ScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <memory>

class TestLanguage : public QObject {
  Q_OBJECT

private slots:
  void init();
  void cleanup();
  void controlText_data();
  void controlText();
  void windowCaption_data();
  void windowCaption();
  void damagedLanguageFileGivesBuiltinTexts_data();
  void damagedLanguageFileGivesBuiltinTexts();
  void constantsAndTranslitFollowTheControls();
  void missingTranslitIsReportedOnceAndTextsStay();
  void oneWarningForBothFiles();

private:
  void writeFile(const QString &relative, const QString &text) { folder_->writeText(relative, text); }
  std::unique_ptr<AppFolder> folder_;
  std::unique_ptr<ScriptedDialogs> dialogs_;
};

void TestLanguage::init() {
  folder_ = std::make_unique<AppFolder>();
  writeFile("translit/Test.trs", "б-b\r\n");
  reloadLangFiles();
  dialogs_ = std::make_unique<ScriptedDialogs>();
}

void TestLanguage::cleanup() {
  dialogs_.reset();
  folder_.reset();
  reloadLangFiles();
  LangConst() = LangConstants();
  translitTable().clear();
}

void TestLanguage::controlText_data() {
  QTest::addColumn<QString>("section");
  QTest::addColumn<QString>("key");
  QTest::addColumn<QString>("value");
  QTest::addColumn<QString>("control");
  QTest::addColumn<QString>("expected");

  const QString sep(QChar(4));
  QTest::newRow("label") << "TLabel"
                         << "lbOne"
                         << "Метка"
                         << "lbOne"
                         << "Метка";
  QTest::newRow("names in other case") << "tlabel"
                                       << "LBONE"
                                       << "Метка"
                                       << "lbOne"
                                       << "Метка";
  QTest::newRow("empty value keeps label caption") << "TLabel"
                                                   << "lbOne" << QString() << "lbOne"
                                                   << "design label";
  QTest::newRow("tool button") << "TToolButton"
                               << "tbOne"
                               << "Инструмент"
                               << "tbOne"
                               << "Инструмент";
  QTest::newRow("button") << "TButton"
                          << "butOne"
                          << "Кнопка"
                          << "butOne"
                          << "Кнопка";
  QTest::newRow("group box") << "TGroupBox"
                             << "gbxOne"
                             << "Рамка"
                             << "gbxOne"
                             << "Рамка";
  QTest::newRow("check box") << "TCheckBox"
                             << "cbOne"
                             << "Флажок"
                             << "cbOne"
                             << "Флажок";
  QTest::newRow("data-bound check box") << "TDBCheckBox"
                                        << "dbcbOne"
                                        << "Журнал"
                                        << "dbcbOne"
                                        << "Журнал";
  QTest::newRow("data-bound check box is no check box") << "TCheckBox"
                                                        << "dbcbOne"
                                                        << "Журнал"
                                                        << "dbcbOne"
                                                        << "design db check";
  QTest::newRow("derived label is no label") << "TLabel"
                                             << "lbDerived"
                                             << "Метка"
                                             << "lbDerived"
                                             << "design derived";
  QTest::newRow("wrong section") << "TButton"
                                 << "lbOne"
                                 << "Кнопка"
                                 << "lbOne"
                                 << "design label";
  QTest::newRow("page caption") << "TTabSheet"
                                << "TSOne"
                                << "Страница"
                                << "TSOne"
                                << "Страница";
  QTest::newRow("page with hidden tab") << "TTabSheet"
                                        << "TSTwo"
                                        << "Скрытая"
                                        << "TSTwo"
                                        << "Скрытая";
  QTest::newRow("menu item") << "TMenuItem"
                             << "miOne"
                             << "Пункт"
                             << "miOne"
                             << "Пункт";
  QTest::newRow("item of a menu hung on a button") << "TMenuItem"
                                                   << "miLoose"
                                                   << "Пункт"
                                                   << "miLoose"
                                                   << "Пункт";
  QTest::newRow("plain action is no menu item") << "TMenuItem"
                                                << "ActOne"
                                                << "Действие"
                                                << "ActOne"
                                                << "design action";
  QTest::newRow("control of a child window untouched") << "TLabel"
                                                       << "lbInChild"
                                                       << "Метка"
                                                       << "lbInChild"
                                                       << "design child label";
  QTest::newRow("list a,4,4,b gives a and b, a selected") << "TComboBox"
                                                          << "cbxOne"
                                                          << "a" + sep + sep + "b"
                                                          << "cbxOne"
                                                          << "a|b @0";
  QTest::newRow("list without separator gives one item") << "TComboBox"
                                                         << "cbxOne"
                                                         << "один"
                                                         << "cbxOne"
                                                         << "один @0";
  QTest::newRow("list items are not trimmed") << "TComboBox"
                                              << "cbxOne"
                                              << "a " + sep + " b " + sep + "c"
                                              << "cbxOne"
                                              << "a | b |c @0";
  QTest::newRow("empty list value keeps the list") << "TComboBox"
                                                   << "cbxOne" << QString() << "cbxOne"
                                                   << "x|y @1";
  QTest::newRow("separators only empty the list") << "TComboBox"
                                                  << "cbxOne" << sep + sep << "cbxOne"
                                                  << " @-1";
}

void TestLanguage::controlText() {
  QFETCH(QString, section);
  QFETCH(QString, key);
  QFETCH(QString, value);
  QFETCH(QString, control);
  QFETCH(QString, expected);

  writeFile("langs/Test.ini", "[" + section + "]\r\n" + key + "=" + value + "\r\n");
  LanguageTestWindow window;
  SetLang("Test", &window);
  QCOMPARE(window.shown(control), expected);
  QCOMPARE(window.windowTitle(), QString("design title")); // SetLang leaves the caption
  QCOMPARE(dialogs_->waitCursorDepth, 0);
  QVERIFY(dialogs_->shown.isEmpty());
}

void TestLanguage::windowCaption_data() {
  QTest::addColumn<QString>("file"); // null: no language file
  QTest::addColumn<QString>("expected");
  QTest::newRow("caption from the file") << "[TForm]\r\nFTest=Окно\r\n"
                                         << "Окно";
  QTest::newRow("key in other case") << "[tform]\r\nftest=Окно\r\n"
                                     << "Окно";
  QTest::newRow("empty value empties the caption") << "[TForm]\r\nFTest=\r\n" << QString();
  QTest::newRow("missing key empties the caption") << "[TForm]\r\nFOther=Окно\r\n" << QString();
  QTest::newRow("missing file empties the caption") << QString() << QString();
}

void TestLanguage::windowCaption() {
  QFETCH(QString, file);
  QFETCH(QString, expected);
  if (!file.isNull())
    writeFile("langs/Test.ini", file);
  LanguageTestWindow window;
  SetLangForm("Test", &window);
  QCOMPARE(window.windowTitle(), expected);
}

void TestLanguage::damagedLanguageFileGivesBuiltinTexts_data() {
  QTest::addColumn<QByteArray>("bytes"); // "absent": no file
  QTest::addColumn<QString>("reason");
  QTest::newRow("missing") << QByteArray("absent") << "stFileMissing";
  QTest::newRow("UTF-8") << QString("[TLabel]\r\nlbOne=Метка\r\n").toUtf8() << "stFileUtf8";
  QTest::newRow("binary") << QByteArray("[TLabel]\r\nlbOne=\x01\x02\r\n") << "stFileNotText";
}

// The built-in Russian file answers for a file that cannot be used: controls it does not
// name keep their design texts, every constant has its text, and one warning names the file.
void TestLanguage::damagedLanguageFileGivesBuiltinTexts() {
  QFETCH(QByteArray, bytes);
  QFETCH(QString, reason);
  writeFile("translit/Broken.trs", "б-b\r\n");
  if (bytes != "absent") {
    QFile file(folder_->filePath("langs/Broken.ini"));
    QVERIFY(QDir().mkpath(folder_->filePath("langs")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  LanguageTestWindow window;
  LangConst().stError = "old";
  SetLangForm("Broken", &window);
  SetLang("Broken", &window);
  QCOMPARE(window.windowTitle(), builtinLangFile()->readString("TForm", "FTest"));
  QCOMPARE(window.shown("lbOne"), QString("design label"));
  QCOMPARE(window.shown("cbxOne"), QString("x|y @1"));
  for (const auto &k : langConstantKeys())
    QCOMPARE(LangConst().*k.member, builtinLangConstant(k.key));

  QCOMPARE(dialogs_->shown.size(), 1);
  const QString text = dialogs_->shown.first().text;
  QVERIFY2(text.contains(QDir::toNativeSeparators(langFilePath("Broken"))), qPrintable(text));
  QVERIFY2(text.contains(builtinLangConstant(reason.toLatin1().constData()).section(u'%', 0, 0)),
           qPrintable(text));
  QCOMPARE(dialogs_->shown.first().icon, Dialogs::Icon::Warning);
  // Each dialog applies the language again: the same news is not told twice ...
  LanguageTestWindow dialog;
  SetLang("Broken", &dialog);
  QCOMPARE(dialogs_->shown.size(), 1);
  // ... unless the operator applies the language.
  SetLang("Broken", &window, LanguageReport::Always);
  QCOMPARE(dialogs_->shown.size(), 2);
}

void TestLanguage::constantsAndTranslitFollowTheControls() {
  writeFile("langs/Test.ini",
            "[TLabel]\r\nlbOne=Метка\r\n[Constant]\r\nstError=Ошибка\r\nstSuccOp=Готово\r\n");
  LanguageTestWindow window;
  SetLang("Test", &window);
  QCOMPARE(LangConst().stError, QString("Ошибка"));
  QCOMPARE(LangConst().stSuccOp, QString("Готово"));
  QCOMPARE(LangConst().stDel, builtinLangConstant("stDel")); // a key the file lacks
  QCOMPARE(Translit("бб"), QString("bb"));
  QVERIFY(dialogs_->shown.isEmpty());
}

void TestLanguage::missingTranslitIsReportedOnceAndTextsStay() {
  writeFile("langs/Other.ini", "[TLabel]\r\nlbOne=Метка\r\n[Constant]\r\nstError=Ошибка\r\n");
  translitTable().parse("x-y");
  LanguageTestWindow window;
  SetLang("Other", &window);

  QCOMPARE(dialogs_->shown.size(), 1);
  const QString text = dialogs_->shown.first().text;
  QVERIFY2(text.contains("translit/Other.trs") && text.contains(LangConst().stFileMissing), qPrintable(text));
  QCOMPARE(dialogs_->waitCursorDepth, 0);
  QCOMPARE(window.shown("lbOne"), QString("Метка"));
  QCOMPARE(LangConst().stError, QString("Ошибка"));
  QVERIFY(translitTable().sources().isEmpty());
  QCOMPARE(Translit("x"), QString("x"));
}

// A broken language file and a missing transliteration file make one warning, naming both.
void TestLanguage::oneWarningForBothFiles() {
  LanguageTestWindow window;
  SetLang("Nowhere", &window);
  QCOMPARE(dialogs_->shown.size(), 1);
  const QString text = dialogs_->shown.first().text;
  QVERIFY2(text.contains("langs/Nowhere.ini") && text.contains("translit/Nowhere.trs"), qPrintable(text));
  QVERIFY(!translitTable().usable());
}

QTEST_MAIN(TestLanguage)
#include "test_language.moc"
