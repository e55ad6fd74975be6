// Transliteration tables: how a file's lines become rules and how a text is rewritten.
#include "common/AppPaths.h"
#include "common/Cp1251.h"
#include "common/LangConstants.h"
#include "compose/Translit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
QByteArray w(const QString &text) {
  return cp1251::encode(text);
}
} // namespace

class TestTranslit : public QObject {
  Q_OBJECT

private slots:
  void cleanup();
  void apply_data();
  void apply();
  void rulesKeepFileOrderAndLineNumbers();
  void damagedFileIsRefused_data();
  void damagedFileIsRefused();
  void soundFileAfterARefusal();
  void loadTranslitUsesCurrentLanguage();
  void shippedTables_data();
  void shippedTables();
};

void TestTranslit::cleanup() {
  app_paths::overrideExecutableDir({});
  CurrentLang() = QStringLiteral("Russian");
  translitTable().clear();
}

void TestTranslit::apply_data() {
  QTest::addColumn<QByteArray>("rules");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("expected");

  const QByteArray shchuka = w("Щ-Shch\r\nу-u\r\nк-k\r\nа-a\r\n");
  QTest::newRow("empty text") << shchuka << QString() << QString();
  QTest::newRow("Щука") << shchuka << "Щука"
                        << "Shchuka";
  QTest::newRow("characters without rule copied") << shchuka << "12, Zz! ук?"
                                                  << "12, Zz! uk?";
  QTest::newRow("empty table returns the text") << QByteArray() << "Щука"
                                                << "Щука";
  QTest::newRow("line without hyphen drops the character") << w("Ь\r\n") << "ЬтЬЬ"
                                                           << "т";
  QTest::newRow("earlier of Latin a and A serves both") << QByteArray("a-1\r\nA-2\r\n") << "aAb"
                                                        << "11b";
  QTest::newRow("earlier of Latin A and a serves both") << QByteArray("A-2\r\na-1\r\n") << "aAb"
                                                        << "22b";
  QTest::newRow("cyrillic case is exact") << w("а-a\r\n") << "Аа"
                                          << "Аa";
  QTest::newRow("earlier rule of the same source wins") << w("б-b\r\nб-XX\r\n") << "бб"
                                                        << "bb";
  QTest::newRow("one pass only") << w("а-б\r\nб-c\r\n") << "аб"
                                 << "бc";
  QTest::newRow("character before the hyphen ignored") << w("Жx-zh\r\n") << "Жx"
                                                       << "zhx";
  QTest::newRow("replacement not trimmed") << w("я- ya \r\n") << "я"
                                           << " ya ";
  QTest::newRow("hyphen after the first one is replacement") << w("ъ-a-b\r\n") << "ъ"
                                                             << "a-b";
  QTest::newRow("hyphen as source") << QByteArray("-minus\r\n") << "a-b"
                                    << "aminusb";
  QTest::newRow("hyphen as source keeps the rest") << QByteArray("--x\r\n") << "a-b"
                                                   << "a-xb";
  QTest::newRow("hyphen alone drops hyphens") << QByteArray("-\r\n") << "a-b-"
                                              << "ab";
  QTest::newRow("LF lines") << w("а-a\nб-b\n") << "аб"
                            << "ab";
  QTest::newRow("CR lines") << w("а-a\rб-b\r") << "аб"
                            << "ab";
  QTest::newRow("mixed lines and empty lines") << w("\r\nа-a\r\n\nб-b\r\rв-v") << "абв"
                                               << "abv";
  QTest::newRow("line break in the text is copied") << w("а-a\r\n") << "а\r\nа"
                                                    << "a\r\na";
}

void TestTranslit::apply() {
  QFETCH(QByteArray, rules);
  QFETCH(QString, text);
  QFETCH(QString, expected);
  TranslitTable table;
  table.parse(rules);
  QCOMPARE(table.apply(text), expected);
}

void TestTranslit::rulesKeepFileOrderAndLineNumbers() {
  TranslitTable table;
  table.parse(w("А-A\r\n\r\nЬ\r\n--x\r\nА-B"));
  QStringList sources, replacements;
  QList<qint32> lines;
  for (qsizetype i = 0; i < table.sources().size(); ++i) {
    sources << table.sources()[i].Name;
    replacements << table.replacements()[i].Name;
    lines << table.sources()[i].Value;
    QCOMPARE(table.replacements()[i].Value, table.sources()[i].Value);
  }
  QCOMPARE(sources, QStringList({"А", "Ь", "-", "А"}));
  QCOMPARE(replacements, QStringList({"A", "", "-x", "B"}));
  QCOMPARE(lines, QList<qint32>({0, 2, 3, 4}));
}

void TestTranslit::damagedFileIsRefused_data() {
  QTest::addColumn<QByteArray>("bytes"); // "absent": no file at all
  QTest::addColumn<QString>("reason");   // the [Constant] key of the reason given
  const QString rules = "П-P\r\nр-r\r\nи-i\r\nв-v\r\nе-e\r\nт-t\r\n";
  QTest::newRow("missing") << QByteArray("absent") << "stFileMissing";
  // Read as cp1251, "в-v" in UTF-8 would be a rule for "Р" and turn "Привет" into nonsense.
  QTest::newRow("UTF-8") << rules.toUtf8() << "stFileUtf8";
  QByteArray random;
  for (int i = 0; i < 3000; ++i)
    random.append(char((i * 7919 + 13) % 256));
  QTest::newRow("random bytes") << random << "stFileNotText";
  QTest::newRow("NUL inside a rule") << QByteArray("a-\0b\r\n", 5) << "stFileNotText";
  // A replacement this long made every keystroke allocate its length per character.
  QTest::newRow("huge line") << w("а-") + QByteArray(5000000, 'x') << "stFileLongLine";
  QTest::newRow("line without hyphen") << w("а-a\r\nПривет\r\n") << "stTranslitRule";
  QTest::newRow("hyphen too far in") << w("а-a\r\nабв-x\r\n") << "stTranslitRule";
}

// A file that fails its check leaves the table empty and refused, and the error names the
// file and the reason in the interface language; the text is never rewritten with it.
void TestTranslit::damagedFileIsRefused() {
  QFETCH(QByteArray, bytes);
  QFETCH(QString, reason);
  QTemporaryDir dir;
  const QString path = dir.filePath("Test.trs");
  if (bytes != "absent") {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  TranslitTable table;
  table.parse(w("П-P\r\n"));
  QVERIFY(table.usable());
  QString text;
  try {
    table.load(path);
    QFAIL("a damaged file loaded");
  } catch (const TranslitFileError &error) {
    text = error.text();
  }
  QVERIFY2(text.contains(QDir::toNativeSeparators(path)), qPrintable(text));
  const QString said = builtinLangConstant(reason.toLatin1().constData()).section(u'%', 0, 0);
  QVERIFY2(text.contains(said), qPrintable(text + " / " + said));
  QVERIFY(!table.usable());
  QCOMPARE(table.refusal(), text);
  QVERIFY(table.sources().isEmpty());
  QCOMPARE(table.apply("Привет"), QString("Привет"));
}

void TestTranslit::soundFileAfterARefusal() {
  QTemporaryDir dir;
  const QString path = dir.filePath("Test.trs");
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(QString("в-v\r\n").toUtf8());
  file.close();
  TranslitTable table;
  QVERIFY_THROWS_EXCEPTION(TranslitFileError, table.load(path));
  QVERIFY(!table.usable());
  QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(w("в-v\r\n"));
  file.close();
  table.load(path);
  QVERIFY(table.usable());
  QCOMPARE(table.apply("Привет"), QString("Приvет"));
}

void TestTranslit::loadTranslitUsesCurrentLanguage() {
  QTemporaryDir dir;
  QVERIFY(QDir(dir.path()).mkpath("translit"));
  QFile file(dir.filePath("translit/Test.trs"));
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(w("ж-zh\r\n"));
  file.close();
  app_paths::overrideExecutableDir(dir.path());

  CurrentLang() = "Test";
  LoadTranslit();
  QCOMPARE(Translit("жук"), QString("zhук"));

  CurrentLang() = "Absent";
  QVERIFY_THROWS_EXCEPTION(TranslitFileError, LoadTranslit());
  QCOMPARE(Translit("жук"), QString("жук"));
}

void TestTranslit::shippedTables_data() {
  QTest::addColumn<QString>("lang");
  QTest::newRow("Russian") << "Russian";
  QTest::newRow("English") << "English";
}

// The tables beside the executable turn every Russian letter into plain Latin, and a second
// pass changes nothing (the preview transliterates generated texts once more).
void TestTranslit::shippedTables() {
  QFETCH(QString, lang);
  app_paths::overrideExecutableDir(qEnvironmentVariable("BL_SOURCE_DIR"));
  LoadTranslit(lang);

  QString alphabet;
  for (char16_t c = u'А'; c <= u'я'; ++c)
    alphabet += QChar(c);
  alphabet += "Ёё";
  const QString latin = Translit(alphabet);
  for (const QChar c : latin)
    QVERIFY2(c.unicode() < 0x80 && c.isLetter(), qPrintable(latin));
  QCOMPARE(Translit(latin), latin);
  QCOMPARE(Translit("Щука"), QString("Shchuka"));
  QCOMPARE(Translit("Съешь «Ёжика» — 5 шт."), QString("Sesh \"Yozhika\" - 5 sht."));
}

QTEST_GUILESS_MAIN(TestTranslit)
#include "test_translit.moc"
