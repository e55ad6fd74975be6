// The CSV reader on a table of files: line ends, empty and blank fields, quoted fields
// (commas, doubled quotation marks, line breaks), stray quotation marks, and the file's
// encoding; then the preview grid and the opening state of the column choices.
#include "common/Cp1251.h"
#include "exchange/CsvPreviewModel.h"
#include "exchange/ExchangeError.h"
#include "exchange/ImportColumns.h"
#include "exchange/TwfCSV.h"

#include <QTemporaryDir>
#include <QTest>

using Records = QList<QStringList>;
Q_DECLARE_METATYPE(TwfCSV::Encoding)

namespace {
QByteArray utf8(const char *text) {
  return QByteArray(text);
}
QByteArray win1251(const char *utf8Text) {
  return cp1251::encode(QString::fromUtf8(utf8Text));
}
} // namespace

class CsvReaderTest : public QObject {
  Q_OBJECT

private slots:
  void splitsLinesAndFields_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Records>("records");
    QTest::addColumn<QList<int>>("fileLines");
    QTest::addColumn<TwfCSV::Encoding>("encoding");
    const auto cp = TwfCSV::Encoding::Cp1251;
    const auto u8 = TwfCSV::Encoding::Utf8;

    QTest::newRow("three lines, CR LF")
        << QByteArray("79001,Ann,01.02.1980\r\n79002,Bob,03.04.1981\r\n79003,Cid,05.06.1982\r\n")
        << Records{{"79001", "Ann", "01.02.1980"},
                   {"79002", "Bob", "03.04.1981"},
                   {"79003", "Cid", "05.06.1982"}}
        << QList<int>{1, 2, 3} << cp;
    QTest::newRow("lone LF, no final line end")
        << QByteArray("a,b\nc,d") << Records{{"a", "b"}, {"c", "d"}} << QList<int>{1, 2} << cp;
    QTest::newRow("lone CR") << QByteArray("a\rb\r") << Records{{"a"}, {"b"}} << QList<int>{1, 2} << cp;
    QTest::newRow("mixed line ends") << QByteArray("a\r\nb\rc\nd") << Records{{"a"}, {"b"}, {"c"}, {"d"}}
                                     << QList<int>{1, 2, 3, 4} << cp;
    QTest::newRow("LF CR is two line ends")
        << QByteArray("a\n\rb") << Records{{"a"}, {""}, {"b"}} << QList<int>{1, 2, 3} << cp;
    QTest::newRow("empty file") << QByteArray() << Records{} << QList<int>{} << cp;
    QTest::newRow("a lone line end is one empty line")
        << QByteArray("\r\n") << Records{{""}} << QList<int>{1} << cp;
    QTest::newRow("empty line between")
        << QByteArray("a\r\n\r\nb") << Records{{"a"}, {""}, {"b"}} << QList<int>{1, 2, 3} << cp;
    QTest::newRow("two commas in a row")
        << QByteArray("a,,b") << Records{{"a", "", "b"}} << QList<int>{1} << cp;
    QTest::newRow("separator at the line's end")
        << QByteArray("a,b,\r\nc") << Records{{"a", "b", ""}, {"c"}} << QList<int>{1, 2} << cp;
    QTest::newRow("separator at the file's end")
        << QByteArray("a,") << Records{{"a", ""}} << QList<int>{1} << cp;
    QTest::newRow("blanks kept") << QByteArray(" a , b ,\t") << Records{{" a ", " b ", "\t"}} << QList<int>{1}
                                 << cp;
    QTest::newRow("quoted comma") << QByteArray("\"Smith, John\",79001") << Records{{"Smith, John", "79001"}}
                                  << QList<int>{1} << cp;
    QTest::newRow("doubled quotation marks") << QByteArray("\"say \"\"hi\"\"\",x,\"\"\"\"")
                                             << Records{{"say \"hi\"", "x", "\""}} << QList<int>{1} << cp;
    QTest::newRow("quoted empty field") << QByteArray("\"\",x") << Records{{"", "x"}} << QList<int>{1} << cp;
    QTest::newRow("quoted line breaks")
        << QByteArray("\"a\r\nb\",c\r\n\"d\re\nf\",g\r\nh")
        << Records{{"a\r\nb", "c"}, {"d\re\nf", "g"}, {"h"}} << QList<int>{1, 3, 6} << cp;
    QTest::newRow("quotation mark inside a plain field")
        << QByteArray("5\" disk,x\"y\"") << Records{{"5\" disk", "x\"y\""}} << QList<int>{1} << cp;
    QTest::newRow("blank before the quotation mark: plain")
        << QByteArray(" \"a,b\"") << Records{{" \"a", "b\""}} << QList<int>{1} << cp;
    QTest::newRow("text after the closing mark kept")
        << QByteArray("\"a\"b,c") << Records{{"ab", "c"}} << QList<int>{1} << cp;
    QTest::newRow("unclosed quotation mark: plain from there")
        << QByteArray("x,\"abc,def\r\n1,2") << Records{{"x", "\"abc", "def"}, {"1", "2"}} << QList<int>{1, 2}
        << cp;
    QTest::newRow("cp1251 Cyrillic") << win1251("Иван,Пётр") << Records{{"Иван", "Пётр"}} << QList<int>{1}
                                     << cp;
    QTest::newRow("UTF-8 with byte order mark") << utf8("\xEF\xBB\xBF\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD,1")
                                                << Records{{"Иван", "1"}} << QList<int>{1} << u8;
    QTest::newRow("UTF-8 byte order mark, ASCII only") << utf8("\xEF\xBB\xBF"
                                                               "a,b")
                                                       << Records{{"a", "b"}} << QList<int>{1} << u8;
    QTest::newRow("UTF-8 without byte order mark")
        << utf8("Иван,Пётр,中") << Records{{"Иван", "Пётр", "中"}} << QList<int>{1} << u8;
    // "Иван" in cp1251 is not valid UTF-8.
    QTest::newRow("cp1251 that is not UTF-8 mixed with ASCII")
        << (QByteArray("abc,") + win1251("Иван")) << Records{{"abc", "Иван"}} << QList<int>{1} << cp;
  }

  void splitsLinesAndFields() {
    QFETCH(QByteArray, bytes);
    QFETCH(Records, records);
    QFETCH(QList<int>, fileLines);
    QFETCH(TwfCSV::Encoding, encoding);
    TwfCSV csv;
    csv.ReadBytes(bytes);
    QCOMPARE(csv.Records, records);
    QCOMPARE(csv.RecordCount, records.size());
    QCOMPARE(csv.FieldCount, records.isEmpty() ? 0 : records.last().size());
    for (int i = 0; i < fileLines.size(); ++i)
      QCOMPARE(csv.fileLine(i), fileLines[i]);
    QCOMPARE(csv.encoding(), encoding);
  }

  void constructionAndRereading() {
    TwfCSV csv;
    QCOMPARE(csv.Separator, ',');
    QCOMPARE(csv.RecordCount, 0);
    QCOMPARE(csv.FieldCount, 0);
    csv.ReadBytes("a,b,c\r\nd");
    csv.ReadBytes("x");
    QCOMPARE(csv.Records, (Records{{"x"}}));
    QCOMPARE(csv.FieldCount, 1);
    csv.ReadFile(QString()); // an empty name reads nothing
    QCOMPARE(csv.RecordCount, 1);
  }

  void readsFilesAndRefusesMissingOnes() {
    QTemporaryDir dir;
    const QString path = dir.filePath("c.csv");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("a;b,c\r\n");
    f.close();
    TwfCSV csv;
    csv.Separator = ';';
    csv.ReadFile(path);
    QCOMPARE(csv.Records, (Records{{"a", "b,c"}}));

    TwfCSV missing;
    QVERIFY_THROWS_EXCEPTION(CsvReadError, missing.ReadFile(dir.filePath("none.csv")));
    QVERIFY_THROWS_EXCEPTION(CsvReadError, missing.ReadFile(dir.path())); // a folder
  }

  // At most ten lines and 26 columns, as many columns as the last line has fields; cells
  // beyond a line's own fields are empty.
  void previewGrid() {
    QByteArray bytes;
    for (int i = 0; i < 24; ++i)
      bytes += "p" + QByteArray::number(i) + ",n" + QByteArray::number(i) + ",x,y,z\r\n";
    bytes += "last,line";
    TwfCSV csv;
    csv.ReadBytes(bytes);
    QCOMPARE(csv.RecordCount, 25);
    CsvPreviewModel preview;
    QCOMPARE(preview.rowCount(), 0);
    preview.setReader(&csv);
    QCOMPARE(preview.rowCount(), 10);
    QCOMPARE(preview.columnCount(), 2);
    QCOMPARE(preview.columnLetters(), (QStringList{"A", "B"}));
    QCOMPARE(preview.headerData(1, Qt::Horizontal).toString(), "B");
    QCOMPARE(preview.data(preview.index(9, 1)).toString(), "n9");

    QByteArray wide;
    for (int c = 0; c < 30; ++c)
      wide += (c ? "," : "") + QByteArray::number(c);
    csv.ReadBytes("short\r\n" + wide);
    preview.setReader(&csv);
    QCOMPARE(preview.rowCount(), 2);
    QCOMPARE(preview.columnCount(), 26);
    QCOMPARE(preview.columnLetters().last(), "Z");
    QCOMPARE(preview.data(preview.index(0, 0)).toString(), "short");
    QVERIFY(!preview.data(preview.index(0, 1)).isValid());
    QCOMPARE(preview.data(preview.index(1, 25)).toString(), "25");
  }

  void columnChoicesOpenAtAToG_data() {
    QTest::addColumn<int>("gridColumns");
    QTest::addColumn<QList<int>>("choices");
    QTest::newRow("no columns") << 0 << QList<int>{-1, -1, -1, -1, -1, -1, -1};
    QTest::newRow("two columns") << 2 << QList<int>{0, 1, -1, -1, -1, -1, -1};
    QTest::newRow("seven columns") << 7 << QList<int>{0, 1, 2, 3, 4, 5, 6};
    QTest::newRow("26 columns") << 26 << QList<int>{0, 1, 2, 3, 4, 5, 6};
  }
  void columnChoicesOpenAtAToG() {
    QFETCH(int, gridColumns);
    QFETCH(QList<int>, choices);
    ImportColumns c = ImportColumns::defaults(gridColumns);
    QVERIFY(c.titleLine);
    for (int n = 1; n <= 7; ++n)
      QCOMPARE(c.choice(n), choices[n - 1]);
    c.clearChoice(1);
    QCOMPARE(c.choice(1), ImportColumns::none);
    QCOMPARE(c.choice(2), choices[1]); // only its own list
  }
};

QTEST_GUILESS_MAIN(CsvReaderTest)
#include "test_csv_reader.moc"
