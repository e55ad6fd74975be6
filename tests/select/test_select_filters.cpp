// Applying, saving and choosing filters on the contact list: the builder's OK and its failure
// path, the save button, the filter button's menu, the saved-filter list's rename and delete.
#include "SelectFixture.h"

#include "compose/FilterCondition.h"
#include "data/DatabaseError.h"
#include "select/FilterBuilder.h"
#include "select/FilterChoices.h"

#include <QTest>

namespace {

QStringList itemNames(const QList<FilterMenuItem> &items) {
  QStringList names;
  for (const FilterMenuItem &item : items)
    names << item.name;
  return names;
}

const FilterMenuItem *item(const QList<FilterMenuItem> &items, const QString &name) {
  for (const FilterMenuItem &i : items)
    if (i.name == name)
      return &i;
  return nullptr;
}

// A condition of exactly length characters.
QString conditionOfLength(int length) {
  return "(NAME = '" + QString(length - 11, u'a') + "')";
}

} // namespace

class TestFilters : public QObject {
  Q_OBJECT

  std::unique_ptr<SelectFixture> f;

  // Group 1: Anna, Boris, Ivan; group 2: Anna.
  void twoGroups() {
    f->addGroup(1, "One");
    f->addGroup(2, "Two");
    for (const char *name : {"Anna", "Boris", "Ivan"})
      f->addContact(1, name);
    f->addContact(2, "Anna");
  }
  const QStringList wholeGroup{"Anna", "Boris", "Ivan"};

private slots:
  void init() { f = std::make_unique<SelectFixture>(); }
  void cleanup() { f.reset(); }

  void applyingNarrowsTheGroupAndSetsTheFilterInForce() {
    twoGroups();
    f->reload(1);
    const QString condition = "(NAME = 'Anna') OR (NAME = 'Ivan')";
    QVERIFY(f->commands.applyBuilt(condition));
    QCOMPARE(f->module.IBContacts.selectSql(),
             "SELECT * FROM CONTACTS\nWHERE ((NAME = 'Anna') OR (NAME = 'Ivan')) AND (IDGROUP = :ID)");
    QCOMPARE(f->listedNames(), QStringList({"Anna", "Ivan"}));
    QCOMPARE(f->selection.currentFilter(), condition);
    QVERIFY(f->commands.contactListFiltered());

    // Still the detail of the group list: another group shows its own matching contacts.
    f->module.IBGroups.locate("ID", 2);
    QCOMPARE(f->listedNames(), QStringList({"Anna"}));

    // Cancel: rows typed into a builder that is then closed change nothing.
    FilterBuilder cancelled(readFieldNames(f->module.IBFields));
    cancelled.setField(0, 1);
    cancelled.setOperator(0, 0);
    cancelled.setValue(0, "Boris");
    QVERIFY(!cancelled.FormFilter().isEmpty());
    QCOMPARE(f->selection.currentFilter(), condition);
    QCOMPARE(f->listedNames(), QStringList({"Anna"}));
  }

  void aFilterThatCannotBeAppliedShowsTheWholeGroup_data() {
    QTest::addColumn<QString>("condition");
    QTest::newRow("no complete row") << "";
    QTest::newRow("not a date") << "(BIRTHDATE > 'someday')";
    QTest::newRow("not a number") << "(SEND = 'one')";
    QTest::newRow("unknown column") << "(NOSUCH = '1')";
    QTest::newRow("broken text") << "(NAME = 'x)";
  }
  void aFilterThatCannotBeAppliedShowsTheWholeGroup() {
    QFETCH(QString, condition);
    twoGroups();
    f->execute("UPDATE CONTACTS SET BIRTHDATE = '1980-01-01', SEND = 1");
    f->reload(1);
    QVERIFY(f->commands.applyBuilt("(NAME = 'Boris')"));
    QVERIFY(!f->commands.applyBuilt(condition));
    QCOMPARE(f->selection.currentFilter(), QString());
    QCOMPARE(f->module.IBContacts.selectSql(), TDModule::contactsSelectSql);
    QCOMPARE(f->listedNames(), wholeGroup);
    QCOMPARE(f->dialogs.shown.size(), 1);
    QCOMPARE(f->dialogs.shown[0].kind, "message");
    QCOMPARE(f->dialogs.shown[0].title, "Error");
    QCOMPARE(f->dialogs.shown[0].text, LangConst().stParamFilter);
    QCOMPARE(f->dialogs.shown[0].icon, Dialogs::Icon::Information);
    QVERIFY(!itemNames(f->commands.PMFilterPopup()).contains("FI_Break"));
  }

  void savingTwiceStoresTwoFiltersAndAppliesNothing() {
    twoGroups();
    f->reload(1);
    QVERIFY(f->commands.applyBuilt("(NAME = 'Boris')"));
    const QString condition = "(NAME = 'Anna') OR (NAME = 'Ivan')";
    f->nameAnswers << QString("first") << QString("second");
    QVERIFY(f->commands.saveBuilt(condition));
    QVERIFY(f->commands.saveBuilt(condition));
    QCOMPARE(f->dialogSuffixes, QStringList({"new", "new"}));
    const QList<QVariantList> saved = f->savedFilters();
    QCOMPARE(saved.size(), 2);
    QCOMPARE(saved[0].mid(1), QVariantList({"first", condition}));
    QCOMPARE(saved[1].mid(1), QVariantList({"second", condition}));
    QCOMPARE(f->selection.currentFilter(), "(NAME = 'Boris')");
    QCOMPARE(f->listedNames(), QStringList({"Boris"}));
    QCOMPARE(itemNames(f->commands.PMFilterPopup()).mid(0, 2),
             QStringList({"FI_" + saved[0][0].toString(), "FI_" + saved[1][0].toString()}));

    // The condition waits for its own row only: a row posted later without one is refused.
    QCOMPARE(f->module.PendingFilter, QString());
    f->nameAnswers << QString("third");
    f->module.IBFilter.append();
    QCOMPARE(f->postErrors.size(), 1);
    QCOMPARE(f->savedFilters().size(), 2);
  }

  void aCancelledNameDialogStoresNothing() {
    f->nameAnswers << std::nullopt;
    QVERIFY(!f->commands.saveBuilt("(NAME = 'Anna')"));
    QCOMPARE(f->dialogSuffixes.size(), 1);
    QVERIFY(f->savedFilters().isEmpty());
    QCOMPARE(f->module.PendingFilter, QString());
  }

  void aConditionThatCannotBeStoredIsRefusedBeforeTheNameDialog_data() {
    QTest::addColumn<QString>("condition");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << ""
                           << "stFilterEmpty";
    QTest::newRow("501 characters") << conditionOfLength(501) << "stFilterLong";
    QTest::newRow("five long rows") << FormFilter(
                                           {"PHONE", "NAME"},
                                           QList<FilterRow>(5, FilterRow{1, OpContains, QString(100, u'x')}),
                                           Conjunction::Or)
                                    << "stFilterLong";
  }
  void aConditionThatCannotBeStoredIsRefusedBeforeTheNameDialog() {
    QFETCH(QString, condition);
    QFETCH(QString, message);
    message = message == "stFilterEmpty" ? LangConst().stFilterEmpty : LangConst().stFilterLong;
    QVERIFY(!message.isEmpty());
    QVERIFY(!f->commands.saveBuilt(condition));
    QVERIFY(f->dialogSuffixes.isEmpty());
    QVERIFY(f->savedFilters().isEmpty());
    QCOMPARE(f->dialogs.shown.size(), 1);
    QCOMPARE(f->dialogs.shown[0].title, "Brisklane");
    QCOMPARE(f->dialogs.shown[0].text, message);
  }

  void aConditionOf500CharactersIsStoredWhole() {
    const QString condition = conditionOfLength(500);
    f->nameAnswers << QString("long");
    QVERIFY(f->commands.saveBuilt(condition));
    QCOMPARE(f->savedFilters().value(0).value(2).toString(), condition);
  }

  void theMenu_data() {
    QTest::addColumn<bool>("savedFilters");
    QTest::addColumn<QString>("inForce"); // "", "built" or "saved"
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("checked");
    const QStringList fixed{"FI_Space", "FI_Birth", "FI_Edit"};
    const QStringList withBreak{"FI_Space", "FI_Birth", "FI_Break", "FI_Edit"};
    QTest::newRow("none saved, no filter") << false << "" << fixed << "";
    QTest::newRow("none saved, a filter in force") << false << "built" << withBreak << "";
    QTest::newRow("3 and 7 saved, no filter") << true << "" << QStringList{"FI_3", "FI_7"} + fixed << "";
    QTest::newRow("3 and 7 saved, a built filter")
        << true << "built" << QStringList{"FI_3", "FI_7"} + withBreak << "";
    QTest::newRow("3 and 7 saved, 7 chosen")
        << true << "saved" << QStringList{"FI_3", "FI_7"} + withBreak << "FI_7";
  }
  void theMenu() {
    QFETCH(bool, savedFilters);
    QFETCH(QString, inForce);
    QFETCH(QStringList, names);
    QFETCH(QString, checked);
    twoGroups();
    if (savedFilters) {
      f->addSavedFilter(7, "Ivan only", "(NAME = 'Ivan')");
      f->addSavedFilter(3, "Anna or Boris", "(NAME = 'Anna') OR (NAME = 'Boris')");
    }
    f->reload(1);
    // The table's order is the order the rows were stored in.
    if (savedFilters)
      std::swap(names[0], names[1]);
    if (inForce == "built")
      QVERIFY(f->commands.applyBuilt("(NAME = 'Anna')"));
    else if (inForce == "saved")
      f->commands.FilterClick(7);

    const QList<FilterMenuItem> items = f->commands.PMFilterPopup();
    QCOMPARE(itemNames(items), names);
    using Action = FilterMenuItem::Action;
    for (const FilterMenuItem &i : items) {
      QCOMPARE(i.checked, i.name == checked);
      QVERIFY(i.enabled);
      QCOMPARE(i.separator, i.name == "FI_Space");
      if (i.name.startsWith("FI_") && i.name[3].isDigit()) {
        QCOMPARE(i.tag, i.name.mid(3).toInt());
        QCOMPARE(i.action, Action::ApplySaved);
        QCOMPARE(i.caption, i.tag == 7 ? "Ivan only" : "Anna or Boris");
      } else {
        QCOMPARE(i.tag, 0);
      }
    }
    QCOMPARE(item(items, "FI_Space")->caption, "-");
    QCOMPARE(item(items, "FI_Birth")->caption, "Birthdays today");
    QCOMPARE(item(items, "FI_Birth")->action, Action::BirthDay);
    QCOMPARE(item(items, "FI_Edit")->caption, "Edit the list...");
    QCOMPARE(item(items, "FI_Edit")->action, Action::ListFilters);
    if (const FilterMenuItem *remove = item(items, "FI_Break")) {
      QCOMPARE(remove->caption, "Remove the filter");
      QCOMPARE(remove->action, Action::RemoveFilter);
    }
  }

  void theMenuOfAClosedDatabaseOffersNoSavedFilter() {
    f->addSavedFilter(3, "Anna", "(NAME = 'Anna')");
    f->module.close();
    const QList<FilterMenuItem> items = f->commands.PMFilterPopup();
    QCOMPARE(itemNames(items), QStringList({"FI_Space", "FI_Birth", "FI_Edit"}));
    QVERIFY(!item(items, "FI_Edit")->enabled);
  }

  void choosingASavedFilterAppliesItUntilItIsRemoved() {
    twoGroups();
    const QString condition = "(NAME = 'Anna') OR (NAME = 'Boris')";
    f->addSavedFilter(3, "Anna or Boris", condition);
    f->reload(1);
    QVERIFY(f->commands.applyBuilt("(NAME = 'Ivan')"));

    f->commands.FilterClick(3);
    QCOMPARE(f->listedNames(), QStringList({"Anna", "Boris"}));
    QCOMPARE(f->selection.currentFilter(), condition);
    // The dispatch over all groups uses it too.
    QCOMPARE(f->namesOf(f->selection.recipientQuery("NAME")), QStringList({"Anna", "Anna", "Boris"}));
    QVERIFY(item(f->commands.PMFilterPopup(), "FI_3")->checked);

    // Another filter in force unchecks it.
    QVERIFY(f->commands.applyBuilt("(NAME = 'Ivan')"));
    QVERIFY(!item(f->commands.PMFilterPopup(), "FI_3")->checked);

    f->commands.FilterClick(3);
    f->commands.BreakFiltClick();
    QCOMPARE(f->selection.currentFilter(), QString());
    QCOMPARE(f->module.IBContacts.selectSql(), TDModule::contactsSelectSql);
    QCOMPARE(f->listedNames(), wholeGroup);
    const QList<FilterMenuItem> items = f->commands.PMFilterPopup();
    QVERIFY(!item(items, "FI_Break"));
    QVERIFY(!item(items, "FI_3")->checked);
    QVERIFY(f->dialogs.shown.isEmpty());
  }

  void aSavedFilterTheDatabaseRejectsIsReportedAndCanBeRemoved() {
    twoGroups();
    f->addSavedFilter(4, "broken", "(NOSUCH = '1')");
    f->reload(1);
    QVERIFY(f->commands.applyBuilt("(NAME = 'Ivan')"));
    QString text;
    try {
      f->commands.FilterClick(4);
    } catch (const DatabaseError &e) {
      text = e.text();
    }
    QVERIFY2(text.contains("NOSUCH"), qPrintable(text)); // the database's own message
    QVERIFY(f->dialogs.shown.isEmpty());                 // the general error report shows it
    QVERIFY(!f->module.IBContacts.isOpen());
    QCOMPARE(f->selection.currentFilter(), QString());
    const QList<FilterMenuItem> items = f->commands.PMFilterPopup();
    QVERIFY(item(items, "FI_Break"));
    QVERIFY(!item(items, "FI_4")->checked);

    f->commands.BreakFiltClick();
    QVERIFY(f->module.IBContacts.isOpen());
    QCOMPARE(f->listedNames(), wholeGroup);
  }

  void aSavedFilterThatWouldLeaveTheGroupIsRefused_data() {
    QTest::addColumn<QString>("condition");
    QTest::newRow("closes the parenthesis around it") << "NAME = 'Anna') OR (1 = 1";
    QTest::newRow("comment hiding the group") << "1 = 1) --";
    QTest::newRow("open literal") << "NAME = 'Anna";
    QTest::newRow("Q literal") << "NAME = q'{Anna}'";
  }
  void aSavedFilterThatWouldLeaveTheGroupIsRefused() {
    QFETCH(QString, condition);
    twoGroups();
    f->addSavedFilter(5, "stored elsewhere", condition);
    f->reload(1);
    QVERIFY(f->commands.applyBuilt("(NAME = 'Ivan')"));
    QVERIFY_THROWS_EXCEPTION(FilterConditionError, f->commands.FilterClick(5));
    QCOMPARE(f->listedNames(), QStringList({"Ivan"}));
    QCOMPARE(f->selection.currentFilter(), "(NAME = 'Ivan')");
    // Nor does such a text reach the dispatch's query.
    f->selection.setCurrentFilter(condition);
    QVERIFY_THROWS_EXCEPTION(FilterConditionError, f->selection.recipientQuery("NAME"));
  }

  void renamingAndDeletingKeepTheFilterInForce() {
    twoGroups();
    const QString condition = "(NAME = 'Anna') OR (NAME = 'Boris')";
    f->addSavedFilter(3, "Anna or Boris", condition);
    f->reload(1);
    f->commands.FilterClick(3);

    // Renaming through the list: the name dialog with the edit suffix, FILT kept.
    QVERIFY(f->module.IBFilter.locate("ID", 3));
    f->nameAnswers << QString("A or B");
    f->module.IBFilter.edit();
    QCOMPARE(f->dialogSuffixes, QStringList({"edit"}));
    QCOMPARE(f->savedFilters().value(0), QVariantList({3, "A or B", condition}));
    QCOMPARE(item(f->commands.PMFilterPopup(), "FI_3")->caption, "A or B");

    // Deleting asks first; Cancel keeps the row.
    f->dialogs.confirmAnswers << false << true;
    QVERIFY_THROWS_EXCEPTION(SilentAbort, f->module.IBFilter.remove());
    QCOMPARE(f->savedFilters().size(), 1);
    f->module.IBFilter.remove();
    QVERIFY(f->savedFilters().isEmpty());
    QCOMPARE(f->dialogs.shown.size(), 2);
    for (const ScriptedDialogs::Shown &asked : f->dialogs.shown) {
      QCOMPARE(asked.kind, "confirm");
      QCOMPARE(asked.title, LangConst().stDel);
      QCOMPARE(asked.text, LangConst().stDelFilter);
    }

    // Neither touched the contact list or the filter in force.
    QCOMPARE(f->listedNames(), QStringList({"Anna", "Boris"}));
    QCOMPARE(f->selection.currentFilter(), condition);
    QCOMPARE(itemNames(f->commands.PMFilterPopup()),
             QStringList({"FI_Space", "FI_Birth", "FI_Break", "FI_Edit"}));

    // A menu opened before the delete: choosing the gone filter says so and changes nothing.
    f->dialogs.shown.clear();
    f->commands.FilterClick(3);
    QCOMPARE(f->dialogs.messageTexts(), QStringList({LangConst().stFilterGone}));
    QCOMPARE(f->selection.currentFilter(), condition);
    QCOMPARE(f->listedNames(), QStringList({"Anna", "Boris"}));
  }
};

QTEST_GUILESS_MAIN(TestFilters)
#include "test_select_filters.moc"
