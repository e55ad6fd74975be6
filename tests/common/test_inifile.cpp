// Reading and writing profile files the way the program's settings and language files are read.
#include "common/Cp1251.h"
#include "common/IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray w(const QString &text) {
  return cp1251::encode(text);
}

QByteArray fileBytes(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void putFile(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class TestIniFile : public QObject {
  Q_OBJECT

private slots:
  void readString_data();
  void readString();
  void missingFileReadsDefaults();
  void writeString_data();
  void writeString();
  void writeKeepsChangesMadeSinceParsing();
  void badWritesChangeNothing_data();
  void badWritesChangeNothing();
  void unwritableFileIsReported();
};

void TestIniFile::readString_data() {
  QTest::addColumn<QByteArray>("file");
  QTest::addColumn<QString>("section");
  QTest::addColumn<QString>("key");
  QTest::addColumn<QString>("defaultValue");
  QTest::addColumn<QString>("expected");

  const QString longValue(3000, u'x');
  QTest::newRow("plain") << QByteArray("[params]\r\nLang=English\r\n") << "params"
                         << "Lang"
                         << "Russian"
                         << "English";
  QTest::newRow("saved as UTF-8 with its mark")
      << QByteArray("\xEF\xBB\xBF[params]\r\nLang=English\r\n") << "params"
      << "Lang"
      << "Russian"
      << "English";
  QTest::newRow("section and key in other case") << QByteArray("[Params]\r\nLANG=English\r\n") << "PARAMS"
                                                 << "lang" << QString() << "English";
  QTest::newRow("cyrillic names in other case") << w("[Раздел]\r\nКлюч=значение\r\n") << "РАЗДЕЛ"
                                                << "ключ" << QString() << "значение";
  QTest::newRow("missing section gives default") << QByteArray("[a]\r\nk=1\r\n") << "b"
                                                 << "k"
                                                 << "dflt"
                                                 << "dflt";
  QTest::newRow("missing key gives default") << QByteArray("[a]\r\nk=1\r\n") << "a"
                                             << "j"
                                             << "dflt"
                                             << "dflt";
  QTest::newRow("present empty value is empty, not default") << QByteArray("[a]\r\nk=\r\n") << "a"
                                                             << "k"
                                                             << "dflt" << QString();
  QTest::newRow("key without equals sign reads empty") << QByteArray("[a]\r\nk\r\n") << "a"
                                                       << "k"
                                                       << "dflt" << QString();
  QTest::newRow("value cut at 2047 characters") << ("[a]\r\nk=" + longValue.toLatin1() + "\r\n") << "a"
                                                << "k" << QString() << longValue.left(2047);
  QTest::newRow("value of 2047 characters kept whole")
      << ("[a]\r\nk=" + longValue.left(2047).toLatin1() + "\r\n") << "a"
      << "k" << QString() << longValue.left(2047);
  QTest::newRow("LF line ends") << QByteArray("[a]\nk=1\n[b]\nk=2\n") << "b"
                                << "k" << QString() << "2";
  QTest::newRow("CR line ends") << QByteArray("[a]\rk=1\r[b]\rk=2\r") << "b"
                                << "k" << QString() << "2";
  QTest::newRow("mixed line ends") << QByteArray("[a]\r\nk=1\r[b]\nj=0\r\nk=2") << "b"
                                   << "k" << QString() << "2";
  QTest::newRow("last line without line end") << QByteArray("[a]\r\nk=last") << "a"
                                              << "k" << QString() << "last";
  QTest::newRow("blanks around key and value dropped") << QByteArray("[ a ]\r\n  k  =  v w  \r\n") << "a"
                                                       << "k" << QString() << "v w";
  QTest::newRow("matching quotes dropped") << QByteArray("[a]\r\nk=\" d.\"\r\n") << "a"
                                           << "k" << QString() << " d.";
  QTest::newRow("unmatched quote kept") << QByteArray("[a]\r\nk=\"d.\r\n") << "a"
                                        << "k" << QString() << "\"d.";
  QTest::newRow("equals sign inside value") << QByteArray("[a]\r\nk=x=y\r\n") << "a"
                                            << "k" << QString() << "x=y";
  QTest::newRow("first of repeated keys") << QByteArray("[a]\r\nk=1\r\nk=2\r\n") << "a"
                                          << "k" << QString() << "1";
  QTest::newRow("first of repeated sections") << QByteArray("[a]\r\nk=1\r\n[A]\r\nk=2\r\nj=3\r\n") << "a"
                                              << "j"
                                              << "none"
                                              << "none";
  QTest::newRow("comment line ignored") << QByteArray("[a]\r\n;k=1\r\nk=2\r\n") << "a"
                                        << "k" << QString() << "2";
  QTest::newRow("keys before any section belong to none") << QByteArray("k=1\r\n[a]\r\n") << "a"
                                                          << "k"
                                                          << "none"
                                                          << "none";
  QTest::newRow("cp1251 value decoded") << w("[a]\r\nk=Привет, мир\r\n") << "a"
                                        << "k" << QString() << "Привет, мир";
  QTest::newRow("separator code 4 kept") << QByteArray("[a]\r\nk=x\x04\x04y\r\n") << "a"
                                         << "k" << QString() << QString("x\x04\x04y");
}

void TestIniFile::readString() {
  QFETCH(QByteArray, file);
  QFETCH(QString, section);
  QFETCH(QString, key);
  QFETCH(QString, defaultValue);
  QFETCH(QString, expected);
  QCOMPARE(IniFile::fromBytes(file).readString(section, key, defaultValue), expected);

  // The same through a file on disk.
  QTemporaryDir dir;
  const QString path = dir.filePath("t.ini");
  putFile(path, file);
  QCOMPARE(IniFile(path).readString(section, key, defaultValue), expected);
}

void TestIniFile::missingFileReadsDefaults() {
  QTemporaryDir dir;
  const IniFile ini(dir.filePath("absent.ini"));
  QCOMPARE(ini.readString("params", "Lang", "Russian"), QString("Russian"));
  QCOMPARE(ini.readString("params", "Lang"), QString());
  QVERIFY(!ini.hasKey("params", "Lang"));
}

void TestIniFile::writeString_data() {
  QTest::addColumn<QByteArray>("before"); // null: no file
  QTest::addColumn<QString>("section");
  QTest::addColumn<QString>("key");
  QTest::addColumn<QString>("value");
  QTest::addColumn<QByteArray>("after");

  QTest::newRow("missing file created") << QByteArray() << "params"
                                        << "Lang"
                                        << "English" << QByteArray("[params]\r\nLang=English\r\n");
  QTest::newRow("UTF-8 mark kept, value replaced in place")
      << QByteArray("\xEF\xBB\xBF[params]\r\nLang=Russian\r\n") << "params"
      << "Lang"
      << "English" << QByteArray("\xEF\xBB\xBF[params]\r\nLang=English\r\n");
  QTest::newRow("value replaced in place")
      << QByteArray("; settings\r\n[params]\r\nLang=Russian\r\nGSM=1\r\n") << "params"
      << "Lang"
      << "English" << QByteArray("; settings\r\n[params]\r\nLang=English\r\nGSM=1\r\n");
  QTest::newRow("key keeps its spelling") << QByteArray("[Params]\r\n  LANG = Russian\r\n") << "params"
                                          << "lang"
                                          << "English" << QByteArray("[Params]\r\n  LANG =English\r\n");
  QTest::newRow("missing key added at end of its section")
      << QByteArray("[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n") << "A"
      << "z"
      << "3" << QByteArray("[a]\r\nx=1\r\nz=3\r\n\r\n[b]\r\ny=2\r\n");
  QTest::newRow("missing section appended")
      << QByteArray("[a]\r\nx=1\r\n") << "gateway"
      << "Url"
      << "http://127.0.0.1:8080/sms"
      << QByteArray("[a]\r\nx=1\r\n[gateway]\r\nUrl=http://127.0.0.1:8080/sms\r\n");
  QTest::newRow("LF file gets LF lines") << QByteArray("[a]\nx=1\n") << "a"
                                         << "y"
                                         << "2" << QByteArray("[a]\nx=1\ny=2\n");
  QTest::newRow("last line without line end") << QByteArray("[a]\r\nx=1") << "a"
                                              << "y"
                                              << "2" << QByteArray("[a]\r\nx=1\r\ny=2\r\n");
  QTest::newRow("replacing an unterminated last line") << QByteArray("[a]\r\nx=1") << "a"
                                                       << "x"
                                                       << "2" << QByteArray("[a]\r\nx=2");
  QTest::newRow("only the first of repeated sections") << QByteArray("[a]\r\nx=1\r\n[a]\r\nx=1\r\n") << "a"
                                                       << "x"
                                                       << "2" << QByteArray("[a]\r\nx=2\r\n[a]\r\nx=1\r\n");
  QTest::newRow("blanks around the value kept by quotes") << QByteArray("[a]\r\n") << "a"
                                                          << "x"
                                                          << " dn. " << QByteArray("[a]\r\nx=\" dn. \"\r\n");
  QTest::newRow("quoted value kept by more quotes") << QByteArray("[a]\r\n") << "a"
                                                    << "x"
                                                    << "'q'" << QByteArray("[a]\r\nx=\"'q'\"\r\n");
  QTest::newRow("empty value") << QByteArray("[a]\r\nx=1\r\n") << "a"
                               << "x" << QString() << QByteArray("[a]\r\nx=\r\n");
  QTest::newRow("cyrillic value in cp1251") << QByteArray("[a]\r\n") << "a"
                                            << "x"
                                            << "Русский" << w("[a]\r\nx=Русский\r\n");
  QTest::newRow("other bytes untouched") << QByteArray("[a]\r\nx=1\r\nraw=\xe0\x98\xff\r\n") << "a"
                                         << "x"
                                         << "2" << QByteArray("[a]\r\nx=2\r\nraw=\xe0\x98\xff\r\n");
}

void TestIniFile::writeString() {
  QFETCH(QByteArray, before);
  QFETCH(QString, section);
  QFETCH(QString, key);
  QFETCH(QString, value);
  QFETCH(QByteArray, after);

  QTemporaryDir dir;
  const QString path = dir.filePath("kyv.ini");
  if (!before.isNull())
    putFile(path, before);
  IniFile ini(path);
  ini.writeString(section, key, value);
  QCOMPARE(fileBytes(path), after);
  QCOMPARE(ini.readString(section, key, "none"), value);
  QCOMPARE(IniFile(path).readString(section, key, "none"), value);
}

void TestIniFile::writeKeepsChangesMadeSinceParsing() {
  QTemporaryDir dir;
  const QString path = dir.filePath("kyv.ini");
  putFile(path, "[params]\r\nLang=Russian\r\n");
  IniFile ini(path);
  putFile(path, "[params]\r\nLang=Russian\r\nGSM=1\r\n");
  ini.writeString("params", "Lang", "English");
  QCOMPARE(fileBytes(path), QByteArray("[params]\r\nLang=English\r\nGSM=1\r\n"));
  QCOMPARE(ini.readString("params", "GSM"), QString("1"));
}

void TestIniFile::badWritesChangeNothing_data() {
  QTest::addColumn<QString>("section");
  QTest::addColumn<QString>("key");
  QTest::addColumn<QString>("value");

  QTest::newRow("line break in value") << "params"
                                       << "Lang"
                                       << "Eng\r\nlish";
  QTest::newRow("character outside cp1251") << "params"
                                            << "Lang" << QString::fromUtf8("中文");
  QTest::newRow("equals sign in key") << "params"
                                      << "La=ng"
                                      << "x";
  QTest::newRow("bracket in section") << "par]ams"
                                      << "Lang"
                                      << "x";
  QTest::newRow("empty key") << "params" << QString() << "x";
  QTest::newRow("value longer than a read gives") << "params"
                                                  << "Lang" << QString(IniFile::MaxValueLength + 1, u'x');
}

void TestIniFile::badWritesChangeNothing() {
  QFETCH(QString, section);
  QFETCH(QString, key);
  QFETCH(QString, value);

  QTemporaryDir dir;
  const QString path = dir.filePath("kyv.ini");
  const QByteArray before("[params]\r\nLang=Russian\r\n");
  putFile(path, before);
  IniFile ini(path);
  QVERIFY_THROWS_EXCEPTION(IniFileError, ini.writeString(section, key, value));
  QCOMPARE(fileBytes(path), before);
  QCOMPARE(ini.readString("params", "Lang"), QString("Russian"));
}

void TestIniFile::unwritableFileIsReported() {
  QTemporaryDir dir;
  IniFile ini(dir.filePath("no/such/folder/kyv.ini"));
  try {
    ini.writeString("params", "Lang", "English");
    QFAIL("writing into a missing folder succeeded");
  } catch (const IniFileError &error) {
    QVERIFY2(error.text().contains("kyv.ini"), qPrintable(error.text()));
  }
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "test_inifile.moc"
