// The refresh button of the dispatch page: one pass on the refresh worker against the local
// gateway, the wait cursor while it runs, the contact list reopened at its end.
#include "support/ContactTable.h"
#include "GatewayFolder.h"
#include "LocalGateway.h"
#include "data/TDModule.h"
#include "dispatch/TRefreshThread.h"
#include "gui/dispatch/DispatchPage.h"
#include "gui/dispatch/RefreshController.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDatabase.h"

#include <QtTest>

#include <future>
#include <memory>

namespace {
const QString verify = QStringLiteral("VerifySMSStatus");

qint32 askedNumber(const ReceivedRequest &request) {
  return LocalGateway::argumentOf(request, "smsID").toInt();
}
} // namespace

class TestRefresh : public QObject {
  Q_OBJECT

  std::unique_ptr<TestDatabase> db_;
  std::unique_ptr<ScriptedDialogs> dialogs_;
  std::unique_ptr<TDModule> module_;
  std::unique_ptr<ContactTable> table_;
  std::unique_ptr<LocalGateway> gateway_;
  std::unique_ptr<GatewayFolder> folder_;
  std::unique_ptr<DispatchPage> page_;
  std::unique_ptr<TRefreshThread> worker_;
  std::unique_ptr<RefreshController> controller_;
  QList<int> contacts_;

  // The value the contact list shows for a contact.
  QVariant shown(int contact, const QString &column) {
    DataSet &list = module_->IBContacts;
    list.fetchAll();
    const int id = list.fieldIndex("ID");
    for (int row = 0; row < list.rowCount(); ++row)
      if (list.value(row, id).toInt() == contact)
        return list.value(row, list.fieldIndex(column));
    return QStringLiteral("not in the list");
  }
  void click() { QTest::mouseClick(page_->tbRefresh, Qt::LeftButton); }
  void waitForThePass() {
    QTRY_VERIFY(!controller_->passRunning());
    QCOMPARE(dialogs_->waitCursorDepth, 0);
  }

private slots:
  void init() {
    db_ = std::make_unique<TestDatabase>();
    dialogs_ = std::make_unique<ScriptedDialogs>();
    module_ = std::make_unique<TDModule>();
    module_->openAt(db_->path());
    table_ = std::make_unique<ContactTable>(module_->KyvBase);
    const int group = table_->addGroup("Clients");
    contacts_.clear();
    for (int i = 0; i < 3; ++i)
      contacts_ << table_->addContact(
          group, {{"NAME", QStringLiteral("Contact %1").arg(i)}, {"SEND", 1}, {"IDMESSAGE", 500 + i}});
    module_->IBGroups.refresh();
    QVERIFY(module_->IBGroups.locate("ID", group));
    gateway_ = std::make_unique<LocalGateway>();
    // Message 501 is delivered, the others wait.
    gateway_->setResponder([](const ReceivedRequest &r) {
      return LocalGateway::soapAnswer(verify, {"x", askedNumber(r) == 501 ? "st_deliver" : "st_wait"});
    });
    folder_ = std::make_unique<GatewayFolder>(gateway_->url());
    page_ = std::make_unique<DispatchPage>();
    worker_ = std::make_unique<TRefreshThread>(&module_->KyvBase);
    controller_ = std::make_unique<RefreshController>(*page_, *worker_, &module_->IBContacts, dialogs_.get());
  }
  void cleanup() {
    controller_.reset();
    worker_.reset();
    page_.reset();
    folder_.reset();
    gateway_.reset();
    table_.reset();
    module_.reset();
    dialogs_.reset();
    db_.reset();
  }

  void deliveredContactShowsInTheGrid() {
    QCOMPARE(shown(contacts_[1], "SEND"), QVariant(1));
    // A change the list has not read yet shows once it is reopened.
    table_->execute("UPDATE CONTACTS SET NAME = 'Renamed' WHERE ID = :ID", {{"ID", contacts_[2]}});
    click();
    QVERIFY(controller_->passRunning());
    QCOMPARE(dialogs_->waitCursorDepth, 1);
    waitForThePass();
    QCOMPARE(shown(contacts_[0], "SEND"), QVariant(1));
    QCOMPARE(shown(contacts_[1], "SEND"), QVariant(3));
    QCOMPARE(shown(contacts_[2], "NAME"), QVariant("Renamed"));
    QVERIFY(dialogs_->shown.isEmpty());
  }

  void unreachableGatewayStillReopensTheGrid() {
    const RefusingPort nobody;
    folder_->pointAt(nobody.url());
    table_->execute("UPDATE CONTACTS SET NAME = 'Renamed' WHERE ID = :ID", {{"ID", contacts_[0]}});
    click();
    waitForThePass();
    for (int contact : contacts_) {
      QCOMPARE(table_->value(contact, "SEND"), QVariant(1));
      QCOMPARE(shown(contact, "SEND"), QVariant(1));
    }
    QCOMPARE(shown(contacts_[0], "NAME"), QVariant("Renamed"));
    QVERIFY(dialogs_->shown.isEmpty()); // no message for the operator
  }

  void twoQuickClicksRunOnePass() {
    std::promise<void> release;
    auto released = release.get_future().share();
    gateway_->setResponder([released](const ReceivedRequest &) {
      released.wait();
      return LocalGateway::soapAnswer(verify, {"x", "st_wait"});
    });
    click();
    QTRY_COMPARE(gateway_->requests().size(), 1); // the pass is asking
    click();
    QCOMPARE(dialogs_->waitCursorDepth, 1);
    release.set_value();
    waitForThePass();
    QList<qint32> asked;
    for (const ReceivedRequest &r : gateway_->requests())
      asked << askedNumber(r);
    QCOMPARE(asked, (QList<qint32>{500, 501, 502}));
    // The next click after the pass runs the next pass.
    click();
    waitForThePass();
    QCOMPARE(gateway_->requests().size(), 6);
  }

  // A contact dialog open over the list when the pass ends: the operator's typing is kept, and
  // the list is reopened once the edit is posted.
  void editInProgressIsKept() {
    DataSet &list = module_->IBContacts;
    QVERIFY(list.locate("ID", contacts_[0]));
    list.edit();
    list.setValue("NAME", "Typed meanwhile");
    click();
    waitForThePass();
    QCOMPARE(list.state(), DataSet::State::Edit);
    QCOMPARE(list.value("NAME"), QVariant("Typed meanwhile"));
    QCOMPARE(table_->value(contacts_[1], "SEND"), QVariant(3));
    list.post();
    QTRY_COMPARE(shown(contacts_[1], "SEND"), QVariant(3));
    QCOMPARE(table_->value(contacts_[0], "NAME"), QVariant("Typed meanwhile"));
  }
};

QTEST_MAIN(TestRefresh)
#include "test_refresh.moc"
