// The message constants, the line-break marker and the cached language-file reads.
#include "common/AppPaths.h"
#include "common/Cp1251.h"
#include "common/IniFile.h"
#include "common/LangConstants.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestLangConstants : public QObject {
  Q_OBJECT

private slots:
  void init();
  void cleanup();
  void loadLangConstReadsEveryKey();
  void builtinTextsCoverEveryKey();
  void keysTheFileLacksGetTheBuiltinText();
  void damagedFile_data();
  void damagedFile();
  void getIniText_data();
  void getIniText();
  void mainTextWithTwoMarkersShowsThreeLines();
  void changedFileIsReadAgain();
  void reloadForgetsParsedFiles();

private:
  void writeLangFile(const QString &lang, const QString &text);
  void writeBytes(const QString &lang, const QByteArray &bytes);
  QTemporaryDir exeDir_;
};

void TestLangConstants::init() {
  QVERIFY(exeDir_.isValid());
  QVERIFY(QDir(exeDir_.path()).mkpath("langs"));
  app_paths::overrideExecutableDir(exeDir_.path());
  reloadLangFiles();
}

void TestLangConstants::cleanup() {
  app_paths::overrideExecutableDir({});
  reloadLangFiles();
  LangConst() = LangConstants();
}

void TestLangConstants::writeLangFile(const QString &lang, const QString &text) {
  QFile file(langFilePath(lang));
  QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(cp1251::encode(text));
}

void TestLangConstants::writeBytes(const QString &lang, const QByteArray &bytes) {
  QFile file(langFilePath(lang));
  QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

void TestLangConstants::loadLangConstReadsEveryKey() {
  QString text = "[Constant]\r\n";
  for (const auto &k : langConstantKeys())
    text += QString::fromLatin1(k.key) + "=текст " + QString::fromLatin1(k.key) + "\r\n";
  writeLangFile("Test", text);

  LoadLangConst("Test");
  for (const auto &k : langConstantKeys())
    QCOMPARE(LangConst().*k.member, "текст " + QString::fromLatin1(k.key));
}

// The program carries a text for every message it shows, so none is ever shown blank.
void TestLangConstants::builtinTextsCoverEveryKey() {
  const LangConstants fresh;
  for (const auto &k : langConstantKeys()) {
    QVERIFY2(!builtinLangConstant(k.key).trimmed().isEmpty(), k.key);
    QCOMPARE(fresh.*k.member, builtinLangConstant(k.key));
  }
  QCOMPARE(builtinLangConstant("stDelGroup"), QString("Удалить выбранную группу?"));
}

void TestLangConstants::keysTheFileLacksGetTheBuiltinText() {
  writeLangFile("Test", "[Constant]\r\nstError=Fehler\r\nstDel=\r\n");
  LoadLangConst("Test");
  QCOMPARE(LangConst().stError, QString("Fehler"));
  QCOMPARE(LangConst().stDel, builtinLangConstant("stDel"));           // present, but empty
  QCOMPARE(LangConst().stDelGroup, builtinLangConstant("stDelGroup")); // absent
  QVERIFY(langFileProblem("Test").ok());
}

Q_DECLARE_METATYPE(TextFileProblem::Kind)

void TestLangConstants::damagedFile_data() {
  QTest::addColumn<QByteArray>("bytes"); // "absent": no file at all, "folder": a folder
  QTest::addColumn<TextFileProblem::Kind>("kind");
  QTest::addColumn<bool>("restOfFileUsed");
  using K = TextFileProblem::Kind;
  const QString text = "[TForm]\r\nFMain=Mein Fenster\r\n[Constant]\r\nstDel=Löschen?\r\n";
  QTest::newRow("missing") << QByteArray("absent") << K::Missing << false;
  QTest::newRow("unreadable") << QByteArray("folder") << K::Unreadable << false;
  QTest::newRow("UTF-8") << text.toUtf8() << K::Utf8 << false;
  QByteArray random;
  for (int i = 0; i < 2000; ++i)
    random.append(char((i * 7919 + 13) % 256));
  QTest::newRow("random bytes") << random << K::NotText << false;
  QTest::newRow("without [Constant]")
      << cp1251::encode(u"[TForm]\r\nFMain=Mein Fenster\r\n") << K::None << true;
  QTest::newRow("huge line: read, the value cut")
      << cp1251::encode(QString("[TForm]\r\nFMain=Mein Fenster\r\n[Constant]\r\nstError=") +
                        QString(3000000, u'ж') + "\r\n")
      << K::None << true;
}

// A file that is missing, unreadable or not cp1251 text is not used at all: every text comes
// from the built-in Russian file. A sound file without [Constant] keeps its other texts.
void TestLangConstants::damagedFile() {
  QFETCH(QByteArray, bytes);
  QFETCH(TextFileProblem::Kind, kind);
  QFETCH(bool, restOfFileUsed);
  QDir(langFilePath("Test")).removeRecursively();
  QFile::remove(langFilePath("Test"));
  if (bytes == "folder")
    QVERIFY(QDir().mkpath(langFilePath("Test")));
  else if (bytes != "absent")
    writeBytes("Test", bytes);

  QCOMPARE(langFileProblem("Test").kind, kind);
  QCOMPARE(langFileProblem("Test").describe().isEmpty(), kind == TextFileProblem::Kind::None);
  LoadLangConst("Test");
  for (const auto &k : langConstantKeys())
    if (qstrcmp(k.key, "stError") != 0)
      QCOMPARE(LangConst().*k.member, builtinLangConstant(k.key));
  if (bytes.contains("stError"))
    QCOMPARE(LangConst().stError.size(), qsizetype(IniFile::MaxValueLength));
  else
    QCOMPARE(LangConst().stError, builtinLangConstant("stError"));
  QCOMPARE(langText("Test", "TForm", "FMain"),
           restOfFileUsed ? QString("Mein Fenster") : builtinLangFile()->readString("TForm", "FMain"));
  QVERIFY(!langText("Test", "TForm", "FMain").isEmpty());
}

void TestLangConstants::getIniText_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("expected");
  QTest::newRow("empty") << QString() << QString();
  QTest::newRow("no marker") << "one line"
                             << "one line";
  QTest::newRow("every marker") << QString("a\x04\x04"
                                           "b\x04")
                                << "a\r\rb\r";
}

void TestLangConstants::getIniText() {
  QFETCH(QString, text);
  QFETCH(QString, expected);
  QCOMPARE(GetIniText(text), expected);
}

void TestLangConstants::mainTextWithTwoMarkersShowsThreeLines() {
  writeLangFile("Test", QString("[MainText]\r\nttContacts=first\x04second\x04third\r\n"));
  const QString shown = GetIniText(langText("Test", "MainText", "ttContacts"));
  QCOMPARE(shown.split(u'\r'), QStringList({"first", "second", "third"}));
}

void TestLangConstants::changedFileIsReadAgain() {
  writeLangFile("Test", "[TLabel]\r\nlbOne=old\r\n");
  QCOMPARE(langText("Test", "TLabel", "lbOne"), QString("old"));
  writeLangFile("Test", "[TLabel]\r\nlbOne=newer\r\n");
  QCOMPARE(langText("Test", "TLabel", "lbOne"), QString("newer"));
  QFile::remove(langFilePath("Test"));
  QCOMPARE(langText("Test", "TLabel", "lbOne"), QString());
}

void TestLangConstants::reloadForgetsParsedFiles() {
  writeLangFile("Test", "[TLabel]\r\nlbOne=aaa\r\n");
  QCOMPARE(langText("Test", "TLabel", "lbOne"), QString("aaa"));
  // Same size and the same time stamp: the explicit reload still reads the new text.
  QFile file(langFilePath("Test"));
  const QDateTime stamp = QFileInfo(file).lastModified();
  writeLangFile("Test", "[TLabel]\r\nlbOne=bbb\r\n");
  QVERIFY(file.open(QIODevice::ReadWrite));
  QVERIFY(file.setFileTime(stamp, QFileDevice::FileModificationTime));
  file.close();
  reloadLangFiles();
  QCOMPARE(langText("Test", "TLabel", "lbOne"), QString("bbb"));
}

QTEST_GUILESS_MAIN(TestLangConstants)
#include "test_langconstants.moc"
