// The CSV import into the current group through the dialog's core: column choices, title
// line, birth dates and their messages, NULL and empty values, refusals that stop the import
// with the lines before kept, texts the code page cannot hold, and the contact list read
// again whatever happened.
#include "ExchangeFixture.h"

#include "common/Cp1251.h"
#include "data/DatabaseError.h"
#include "exchange/CsvImportSession.h"
#include "exchange/CsvImporter.h"
#include "exchange/ExchangeError.h"
#include "exchange/TwfCSV.h"

#include <QDate>
#include <QTemporaryDir>
#include <QTest>

class CsvImportTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TestDatabase> db;
  std::unique_ptr<ExchangeFixture> f;
  QTemporaryDir dir;
  int group = 0;

  QString file(const QByteArray &bytes) {
    static int n = 0;
    const QString path = dir.filePath(QStringLiteral("import%1.csv").arg(++n));
    ExchangeFixture::writeFile(path, bytes);
    return path;
  }
  std::unique_ptr<CsvImportSession> session() {
    return std::make_unique<CsvImportSession>(f->db(), f->module->IBGroups, f->module->IBContacts, f->dialogs,
                                              f->texts, f->locale);
  }
  // PHONE, NAME, BIRTHDATE, DFIELD..GFIELD of the group's contacts in key order.
  QList<QVariantList> contacts(int inGroup) {
    return f->rows("SELECT PHONE, NAME, BIRTHDATE, DFIELD, EFIELD, FFIELD, GFIELD FROM CONTACTS "
                   "WHERE IDGROUP = :G ORDER BY ID",
                   {{"G", inGroup}});
  }

private slots:
  void initTestCase() {
    db = std::make_unique<TestDatabase>();
    QVERIFY(dir.isValid());
  }
  void init() {
    f = std::make_unique<ExchangeFixture>(*db);
    group = f->addGroup("Imported");
  }
  void cleanup() {
    QCOMPARE(f->dialogs.waitCursorDepth, 0);
    f.reset();
  }
  void cleanupTestCase() { db.reset(); }

  // Three lines, no title line, defaults kept: phone, name and birth date; the never-sent
  // columns NULL. A date the short format cannot read shows the message once for its line
  // and stores no date (not the date of the line before).
  void threeLinesWithDefaults() {
    auto s = session();
    QVERIFY(s->load(file("79001,Ann,01.02.1980\r\n79002,Bob,1980-02-03\r\n79003,Cid,5.6.1982\r\n")));
    s->columns().titleLine = false;
    QCOMPARE(s->finish(true), 3);
    QCOMPARE(contacts(group), (QList<QVariantList>{{"79001", "Ann", QDate(1980, 2, 1), {}, {}, {}, {}},
                                                   {"79002", "Bob", QVariant(), {}, {}, {}, {}},
                                                   {"79003", "Cid", QDate(1982, 6, 5), {}, {}, {}, {}}}));
    QCOMPARE(f->dialogs.shown.size(), 1);
    QCOMPARE(f->dialogs.shown[0].title, "Brisklane");
    QCOMPARE(f->dialogs.shown[0].text, "Bad date.\r\nContact: \"Bob\"");
    QCOMPARE(f->dialogs.shown[0].icon, Dialogs::Icon::Information);
    const auto never = f->rows("SELECT COUNT(*) FROM CONTACTS WHERE DATESEND IS NULL AND FERROR IS NULL AND "
                               "PARTSEND IS NULL AND SEND IS NULL AND TIMESEND IS NULL AND ID IS NOT NULL");
    QCOMPARE(never[0][0].toInt(), 3);
    // The contact list shows them.
    QCOMPARE(f->module->IBContacts.rowCount(), 3);
  }

  // With the title line ticked (as the dialog opens) the preview still shows line 0, but it
  // is not imported. All 25 lines are imported though the preview shows ten.
  void titleLineAndLongFiles_data() {
    QTest::addColumn<bool>("titleLine");
    QTest::addColumn<int>("imported");
    QTest::newRow("title line") << true << 24;
    QTest::newRow("no title line") << false << 25;
  }
  void titleLineAndLongFiles() {
    QFETCH(bool, titleLine);
    QFETCH(int, imported);
    QByteArray bytes = "Phone,Name\r\n";
    for (int i = 1; i < 25; ++i)
      bytes += "7900" + QByteArray::number(i) + ",N" + QByteArray::number(i) + "\r\n";
    auto s = session();
    QVERIFY(s->load(file(bytes)));
    QVERIFY(s->columns().titleLine);
    QCOMPARE(s->preview().rowCount(), 10);
    QCOMPARE(s->preview().data(s->preview().index(0, 0)).toString(), "Phone");
    // Two columns: only phone and name are chosen.
    QCOMPARE(s->columnLetters(), (QStringList{"A", "B"}));
    QCOMPARE(s->columns().choice(3), ImportColumns::none);
    s->columns().titleLine = titleLine;
    QCOMPARE(s->finish(true), imported);
    const auto rows = contacts(group);
    QCOMPARE(rows.size(), imported);
    QCOMPARE(rows.first()[1].toString(), titleLine ? "N1" : "Name");
    QCOMPARE(rows.last(), (QVariantList{"790024", "N24", {}, {}, {}, {}, {}}));
    QVERIFY(f->dialogs.shown.isEmpty());
  }

  // Two commas in a row give an empty middle field: stored as an empty name, not NULL. A
  // line with fewer fields than a chosen column stores NULL there.
  void emptyAndMissingFields() {
    auto s = session();
    QVERIFY(s->load(file("a,,b,d1,e1,f1,g1\r\nc\r\n1,2,01.01.2000,4,5,6,7")));
    s->columns().titleLine = false;
    QCOMPARE(s->columns().choice(7), 6);
    s->columns().clearChoice(3);
    QCOMPARE(s->finish(true), 3);
    QCOMPARE(contacts(group), (QList<QVariantList>{{"a", "", {}, "d1", "e1", "f1", "g1"},
                                                   {"c", {}, {}, {}, {}, {}, {}},
                                                   {"1", "2", {}, "4", "5", "6", "7"}}));
    // Cleared birth date column: no date read, no message.
    QVERIFY(f->dialogs.shown.isEmpty());
  }

  // Chosen columns in any order; the date message names the contact from the chosen name
  // column (empty when none is chosen or the line has none).
  void chosenColumns() {
    auto s = session();
    QVERIFY(s->load(file("x,01.02.1990,Ann,79001\r\ny,bad,Bob,79002\r\nz,??")));
    s->columns().titleLine = false;
    s->columns().setChoice(1, 3);
    s->columns().setChoice(2, 2);
    s->columns().setChoice(3, 1);
    s->columns().setChoice(4, 0);
    s->columns().clearChoice(5);
    s->columns().clearChoice(6);
    s->columns().clearChoice(7);
    QCOMPARE(s->finish(true), 3);
    QCOMPARE(contacts(group), (QList<QVariantList>{{"79001", "Ann", QDate(1990, 2, 1), "x", {}, {}, {}},
                                                   {"79002", "Bob", {}, "y", {}, {}, {}},
                                                   {{}, {}, {}, "z", {}, {}, {}}}));
    QCOMPARE(f->dialogs.messageTexts(),
             (QStringList{"Bad date.\r\nContact: \"Bob\"", "Bad date.\r\nContact: \"\""}));
  }

  // Quoted fields keep their commas, quotation marks and line breaks in the stored values;
  // a UTF-8 file's Cyrillic is stored as such.
  void quotedFieldsAndUtf8() {
    auto s = session();
    QVERIFY(s->load(file("\xEF\xBB\xBF\"79001\",\"Иванов, Иван\",,\"say \"\"hi\"\"\",\"two\r\nlines\"\r\n")));
    s->columns().titleLine = false;
    s->columns().clearChoice(3);
    QCOMPARE(s->finish(true), 1);
    QCOMPARE(contacts(group),
             (QList<QVariantList>{{"79001", "Иванов, Иван", {}, "say \"hi\"", "two\r\nlines", {}, {}}}));
  }

  // A value longer than its column stops the import at that line with the database's
  // error; the lines before stay and the contact list shows them.
  void refusedLineStopsTheImport() {
    auto s = session();
    QVERIFY(s->load(file("79001,Ann\r\n79002,Bob\r\n123456789012345678901,Cid\r\n79004,Dan\r\n")));
    s->columns().titleLine = false;
    QVERIFY_THROWS_EXCEPTION(DatabaseError, s->finish(true));
    QCOMPARE(contacts(group).size(), 2);
    QCOMPARE(f->module->IBContacts.rowCount(), 2);
    QVERIFY(!s->reader());
  }

  // A UTF-8 text the Windows Cyrillic code page cannot hold is refused with its line of the
  // file (counting the lines inside a quoted field), never stored as "?".
  void textOutsideTheCodePage() {
    auto s = session();
    QVERIFY(s->load(file("79001,Ann\r\n\"79002\r\n\",Bob\r\n79003,Zhōu 中\r\n79004,Dan\r\n")));
    s->columns().titleLine = false;
    try {
      s->finish(true);
      QFAIL("the import went through");
    } catch (const CsvImportError &e) {
      QCOMPARE(e.text(), "Line 4: \"ō\" cannot be stored.");
    }
    QCOMPARE(contacts(group).size(), 2);
    QVERIFY(f->rows("SELECT ID FROM CONTACTS WHERE NAME CONTAINING '?'").isEmpty());
  }

  // Cancel inserts nothing but reads the contact list again all the same.
  void cancelRefreshesOnly() {
    auto s = session();
    QVERIFY(s->load(file("79001,Ann\r\n")));
    f->execute("INSERT INTO CONTACTS (ID, IDGROUP, NAME) VALUES (GEN_ID(GEN_CONTACTS_ID, 1), :G, 'Other')",
               {{"G", group}});
    QCOMPARE(f->module->IBContacts.rowCount(), 0);
    QCOMPARE(s->finish(false), 0);
    QCOMPARE(contacts(group).size(), 1);
    QCOMPARE(f->module->IBContacts.rowCount(), 1);
    QVERIFY(!s->reader());
  }

  // An empty file previews nothing and imports nothing.
  void emptyFile() {
    auto s = session();
    QVERIFY(s->load(file("")));
    QCOMPARE(s->preview().rowCount(), 0);
    QCOMPARE(s->preview().columnCount(), 0);
    QVERIFY(s->columnLetters().isEmpty());
    QCOMPARE(s->finish(true), 0);
    QVERIFY(contacts(group).isEmpty());
  }

  // A file that cannot be read: its error is shown, the preview stays empty, the reader is
  // discarded and OK imports nothing.
  void unreadableFile() {
    auto s = session();
    QVERIFY(!s->load(dir.filePath("missing.csv")));
    QCOMPARE(f->dialogs.shown.size(), 1);
    QVERIFY(f->dialogs.shown[0].text.contains("missing.csv"));
    QVERIFY(!s->reader());
    QCOMPARE(s->preview().rowCount(), 0);
    QCOMPARE(s->finish(true), 0);
  }

  // New contacts go to the group current when OK is pressed; with no group nothing is
  // imported (the contacts would belong to no group and show nowhere).
  void groupCurrentAtOk() {
    const int other = f->addGroup("Other");
    auto s = session();
    QVERIFY(s->load(file("79001,Ann\r\n")));
    s->columns().titleLine = false;
    f->selectGroup(group);
    QCOMPARE(s->finish(true), 1);
    QCOMPARE(contacts(group).size(), 1);
    QVERIFY(contacts(other).isEmpty());

    TwfCSV reader;
    reader.ReadBytes("79002,Bob");
    ImportColumns columns = ImportColumns::defaults(2);
    CsvImporter importer(f->db(), f->dialogs, f->texts, f->locale);
    QVERIFY_THROWS_EXCEPTION(CsvImportError, importer.run(reader, columns, QVariant()));
    QCOMPARE(f->rows("SELECT COUNT(*) FROM CONTACTS")[0][0].toInt(), 1);
  }

  // Each new contact takes its key from the generator.
  void keysFromTheGenerator() {
    const int before = f->rows("SELECT GEN_ID(GEN_CONTACTS_ID, 0) FROM RDB$DATABASE")[0][0].toInt();
    TwfCSV reader;
    reader.ReadBytes("1\r\n2\r\n");
    ImportColumns columns = ImportColumns::defaults(1);
    columns.titleLine = false;
    QCOMPARE(CsvImporter(f->db(), f->dialogs, f->texts, f->locale).run(reader, columns, group), 2);
    const auto ids = f->rows("SELECT ID FROM CONTACTS ORDER BY ID");
    QCOMPARE(ids, (QList<QVariantList>{{before + 1}, {before + 2}}));
  }
};

QTEST_GUILESS_MAIN(CsvImportTest)
#include "test_csv_import.moc"
