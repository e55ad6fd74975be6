// The filter builder window over a real database: its lists, the conjunction boxes, the
// condition its rows give and what applying it does to the contact list and the filter in
// force, the failure path, Cancel, and saving under a name.
#include "SelectionFixture.h"

#include "gui/base/DBEdit.h"
#include "gui/select/TFAddFilter.h"
#include "gui/select/TFFilter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

struct Row {
  QString field; // column name; empty: no field chosen
  int oper = -1; // position in the operator list; -1: none chosen
  QString value;
};
using Rows = QList<Row>; // rows 1..5 from the top; missing rows stay empty

// Fills the dialog's controls as the operator would: picks list entries, types values.
void fill(TFFilter &dialog, const Rows &rows, bool orTicked) {
  QComboBox *fields[] = {dialog.ComboBox1, dialog.ComboBox2, dialog.ComboBox3, dialog.ComboBox4,
                         dialog.ComboBox5};
  QComboBox *opers[] = {dialog.ComboBox6, dialog.ComboBox7, dialog.ComboBox8, dialog.ComboBox9,
                        dialog.ComboBox10};
  QLineEdit *values[] = {dialog.Edit1, dialog.Edit2, dialog.Edit3, dialog.Edit4, dialog.Edit5};
  for (int i = 0; i < rows.size(); ++i) {
    if (!rows[i].field.isEmpty())
      fields[i]->setCurrentIndex(dialog.FieldNames().indexOf(rows[i].field));
    opers[i]->setCurrentIndex(rows[i].oper);
    QTest::keyClicks(values[i], rows[i].value);
  }
  if (orTicked)
    dialog.cbOr->click();
}

} // namespace

Q_DECLARE_METATYPE(Rows)

class TestFilterBuilder : public QObject {
  Q_OBJECT

  std::unique_ptr<TestDatabase> db;
  std::unique_ptr<SelectionFixture> f;

  // Group 1: Anna, Boris (+7916...), Ivan, O'Brien, a blank name, Old (born 1950); group 2: Anna.
  void contacts() {
    f->addGroup(1, "One");
    f->addGroup(2, "Two");
    f->addContact(1, "Anna", "+79161112233", "1990-05-01");
    f->addContact(1, "Boris", "+79035556677", "1985-02-28");
    f->addContact(1, "Ivan", "+74951234567");
    f->addContact(1, "O'Brien", "+35312345678");
    f->addContact(1, " ", "+70000000000");
    f->addContact(1, "Old", "+70000000001", "1950-01-01");
    f->addContact(2, "Anna", "+79160000000");
    f->reload(1);
  }
  const QStringList wholeGroup{" ", "Anna", "Boris", "Ivan", "O'Brien", "Old"};

  std::unique_ptr<TFFilter> builder() {
    return std::make_unique<TFFilter>(f->module.IBFields, f->module.IBOper, f->controller->commands(),
                                      &f->page);
  }

private slots:
  void initTestCase() { db = std::make_unique<TestDatabase>(); }
  void init() { f = std::make_unique<SelectionFixture>(*db); }
  void cleanup() { f.reset(); }
  void cleanupTestCase() { db.reset(); }

  void aNewBuilderOffersEveryFieldAndComparisonInTableOrder() {
    const auto dialog = builder();
    QCOMPARE(dialog->windowTitle(), "Contact filter");
    QCOMPARE(dialog->FieldNames(),
             QStringList({"PHONE", "NAME", "BIRTHDATE", "DFIELD", "EFIELD", "FFIELD", "GFIELD", "SEND",
                          "DATESEND", "TIMESEND", "PARTSEND", "FERROR"}));
    for (QComboBox *list :
         {dialog->ComboBox1, dialog->ComboBox2, dialog->ComboBox3, dialog->ComboBox4, dialog->ComboBox5}) {
      QCOMPARE(list->count(), 12);
      QCOMPARE(list->itemText(1), "Name");
      QCOMPARE(list->itemText(2), "Date of birth");
      QCOMPARE(list->currentIndex(), -1);
      QVERIFY(!list->isEditable());
    }
    for (QComboBox *list :
         {dialog->ComboBox6, dialog->ComboBox7, dialog->ComboBox8, dialog->ComboBox9, dialog->ComboBox10}) {
      QStringList items;
      for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
      QCOMPARE(items, QStringList({"equals", "does not equal", "contains", "greater than", "less than"}));
      QCOMPARE(list->currentIndex(), -1);
    }
    for (QLineEdit *value : {dialog->Edit1, dialog->Edit2, dialog->Edit3, dialog->Edit4, dialog->Edit5})
      QVERIFY(value->text().isEmpty());
    QVERIFY(dialog->butApply->isDefault());
    QCOMPARE(dialog->FormFilter(), QString());

    // Exactly one conjunction box is ticked whatever is clicked.
    QVERIFY(dialog->cbAnd->isChecked() && !dialog->cbOr->isChecked());
    // Each click with whether cbOr is ticked after it.
    const QList<std::pair<QCheckBox *, bool>> clicks{{dialog->cbAnd, true}, {dialog->cbAnd, false},
                                                     {dialog->cbOr, true},  {dialog->cbOr, false},
                                                     {dialog->cbOr, true},  {dialog->cbAnd, false}};
    for (const auto &[box, orAfter] : clicks) {
      box->click();
      QCOMPARE(dialog->cbOr->isChecked(), orAfter);
      QCOMPARE(dialog->cbAnd->isChecked(), !orAfter);
    }
  }

  void applyingNarrowsTheListAndSetsTheFilterInForce_data() {
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<bool>("orTicked");
    QTest::addColumn<QString>("condition");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QStringList>("inGroup2");
    const QStringList none;
    const QStringList anna{"Anna"};
    QTest::newRow("rows 2 and 4 with OR")
        << Rows{{}, {"NAME", 0, "Anna"}, {}, {"NAME", 0, "Ivan"}} << true
        << "(NAME = 'Anna') OR (NAME = 'Ivan')" << QStringList{"Anna", "Ivan"} << anna;
    QTest::newRow("two rows with AND") << Rows{{"PHONE", 2, "916"}, {"NAME", 1, "Boris"}} << false
                                       << "(PHONE LIKE '%916%') AND (NAME <> 'Boris')" << anna << anna;
    QTest::newRow("one blank is a value")
        << Rows{{"NAME", 0, " "}} << false << "(NAME = ' ')" << QStringList{" "} << none;
    QTest::newRow("contains 9") << Rows{{"PHONE", 2, "9"}} << false << "(PHONE LIKE '%9%')"
                                << QStringList{"Anna", "Boris", "Ivan"} << anna;
    QTest::newRow("a date column, greater")
        << Rows{{"BIRTHDATE", 3, "1980-01-01"}} << false << "(BIRTHDATE > '1980-01-01')"
        << QStringList{"Anna", "Boris"} << none;
    QTest::newRow("less, then an incomplete row")
        << Rows{{"BIRTHDATE", 4, "1960-01-01"}, {"NAME", 0, ""}} << false << "(BIRTHDATE < '1960-01-01')"
        << QStringList{"Old"} << none;
    QTest::newRow("an apostrophe in the value")
        << Rows{{"NAME", 0, "O'Brien"}} << false << "(NAME = 'O''Brien')" << QStringList{"O'Brien"} << none;
    QTest::newRow("a value trying to break out of its literal")
        << Rows{{"NAME", 0, "x') OR (1=1"}} << false << "(NAME = 'x'') OR (1=1')" << none << none;
    QTest::newRow("a break-out in a contains row") << Rows{{"NAME", 2, "%') OR (1=1) OR ('"}} << false
                                                   << "(NAME LIKE '%%'') OR (1=1) OR (''%')" << none << none;
  }
  void applyingNarrowsTheListAndSetsTheFilterInForce() {
    QFETCH(Rows, rows);
    QFETCH(bool, orTicked);
    QFETCH(QString, condition);
    QFETCH(QStringList, listed);
    QFETCH(QStringList, inGroup2);
    contacts();
    const auto dialog = builder();
    fill(*dialog, rows, orTicked);
    QCOMPARE(dialog->FormFilter(), condition);
    dialog->butApply->click();
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(f->selection.currentFilter(), condition);
    QCOMPARE(f->module.IBContacts.selectSql(),
             "SELECT * FROM CONTACTS\nWHERE (" + condition + ") AND (IDGROUP = :ID)");
    QCOMPARE(f->listedNames(), listed);
    QVERIFY(f->dialogs.shown.isEmpty());
    // The list stays the group list's detail: group 2 shows its own matches only.
    f->module.IBGroups.locate("ID", 2);
    QCOMPARE(f->listedNames(), inGroup2);
  }

  void aFilterThatCannotBeAppliedShowsTheWholeGroup_data() {
    QTest::addColumn<Rows>("rows");
    QTest::newRow("all rows empty") << Rows{};
    QTest::newRow("no value") << Rows{{"NAME", 0, ""}};
    QTest::newRow("no comparison") << Rows{{"NAME", -1, "Anna"}};
    QTest::newRow("no field") << Rows{{"", 0, "Anna"}};
    QTest::newRow("not a date") << Rows{{"BIRTHDATE", 3, "someday"}};
  }
  void aFilterThatCannotBeAppliedShowsTheWholeGroup() {
    QFETCH(Rows, rows);
    contacts();
    f->controller->commands().applyBuilt("(NAME = 'Boris')");
    const auto dialog = builder();
    fill(*dialog, rows, false);
    dialog->butApply->click();
    QVERIFY(!dialog->isVisible()); // closed, and it does not come back
    QCOMPARE(f->selection.currentFilter(), QString());
    QCOMPARE(f->module.IBContacts.selectSql(), "SELECT * FROM CONTACTS\nWHERE IDGROUP = :ID");
    QCOMPARE(f->listedNames(), wholeGroup);
    QCOMPARE(f->dialogs.shown.size(), 1);
    QCOMPARE(f->dialogs.shown[0].title, LangConst().stError);
    QCOMPARE(f->dialogs.shown[0].text, LangConst().stParamFilter);
    QCOMPARE(f->dialogs.shown[0].icon, Dialogs::Icon::Information);
  }

  void cancelChangesNothing() {
    contacts();
    f->controller->commands().applyBuilt("(NAME = 'Boris')");
    const auto dialog = builder();
    fill(*dialog, Rows{{"NAME", 0, "Anna"}}, true);
    dialog->butCancel->click();
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
    QCOMPARE(f->selection.currentFilter(), "(NAME = 'Boris')");
    QCOMPARE(f->listedNames(), QStringList({"Boris"}));
    QVERIFY(f->dialogs.shown.isEmpty());
  }

  void theFilterButtonOpensTheBuilder() {
    contacts();
    whenModalOpens<TFFilter>([](TFFilter &dialog) {
      fill(dialog, Rows{{"NAME", 0, "O'Brien"}}, false);
      QTest::keyClick(dialog.Edit1, Qt::Key_Return); // the default button
    });
    f->page.tbFilter->click();
    QCOMPARE(f->selection.currentFilter(), "(NAME = 'O''Brien')");
    QCOMPARE(f->listedNames(), QStringList({"O'Brien"}));
  }

  void savingStoresTheConditionUnderANameAndAppliesNothing() {
    contacts();
    f->controller->commands().applyBuilt("(NAME = 'Boris')");
    const auto dialog = builder();
    dialog->show();
    fill(*dialog, Rows{{"NAME", 0, "Anna"}, {"NAME", 0, "O'Brien"}}, true);
    const QString condition = "(NAME = 'Anna') OR (NAME = 'O''Brien')";
    QStringList captions;
    for (const char *name : {"first", "second"}) {
      whenModalOpens<TFAddFilter>([&captions, name](TFAddFilter &names) {
        captions << names.windowTitle();
        QTest::keyClicks(names.DBEdit1, name);
        names.butOK->click();
      });
      dialog->butSave->click();
      QVERIFY(dialog->isVisible()); // the builder stays open
    }
    QCOMPARE(captions, QStringList(2, "Filter [new]"));
    const QList<QVariantList> saved = f->savedFilters();
    QCOMPARE(saved.size(), 2);
    QCOMPARE(saved[0].mid(1), QVariantList({"first", condition}));
    QCOMPARE(saved[1].mid(1), QVariantList({"second", condition}));
    QCOMPARE(f->module.PendingFilter, QString());
    QCOMPARE(f->selection.currentFilter(), "(NAME = 'Boris')");
    QCOMPARE(f->listedNames(), QStringList({"Boris"}));

    // Cancelling the name dialog stores nothing.
    whenModalOpens<TFAddFilter>([](TFAddFilter &names) { names.butCancel->click(); });
    dialog->butSave->click();
    QCOMPARE(f->savedFilters().size(), 2);
    QCOMPARE(f->module.PendingFilter, QString());
    QVERIFY(f->dialogs.shown.isEmpty());
  }

  void aConditionThatCannotBeStoredIsRefusedBeforeTheNameDialog_data() {
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<QString>("message");
    QTest::newRow("no complete row") << Rows{{"NAME", 0, ""}, {"", 1, "x"}} << "stFilterEmpty";
    // Five rows of 90 characters: 5 * (8 + 90 + 2) + 4 * 4 = 516 characters.
    QTest::newRow("over 500 characters") << Rows(5, Row{"NAME", 0, QString(90, u'x')}) << "stFilterLong";
  }
  void aConditionThatCannotBeStoredIsRefusedBeforeTheNameDialog() {
    QFETCH(Rows, rows);
    QFETCH(QString, message);
    const auto dialog = builder();
    dialog->show();
    fill(*dialog, rows, true);
    QVERIFY(dialog->FormFilter().size() == 0 || dialog->FormFilter().size() > 500);
    dialog->butSave->click(); // a name dialog opening here would block the test
    QVERIFY(dialog->isVisible());
    QVERIFY(f->savedFilters().isEmpty());
    QCOMPARE(f->dialogs.messageTexts(), QStringList({message == "stFilterEmpty" ? LangConst().stFilterEmpty
                                                                                : LangConst().stFilterLong}));
    QCOMPARE(f->dialogs.shown[0].title, "Brisklane");
  }
};

QTEST_MAIN(TestFilterBuilder)
#include "test_filter_builder.moc"
