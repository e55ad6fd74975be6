// The editing rules of groups and contacts as the operator meets them on the contacts page:
// the record actions, the add and rename dialogs, the delete questions, and a post that
// fails (an empty name, a row locked by another transaction) keeping the dialog open.
#include "ContactsFixture.h"

#include "common/LangConstants.h"
#include "data/DatabaseError.h"
#include "data/Query.h"
#include "gui/base/DBDateEdit.h"
#include "gui/base/DBEdit.h"
#include "gui/base/FieldNotices.h"
#include "gui/contacts/ContactsPage.h"
#include "gui/contacts/TFAddContact.h"
#include "gui/contacts/TFAddGroup.h"
#include "gui/sending/SendingPage.h"

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

namespace {
TFAddContact &contactDialog(TFParentAdd &d) {
  return *qobject_cast<TFAddContact *>(&d);
}
TFAddGroup &groupDialog(TFParentAdd &d) {
  return *qobject_cast<TFAddGroup *>(&d);
}

// Types text key by key, a character outside the basic plane (both halves) as one key.
void typeCharacters(QWidget *widget, const QString &text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    const qsizetype width = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, text.mid(i, width), Qt::NoModifier);
    i += width - 1;
  }
}

void type(QLineEdit *edit, const QString &text) {
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  ContactsFixture::typeText(edit, text);
}
} // namespace

class ContactsDialogsTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TestDatabase> db;
  std::unique_ptr<ContactsFixture> f;

  int groupCount(const QString &name) {
    return f->scalar("SELECT COUNT(*) FROM LISTGROUPS WHERE NAME = :N", {{"N", name}}).toInt();
  }

private slots:
  void initTestCase() { db = std::make_unique<TestDatabase>(); }
  void init() { f = std::make_unique<ContactsFixture>(*db); }
  void cleanup() { f.reset(); }
  void cleanupTestCase() { db.reset(); }

  void newGroupConfirmed_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QString>("refusal"); // the [Constant] key of the message
    QTest::newRow("named") << QStringLiteral("Клиенты") << true << QString();
    QTest::newRow("empty name") << QString() << false << "stRequired";
    QTest::newRow("blank name is a name") << QStringLiteral(" ") << true << QString();
    QTest::newRow("letters outside the Cyrillic code page")
        << QStringLiteral("Группа 中") << false << "stCharField";
  }
  // OK on a new group: stored and committed at once, or refused with a message that names
  // the field by its label, the dialog still open; cancelling then discards.
  void newGroupConfirmed() {
    QFETCH(QString, name);
    QFETCH(bool, stored);
    QFETCH(QString, refusal);
    f->focusGroups();
    const int keyBefore = f->scalar("SELECT GEN_ID(GEN_LISTGROUPS_ID, 0) FROM RDB$DATABASE").toInt();
    bool stayedOpen = false;
    QString caption;
    ContactsFixture::whenDialogOpens([&](TFParentAdd &d) {
      caption = d.windowTitle();
      QCOMPARE(d.focusWidget(), groupDialog(d).DBEdit1);
      ContactsFixture::typeText(groupDialog(d).DBEdit1, name);
      d.butOK->click();
      stayedOpen = d.isVisible();
      QCOMPARE(f->module->IBGroups.state(), stayedOpen ? DataSet::State::Insert : DataSet::State::Browse);
      if (stayedOpen)
        d.butCancel->click();
    });
    f->window->ActInsert->trigger();
    QCOMPARE(caption, QStringLiteral("Group [new]"));
    QCOMPARE(stayedOpen, !stored);
    QCOMPARE(f->module->IBGroups.state(), DataSet::State::Browse);
    QCOMPARE(f->scalar("SELECT COUNT(*) FROM LISTGROUPS").toInt(), stored ? 1 : 0);
    QCOMPARE(f->module->IBGroups.rowCount(), stored ? 1 : 0);
    // The key was taken when the row was created: a cancelled one leaves a gap.
    QCOMPARE(f->scalar("SELECT GEN_ID(GEN_LISTGROUPS_ID, 0) FROM RDB$DATABASE").toInt(), keyBefore + 1);
    if (stored) {
      QVERIFY(f->dialogs.messageTexts().isEmpty());
    } else {
      // The name field by its label, as the operator sees it.
      const QString expected = refusal == "stRequired" ? LangConst().stRequired.arg("Name")
                                                       : LangConst().stCharField.arg("Name", "中");
      QCOMPARE(f->dialogs.messageTexts(), QStringList{GetIniText(expected)});
    }
  }

  void contactFieldRefusedByItsTitle_data() {
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("title"); // in [Fields] of the English file
    QTest::newRow("name") << "DBEdit1"
                          << "Name";
    QTest::newRow("field 4") << "DBEdit6"
                             << "Field 4";
    QTest::newRow("phone") << "mkePhone"
                           << "Phone";
  }
  // A character the code page lacks: the field by its title, the whole character, in the
  // interface language; the dialog stays open with the text as typed, nothing stored.
  void contactFieldRefusedByItsTitle() {
    QFETCH(QString, edit);
    QFETCH(QString, title);
    const int group = f->addGroup("G");
    f->selectGroup(group);
    f->focusContacts();
    const QString typed = QString::fromUtf8("Анна \U0001F600");
    ContactsFixture::whenDialogOpens([&](TFParentAdd &d) {
      auto *e = d.findChild<QLineEdit *>(edit);
      QVERIFY(e);
      e->setFocus();
      typeCharacters(e, typed);
      d.butOK->click();
      QVERIFY(d.isVisible());
      QCOMPARE(e->text(), typed);
      QCOMPARE(d.focusWidget(), e);
      d.butCancel->click();
    });
    f->window->ActInsert->trigger();
    QCOMPARE(f->dialogs.messageTexts(),
             QStringList{GetIniText(LangConst().stCharField.arg(title, QString::fromUtf8("\U0001F600")))});
    QCOMPARE(f->scalar("SELECT COUNT(*) FROM CONTACTS").toInt(), 0);
  }

  void renameGroup() {
    const int id = f->addGroup("Old");
    f->focusGroups();
    ContactsFixture::whenDialogOpens([&](TFParentAdd &d) {
      QCOMPARE(d.windowTitle(), QStringLiteral("Group [edit]"));
      QCOMPARE(groupDialog(d).DBEdit1->text(), QStringLiteral("Old"));
      type(groupDialog(d).DBEdit1, "New");
      d.butOK->click();
    });
    f->window->ActEdit->trigger();
    QCOMPARE(f->scalar("SELECT NAME FROM LISTGROUPS WHERE ID = :ID", {{"ID", id}}).toString(),
             QStringLiteral("New"));
  }

  void deleteGroup_data() {
    QTest::addColumn<int>("contacts");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("empty group, OK") << 0 << QList<bool>{true} << true;
    QTest::newRow("empty group, Cancel") << 0 << QList<bool>{false} << false;
    QTest::newRow("with contacts, OK twice") << 3 << QList<bool>{true, true} << true;
    QTest::newRow("with contacts, Cancel at the second") << 3 << QList<bool>{true, false} << false;
    QTest::newRow("with contacts, Cancel at the first") << 3 << QList<bool>{false} << false;
  }
  // One question for an empty group, a second one for a group that has contacts; Cancel at
  // either leaves the group. The database deletes the contacts with their group.
  void deleteGroup() {
    QFETCH(int, contacts);
    QFETCH(QList<bool>, answers);
    QFETCH(bool, deleted);
    const int id = f->addGroup("Doomed", contacts);
    f->addGroup("Other", 2);
    f->selectGroup(id);
    f->focusGroups();
    for (bool a : answers)
      f->dialogs.confirmAnswers.enqueue(a);
    f->window->ActDelete->trigger();

    QCOMPARE(f->dialogs.shown.size(), answers.size());
    QCOMPARE(f->dialogs.shown[0].title, QStringLiteral("Delete"));
    QCOMPARE(f->dialogs.shown[0].text, QStringLiteral("Delete the selected group?"));
    if (answers.size() == 2)
      QCOMPARE(f->dialogs.shown[1].text, GetIniText(LangConst().stDelAllGroup));
    QCOMPARE(groupCount("Doomed"), deleted ? 0 : 1);
    QCOMPARE(f->scalar("SELECT COUNT(*) FROM CONTACTS WHERE IDGROUP = :G", {{"G", id}}).toInt(),
             deleted ? 0 : contacts);
    QCOMPARE(f->scalar("SELECT COUNT(*) FROM CONTACTS").toInt(), (deleted ? 0 : contacts) + 2);
    QCOMPARE(f->module->IBGroups.rowCount(), deleted ? 1 : 2);
  }

  void deleteRow_data() {
    QTest::addColumn<QString>("dataSet");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("question");
    for (bool answer : {true, false}) {
      const char *a = answer ? "OK" : "Cancel";
      QTest::addRow("contact, %s", a) << "IBContacts" << answer << "Delete the selected contact?";
      QTest::addRow("template, %s", a) << "IBTemplate" << answer << "Delete the selected template?";
      QTest::addRow("filter, %s", a) << "IBFilter" << answer << "Delete the selected filter?";
    }
  }
  void deleteRow() {
    QFETCH(QString, dataSet);
    QFETCH(bool, answer);
    QFETCH(QString, question);
    const int group = f->addGroup("G");
    f->addContact(group, "Ann");
    f->execute("INSERT INTO TEMPLATE (ID, NAME, FTEXT) VALUES (1, 'T', 'text')");
    f->execute("INSERT INTO LISTFILT (ID, NAME, FILT) VALUES (1, 'F', 'NAME = ''Ann''')");
    DataSet &ds = dataSet == "IBContacts"   ? f->module->IBContacts
                  : dataSet == "IBTemplate" ? f->module->IBTemplate
                                            : f->module->IBFilter;
    ds.refresh();
    QCOMPARE(ds.rowCount(), 1);
    f->dialogs.confirmAnswers.enqueue(answer);
    try {
      ds.remove();
      QVERIFY(answer);
    } catch (const SilentAbort &) {
      QVERIFY(!answer);
    }
    QCOMPARE(f->dialogs.shown.size(), 1);
    QCOMPARE(f->dialogs.shown[0].title, QStringLiteral("Delete"));
    QCOMPARE(f->dialogs.shown[0].text, question);
    QCOMPARE(ds.rowCount(), answer ? 0 : 1);
    // A confirmed contact delete is committed at once: another transaction no longer sees it.
    if (dataSet == "IBContacts")
      QCOMPARE(f->scalar("SELECT COUNT(*) FROM CONTACTS").toInt(), answer ? 0 : 1);
  }

  // A contact added while a group is current belongs to that group and is listed with it.
  void newContactJoinsCurrentGroup() {
    f->addGroup("First");
    const int second = f->addGroup("Second", 1);
    f->selectGroup(second);
    f->focusContacts();
    QString caption;
    ContactsFixture::whenDialogOpens([&](TFParentAdd &d) {
      caption = d.windowTitle();
      TFAddContact &c = contactDialog(d);
      QCOMPARE(d.focusWidget(), c.DBEdit1);
      ContactsFixture::typeText(c.DBEdit1, "Вера");
      ContactsFixture::typeText(c.mkePhone, "+79001234567");
      c.DBDateEdit1->setValueByOperator(QDate(1990, 5, 17));
      ContactsFixture::typeText(c.DBEdit3, "one");
      ContactsFixture::typeText(c.DBEdit6, "four");
      d.butOK->click();
    });
    f->window->ActInsert->trigger();
    QCOMPARE(caption, QStringLiteral("Contact [new]"));
    const QVariant id = f->scalar("SELECT ID FROM CONTACTS WHERE NAME = :N", {{"N", QStringLiteral("Вера")}});
    QVERIFY(id.isValid());
    QCOMPARE(f->scalar("SELECT IDGROUP FROM CONTACTS WHERE ID = :ID", {{"ID", id}}).toInt(), second);
    QCOMPARE(f->scalar("SELECT PHONE FROM CONTACTS WHERE ID = :ID", {{"ID", id}}).toString(),
             QStringLiteral("+79001234567"));
    QCOMPARE(f->scalar("SELECT BIRTHDATE FROM CONTACTS WHERE ID = :ID", {{"ID", id}}).toDate(),
             QDate(1990, 5, 17));
    QCOMPARE(f->scalar("SELECT GFIELD FROM CONTACTS WHERE ID = :ID", {{"ID", id}}).toString(),
             QStringLiteral("four"));
    QCOMPARE(f->module->IBContacts.rowCount(), 2);
    QCOMPARE(f->module->IBContacts.value("ID"), id);
  }

  void phoneCopiedInAndOut_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("retype");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("untouched") << "+7 (900) 111-22-33" << false << QString()
                               << QVariant("+7 (900) 111-22-33");
    QTest::newRow("25 characters cut to 20")
        << "1" << true << "1234567890123456789012345" << QVariant("12345678901234567890");
    QTest::newRow("exactly 20") << "1" << true << "abcdefghijklmnopqrst" << QVariant("abcdefghijklmnopqrst");
    QTest::newRow("cleared") << "12345" << true << QString() << QVariant();
    QTest::newRow("not a number is stored too") << "1" << true << "call me" << QVariant("call me");
  }
  void phoneCopiedInAndOut() {
    QFETCH(QString, stored);
    QFETCH(bool, retype);
    QFETCH(QString, typed);
    QFETCH(QVariant, expected);
    const int group = f->addGroup("G");
    const int id = f->addContact(group, "Ann", stored);
    f->reload();
    f->focusContacts();
    ContactsFixture::whenDialogOpens([&](TFParentAdd &d) {
      QCOMPARE(d.windowTitle(), QStringLiteral("Contact [edit]"));
      TFAddContact &c = contactDialog(d);
      QCOMPARE(c.mkePhone->text(), stored);
      if (retype)
        type(c.mkePhone, typed);
      d.butOK->click();
    });
    f->window->ActEdit->trigger();
    const QVariant phone = f->scalar("SELECT PHONE FROM CONTACTS WHERE ID = :ID", {{"ID", id}});
    QCOMPARE(phone.isNull(), expected.isNull());
    if (!expected.isNull())
      QCOMPARE(phone.toString(), expected.toString());
    // A cut is stored, and told: the field, the length kept and the length typed.
    QCOMPARE(f->dialogs.messageTexts(),
             typed.size() > 20 ? QStringList{GetIniText(LangConst().stCut.arg("Phone", "20", "25"))}
                               : QStringList{});
  }

  void birthDate_data() {
    QTest::addColumn<QDate>("stored");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QDate>("expected");
    QTest::newRow("untouched") << QDate(1980, 1, 2) << "" << QDate(1980, 1, 2);
    QTest::newRow("set where there was none") << QDate() << "set" << QDate(1990, 5, 17);
    QTest::newRow("emptied with Delete") << QDate(1980, 1, 2) << "clear" << QDate();
  }
  void birthDate() {
    QFETCH(QDate, stored);
    QFETCH(QString, action);
    QFETCH(QDate, expected);
    const int group = f->addGroup("G");
    const int id = f->addContact(group, "Ann");
    f->execute("UPDATE CONTACTS SET BIRTHDATE = :D WHERE ID = :ID", {{"D", stored}, {"ID", id}});
    f->reload();
    f->focusContacts();
    ContactsFixture::whenDialogOpens([&](TFParentAdd &d) {
      DBDateEdit *date = contactDialog(d).DBDateEdit1;
      QCOMPARE(date->value(), stored);
      if (action == "set") {
        date->setValueByOperator(QDate(1990, 5, 17));
      } else if (action == "clear") {
        date->selectAll();
        QTest::keyClick(date, Qt::Key_Delete);
        QCOMPARE(date->value(), QDate());
      }
      d.butOK->click();
    });
    f->window->ActEdit->trigger();
    QCOMPARE(f->scalar("SELECT BIRTHDATE FROM CONTACTS WHERE ID = :ID", {{"ID", id}}).toDate(), expected);
  }

  void closeBoxDiscards_data() {
    QTest::addColumn<bool>("newContact");
    QTest::newRow("new contact") << true;
    QTest::newRow("edited contact") << false;
  }
  // The close box (like Cancel or Esc) discards a new contact and undoes an edit, phone included.
  void closeBoxDiscards() {
    QFETCH(bool, newContact);
    const int group = f->addGroup("G");
    f->addContact(group, "Ann", "111");
    f->reload();
    f->focusContacts();
    ContactsFixture::whenDialogOpens([&](TFParentAdd &d) {
      TFAddContact &c = contactDialog(d);
      type(c.DBEdit1, "Changed");
      type(c.mkePhone, "999");
      QVERIFY(d.close());
    });
    (newContact ? f->window->ActInsert : f->window->ActEdit)->trigger();
    QCOMPARE(f->module->IBContacts.state(), DataSet::State::Browse);
    QCOMPARE(f->module->IBContacts.rowCount(), 1);
    QCOMPARE(f->module->IBContacts.value("NAME").toString(), QStringLiteral("Ann"));
    QCOMPARE(f->scalar("SELECT COUNT(*) FROM CONTACTS").toInt(), 1);
    QCOMPARE(f->scalar("SELECT NAME || PHONE FROM CONTACTS").toString(), QStringLiteral("Ann111"));
  }

  // Another transaction holds the contact: OK shows the lock error and keeps the dialog
  // open with everything typed; once the other transaction ends, OK stores it.
  void lockConflictKeepsTheDialog() {
    const int group = f->addGroup("G");
    const int id = f->addContact(group, "Ann", "111");
    f->reload();
    f->focusContacts();
    auto other = std::make_unique<Transaction>(f->module->KyvBase);
    Query hold(*other, "UPDATE CONTACTS SET DFIELD = 'held' WHERE ID = :ID");
    hold.setParam("ID", id);
    hold.execute();

    ContactsFixture::whenDialogOpens([&](TFParentAdd &d) {
      TFAddContact &c = contactDialog(d);
      type(c.DBEdit1, "Anna");
      type(c.mkePhone, "222");
      d.butOK->click();
      QVERIFY(d.isVisible());
      QCOMPARE(f->dialogs.messageTexts().size(), 1);
      QVERIFY(f->dialogs.messageTexts().first().startsWith("DatabaseError\n"));
      QCOMPARE(f->module->IBContacts.state(), DataSet::State::Edit);
      QCOMPARE(c.DBEdit1->text(), QStringLiteral("Anna"));
      QCOMPARE(c.mkePhone->text(), QStringLiteral("222"));
      other->rollback();
      d.butOK->click();
      QVERIFY(!d.isVisible());
    });
    f->window->ActEdit->trigger();
    QCOMPARE(f->scalar("SELECT NAME || PHONE FROM CONTACTS WHERE ID = :ID", {{"ID", id}}).toString(),
             QStringLiteral("Anna222"));
  }

  void captionSuffix_data() {
    QTest::addColumn<QString>("formCaption");
    QTest::addColumn<bool>("newRow");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no caption, new") << QString() << true << " [nouveau]";
    QTest::newRow("no caption, edit") << QString() << false << " [changer]";
    QTest::newRow("caption, new") << "Fiche" << true << "Fiche [nouveau]";
  }
  // The caption always comes from the language file, empty when it has none.
  void captionSuffix() {
    QFETCH(QString, formCaption);
    QFETCH(bool, newRow);
    QFETCH(QString, expected);
    QString ini = "[Constant]\r\nstNew=nouveau\r\nstEdit=changer\r\n[TLabel]\r\nLabel1=Nom\r\n";
    if (!formCaption.isEmpty())
      ini += "[TForm]\r\nFAddContact=" + formCaption + "\r\n";
    f->folder.writeText("langs/Bare.ini", ini);
    CurrentLang() = "Bare";
    LoadLangConst("Bare");
    const int group = f->addGroup("G");
    f->addContact(group, "Ann");
    f->reload();
    f->focusContacts();
    QString caption, label;
    ContactsFixture::whenDialogOpens([&](TFParentAdd &d) {
      caption = d.windowTitle();
      label = contactDialog(d).Label1->text();
      d.reject();
    });
    (newRow ? f->window->ActInsert : f->window->ActEdit)->trigger();
    QCOMPARE(caption, expected);
    QCOMPARE(label, QStringLiteral("Nom"));
  }

  void boundEditsTakeTheColumnLength_data() {
    QTest::addColumn<QString>("edit");
    QTest::addColumn<int>("length");
    QTest::newRow("name") << "DBEdit1" << 50;
    QTest::newRow("field 1") << "DBEdit3" << 100;
    QTest::newRow("field 4") << "DBEdit6" << 100;
  }
  void boundEditsTakeTheColumnLength() {
    QFETCH(QString, edit);
    QFETCH(int, length);
    f->addGroup("G");
    f->focusContacts();
    ContactsFixture::whenDialogOpens([&](TFParentAdd &d) {
      auto *e = d.findChild<DBEdit *>(edit);
      QVERIFY(e);
      ContactsFixture::typeText(e, QString(length + 5, u'ж'));
      QCOMPARE(e->text(), QString(length, u'ж'));
      QCOMPARE(d.DS->value(e->field()).toString(), QString(length, u'ж'));
      // Told once, when the text first went past the limit, with the field's label.
      QTRY_COMPARE(f->dialogs.messageTexts().size(), 1);
      QCOMPARE(f->dialogs.messageTexts().first(),
               GetIniText(LangConst().stCut.arg(field_notices::captionOf(static_cast<QWidget *>(e)),
                                                QString::number(length), QString::number(length + 1))));
      QVERIFY(!field_notices::captionOf(static_cast<QWidget *>(e)).isEmpty());
      d.butOK->click();
    });
    f->window->ActInsert->trigger();
    QCOMPARE(f->module->IBContacts.state(), DataSet::State::Browse);
    QCOMPARE(f->module->IBContacts.value(edit == "DBEdit1"   ? "NAME"
                                         : edit == "DBEdit3" ? "DFIELD"
                                                             : "GFIELD"),
             QVariant(QString(length, u'ж')));
  }

  // Typing into a bound edit of a browsed row puts the row into edit mode (here the edit is
  // outside any dialog, so the row event opens the rename dialog).
  void typingStartsAnEdit() {
    f->addGroup("Old");
    DBEdit edit;
    edit.bind(&f->module->IBGroups, "NAME");
    QCOMPARE(edit.text(), QStringLiteral("Old"));
    DataSet::State during = DataSet::State::Browse;
    QString dialogName;
    ContactsFixture::whenDialogOpens([&](TFParentAdd &d) {
      during = f->module->IBGroups.state();
      dialogName = groupDialog(d).DBEdit1->text();
      d.butOK->click();
    });
    ContactsFixture::typeText(&edit, "!");
    QCOMPARE(during, DataSet::State::Edit);
    QCOMPARE(f->module->IBGroups.state(), DataSet::State::Browse);
    QCOMPARE(edit.text(), QStringLiteral("Old"));
    QCOMPARE(dialogName, QStringLiteral("Old"));
  }

  void actionsEnabled_data() {
    QTest::addColumn<int>("groups");
    QTest::addColumn<int>("contacts");
    QTest::addColumn<bool>("onGroups");
    QTest::addColumn<bool>("sendingPageShown");
    QTest::addColumn<QString>("enabled"); // I, E, D for insert, edit, delete
    QTest::newRow("no groups, groups grid") << 0 << 0 << true << false << "I";
    QTest::newRow("no groups, contacts grid: no group to add to") << 0 << 0 << false << false << "";
    QTest::newRow("group, groups grid") << 1 << 0 << true << false << "IED";
    QTest::newRow("empty group, contacts grid") << 1 << 0 << false << false << "I";
    QTest::newRow("contacts, contacts grid") << 1 << 2 << false << false << "IED";
    // No grid of the contacts page has the focus on another page: nothing to act on.
    QTest::newRow("contacts, sending page shown") << 1 << 2 << false << true << "";
    QTest::newRow("groups grid, sending page shown") << 1 << 2 << true << true << "";
  }
  void actionsEnabled() {
    QFETCH(int, groups);
    QFETCH(int, contacts);
    QFETCH(bool, onGroups);
    QFETCH(bool, sendingPageShown);
    QFETCH(QString, enabled);
    for (int g = 0; g < groups; ++g)
      f->addGroup(QString("G%1").arg(g), contacts);
    onGroups ? f->focusGroups() : f->focusContacts();
    if (sendingPageShown)
      f->window->lbContactsClick(f->window->lbTypeSend);
    QString state;
    if (f->window->ActInsert->isEnabled())
      state += 'I';
    if (f->window->ActEdit->isEnabled())
      state += 'E';
    if (f->window->ActDelete->isEnabled())
      state += 'D';
    QCOMPARE(state, enabled);
    QCOMPARE(f->window->TS1->tbDelete->isEnabled(), enabled.contains('D'));
    if (sendingPageShown) { // back on the contacts page delete works again
      f->window->lbContactsClick(f->window->lbContacts);
      QVERIFY(f->window->ActDelete->isEnabled());
    }
  }

  // On the other pages the record keys find no grid of the contacts page with the focus:
  // Ins opens no dialog, Ctrl+E edits nothing and Ctrl+Del asks nothing.
  void recordKeysDoNothingOffTheContactsPage_data() {
    QTest::addColumn<int>("tag");
    QTest::newRow("message page") << 2;
    QTest::newRow("preview page") << 3;
    QTest::newRow("sending page") << 4;
    QTest::newRow("dispatch page") << 5;
    QTest::newRow("about page") << 6;
  }
  void recordKeysDoNothingOffTheContactsPage() {
    QFETCH(int, tag);
    f->addGroup("G", 2);
    f->focusContacts();
    QVERIFY(f->window->ActDelete->isEnabled());
    f->window->lbContactsClick(f->window->navigationLabel(tag));
    QWidget *page = f->window->PCMain->currentWidget();
    if (QWidget *field = page->findChild<QPlainTextEdit *>())
      field->setFocus();
    bool dialogOpened = false;
    QTimer guard; // a dialog opened by mistake is closed, so the test can say so
    connect(&guard, &QTimer::timeout, this, [&] {
      if (QWidget *modal = QApplication::activeModalWidget()) {
        dialogOpened = true;
        modal->close();
      }
    });
    guard.start(0);
    for (const QKeySequence &key : {QKeySequence(Qt::Key_Insert), QKeySequence(Qt::CTRL | Qt::Key_E),
                                    QKeySequence(Qt::CTRL | Qt::Key_Delete)})
      QTest::keySequence(f->window.get(), key);
    for (QAction *a : {f->window->ActInsert, f->window->ActEdit, f->window->ActDelete})
      QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
    QVERIFY(!dialogOpened);
    QVERIFY(f->dialogs.shown.isEmpty());
    QCOMPARE(f->module->IBContacts.state(), DataSet::State::Browse);
    QCOMPARE(f->scalar("SELECT COUNT(*) FROM CONTACTS").toInt(), 2);
    // Back on the contacts page the keys work on the contacts grid again.
    f->window->lbContactsClick(f->window->lbContacts);
    QVERIFY(f->window->ActDelete->isEnabled());
  }

  // While a dialog is open its row is being edited: no second insert from the same grid.
  void insertDisabledWhileEditing() {
    f->addGroup("G");
    f->focusGroups();
    bool insertEnabled = true;
    ContactsFixture::whenDialogOpens([&](TFParentAdd &d) {
      insertEnabled = f->window->ActInsert->isEnabled();
      d.reject();
    });
    f->window->ActEdit->trigger();
    QVERIFY(!insertEnabled);
    QVERIFY(f->window->ActInsert->isEnabled());
  }
};

QTEST_MAIN(ContactsDialogsTest)
#include "test_contacts_dialogs.moc"
