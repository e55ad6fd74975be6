// The address book reader on a table of real-world vCard files: data/vcard/<case>.vcf is read
// and compared with data/vcard/<case>.expected (UTF-8, one card a line: first name, a tab,
// mobile number; or "error", a tab and a part of the error text).
#include "ExchangeTestFiles.h"

#include "exchange/VCardError.h"
#include "exchange/VCardReader.h"

#include <QDir>
#include <QTest>

class VCardReaderTest : public QObject {
  Q_OBJECT

private slots:
  void readsEachFile_data() {
    QTest::addColumn<QString>("vcf");
    QTest::addColumn<QString>("expected");
    const QDir dir(exchangeDataPath(QStringLiteral("vcard")));
    const QStringList files = dir.entryList({QStringLiteral("*.vcf")}, QDir::Files, QDir::Name);
    QVERIFY2(files.size() >= 10, qPrintable(dir.path()));
    for (const QString &file : files) {
      const QString base = file.chopped(4);
      QTest::newRow(qPrintable(base))
          << dir.filePath(file) << dir.filePath(base + QStringLiteral(".expected"));
    }
  }

  void readsEachFile() {
    QFETCH(QString, vcf);
    QFETCH(QString, expected);
    QFile expectedFile(expected);
    QVERIFY2(expectedFile.open(QIODevice::ReadOnly), qPrintable(expected));
    const QStringList lines = QString::fromUtf8(expectedFile.readAll()).split(u'\n', Qt::SkipEmptyParts);

    if (!lines.isEmpty() && lines.first().startsWith(QStringLiteral("error\t"))) {
      try {
        VCardReader::readFile(vcf);
        QFAIL("the broken file was read");
      } catch (const VCardError &e) {
        QVERIFY2(e.text().contains(lines.first().mid(6)), qPrintable(e.text()));
        QVERIFY2(e.text().contains(vcf), qPrintable(e.text())); // the operator learns which file
      }
      return;
    }

    QStringList got;
    for (const AddressEntry &entry : VCardReader::readFile(vcf))
      got << entry.firstName + u'\t' + entry.mobilePhone;
    QCOMPARE(got, lines);
  }

  // The line of each card is kept, so a refusal can point at the card.
  void keepsTheLineOfEachCard() {
    const QList<AddressEntry> entries =
        VCardReader::readFile(exchangeDataPath(QStringLiteral("vcard/phone-export-2.1.vcf")));
    QCOMPARE(entries.size(), 3);
    QCOMPARE(entries[0].line, 1);
    QCOMPARE(entries[1].line, 9); // the first card has a soft line break, so nine lines
  }

  void missingFileIsRefusedByName() {
    const QString path = QDir::temp().filePath(QStringLiteral("no-such-address-book.vcf"));
    try {
      VCardReader::readFile(path);
      QFAIL("a missing file was read");
    } catch (const VCardError &e) {
      QVERIFY2(e.text().contains(path), qPrintable(e.text()));
    }
  }

  // Small shapes the files do not show: line ends of every kind, blank lines between cards,
  // a file that ends without a line end, lower-case keywords, a fold with a tab.
  void lineShapes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("phone");
    QTest::newRow("lone CR") << QByteArray("BEGIN:VCARD\rN:A;Bob\rTEL;CELL:1\rEND:VCARD\r") << "Bob"
                             << "1";
    QTest::newRow("no final line end") << QByteArray("BEGIN:VCARD\nN:A;Bob\nTEL;CELL:1\nEND:VCARD") << "Bob"
                                       << "1";
    QTest::newRow("blank lines around")
        << QByteArray("\r\n\r\nBEGIN:VCARD\r\n\r\nN:A;Bob\r\nTEL;CELL:1\r\nEND:VCARD\r\n\r\n") << "Bob"
        << "1";
    QTest::newRow("lower case") << QByteArray("begin:vcard\nn:A;Bob\ntel;type=cell:1\nend:vcard\n") << "Bob"
                                << "1";
    QTest::newRow("tab fold") << QByteArray("BEGIN:VCARD\nN:A;B\n\tob\nTEL;CELL:+7\n 900\nEND:VCARD\n")
                              << "Bob"
                              << "+7900";
    QTest::newRow("UTF-8 byte order mark") << QByteArray("\xEF\xBB\xBF"
                                                         "BEGIN:VCARD\nN:A;\xD0\xAF\nEND:VCARD\n")
                                           << QString::fromUtf8("Я") << "";
    QTest::newRow("blanks trimmed") << QByteArray("BEGIN:VCARD\nN:A; Bob ;;;\nTEL;CELL: 12 \nEND:VCARD\n")
                                    << "Bob"
                                    << "12";
    QTest::newRow("no name at all") << QByteArray("BEGIN:VCARD\nTEL;CELL:5\nEND:VCARD\n") << ""
                                    << "5";
  }
  void lineShapes() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, name);
    QFETCH(QString, phone);
    const QList<AddressEntry> entries = VCardReader::read(bytes);
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries[0].firstName, name);
    QCOMPARE(entries[0].mobilePhone, phone);
  }
};

QTEST_GUILESS_MAIN(VCardReaderTest)
#include "test_exchange_vcard.moc"
