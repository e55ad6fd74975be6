// Which texts the Windows Cyrillic code page can hold.
#include "common/Cp1251.h"

#include <QTest>

class TestCp1251 : public QObject {
  Q_OBJECT

private slots:
  void firstUnencodable_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("character"); // as messages show it: whole
    QTest::newRow("empty") << QString() << -1 << QString();
    QTest::newRow("ascii and cyrillic") << QString::fromUtf8("Abc Ёё Щука №5 €") << -1 << QString();
    QTest::newRow("chinese") << QString::fromUtf8("ab中") << 2 << QString::fromUtf8("中");
    QTest::newRow("emoji outside the basic plane: both halves")
        << QString::fromUtf8("x😀y") << 1 << QString::fromUtf8("😀");
    QTest::newRow("latin letter with accent") << QString::fromUtf8("café") << 3 << QString::fromUtf8("é");
  }
  void firstUnencodable() {
    QFETCH(QString, text);
    QFETCH(int, expected);
    QFETCH(QString, character);
    QCOMPARE(cp1251::firstUnencodable(text), qsizetype(expected));
    QCOMPARE(cp1251::firstUnencodableCharacter(text), character);
    QCOMPARE(cp1251::canEncode(text), expected < 0);
    if (expected < 0)
      QCOMPARE(cp1251::decode(cp1251::encode(text)), text);
  }
};

QTEST_GUILESS_MAIN(TestCp1251)
#include "test_cp1251.moc"
