// The two grids of the contacts page: fixed columns and widths, titles and visibility
// applied on every showing of the page, and the status words of the dispatch outcome.
#include "ContactsFixture.h"

#include "common/IniFile.h"
#include "common/LangConstants.h"
#include "data/DataSetModel.h"
#include "data/contacts/ContactGrid.h"
#include "gui/contacts/ContactsPage.h"

#include <QHeaderView>
#include <QTableView>
#include <QTest>

class ContactsGridTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TestDatabase> db;
  std::unique_ptr<ContactsFixture> f;

  QTableView *contactsGrid() const { return f->window->TS1->DBGridContacts; }
  QTableView *groupsGrid() const { return f->window->TS1->DBGridGroups; }
  DataSetModel *contacts() const { return f->controller().contactsModel(); }
  QString cell(int row, const QString &field) const {
    return contacts()->data(contacts()->index(row, contacts()->columnOf(field))).toString();
  }
  QString title(const QString &field) const {
    return contacts()->headerData(contacts()->columnOf(field), Qt::Horizontal).toString();
  }
  // Away to the message page and back: the contacts page is shown again.
  void showContactsPageAgain() {
    f->window->lbContactsClick(f->window->lbTemplate);
    f->window->lbContactsClick(f->window->lbContacts);
  }
  void setDescriptor(int id, const QString &column, const QVariant &value) {
    DataSet &fields = f->module->IBFields;
    QVERIFY(fields.locate("ID", id));
    fields.edit();
    fields.setValue(column, value);
    fields.post();
  }

private slots:
  void initTestCase() { db = std::make_unique<TestDatabase>(); }
  void init() { f = std::make_unique<ContactsFixture>(*db); }
  void cleanup() { f.reset(); }
  void cleanupTestCase() { db.reset(); }

  void statusWords_data() {
    QTest::addColumn<QVariant>("send");
    QTest::addColumn<QVariant>("ferror");
    QTest::addColumn<QString>("sendCell");
    QTest::addColumn<QString>("errorCell");
    QTest::newRow("never dispatched") << QVariant() << QVariant() << ""
                                      << "Нет";
    QTest::newRow("sent") << QVariant(1) << QVariant(0) << "Да"
                          << "Нет";
    QTest::newRow("not sent, gateway refusal") << QVariant(2) << QVariant(1000) << "Нет"
                                               << "1000";
    QTest::newRow("delivered") << QVariant(3) << QVariant(0) << "Доставлено"
                               << "Нет";
    QTest::newRow("not sent, link error 5") << QVariant(2) << QVariant(5) << "Нет"
                                            << "5";
    QTest::newRow("unknown status 0") << QVariant(0) << QVariant() << "0"
                                      << "Нет";
    QTest::newRow("unknown status 4") << QVariant(4) << QVariant(26) << "4"
                                      << "26";
  }
  void statusWords() {
    QFETCH(QVariant, send);
    QFETCH(QVariant, ferror);
    QFETCH(QString, sendCell);
    QFETCH(QString, errorCell);
    const int group = f->addGroup("G");
    f->addContact(group, "Ann", "1", send, ferror);
    f->reload();
    QCOMPARE(cell(0, "SEND"), sendCell);
    QCOMPARE(cell(0, "FERROR"), errorCell);
    QCOMPARE(cell(0, "NAME"), QStringLiteral("Ann"));
    // Integer columns stay right-aligned with their words; rows are not coloured by status.
    const QModelIndex sendIndex = contacts()->index(0, contacts()->columnOf("SEND"));
    QVERIFY(contacts()->data(sendIndex, Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight);
    QVERIFY(!contacts()->data(sendIndex, Qt::BackgroundRole).isValid());
    QVERIFY(!contacts()->data(sendIndex, Qt::ForegroundRole).isValid());
  }

  void visibilityFromDescriptors_data() {
    QTest::addColumn<QVariant>("fvisible");
    QTest::addColumn<bool>("shown");
    QTest::newRow("1 shows") << QVariant(1) << true;
    QTest::newRow("0 hides") << QVariant(0) << false;
    QTest::newRow("2 hides") << QVariant(2) << false;
    QTest::newRow("NULL hides") << QVariant() << false;
  }
  // FVISIBLE of row 2 decides the name column the next time the page is shown.
  void visibilityFromDescriptors() {
    QFETCH(QVariant, fvisible);
    QFETCH(bool, shown);
    QVERIFY(f->controller().isColumnShown("NAME"));
    setDescriptor(2, "FVISIBLE", fvisible);
    QVERIFY(f->controller().isColumnShown("NAME"));
    showContactsPageAgain();
    QCOMPARE(f->controller().isColumnShown("NAME"), shown);
    QVERIFY(f->controller().isColumnShown("PHONE"));
  }

  // A grid column no descriptor row names (exactly, letter case included) keeps its visibility.
  void columnWithoutDescriptorKeepsItsVisibility() {
    setDescriptor(2, "FVISIBLE", 0);
    showContactsPageAgain();
    QVERIFY(!f->controller().isColumnShown("NAME"));
    setDescriptor(2, "NAMEDS", "Name");
    setDescriptor(2, "FVISIBLE", 1);
    showContactsPageAgain();
    QVERIFY(!f->controller().isColumnShown("NAME"));
  }

  void titlesFollowTheLanguage_data() {
    QTest::addColumn<QString>("lang");
    QTest::newRow("Russian") << "Russian";
    QTest::newRow("English") << "English";
    QTest::newRow("no such language: the built-in titles") << "Klingon";
  }
  // A language applied elsewhere shows in the titles when the page is shown again.
  void titlesFollowTheLanguage() {
    QFETCH(QString, lang);
    const IniFile file(f->folder.filePath("langs/" + lang + ".ini"));
    const IniFile &ini = lang == "Klingon" ? *builtinLangFile() : file;
    CurrentLang() = lang;
    showContactsPageAgain();
    for (const contact_grid::Column &column : contact_grid::columns())
      QCOMPARE(title(column.field), ini.readString("Fields", "DS" + column.field));
    QCOMPARE(
        groupsGrid()->model()->headerData(f->controller().groupsModel()->columnOf("NAME"), Qt::Horizontal),
        QVariant(ini.readString("Fields", "DSGROUPS")));
    QVERIFY(!title("PHONE").isEmpty());
  }

  // Twelve fixed columns in table order with their starting widths, kept when the grid is
  // read again for another group; the key columns never show.
  void fixedColumnsAndWidths() {
    const int first = f->addGroup("First", 2);
    const int second = f->addGroup("Second", 1);
    auto check = [&] {
      int previous = -1;
      for (const contact_grid::Column &column : contact_grid::columns()) {
        const int c = contacts()->columnOf(column.field);
        QVERIFY2(c > previous, qPrintable(column.field));
        previous = c;
        if (column.width > 0 && column.field != "NAME")
          QCOMPARE(contactsGrid()->columnWidth(c), column.width);
      }
      for (const char *hidden : {"ID", "IDGROUP", "IDMESSAGE"})
        QVERIFY(contactsGrid()->isColumnHidden(contacts()->columnOf(hidden)));
      const DataSetModel *groups = f->controller().groupsModel();
      QVERIFY(groupsGrid()->isColumnHidden(groups->columnOf("ID")));
      QCOMPARE(groupsGrid()->columnWidth(groups->columnOf("NAME")), contact_grid::groupsNameWidth);
    };
    f->selectGroup(first);
    check();
    QCOMPARE(contactsGrid()->columnWidth(contacts()->columnOf("NAME")), 123);
    // The operator widens a column; another group keeps it (sizes live as long as the window).
    contactsGrid()->setColumnWidth(contacts()->columnOf("NAME"), 200);
    f->selectGroup(second);
    QCOMPARE(f->module->IBContacts.rowCount(), 1);
    check();
    QCOMPARE(contactsGrid()->columnWidth(contacts()->columnOf("NAME")), 200);
  }

  // The grids only show; they resize their columns at the operator's hand.
  void gridsAreReadOnly() {
    const int group = f->addGroup("G", 1);
    f->selectGroup(group);
    for (QTableView *grid : {groupsGrid(), contactsGrid()}) {
      QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
      QCOMPARE(grid->horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
      QVERIFY(!(grid->model()->flags(grid->model()->index(0, 1)) & Qt::ItemIsEditable));
    }
  }

  // Ctrl+End goes to the group's last contact, not to the last one read so far.
  void ctrlEndReachesTheLastContact() {
    const int group = f->addGroup("Big", 250);
    f->selectGroup(group);
    QVERIFY(f->module->IBContacts.rowCount() < 250);
    contactsGrid()->setFocus();
    QTest::keyClick(contactsGrid(), Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(f->module->IBContacts.rowCount(), 250);
    QCOMPARE(contactsGrid()->currentIndex().row(), 249);
    QCOMPARE(f->module->IBContacts.currentRow(), 249);
    QCOMPARE(f->module->IBContacts.value("NAME").toString(), QStringLiteral("Big 250"));
  }

  // Choosing a group in the groups grid shows its contacts only.
  void groupChoiceFillsTheContactsGrid() {
    f->addGroup("First", 3);
    f->addGroup("Second", 2);
    f->addGroup("Empty");
    const QStringList expected{"First", "Second", "Empty"};
    for (int row = 0; row < 3; ++row) {
      groupsGrid()->setCurrentIndex(groupsGrid()->model()->index(row, 1));
      QCOMPARE(f->module->IBGroups.value("NAME").toString(), expected[row]);
      const int counts[] = {3, 2, 0};
      QCOMPARE(contacts()->rowCount(), counts[row]);
      for (int r = 0; r < contacts()->rowCount(); ++r)
        QVERIFY(cell(r, "NAME").startsWith(expected[row]));
    }
  }
};

QTEST_MAIN(ContactsGridTest)
#include "test_contacts_grid.moc"
