// The CSV and spreadsheet exports of the listed contacts with the ticked fields: exact CSV
// bytes, quoting, NULL values, the file name, filters and empty lists, a CSV round trip
// through the reader, and the .xlsx read back for its block and its cell types.
#include "ExchangeFixture.h"
#include "XlsxSheet.h"

#include "common/Cp1251.h"
#include "exchange/ContactExporter.h"
#include "exchange/ContactListQuery.h"
#include "exchange/CsvExport.h"
#include "exchange/ExchangeError.h"
#include "exchange/ExportField.h"
#include "exchange/SpreadsheetExport.h"
#include "exchange/TwfCSV.h"
#include "exchange/XlsxWorkbook.h"

#include <QDate>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using field_choice::Entry;

namespace {
const QStringList titles{"Phone",   "Name", "Birth date", "Field 1",   "Field 2", "Field 3",
                         "Field 4", "Sent", "Date sent",  "Time sent", "Parts",   "Error"};
// The twelve entries of the field choice, ticked where pattern has an "x".
QList<Entry> entries(const QString &pattern) {
  QList<Entry> out;
  for (int k = 0; k < titles.size(); ++k)
    out.append({titles[k], k < pattern.size() && pattern[k] == u'x'});
  return out;
}
} // namespace

class ContactExportTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TestDatabase> db;
  std::unique_ptr<ExchangeFixture> f;
  QTemporaryDir dir;
  int group = 0;

  void addContact(const QVariantMap &values) {
    QVariantMap v = values;
    v.insert("IDGROUP", group);
    QStringList names = v.keys(), params;
    for (const QString &n : names)
      params << ":" + n;
    f->execute(QString("INSERT INTO CONTACTS (ID, %1) VALUES (GEN_ID(GEN_CONTACTS_ID, 1), %2)")
                   .arg(names.join(", "), params.join(", ")),
               v);
  }
  void reloadList() {
    f->module->IBContacts.close();
    f->module->IBContacts.open();
  }
  ContactExporter exporter() {
    return ContactExporter(f->db(), f->module->IBContacts, f->dialogs, f->texts, f->locale);
  }
  QByteArray exportCsv(const QString &pattern, const QString &name = "out") {
    f->dialogs.fileAnswers.enqueue(dir.filePath(name));
    const std::optional<QString> path = exporter().toCsv(entries(pattern));
    if (!path)
      qFatal("the export was cancelled");
    return ExchangeFixture::readFile(*path);
  }

private slots:
  void initTestCase() {
    db = std::make_unique<TestDatabase>();
    QVERIFY(dir.isValid());
  }
  void init() {
    f = std::make_unique<ExchangeFixture>(*db);
    group = f->addGroup("Listed");
  }
  void cleanup() {
    QCOMPARE(f->dialogs.waitCursorDepth, 0);
    f.reset();
  }
  void cleanupTestCase() { db.reset(); }

  // Phone and name of two contacts: two lines, no title line, CR LF each. One field: no comma.
  void phoneAndName() {
    addContact({{"PHONE", "79001"}, {"NAME", "Анна"}});
    addContact({{"PHONE", "79002"}, {"NAME", "Bob"}});
    reloadList();
    QCOMPARE(exportCsv("xx"), cp1251::encode(u"79001,Анна\r\n79002,Bob\r\n"));
    QCOMPARE(exportCsv(".x"), cp1251::encode(u"Анна\r\nBob\r\n"));
  }

  // Every type as the operator's locale writes it; a NULL integer, date or time is an empty
  // field (not 0, 30.12.1899 or 0:00:00), as is a NULL text.
  void valuesByType() {
    addContact({{"PHONE", "79001"},
                {"NAME", "Ann"},
                {"BIRTHDATE", QDate(1980, 2, 1)},
                {"SEND", 1},
                {"DATESEND", QDate(2024, 12, 31)},
                {"TIMESEND", QTime(9, 5, 7)},
                {"PARTSEND", 2},
                {"FERROR", 0}});
    addContact({{"PHONE", "79002"}});
    reloadList();
    QCOMPARE(exportCsv("xxxxxxxxxxxx"), QByteArray("79001,Ann,01.02.1980,,,,,1,31.12.2024,09:05:07,2,0\r\n"
                                                   "79002,,,,,,,,,,,\r\n"));
  }

  // Values holding commas, quotation marks or line breaks are quoted (RFC 4180) and read
  // back through the reader to the stored values; others are written as they are.
  void quotingRoundTrip() {
    const QStringList names{"Smith, John", "say \"hi\"", "two\r\nlines", "lone\nLF", " blanks ", "Иван"};
    for (const QString &n : names)
      addContact({{"PHONE", "7"}, {"NAME", n}});
    reloadList();
    const QByteArray bytes = exportCsv("xx");
    QCOMPARE(bytes, cp1251::encode(u"7,\"Smith, John\"\r\n7,\"say \"\"hi\"\"\"\r\n7,\"two\r\nlines\"\r\n"
                                   u"7,\"lone\nLF\"\r\n7, blanks \r\n7,Иван\r\n"));
    TwfCSV back;
    back.ReadBytes(bytes);
    QCOMPARE(back.RecordCount, names.size());
    for (int i = 0; i < names.size(); ++i)
      QCOMPARE(back.Records[i], (QStringList{"7", names[i]}));
    QCOMPARE(csv_export::field("plain"), "plain");
    QCOMPARE(csv_export::field(""), "");
  }

  void fileNames_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::newRow("without suffix") << "contacts"
                                    << "contacts.csv";
    QTest::newRow("with suffix") << "contacts.csv"
                                 << "contacts.csv";
    QTest::newRow("upper-case suffix") << "contacts.CSV"
                                       << "contacts.CSV";
    QTest::newRow("other suffix") << "contacts.txt"
                                  << "contacts.txt.csv";
  }
  void fileNames() {
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    QCOMPARE(csv_export::fileNameFor(chosen), written);
    addContact({{"PHONE", "1"}});
    reloadList();
    f->dialogs.fileAnswers.enqueue(dir.filePath(chosen));
    QCOMPARE(exporter().toCsv(entries("x")), std::optional<QString>(dir.filePath(written)));
    QCOMPARE(ExchangeFixture::readFile(dir.filePath(written)), QByteArray("1\r\n"));
    QFile::remove(dir.filePath(written));
  }

  // Only the listed contacts: the current group, narrowed by the filter in force, in order;
  // an empty list gives an empty file, replacing an existing one.
  void listedContactsOnly() {
    addContact({{"PHONE", "1"}, {"NAME", "Ann"}});
    addContact({{"PHONE", "2"}, {"NAME", "Bob"}});
    addContact({{"PHONE", "3"}, {"NAME", "Amy"}});
    const int other = f->addGroup("Other");
    f->execute("INSERT INTO CONTACTS (ID, IDGROUP, PHONE) VALUES (GEN_ID(GEN_CONTACTS_ID, 1), :G, '9')",
               {{"G", other}});
    f->selectGroup(group);
    DataSet &list = f->module->IBContacts;
    list.close();
    list.setSelectSql("SELECT * FROM CONTACTS\nWHERE (NAME LIKE 'A%') AND IDGROUP = :ID");
    list.open();
    QCOMPARE(ContactListQuery::of(list).params.value("ID").toInt(), group);
    QCOMPARE(exportCsv("x", "filtered.csv"), QByteArray("1\r\n3\r\n"));

    f->selectGroup(other);
    list.close();
    list.setSelectSql("SELECT * FROM CONTACTS\nWHERE (NAME LIKE 'Z%') AND IDGROUP = :ID");
    list.open();
    QCOMPARE(exportCsv("x", "filtered.csv"), QByteArray());
    QVERIFY(QFile::exists(dir.filePath("filtered.csv")));
  }

  // Cancelling the save dialog writes nothing; no ticked field asks nothing and writes nothing;
  // a file that cannot be created is an error and leaves an existing file as it was.
  void nothingWritten() {
    addContact({{"PHONE", "1"}});
    reloadList();
    f->dialogs.fileAnswers.enqueue(QString());
    QCOMPARE(exporter().toCsv(entries("x")), std::nullopt);
    QVERIFY_THROWS_EXCEPTION(ExportError, exporter().toCsv(entries("")));
    QVERIFY(f->dialogs.fileAnswers.isEmpty());
    f->dialogs.fileAnswers.enqueue(dir.filePath("no/such/folder/out.csv"));
    QVERIFY_THROWS_EXCEPTION(ExportError, exporter().toCsv(entries("x")));

    const QString kept = dir.filePath("kept.csv");
    ExchangeFixture::writeFile(kept, "old\r\n");
    ContactListQuery broken{"SELECT * FROM NO_SUCH_TABLE", {}};
    QVERIFY_THROWS_EXCEPTION(AppError,
                             csv_export::write(f->db(), broken, ExportField::ticked(entries("x")), kept));
    QCOMPARE(ExchangeFixture::readFile(kept), QByteArray("old\r\n"));
  }

  // Three ticked fields, ten contacts: A1:C11 filled, the field names in row 1, then one row
  // per contact in list order with typed cells; NULL cells empty.
  void spreadsheetBlockAndTypes() {
    for (int i = 0; i < 10; ++i)
      addContact({{"PHONE", QString("7900%1").arg(i)},
                  {"BIRTHDATE", i % 2 ? QVariant(QDate(1980, 2, 1).addDays(i)) : QVariant()},
                  {"SEND", i == 3 ? QVariant() : QVariant(i)},
                  {"TIMESEND", i ? QVariant(QTime(12, 0, 0)) : QVariant()}});
    reloadList();
    const QString path = exporter().toSpreadsheet(entries("x.x....x.x"), dir.path());
    QVERIFY(path.startsWith(dir.path()));
    QVERIFY(path.endsWith(".xlsx"));
    const XlsxSheet sheet(path);
    // Row 1: the names of the ticked fields.
    const QStringList header{"Phone", "Birth date", "Sent", "Time sent"};
    for (int c = 0; c < header.size(); ++c) {
      QCOMPARE(sheet.cells.value(XlsxSheet::ref(0, c)).value, header[c]);
      QVERIFY(sheet.cells.value(XlsxSheet::ref(0, c)).type != "n");
    }
    for (int i = 0; i < 10; ++i) {
      const XlsxCell phone = sheet.cells.value(XlsxSheet::ref(i + 1, 0));
      QVERIFY(phone.type == "s" || phone.type == "inlineStr");
      QCOMPARE(phone.value, QString("7900%1").arg(i));
      const QString birth = XlsxSheet::ref(i + 1, 1);
      if (i % 2) {
        QCOMPARE(sheet.cells.value(birth).type, "n");
        QCOMPARE(sheet.cells.value(birth).value.toDouble(),
                 XlsxWorkbook::serialDate(QDate(1980, 2, 1).addDays(i)));
        QCOMPARE(sheet.cells.value(birth).numFmt, 14); // short date
      } else {
        QVERIFY2(!sheet.cells.contains(birth), qPrintable(birth));
      }
      const QString sent = XlsxSheet::ref(i + 1, 2);
      if (i == 3) {
        QVERIFY(!sheet.cells.contains(sent));
      } else {
        QCOMPARE(sheet.cells.value(sent).type, "n");
        QCOMPARE(sheet.cells.value(sent).value.toInt(), i);
        QCOMPARE(sheet.cells.value(sent).numFmt, 0);
      }
      const QString time = XlsxSheet::ref(i + 1, 3);
      QCOMPARE(sheet.cells.contains(time), i != 0);
      if (i) {
        QCOMPARE(sheet.cells.value(time).value.toDouble(), 0.5);
        QCOMPARE(sheet.cells.value(time).numFmt, 21); // h:mm:ss
      }
    }
    QVERIFY(!sheet.cells.contains("A12"));
    QVERIFY(!sheet.cells.contains("E1"));

    // The edge case as stated: three fields and ten contacts fill A1:C11 (and no cell
    // outside it), the NULL values leaving theirs empty.
    const XlsxSheet three(exporter().toSpreadsheet(entries("x.x....x"), dir.path()));
    QStringList filled = three.cells.keys();
    filled.sort();
    QStringList block{"A1", "B1", "C1"};
    for (int i = 0; i < 10; ++i) {
      block << XlsxSheet::ref(i + 1, 0);
      if (i % 2)
        block << XlsxSheet::ref(i + 1, 1);
      if (i != 3)
        block << XlsxSheet::ref(i + 1, 2);
    }
    block.sort();
    QCOMPARE(filled, block);
    QVERIFY(filled.contains("C11"));
  }

  // More than 26 fields go on past Z; no field writes no file.
  void spreadsheetWidthAndNoFields() {
    addContact({{"PHONE", "1"}, {"NAME", "Ann"}});
    reloadList();
    QList<ExportField> fields;
    for (int k = 0; k < 28; ++k)
      fields.append({k % 2, QString("F%1").arg(k)});
    const QString path = spreadsheet_export::newFilePath(dir.path());
    QCOMPARE(
        spreadsheet_export::write(f->db(), ContactListQuery::of(f->module->IBContacts), fields, path, "none"),
        1);
    const XlsxSheet sheet(path);
    QCOMPARE(sheet.cells.value("AB1").value, "F27");
    QCOMPARE(sheet.cells.value("AA2").value, "1");
    QCOMPARE(sheet.cells.value("AB2").value, "Ann");

    const int before = QDir(dir.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size();
    try {
      exporter().toSpreadsheet(entries(""), dir.path());
      QFAIL("a spreadsheet without fields was made");
    } catch (const ExportError &e) {
      QCOMPARE(e.text(), "No field.");
    }
    QCOMPARE(QDir(dir.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), before);
  }

  // Day numbers of the spreadsheet's calendar.
  void serialDates() {
    QCOMPARE(XlsxWorkbook::serialDate(QDate(1900, 1, 1)), 1.0);
    QCOMPARE(XlsxWorkbook::serialDate(QDate(1900, 2, 28)), 59.0);
    QCOMPARE(XlsxWorkbook::serialDate(QDate(1900, 3, 1)), 61.0);
    QCOMPARE(XlsxWorkbook::serialDate(QDate(2024, 1, 1)), 45292.0);
  }
};

QTEST_GUILESS_MAIN(ContactExportTest)
#include "test_contact_export.moc"
