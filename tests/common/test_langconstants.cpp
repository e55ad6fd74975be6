// The message constants, the line-break marker and the cached language-file reads.
#include "common/AppPaths.h"
#include "common/Cp1251.h"
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
  void missingFileEmptiesConstants();
  void getIniText_data();
  void getIniText();
  void mainTextWithTwoMarkersShowsThreeLines();
  void changedFileIsReadAgain();
  void reloadForgetsParsedFiles();

private:
  void writeLangFile(const QString &lang, const QString &text);
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

void TestLangConstants::loadLangConstReadsEveryKey() {
  QString text = "[Constant]\r\n";
  for (const auto &k : langConstantKeys())
    text += QString::fromLatin1(k.key) + "=текст " + QString::fromLatin1(k.key) + "\r\n";
  writeLangFile("Test", text);

  LoadLangConst("Test");
  for (const auto &k : langConstantKeys())
    QCOMPARE(LangConst().*k.member, "текст " + QString::fromLatin1(k.key));
}

void TestLangConstants::missingFileEmptiesConstants() {
  writeLangFile("Test", "[Constant]\r\nstError=Ошибка\r\nstSuccOp=Готово\r\n");
  LoadLangConst("Test");
  QCOMPARE(LangConst().stError, QString("Ошибка"));

  LoadLangConst("Absent");
  for (const auto &k : langConstantKeys())
    QVERIFY2((LangConst().*k.member).isEmpty(), k.key);
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
