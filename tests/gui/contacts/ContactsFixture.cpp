#include "ContactsFixture.h"

#include "common/LangConstants.h"
#include "data/Query.h"
#include "gui/contacts/ContactsPage.h"
#include "support/ContactTable.h"
#include "support/ModalAnswer.h"

#include <QApplication>
#include <QTableView>
#include <QTest>
#include <QTimer>

ContactsFixture::ContactsFixture(const TestDatabase &db, const QString &lang) {
  folder.copyShippedFiles();
  folder.writeText("kyv.ini", "[params]\r\nLang=" + lang + "\r\n");
  reloadLangFiles();
  module = std::make_unique<TDModule>();
  module->openAt(db.path());
  // One database serves the whole run; every test starts from the seed rows alone.
  for (const char *sql :
       {"DELETE FROM CONTACTS", "DELETE FROM LISTGROUPS", "DELETE FROM TEMPLATE", "DELETE FROM LISTFILT",
        "UPDATE RB_FIELDS SET FVISIBLE = 1", "UPDATE RB_FIELDS SET NAMEDS = 'NAME' WHERE ID = 2"})
    execute(sql);
  module->openAt(db.path());
  rowDialogs = std::make_unique<RowDialogs>(*module);
  window = std::make_unique<TFMain>(module.get(), rowDialogs.get());
  window->show();
  // The record actions follow the keyboard focus, which moves only in an active window.
  window->activateWindow();
  if (!QTest::qWaitForWindowActive(window.get()))
    qWarning("the main window did not become active");
}

ContactsFixture::~ContactsFixture() {
  window.reset();
  rowDialogs.reset();
  module.reset();
}

ContactsController &ContactsFixture::controller() const {
  auto *c = window->findChild<ContactsController *>();
  if (!c)
    qFatal("the main window has no contacts page controller");
  return *c;
}

void ContactsFixture::execute(const QString &sql, const QVariantMap &params) {
  ContactTable(module->KyvBase).execute(sql, params);
}

QVariant ContactsFixture::scalar(const QString &sql, const QVariantMap &params) {
  return ContactTable(module->KyvBase).scalar(sql, params);
}

int ContactsFixture::addGroup(const QString &name, int contacts) {
  const int id = scalar("SELECT GEN_ID(GEN_LISTGROUPS_ID, 1) FROM RDB$DATABASE").toInt();
  execute("INSERT INTO LISTGROUPS (ID, NAME) VALUES (:ID, :NAME)", {{"ID", id}, {"NAME", name}});
  for (int i = 0; i < contacts; ++i)
    addContact(id, QStringLiteral("%1 %2").arg(name).arg(i + 1));
  reload();
  return id;
}

int ContactsFixture::addContact(int group, const QString &name, const QString &phone, const QVariant &send,
                                const QVariant &ferror) {
  const int id = scalar("SELECT GEN_ID(GEN_CONTACTS_ID, 1) FROM RDB$DATABASE").toInt();
  execute("INSERT INTO CONTACTS (ID, IDGROUP, NAME, PHONE, SEND, FERROR) VALUES (:ID, :G, :N, :P, :S, :E)",
          {{"ID", id},
           {"G", group},
           {"N", name},
           {"P", phone.isEmpty() ? QVariant() : phone},
           {"S", send},
           {"E", ferror}});
  return id;
}

void ContactsFixture::reload() {
  module->IBGroups.refresh();
  module->IBContacts.refresh();
}

void ContactsFixture::selectGroup(int id) {
  if (!module->IBGroups.locate("ID", id))
    qFatal("no group %d", id);
}

void ContactsFixture::focusGroups() {
  window->TS1->DBGridGroups->setFocus();
}

void ContactsFixture::focusContacts() {
  window->TS1->DBGridContacts->setFocus();
}

void ContactsFixture::whenDialogOpens(std::function<void(TFParentAdd &)> answer) {
  whenModalOpens<TFParentAdd>(std::move(answer), "an add or rename dialog");
}

void ContactsFixture::typeText(QWidget *widget, const QString &text) {
  for (QChar c : text)
    QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}
