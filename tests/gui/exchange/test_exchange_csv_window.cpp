// The CSV import as the operator runs it from the import menu of the contacts page: the file
// dialog, the import dialog with its preview and preselected columns, the clear buttons and
// the title line, the birth-date message per unreadable line, the refusal that stops the
// import, and the contacts in the grid afterwards.
#include "ExchangeWindowFixture.h"

#include "common/LangConstants.h"
#include "data/DatabaseError.h"
#include "exchange/ExchangeError.h"
#include "gui/contacts/ContactsPage.h"
#include "gui/exchange/TFImportCSV.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>

namespace {
using Fixture = ExchangeWindowFixture;

// Every column choice as its position (-1: none) and its entries.
struct Choices {
  QList<int> positions;
  QStringList letters; // of cbx1; every list has the same
};
Choices choicesOf(const TFImportCSV &d) {
  Choices c;
  for (int n = 1; n <= 7; ++n)
    c.positions << d.columnChoice(n)->currentIndex();
  for (int i = 0; i < d.cbx1->count(); ++i)
    c.letters << d.cbx1->itemText(i);
  return c;
}
} // namespace

class CsvWindowTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TestDatabase> db;
  std::unique_ptr<Fixture> f;
  QTemporaryDir dir;
  int group = 0;

  QString file(const QByteArray &bytes) {
    static int n = 0;
    const QString path = dir.filePath(QStringLiteral("contacts%1.csv").arg(++n));
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
      qFatal("cannot write %s", qPrintable(path));
    return path;
  }
  // Chooses path in the file dialog and answers the import dialog.
  void importThrough(const QString &path, std::function<void(TFImportCSV &)> answer) {
    f->dialogs.fileAnswers << path;
    whenModalOpens<TFImportCSV>(answer);
    f->window->TS1->pmCSV2->trigger();
  }

private slots:
  void initTestCase() {
    // The operator's short date format is dd.MM.yyyy.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    db = std::make_unique<TestDatabase>();
    QVERIFY(dir.isValid());
  }
  void init() {
    f = std::make_unique<Fixture>(*db);
    group = f->currentGroup();
  }
  void cleanup() {
    QCOMPARE(f->dialogs.waitCursorDepth, 0);
    f.reset();
  }
  void cleanupTestCase() { db.reset(); }

  // The file dialog asks for *.csv files; the preview shows at most ten lines with the
  // letters as titles; the choices start at A to G where the grid has such a column, and the
  // title line is ticked. Fields beyond a short line show empty.
  void opensWithPreviewAndPreselectedColumns_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("letters");
    QTest::addColumn<QList<int>>("positions");
    QByteArray wide;
    for (int i = 0; i < 12; ++i)
      wide += "a" + QByteArray::number(i) + ",b,c,d,e,f,g,h\r\n";
    QTest::newRow("eight columns, twelve lines")
        << wide << 10 << QStringList{"A", "B", "C", "D", "E", "F", "G", "H"}
        << QList<int>{0, 1, 2, 3, 4, 5, 6};
    QTest::newRow("the last line has two fields")
        << QByteArray("1,2,3,4\r\n5,6") << 2 << QStringList{"A", "B"} << QList<int>{0, 1, -1, -1, -1, -1, -1};
    QByteArray thirty;
    for (int c = 0; c < 30; ++c)
      thirty += (c ? "," : "") + QByteArray::number(c);
    QStringList all;
    for (char c = 'A'; c <= 'Z'; ++c)
      all << QString(QChar(c));
    QTest::newRow("thirty fields: 26 columns") << thirty << 1 << all << QList<int>{0, 1, 2, 3, 4, 5, 6};
    QTest::newRow("empty file") << QByteArray() << 0 << QStringList() << QList<int>(7, -1);
  }
  void opensWithPreviewAndPreselectedColumns() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, rows);
    QFETCH(QStringList, letters);
    QFETCH(QList<int>, positions);
    Choices seen;
    int gridRows = -1;
    QStringList titles;
    bool titleTicked = false;
    QString caption;
    importThrough(file(bytes), [&](TFImportCSV &d) {
      seen = choicesOf(d);
      QAbstractItemModel *grid = d.StringGrid->model();
      gridRows = grid->rowCount();
      for (int c = 0; c < grid->columnCount(); ++c)
        titles << grid->headerData(c, Qt::Horizontal).toString();
      titleTicked = d.cbTitle->isChecked();
      caption = d.windowTitle();
      d.butCancel->click();
    });
    QCOMPARE(f->dialogs.shown.first().kind, QStringLiteral("open"));
    QCOMPARE(gridRows, rows);
    QCOMPARE(titles, letters);
    QCOMPARE(seen.letters, letters);
    QCOMPARE(seen.positions, positions);
    QVERIFY(titleTicked);
    QCOMPARE(caption, langText("English", "TForm", "FImportCSV"));
    // Cancel stores nothing.
    QVERIFY(f->rows(group).isEmpty());
  }

  // OK with the title line ticked: the first line is shown but not imported; unticked it is
  // imported too. The contacts go to the current group and the grid shows them at once.
  void titleLineAndCurrentGroup_data() {
    QTest::addColumn<bool>("titleLine");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("title line") << true << QStringList{"79001|Ann|01.02.1980", "79002|Bob|03.04.1981"};
    QTest::newRow("no title line") << false
                                   << QStringList{"Phone|Name|NULL", "79001|Ann|01.02.1980",
                                                  "79002|Bob|03.04.1981"};
  }
  void titleLineAndCurrentGroup() {
    QFETCH(bool, titleLine);
    QFETCH(QStringList, expected);
    const int other = f->addGroup("Other", 1);
    f->selectGroup(group);
    QString firstCell;
    importThrough(file("Phone,Name,Birth date\r\n79001,Ann,01.02.1980\r\n79002,Bob,03.04.1981\r\n"),
                  [&](TFImportCSV &d) {
                    firstCell = d.StringGrid->model()->index(0, 0).data().toString();
                    d.cbTitle->setChecked(titleLine);
                    d.butOK->click();
                  });
    QCOMPARE(firstCell, QStringLiteral("Phone"));
    QStringList stored;
    for (const QString &row : f->rows(group, "PHONE, NAME, BIRTHDATE")) {
      QStringList v = row.split(u'|');
      if (v[2] != u"NULL")
        v[2] = QDate::fromString(v[2], Qt::ISODate).toString("dd.MM.yyyy");
      stored << v.join(u'|');
    }
    QCOMPARE(stored, expected);
    QCOMPARE(f->rows(other).size(), 1);
    // The title line's "Birth date" is no date: one message, for that line only.
    QCOMPARE(f->dialogs.messageTexts().size(), titleLine ? 0 : 1);
    QStringList phones;
    for (const QString &row : expected)
      phones << row.section(u'|', 0, 0);
    QCOMPARE(f->gridColumn("PHONE"), phones);
  }

  // A birth date that does not read in the short date format gives the message for its line,
  // naming the contact, and the line is still imported without a date; the rest go on.
  void unreadableBirthDateIsToldAndTheRestImported() {
    importThrough(
        file("79001,Ann,01.02.1980\r\n79002,Bob,1980-02-03\r\n79003,Cid,\r\n79004,Dan,5.6.1982\r\n"),
        [](TFImportCSV &d) {
          d.cbTitle->setChecked(false);
          d.butOK->click();
        });
    const LangConstants &texts = LangConst();
    QVERIFY(!texts.stFormatError.isEmpty());
    const auto message = [&](const QString &name) {
      return texts.stFormatError + "\r\n" + texts.stContact + ": \"" + name + '"';
    };
    QCOMPARE(f->dialogs.messageTexts(), (QStringList{message("Bob"), message("Cid")}));
    for (const ScriptedDialogs::Shown &s : f->dialogs.shown)
      if (s.kind == u"message") {
        QCOMPARE(s.title, QStringLiteral("Brisklane"));
        QCOMPARE(s.icon, Dialogs::Icon::Information);
      }
    QCOMPARE(f->rows(group, "NAME, BIRTHDATE"),
             (QStringList{"Ann|1980-02-01", "Bob|NULL", "Cid|NULL", "Dan|1982-06-05"}));
    QCOMPARE(f->gridColumn("NAME"), (QStringList{"Ann", "Bob", "Cid", "Dan"}));
  }

  // The clear buttons: sb3 drops the birth date (no message, no date), sb2 the name; other
  // columns chosen by hand fill the extra fields.
  void clearButtonsAndChosenColumns() {
    importThrough(file("79001,Ann,bad,x1,y1\r\n79002,Bob,worse,x2,y2\r\n"), [](TFImportCSV &d) {
      d.cbTitle->setChecked(false);
      d.sb3->click();
      d.sb2->click();
      d.cbx4->setCurrentIndex(4); // DFIELD from E
      d.cbx5->setCurrentIndex(1); // EFIELD from B
      d.butOK->click();
    });
    QVERIFY(f->dialogs.messageTexts().isEmpty());
    QCOMPARE(f->rows(group, "PHONE, NAME, BIRTHDATE, DFIELD, EFIELD, FFIELD, GFIELD"),
             (QStringList{"79001|NULL|NULL|y1|Ann|NULL|NULL", "79002|NULL|NULL|y2|Bob|NULL|NULL"}));
  }

  // A value longer than its column stops the import at that line with the database's error,
  // thrown from the menu's handler once the dialog is closed; the lines before it stay and
  // the grid shows them.
  void refusalStopsAtItsLine() {
    f->dialogs.fileAnswers << file("79001,Ann\r\n79002,Bob\r\n123456789012345678901,Cid\r\n79004,Dan\r\n");
    whenModalOpens<TFImportCSV>([](TFImportCSV &d) {
      d.cbTitle->setChecked(false);
      d.butOK->click();
    });
    QVERIFY_THROWS_EXCEPTION(DatabaseError, f->exchange().pmCSV2Click());
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(f->rows(group), (QStringList{"79001|Ann", "79002|Bob"}));
    QCOMPARE(f->gridColumn("NAME"), (QStringList{"Ann", "Bob"}));
  }

  // A file that cannot be read tells its error and shows nothing; OK then imports nothing.
  void unreadableFileImportsNothing() {
    importThrough(dir.filePath("missing.csv"), [](TFImportCSV &d) {
      QCOMPARE(d.StringGrid->model()->rowCount(), 0);
      QCOMPARE(d.cbx1->count(), 0);
      d.butOK->click();
    });
    QCOMPARE(f->dialogs.messageTexts().size(), 1);
    QVERIFY(f->dialogs.messageTexts().first().contains("missing.csv"));
    QVERIFY(f->rows(group).isEmpty());
  }

  // Cancel in the file dialog opens nothing; with no current group the import says so and
  // asks for no file.
  void nothingToImportInto() {
    f->window->TS1->pmCSV2->trigger(); // no file answer: the dialog is cancelled
    QVERIFY(f->dialogs.messageTexts().isEmpty());
    f->dialogs.clear();
    f->execute("DELETE FROM LISTGROUPS");
    f->reload();
    QCOMPARE(f->module->IBGroups.currentRow(), -1);
    f->window->TS1->pmCSV2->trigger();
    QCOMPARE(f->dialogs.messageTexts(), QStringList{LangConst().stNoGroup});
    QCOMPARE(f->dialogs.shown.size(), 1);
  }
};

QTEST_MAIN(CsvWindowTest)
#include "test_exchange_csv_window.moc"
