// The filter button's menu over a real database: its items as saved filters and the list's
// state give them, choosing a saved filter, removing the filter, the birthday selection,
// the list of saved filters, and failures reaching the operator through the general error
// report, as the program runs them.
#include "SelectionFixture.h"

#include "gui/base/DBEdit.h"
#include "gui/base/ErrorReport.h"
#include "gui/select/TFAddFilter.h"
#include "gui/select/TFListFilter.h"
#include "select/BirthdaySelection.h"

#include <QPushButton>
#include <QTableView>

namespace {

// Chooses a menu item as a click does: delivered as an event, so what it throws reaches the
// general error report.
void choose(QAction *item) {
  QVERIFY(item);
  QMetaObject::invokeMethod(item, &QAction::trigger, Qt::QueuedConnection);
  QCoreApplication::processEvents();
}

} // namespace

class TestFilterMenu : public QObject {
  Q_OBJECT

  std::unique_ptr<TestDatabase> db;
  std::unique_ptr<SelectionFixture> f;

  // Group 1: Anna, Boris, Ivan; group 2: Anna.
  void contacts(SelectionFixture &s) {
    s.addGroup(1, "One");
    s.addGroup(2, "Two");
    for (const char *name : {"Anna", "Boris", "Ivan"})
      s.addContact(1, name);
    s.addContact(2, "Anna");
  }
  const QStringList wholeGroup{"Anna", "Boris", "Ivan"};
  const QStringList fixedItems{"FI_Space", "FI_Birth", "FI_Edit"};
  const QStringList fixedWithBreak{"FI_Space", "FI_Birth", "FI_Break", "FI_Edit"};

private slots:
  void initTestCase() { db = std::make_unique<TestDatabase>(); }
  void init() { f = std::make_unique<SelectionFixture>(*db); }
  void cleanup() { f.reset(); }
  void cleanupTestCase() { db.reset(); }

  void theMenu_data() {
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QString>("inForce"); // "", "built", "saved", "birthday" or "removed"
    QTest::addColumn<bool>("offersBreak");
    QTest::newRow("none saved, no filter") << false << "" << false;
    QTest::newRow("none saved, a built filter") << false << "built" << true;
    QTest::newRow("none saved, the birthday selection") << false << "birthday" << true;
    QTest::newRow("7 and 3 saved, no filter") << true << "" << false;
    QTest::newRow("7 and 3 saved, 3 chosen") << true << "saved" << true;
    QTest::newRow("7 and 3 saved, the filter removed") << true << "removed" << false;
  }
  void theMenu() {
    QFETCH(bool, saved);
    QFETCH(QString, inForce);
    QFETCH(bool, offersBreak);
    contacts(*f);
    if (saved) { // stored in this order, which is the table's order
      f->addSavedFilter(7, "Ivan only", "(NAME = 'Ivan')");
      f->addSavedFilter(3, "Anna or Boris", "(NAME = 'Anna') OR (NAME = 'Boris')");
    }
    f->reload(1);
    FilterCommands &commands = f->controller->commands();
    if (inForce == "built")
      QVERIFY(commands.applyBuilt("(NAME = 'Anna')"));
    else if (inForce == "saved" || inForce == "removed")
      commands.FilterClick(3);
    else if (inForce == "birthday")
      f->controller->pmBirthDayClick();
    if (inForce == "removed")
      commands.BreakFiltClick();

    const QStringList names = f->menuNames();
    QCOMPARE(names, (saved ? QStringList{"FI_7", "FI_3"} : QStringList{}) +
                        (offersBreak ? fixedWithBreak : fixedItems));
    // The 45-character rule on the list's statement, each line followed by CR LF.
    const QString statement = QString(f->module.IBContacts.selectSql()).replace("\n", "\r\n") + "\r\n";
    QCOMPARE(statement.size() > 45, offersBreak);
    for (QAction *item : f->page.PMFilter->actions()) {
      const bool savedItem = item->objectName()[3].isDigit();
      QCOMPARE(item->property("tag").toInt(), savedItem ? item->objectName().mid(3).toInt() : 0);
      QCOMPARE(item->isSeparator(), item->objectName() == "FI_Space");
      QCOMPARE(item->isChecked(), item->objectName() == "FI_3" && inForce == "saved");
      QVERIFY(item->isEnabled());
    }
    if (saved) {
      QCOMPARE(f->menuItem("FI_7")->text(), "Ivan only");
      QCOMPARE(f->menuItem("FI_3")->text(), "Anna or Boris");
    }
    QCOMPARE(f->menuItem("FI_Birth")->text(), LangConst().stBirthDay);
    QCOMPARE(f->menuItem("FI_Edit")->text(), langText("English", "TMenuItem", "pmEdit"));
    if (offersBreak)
      QCOMPARE(f->menuItem("FI_Break")->text(), LangConst().pmBreak);
    // Rebuilt, not added to, at each opening.
    QCOMPARE(f->menuNames(), names);
  }

  void aChosenSavedFilterIsInForceUntilRemoved() {
    contacts(*f);
    const QString condition = "(NAME = 'Anna') OR (NAME = 'Boris')";
    f->addSavedFilter(3, "Anna or Boris", condition);
    f->reload(1);
    QVERIFY(f->controller->commands().applyBuilt("(NAME = 'Ivan')"));
    f->menuNames();
    choose(f->menuItem("FI_3"));
    QCOMPARE(f->module.IBContacts.selectSql(),
             "SELECT * FROM CONTACTS\nWHERE (" + condition + ") AND (IDGROUP = :ID)");
    QCOMPARE(f->listedNames(), QStringList({"Anna", "Boris"}));
    QCOMPARE(f->selection.currentFilter(), condition);
    // The preview and the dispatch over all groups use it too.
    QCOMPARE(f->selection.recipientQuery("NAME"), "SELECT NAME FROM CONTACTS WHERE (" + condition + ")");

    f->menuNames();
    choose(f->menuItem("FI_Break"));
    QCOMPARE(f->selection.currentFilter(), QString());
    QCOMPARE(f->module.IBContacts.selectSql(), TDModule::contactsSelectSql);
    QCOMPARE(f->listedNames(), wholeGroup);
    QCOMPARE(f->menuNames(), QStringList{"FI_3"} + fixedItems);
    QVERIFY(f->dialogs.shown.isEmpty());
  }

  void aSavedFilterTheDatabaseRejectsIsReportedAndCanBeRemoved() {
    contacts(*f);
    f->addSavedFilter(4, "broken", "(NOSUCH = '1')");
    f->reload(1);
    QVERIFY(f->controller->commands().applyBuilt("(NAME = 'Ivan')"));
    f->menuNames();
    choose(f->menuItem("FI_4"));
    QCOMPARE(f->dialogs.shown.size(), 1); // the general error report, with the database's text
    QVERIFY2(f->dialogs.shown[0].text.contains("NOSUCH"), qPrintable(f->dialogs.shown[0].text));
    QCOMPARE(f->dialogs.shown[0].title, "Brisklane");
    QCOMPARE(f->dialogs.shown[0].icon, Dialogs::Icon::Error);
    QVERIFY(!f->module.IBContacts.isOpen());
    QCOMPARE(f->selection.currentFilter(), QString());

    QCOMPARE(f->menuNames(), QStringList{"FI_4"} + fixedWithBreak);
    choose(f->menuItem("FI_Break"));
    QVERIFY(f->module.IBContacts.isOpen());
    QCOMPARE(f->listedNames(), wholeGroup);
    QCOMPARE(f->dialogs.shown.size(), 1);
  }

  void theBirthdaySelection_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("condition");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QStringList>("allGroups");
    QTest::newRow("29 February")
        << QDate(2024, 2, 29) << "(EXTRACT(DAY FROM BIRTHDATE) = 29) AND (EXTRACT(MONTH FROM BIRTHDATE) = 2)"
        << QStringList{"Leap 1996", "Leap 2000"} << QStringList{"Leap 1996", "Leap 2000", "Leap 1980"};
    QTest::newRow("1 March, no leading zeros")
        << QDate(2023, 3, 1) << "(EXTRACT(DAY FROM BIRTHDATE) = 1) AND (EXTRACT(MONTH FROM BIRTHDATE) = 3)"
        << QStringList{"March"} << QStringList{"March"};
    QTest::newRow("nobody's birthday")
        << QDate(2023, 12, 31)
        << "(EXTRACT(DAY FROM BIRTHDATE) = 31) AND (EXTRACT(MONTH FROM BIRTHDATE) = 12)" << QStringList{}
        << QStringList{};
  }
  void theBirthdaySelection() {
    QFETCH(QDate, today);
    QFETCH(QString, condition);
    QFETCH(QStringList, listed);
    QFETCH(QStringList, allGroups);
    f->addGroup(1, "One");
    f->addGroup(2, "Two");
    f->addContact(1, "Leap 2000", {}, "2000-02-29");
    f->addContact(1, "Leap 1996", {}, "1996-02-29");
    f->addContact(1, "February 28", {}, "2001-02-28");
    f->addContact(1, "March", {}, "2001-03-01");
    f->addContact(1, "No date");
    f->addContact(2, "Leap 1980", {}, "1980-02-29");
    f->reload(1);
    f->today = today;
    f->menuNames();
    choose(f->menuItem("FI_Birth"));
    const QString d = QString::number(today.day()), m = QString::number(today.month());
    QCOMPARE(f->module.IBContacts.selectSql(),
             "SELECT * FROM CONTACTS\nWHERE (EXTRACT(DAY FROM BIRTHDATE) = " + d +
                 ") AND \n(EXTRACT(MONTH FROM BIRTHDATE) = " + m + ") AND \n(IDGROUP = :ID)");
    QCOMPARE(f->selection.currentFilter(), condition);
    listed.sort();
    QCOMPARE(f->listedNames(), listed);
    // Still the current group's: another group shows its own birthdays.
    f->module.IBGroups.locate("ID", 2);
    QCOMPARE(f->listedNames().size(), allGroups.size() - listed.size());
    // The dispatch over all groups reaches every group's.
    Query q(f->module.IBTrDef, f->selection.recipientQuery("NAME"));
    q.open();
    QStringList reached;
    while (q.fetch())
      reached << q.value(0).toString();
    reached.sort();
    allGroups.sort();
    QCOMPARE(reached, allGroups);
    QVERIFY(f->dialogs.shown.isEmpty());
    QVERIFY(f->menuNames().contains("FI_Break"));
  }

  void aBirthdaySelectionThatFailsShowsTheWholeGroup() {
    // A database of its own whose contacts have lost the date column.
    f.reset();
    TestDatabase own;
    SelectionFixture g(own);
    contacts(g);
    g.reload(1);
    QVERIFY(g.controller->commands().applyBuilt("(NAME = 'Anna')"));
    g.module.IBContacts.close();
    g.execute("ALTER TABLE CONTACTS ALTER COLUMN BIRTHDATE TO BORN");
    g.module.IBContacts.open();
    g.menuNames();
    choose(g.menuItem("FI_Birth"));
    QCOMPARE(g.selection.currentFilter(), QString());
    QCOMPARE(g.module.IBContacts.selectSql(), TDModule::contactsSelectSql);
    QCOMPARE(g.listedNames(), wholeGroup);
    QCOMPARE(g.dialogs.shown.size(), 1);
    QCOMPARE(g.dialogs.shown[0].title, LangConst().stError);
    QCOMPARE(g.dialogs.shown[0].text, LangConst().stParamFilter);
    QCOMPARE(g.dialogs.shown[0].icon, Dialogs::Icon::Information);
    QCOMPARE(g.menuNames(), fixedItems);
  }

  void theSavedFilterList() {
    contacts(*f);
    const QString condition = "(NAME = 'Anna') OR (NAME = 'Boris')";
    f->addSavedFilter(3, "Anna or Boris", condition);
    f->addSavedFilter(5, "Ivan", "(NAME = 'Ivan')");
    f->reload(1);
    f->controller->commands().FilterClick(3);
    f->dialogs.confirmAnswers << false << true;

    QStringList captions;
    whenModalOpens<TFListFilter>([&](TFListFilter &list) {
      captions << list.windowTitle()
               << list.DBTemplGrid->model()
                      ->headerData(list.DBTemplGrid->model()->columnCount() - 1, Qt::Horizontal)
                      .toString();
      // Renaming: the name dialog with the edit suffix; the row keeps its condition.
      QVERIFY(f->module.IBFilter.locate("ID", 3));
      whenModalOpens<TFAddFilter>([&](TFAddFilter &names) {
        captions << names.windowTitle();
        QCOMPARE(names.DBEdit1->text(), "Anna or Boris");
        names.DBEdit1->selectAll();
        QTest::keyClicks(names.DBEdit1, "A or B");
        names.butOK->click();
      });
      list.butTplRename->click();
      // Deleting asks first: Cancel keeps the row, OK deletes it.
      QVERIFY(f->module.IBFilter.locate("ID", 5));
      QVERIFY_THROWS_EXCEPTION(SilentAbort, list.butTplDel->click());
      QCOMPARE(f->savedFilters().size(), 2);
      list.butTplDel->click();
      list.butTplClose->click();
    });
    f->menuNames();
    f->menuItem("FI_Edit")->trigger(); // returns once the list is closed
    QCOMPARE(captions, QStringList({"Saved filters", "Name", "Filter [edit]"}));
    QCOMPARE(f->savedFilters(), QList<QVariantList>({{3, "A or B", condition}}));
    QCOMPARE(f->dialogs.shown.size(), 2);
    for (const ScriptedDialogs::Shown &asked : f->dialogs.shown) {
      QCOMPARE(asked.kind, "confirm");
      QCOMPARE(asked.title, LangConst().stDel);
      QCOMPARE(asked.text, LangConst().stDelFilter);
    }
    // Neither touched the contact list or the filter in force.
    QCOMPARE(f->listedNames(), QStringList({"Anna", "Boris"}));
    QCOMPARE(f->selection.currentFilter(), condition);
    QCOMPARE(f->menuNames(), QStringList{"FI_3"} + fixedWithBreak);
    QCOMPARE(f->menuItem("FI_3")->text(), "A or B");
  }
};

int main(int argc, char **argv) {
  ErrorReportingApplication app(argc, argv);
  TestFilterMenu test;
  return QTest::qExec(&test, argc, argv);
}
#include "test_filter_menu.moc"
