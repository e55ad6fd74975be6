// The recipient selection in the main window: the filter button on the contacts page, and
// the scope boxes of the message page handing the chosen group and the filter in force to
// the preview.
#include "../contacts/ContactsFixture.h"

#include "common/LangConstants.h"
#include "data/DatabaseError.h"
#include "gui/base/Widgets.h"
#include "gui/contacts/ContactsPage.h"
#include "gui/message/MessageController.h"
#include "gui/message/MessagePage.h"
#include "gui/message/PreviewPage.h"
#include "gui/select/SelectionController.h"
#include "gui/select/TFFilter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

class TestSelectionWindow : public QObject {
  Q_OBJECT

  std::unique_ptr<TestDatabase> db;
  std::unique_ptr<ContactsFixture> f;

  // Group 1: Anna, Boris; group 5: Anna, Boris, Ivan (phones +71.., +75..).
  void groups() {
    f->execute("INSERT INTO LISTGROUPS (ID, NAME) VALUES (1, 'One')");
    f->execute("INSERT INTO LISTGROUPS (ID, NAME) VALUES (5, 'Five')");
    f->addContact(1, "Anna", "+711");
    f->addContact(1, "Boris", "+712");
    f->addContact(5, "Anna", "+751");
    f->addContact(5, "Boris", "+752");
    f->addContact(5, "Ivan", "+753");
    f->reload();
  }
  RecipientSelection &selection() { return f->window->Selection; }
  MessagePage &message() { return *f->window->TS2; }
  MessageController &messages() { return *f->window->findChild<MessageController *>(); }
  // Builds (NAME = 'Anna') OR (NAME = 'Ivan') in the builder opened by the filter button.
  void applyAnnaOrIvan() {
    QTimer::singleShot(0, qApp, [] {
      auto *dialog = qobject_cast<TFFilter *>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      const int name = dialog->FieldNames().indexOf("NAME");
      dialog->ComboBox1->setCurrentIndex(name);
      dialog->ComboBox6->setCurrentIndex(0);
      QTest::keyClicks(dialog->Edit1, "Anna");
      dialog->ComboBox2->setCurrentIndex(name);
      dialog->ComboBox7->setCurrentIndex(0);
      QTest::keyClicks(dialog->Edit2, "Ivan");
      dialog->cbOr->click();
      dialog->butApply->click();
    });
    f->window->TS1->tbFilter->click();
  }
  // The preview's lines for the template [TEL], sorted.
  QStringList previewPhones() {
    message().mmTemplate->setPlainText("[TEL]");
    f->window->lbContactsClick(f->window->lbPreview);
    PreviewPage *preview = f->window->TS3;
    if (!QTest::qWaitFor([this] { return !messages().previewFilling(); }))
      return {QStringLiteral("<still filling>")};
    QStringList lines = preview->mmPreviewAll->toPlainText().split('\n');
    lines.sort();
    f->window->lbContactsClick(f->window->lbContacts);
    return lines;
  }

private slots:
  void initTestCase() { db = std::make_unique<TestDatabase>(); }
  void init() { f = std::make_unique<ContactsFixture>(*db); }
  void cleanup() { f.reset(); }
  void cleanupTestCase() { db.reset(); }

  void theFilterButtonOpensTheBuilderAndItsArrowTheMenu() {
    groups();
    QToolButton *button = f->window->TS1->tbFilter;
    QCOMPARE(button->popupMode(), QToolButton::MenuButtonPopup);
    QCOMPARE(button->menu(), f->window->TS1->PMFilter);
    QVERIFY(f->window->findChild<SelectionController *>());

    f->selectGroup(5);
    applyAnnaOrIvan();
    QCOMPARE(selection().currentFilter(), "(NAME = 'Anna') OR (NAME = 'Ivan')");
    QCOMPARE(f->window->TS1->DBGridContacts->model()->rowCount(), 2);

    // The menu is built as it opens.
    QMenu *menu = f->window->TS1->PMFilter;
    QVERIFY(menu->actions().isEmpty());
    menu->popup(button->mapToGlobal(button->rect().bottomLeft()));
    QStringList names;
    for (QAction *item : menu->actions())
      names << item->objectName();
    menu->hide();
    QCOMPARE(names, QStringList({"FI_Space", "FI_Birth", "FI_Break", "FI_Edit"}));
  }

  void theScopeBoxesHandTheGroupToThePreview_data() {
    QTest::addColumn<QString>("click"); // the box clicked to choose one group
    QTest::newRow("ticking cbGroup") << "cbGroup";
    QTest::newRow("unticking cbAll") << "cbAll";
  }
  void theScopeBoxesHandTheGroupToThePreview() {
    QFETCH(QString, click);
    groups();
    MessagePage &page = message();
    QVERIFY(page.cbAll->isChecked());
    QVERIFY(!page.cbGroup->isChecked());
    QVERIFY(!page.dblcListGroup->isEnabled());
    QCOMPARE(page.dblcListGroup->currentIndex(), -1);
    QCOMPARE(page.dblcListGroup->count(), 2);
    QVERIFY(selection().allTicked());

    f->selectGroup(5);
    applyAnnaOrIvan();
    // All groups: the condition built while group 5 was shown reaches group 1 too.
    QCOMPARE(previewPhones(), QStringList({"+711", "+751", "+753"}));

    (click == "cbGroup" ? page.cbGroup : page.cbAll)->click();
    QVERIFY(page.cbGroup->isChecked());
    QVERIFY(!page.cbAll->isChecked());
    QVERIFY(page.dblcListGroup->isEnabled());
    QCOMPARE(page.dblcListGroup->currentText(), "Five");
    QVERIFY(selection().groupTicked());
    QCOMPARE(selection().groupId().toInt(), 5);
    QVERIFY(selection().recipientQuery("NAME").endsWith(
        " FROM CONTACTS WHERE IDGROUP = 5 AND ((NAME = 'Anna') OR (NAME = 'Ivan'))"));
    QCOMPARE(previewPhones(), QStringList({"+751", "+753"}));

    // Another group picked in the choice, whatever the contacts page shows.
    const int one = page.dblcListGroup->findText("One");
    page.dblcListGroup->setCurrentIndex(one);
    emit page.dblcListGroup->activated(one);
    QCOMPARE(selection().groupId().toInt(), 1);
    QCOMPARE(previewPhones(), QStringList({"+711"}));

    // Back to all groups: the choice is cleared and disabled.
    (click == "cbGroup" ? page.cbGroup : page.cbAll)->click();
    QVERIFY(page.cbAll->isChecked());
    QVERIFY(!page.cbGroup->isChecked());
    QCOMPARE(page.dblcListGroup->currentIndex(), -1);
    QVERIFY(!page.dblcListGroup->isEnabled());
    QVERIFY(selection().allTicked());
    QVERIFY(!selection().groupId().isValid());
  }

  void aChosenGroupThatIsDeletedIsNoLongerChosen() {
    groups();
    f->execute("INSERT INTO LISTGROUPS (ID, NAME) VALUES (9, 'Empty')");
    f->reload();
    f->selectGroup(9);
    message().cbGroup->click();
    QCOMPARE(selection().groupId().toInt(), 9);
    QCOMPARE(message().dblcListGroup->currentText(), "Empty");
    f->dialogs.confirmAnswers << true;
    f->focusGroups();
    f->window->ActDelete->trigger();
    QCOMPARE(f->scalar("SELECT COUNT(*) FROM LISTGROUPS WHERE ID = 9").toInt(), 0);
    QCOMPARE(message().dblcListGroup->count(), 2);
    QCOMPARE(message().dblcListGroup->currentIndex(), -1);
    QVERIFY(message().cbGroup->isChecked());
    QVERIFY(!selection().groupId().isValid());
    // Without a group the preview is refused rather than sent anywhere else.
    message().mmTemplate->setPlainText("[TEL]");
    QVERIFY_THROWS_EXCEPTION(DatabaseError, messages().TS3Show());
  }
};

QTEST_MAIN(TestSelectionWindow)
#include "test_selection_window.moc"
