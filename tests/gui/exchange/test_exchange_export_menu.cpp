// The export menu of the contacts page: the field choice dialog opens with every field
// ticked, and OK writes the listed contacts' ticked fields to the CSV file named in the save
// dialog, or to a new spreadsheet that the desktop's program is asked to open.
#include "ExchangeWindowFixture.h"
#include "XlsxSheet.h"

#include "common/Cp1251.h"
#include "common/LangConstants.h"
#include "exchange/ExchangeError.h"
#include "exchange/XlsxWorkbook.h"
#include "gui/contacts/ContactsPage.h"
#include "gui/contacts/TFListVis.h"
#include "select/ContactListFilter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {
using Fixture = ExchangeWindowFixture;

// Ticks exactly the entries listed (by their position) and presses OK.
std::function<void(TFListVis &)> tickOnly(QList<int> entries, QList<bool> *opening = nullptr) {
  return [entries, opening](TFListVis &d) {
    if (opening)
      *opening = d.ticks();
    d.Button3->click();
    for (int k : entries)
      d.setTicked(k, true);
    d.Button2->click();
  };
}

QByteArray readAll(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}
} // namespace

class ExportMenuTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TestDatabase> db;
  std::unique_ptr<Fixture> f;
  QTemporaryDir dir;
  int group = 0;

  // Contacts of the current group with phone, name, birth date and the count of parts.
  void addContacts(int count) {
    for (int i = 0; i < count; ++i)
      f->execute("INSERT INTO CONTACTS (ID, IDGROUP, PHONE, NAME, BIRTHDATE, PARTSEND) VALUES "
                 "(GEN_ID(GEN_CONTACTS_ID, 1), :G, :P, :N, :B, :S)",
                 {{"G", group},
                  {"P", QStringLiteral("7900%1").arg(i)},
                  {"N", i == 0 ? QStringLiteral("Иванов, Иван") : QStringLiteral("Name %1").arg(i)},
                  {"B", QDate(1980, 2, 1).addDays(i)},
                  {"S", i}});
    f->reload();
    f->selectGroup(group);
  }

private slots:
  void initTestCase() {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    db = std::make_unique<TestDatabase>();
    QVERIFY(dir.isValid());
  }
  void init() {
    f = std::make_unique<Fixture>(*db);
    group = f->currentGroup("Export");
  }
  void cleanup() {
    QCOMPARE(f->dialogs.waitCursorDepth, 0);
    f.reset();
  }
  void cleanupTestCase() { db.reset(); }

  // The ticked fields of the listed contacts, in list order, one CR LF line each, cp1251;
  // only the current group's contacts. ".csv" is added only when the name lacks it.
  void csvOfTickedFields_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::newRow("without extension") << "contacts"
                                       << "contacts.csv";
    QTest::newRow("with extension") << "contacts.csv"
                                    << "contacts.csv";
    QTest::newRow("upper-case extension") << "CONTACTS.CSV"
                                          << "CONTACTS.CSV";
    QTest::newRow("another extension") << "contacts.txt"
                                       << "contacts.txt.csv";
  }
  void csvOfTickedFields() {
    QFETCH(QString, typed);
    QFETCH(QString, written);
    addContacts(2);
    const int other = f->addGroup("Other", 2);
    Q_UNUSED(other);
    f->selectGroup(group);
    QDir(dir.path()).removeRecursively();
    QVERIFY(QDir().mkpath(dir.path()));
    QList<bool> opening;
    f->dialogs.fileAnswers << dir.filePath(typed);
    whenModalOpens<TFListVis>(tickOnly({1, 0, 2}, &opening));
    f->window->TS1->CSV1->trigger();
    QCOMPARE(opening, QList<bool>(12, true));
    QCOMPARE(f->dialogs.shown.last().kind, QStringLiteral("save"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{written});
    // The name holding a comma is quoted, so the file reads back as written.
    QCOMPARE(readAll(dir.filePath(written)),
             cp1251::encode(
                 QString::fromUtf8("79000,\"Иванов, Иван\",01.02.1980\r\n79001,Name 1,02.02.1980\r\n")));
  }

  // With a filter in force both exports take only the contacts the list shows, in its order.
  void filterInForce() {
    addContacts(4);
    ContactListFilter(f->module->IBContacts).apply("PARTSEND IN (1, 3)");
    QCOMPARE(f->gridColumn("PHONE"), (QStringList{"79001", "79003"}));
    f->dialogs.fileAnswers << dir.filePath("filtered");
    whenModalOpens<TFListVis>(tickOnly({0}));
    f->window->TS1->CSV1->trigger();
    QCOMPARE(readAll(dir.filePath("filtered.csv")), QByteArray("79001\r\n79003\r\n"));

    whenModalOpens<TFListVis>(tickOnly({0}));
    f->window->TS1->MSExcel1->trigger();
    QCOMPARE(f->dialogs.openedDocuments.size(), 1);
    const XlsxSheet sheet(f->dialogs.openedDocuments.first());
    QDir(QFileInfo(f->dialogs.openedDocuments.first()).path()).removeRecursively();
    QCOMPARE(sheet.cells.size(), 3);
    QCOMPARE(sheet.cells.value("A2").value, QStringLiteral("79001"));
    QCOMPARE(sheet.cells.value("A3").value, QStringLiteral("79003"));
  }

  // Cancel in the save dialog writes nothing; no field ticked is told and asks for no file.
  void nothingWritten() {
    addContacts(1);
    QDir(dir.path()).removeRecursively();
    QVERIFY(QDir().mkpath(dir.path()));
    whenModalOpens<TFListVis>(tickOnly({0}));
    f->window->TS1->CSV1->trigger(); // no file answer: cancelled
    QCOMPARE(f->dialogs.shown.last().kind, QStringLiteral("save"));
    QVERIFY(QDir(dir.path()).isEmpty());

    f->dialogs.clear();
    whenModalOpens<TFListVis>(tickOnly({}));
    try {
      f->exchange().CSV1Click();
      QFAIL("nothing ticked went through");
    } catch (const ExportError &e) {
      QCOMPARE(e.text(), LangConst().stNoExportFields);
    }
    QVERIFY(f->dialogs.shown.isEmpty());

    // Cancel in the field choice: no save dialog.
    whenModalOpens<TFListVis>([](TFListVis &d) { d.Button1->click(); });
    f->window->TS1->CSV1->trigger();
    QVERIFY(f->dialogs.shown.isEmpty());
  }

  // Three ticked fields and ten contacts fill A1:C11: the field names in row 1, then the
  // contacts as typed cells. The workbook lies in a folder of its own under the temporary
  // folder and is handed to the desktop's program.
  void spreadsheetOfTickedFields() {
    addContacts(10);
    whenModalOpens<TFListVis>(tickOnly({0, 1, 2}));
    f->window->TS1->MSExcel1->trigger();
    QCOMPARE(f->dialogs.openedDocuments.size(), 1);
    const QString path = f->dialogs.openedDocuments.first();
    QVERIFY(f->dialogs.messageTexts().isEmpty());
    QVERIFY(QFileInfo(path).isFile());
    QVERIFY(path.startsWith(QDir::tempPath()));
    QVERIFY(path.endsWith(".xlsx"));
    const XlsxSheet sheet(path);
    QDir(QFileInfo(path).path()).removeRecursively();

    QCOMPARE(sheet.cells.size(), 33);
    const QString lang = CurrentLang();
    QCOMPARE(sheet.cells.value("A1").value, langText(lang, "Fields", "fPhone"));
    QCOMPARE(sheet.cells.value("B1").value, langText(lang, "Fields", "fName"));
    QCOMPARE(sheet.cells.value("C1").value, langText(lang, "Fields", "fBirthDate"));
    for (int i = 0; i < 10; ++i) {
      const XlsxCell phone = sheet.cells.value(XlsxSheet::ref(i + 1, 0));
      QCOMPARE(phone.value, QStringLiteral("7900%1").arg(i));
      QVERIFY(phone.type != u"n"); // a text, not a number
      const XlsxCell birth = sheet.cells.value(XlsxSheet::ref(i + 1, 2));
      QCOMPARE(birth.type, QStringLiteral("n"));
      QCOMPARE(birth.value.toDouble(), XlsxWorkbook::serialDate(QDate(1980, 2, 1).addDays(i)));
    }
    QCOMPARE(sheet.cells.value("B2").value, QStringLiteral("Иванов, Иван"));
    QVERIFY(!sheet.cells.contains("D1"));
    QVERIFY(!sheet.cells.contains("A12"));
  }

  // No program to show the workbook: the operator is told where it is. No field ticked: a
  // message and no file.
  void spreadsheetNotShownOrNothingTicked() {
    addContacts(1);
    f->dialogs.openDocumentSucceeds = false;
    whenModalOpens<TFListVis>(tickOnly({0}));
    f->window->TS1->MSExcel1->trigger();
    QCOMPARE(f->dialogs.openedDocuments.size(), 1);
    const QString path = f->dialogs.openedDocuments.first();
    QCOMPARE(f->dialogs.messageTexts(), QStringList{LangConst().stSheetNotOpened.arg(path)});
    QVERIFY(f->dialogs.messageTexts().first().contains(path));
    QVERIFY(QFileInfo(path).isFile());
    QDir(QFileInfo(path).path()).removeRecursively();

    f->dialogs.clear();
    f->dialogs.openedDocuments.clear();
    whenModalOpens<TFListVis>(tickOnly({}));
    QVERIFY_THROWS_EXCEPTION(ExportError, f->exchange().MSExcel1Click());
    QVERIFY(f->dialogs.openedDocuments.isEmpty());
  }
};

QTEST_MAIN(ExportMenuTest)
#include "test_exchange_export_menu.moc"
