// Which texts the Windows Cyrillic code page can hold.
#include "common/Cp1251.h"

#include <QTest>

class TestCp1251 : public QObject {
  Q_OBJECT

private slots:
  void firstUnencodable_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("empty") << QString() << -1;
    QTest::newRow("ascii and cyrillic") << QString::fromUtf8("Abc Ёё Щука №5 €") << -1;
    QTest::newRow("chinese") << QString::fromUtf8("ab中") << 2;
    QTest::newRow("emoji outside the basic plane") << QString::fromUtf8("x😀") << 1;
    QTest::newRow("latin letter with accent") << QString::fromUtf8("café") << 3;
  }
  void firstUnencodable() {
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(cp1251::firstUnencodable(text), qsizetype(expected));
    QCOMPARE(cp1251::canEncode(text), expected < 0);
    if (expected < 0)
      QCOMPARE(cp1251::decode(cp1251::encode(text)), text);
  }
};

QTEST_GUILESS_MAIN(TestCp1251)
#include "test_cp1251.moc"
