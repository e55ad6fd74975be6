// Which bytes pass as a text file of the system (cp1251, written by people) and why the
// others are refused.
#include "common/Cp1251.h"
#include "common/TextFileCheck.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using Kind = TextFileProblem::Kind;
Q_DECLARE_METATYPE(TextFileProblem::Kind)

class TestTextFileCheck : public QObject {
  Q_OBJECT

private slots:
  void check_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("maxLine");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("detail");
    const QByteArray russian = cp1251::encode(u"[Constant]\r\nstDel=Удаление\r\n");
    QTest::newRow("cp1251 text") << russian << 0 << Kind::None << 0 << QString();
    QTest::newRow("empty") << QByteArray() << 0 << Kind::None << 0 << QString();
    QTest::newRow("code 4, tab, lone LF and CR") << QByteArray("a=b\x04"
                                                               "c\tx\ny\rz")
                                                 << 0 << Kind::None << 0 << QString();
    QTest::newRow("the same text in UTF-8") << QString::fromUtf8("[Constant]\r\nstDel=Удаление\r\n").toUtf8()
                                            << 0 << Kind::Utf8 << 0 << QString();
    QTest::newRow("UTF-8 byte-order mark, ASCII after it")
        << QByteArray("\xEF\xBB\xBF[Constant]\r\n") << 0 << Kind::Utf8 << 0 << QString();
    QTest::newRow("NUL on line 3") << QByteArray("a\r\nb\r\nc\0d", 9) << 0 << Kind::NotText << 3 << "0x00";
    QTest::newRow("the byte cp1251 leaves undefined")
        << QByteArray("ok\n\x98") << 0 << Kind::NotText << 2 << "0x98";
    QTest::newRow("escape byte") << QByteArray("\x1B[0m") << 0 << Kind::NotText << 1 << "0x1B";
    QTest::newRow("line at the limit") << QByteArray(10, 'x') + "\r\n" << 10 << Kind::None << 0 << QString();
    QTest::newRow("line over the limit")
        << "a\r\n" + QByteArray(11, 'x') << 10 << Kind::LongLine << 2 << "10";
    QTest::newRow("no limit") << QByteArray(100000, 'x') << 0 << Kind::None << 0 << QString();
  }
  void check() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, maxLine);
    QFETCH(Kind, kind);
    QFETCH(int, line);
    QFETCH(QString, detail);
    const TextFileProblem problem = text_file_check::check(bytes, maxLine);
    QCOMPARE(problem.kind, kind);
    QCOMPARE(problem.line, qsizetype(line));
    QCOMPARE(problem.detail, detail);
    QCOMPARE(problem.ok(), kind == Kind::None);
    // Every refusal has a reason to show.
    QCOMPARE(problem.describe().isEmpty(), kind == Kind::None);
  }

  void randomBytesAreNoText() {
    QByteArray bytes;
    quint32 seed = 12345;
    for (int i = 0; i < 4096; ++i) {
      seed = seed * 1103515245u + 12345u;
      bytes.append(char(seed >> 24));
    }
    QCOMPARE(text_file_check::check(bytes).kind, Kind::NotText);
  }

  void readingFiles() {
    QTemporaryDir dir;
    const QString good = dir.filePath("good.ini");
    QFile f(good);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(cp1251::encode(u"ключ=значение\r\n"));
    f.close();
    CheckedTextFile read = text_file_check::read(good);
    QVERIFY(read.problem.ok());
    QCOMPARE(read.bytes, cp1251::encode(u"ключ=значение\r\n"));

    read = text_file_check::read(dir.filePath("absent.ini"));
    QCOMPARE(read.problem.kind, Kind::Missing);
    QVERIFY(read.bytes.isEmpty());

    QVERIFY(QDir(dir.path()).mkdir("folder.ini"));
    read = text_file_check::read(dir.filePath("folder.ini"));
    QCOMPARE(read.problem.kind, Kind::Unreadable);
    QVERIFY(!read.problem.detail.isEmpty());
  }
};

QTEST_GUILESS_MAIN(TestTextFileCheck)
#include "test_textfilecheck.moc"
