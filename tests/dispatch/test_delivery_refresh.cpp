// The delivery refresh pass against the local gateway and a fresh contact database.
#include "support/ContactTable.h"
#include "GatewayFolder.h"
#include "LocalGateway.h"
#include "data/Attachment.h"
#include "data/DatabaseError.h"
#include "data/Query.h"
#include "data/Transaction.h"
#include "dispatch/DeliveryRefresh.h"
#include "support/TestDatabase.h"

#include <QtTest>

#include <atomic>
#include <future>
#include <memory>
#include <thread>

namespace {

const QString verify = QStringLiteral("VerifySMSStatus");

// The message number a VerifySMSStatus request asks about.
qint32 askedNumber(const ReceivedRequest &request) {
  return LocalGateway::argumentOf(request, "smsID").toInt();
}

QList<qint32> askedNumbers(const LocalGateway &gateway) {
  QList<qint32> numbers;
  for (const ReceivedRequest &r : gateway.requests())
    numbers << askedNumber(r);
  return numbers;
}

} // namespace

class TestDeliveryRefresh : public QObject {
  Q_OBJECT

  std::unique_ptr<TestDatabase> db_;
  std::unique_ptr<Attachment> connection_;
  std::unique_ptr<ContactTable> table_;
  std::unique_ptr<LocalGateway> gateway_;
  std::unique_ptr<GatewayFolder> folder_;
  int group_ = 0;

private slots:
  void init() {
    db_ = std::make_unique<TestDatabase>();
    connection_ = std::make_unique<Attachment>();
    connection_->open(db_->path());
    table_ = std::make_unique<ContactTable>(*connection_);
    group_ = table_->addGroup("Clients");
    gateway_ = std::make_unique<LocalGateway>();
    folder_ = std::make_unique<GatewayFolder>(gateway_->url());
  }
  void cleanup() {
    folder_.reset();
    gateway_.reset();
    table_.reset();
    connection_.reset();
    db_.reset();
  }

  // Every contact is asked once, in the database's order; only an exact "st_deliver" in
  // item 1 marks it, and nothing but SEND changes.
  void answersDecideTheMark() {
    struct Case {
      const char *what;
      QVariant idMessage;
      QVariant send;
      QStringList answer; // empty: the gateway answers with a fault
      QVariant expected;
    };
    const QList<Case> cases{
        {"delivered", 11, 1, {"11", "st_deliver"}, 3},
        {"same word in capitals", 12, 1, {"12", "ST_DELIVER"}, 1},
        {"single item", 13, 1, {"st_deliver"}, 1},
        {"other state", 14, 2, {"14", "st_wait", "x"}, 2},
        {"delivered, more items", 15, 2, {"15", "st_deliver", "Доставлено"}, 3},
        {"already delivered, still delivered", 16, 3, {"16", "st_deliver"}, 3},
        {"already delivered, now another state", 17, 3, {"17", "st_wait"}, 3},
        {"gateway fault", 18, 1, {}, 1},
        {"never sent through the gateway: asked with 0",
         QVariant(),
         QVariant(),
         {"0", "st_wait"},
         QVariant()},
        {"blank around the word", 19, 1, {"19", " st_deliver"}, 1},
    };
    QMap<qint32, QStringList> answers;
    QList<int> ids;
    QList<QVariantList> before;
    for (const Case &c : cases) {
      ids << table_->addContact(group_, {{"NAME", QString::fromUtf8(c.what)},
                                         {"PHONE", "79001234567"},
                                         {"SEND", c.send},
                                         {"IDMESSAGE", c.idMessage},
                                         {"DATESEND", QDate(2024, 5, 1)},
                                         {"PARTSEND", 1},
                                         {"FERROR", 0}});
      answers.insert(c.idMessage.isNull() ? 0 : c.idMessage.toInt(), c.answer);
      before << table_->row(ids.last());
    }
    gateway_->setResponder([&](const ReceivedRequest &r) {
      if (LocalGateway::operationOf(r) != verify.toLatin1())
        return LocalGateway::soapFault("unexpected call");
      const QStringList answer = answers.value(askedNumber(r));
      return answer.isEmpty() ? LocalGateway::soapFault("Сервис недоступен")
                              : LocalGateway::soapAnswer(verify, answer);
    });

    const DeliveryRefresh::Outcome outcome = DeliveryRefresh(*connection_).run();

    QList<qint32> expectedNumbers;
    for (const Case &c : cases)
      expectedNumbers << (c.idMessage.isNull() ? 0 : c.idMessage.toInt());
    QCOMPARE(askedNumbers(*gateway_), expectedNumbers);
    QCOMPARE(outcome.asked, int(cases.size()));
    QCOMPARE(outcome.marked, 3);
    QCOMPARE(outcome.failedCalls, 1);
    QVERIFY(outcome.databaseError.isEmpty());
    const int sendColumn = 7; // SEND in table order
    for (int i = 0; i < cases.size(); ++i) {
      QVariantList now = table_->row(ids[i]);
      QCOMPARE(now.value(sendColumn), cases[i].expected);
      now[sendColumn] = before[i][sendColumn];
      QVERIFY2(now == before[i], cases[i].what);
    }
  }

  // A contact never sent through the gateway is marked when the gateway says number 0 was
  // delivered.
  void numberZeroDelivered() {
    const int contact = table_->addContact(group_, {{"SEND", 2}});
    gateway_->answerWith(LocalGateway::soapAnswer(verify, {"0", "st_deliver"}));
    QCOMPARE(DeliveryRefresh(*connection_).run().marked, 1);
    QCOMPARE(askedNumbers(*gateway_), QList<qint32>{0});
    QCOMPARE(table_->value(contact, "SEND"), QVariant(3));
  }

  void unreachableGatewayChangesNothing() {
    const RefusingPort nobody;
    folder_->pointAt(nobody.url());
    QList<int> ids;
    for (int i = 0; i < 3; ++i)
      ids << table_->addContact(group_, {{"SEND", 1}, {"IDMESSAGE", 100 + i}});
    const DeliveryRefresh::Outcome outcome = DeliveryRefresh(*connection_).run();
    QCOMPARE(outcome.asked, 3);
    QCOMPARE(outcome.failedCalls, 3);
    QCOMPARE(outcome.marked, 0);
    QVERIFY(outcome.databaseError.isEmpty());
    for (int id : ids)
      QCOMPARE(table_->value(id, "SEND"), QVariant(1));
  }

  // A row another transaction holds (an operator editing that contact) fails at once under
  // "nowait" and ends the pass; the marks made before it stay committed.
  void lockedRowEndsThePass() {
    QList<int> ids;
    for (int i = 0; i < 3; ++i)
      ids << table_->addContact(group_, {{"SEND", 1}, {"IDMESSAGE", 200 + i}});
    gateway_->setResponder([](const ReceivedRequest &) {
      return LocalGateway::soapAnswer(verify, {"x", "st_deliver"});
    });
    Transaction editing(*connection_);
    Query edit(editing, "UPDATE CONTACTS SET NAME = 'being edited' WHERE ID = :ID");
    edit.setParam("ID", ids[1]);
    edit.execute();

    const DeliveryRefresh::Outcome outcome = DeliveryRefresh(*connection_).run();
    QVERIFY(!outcome.databaseError.isEmpty());
    QCOMPARE(outcome.marked, 1);
    QCOMPARE(outcome.asked, 2); // the third contact is not asked
    editing.rollback();
    QCOMPARE(table_->value(ids[0], "SEND"), QVariant(3));
    QCOMPARE(table_->value(ids[1], "SEND"), QVariant(1));
    QCOMPARE(table_->value(ids[2], "SEND"), QVariant(1));
  }

  // While the pass is still asking, a dispatch writes the outcome of a contact the pass has
  // already marked: it meets no lock, and its write stands.
  void dispatchWritesBesideThePass() {
    QList<int> ids;
    for (int i = 0; i < 3; ++i)
      ids << table_->addContact(group_, {{"SEND", 1}, {"IDMESSAGE", 300 + i}});
    std::promise<void> secondAsked, dispatchDone;
    auto dispatched = dispatchDone.get_future().share();
    gateway_->setResponder([&, dispatched](const ReceivedRequest &r) {
      if (askedNumber(r) == 301) {
        secondAsked.set_value();
        dispatched.wait();
      }
      return LocalGateway::soapAnswer(verify, {"x", "st_deliver"});
    });
    DeliveryRefresh::Outcome outcome;
    std::thread pass([&] { outcome = DeliveryRefresh(*connection_).run(); });
    secondAsked.get_future().wait();
    QString failure;
    try {
      table_->execute("UPDATE CONTACTS SET SEND = 2, FERROR = 1000, IDMESSAGE = NULL WHERE ID = :ID",
                      {{"ID", ids[0]}});
    } catch (const DatabaseErrorBase &e) {
      failure = e.text();
    }
    dispatchDone.set_value();
    pass.join();
    QCOMPARE(failure, QString());
    QCOMPARE(outcome.marked, 3);
    QCOMPARE(table_->value(ids[0], "SEND"), QVariant(2));
    QCOMPARE(table_->value(ids[0], "FERROR"), QVariant(1000));
    QCOMPARE(table_->value(ids[1], "SEND"), QVariant(3));
    QCOMPARE(table_->value(ids[2], "SEND"), QVariant(3));
  }

  // The program closing during a pass: the contact in hand is finished, no other is asked.
  void closingStopsAfterTheContactInHand() {
    QList<int> ids;
    for (int i = 0; i < 4; ++i)
      ids << table_->addContact(group_, {{"SEND", 1}, {"IDMESSAGE", 400 + i}});
    std::atomic<bool> closing{false};
    gateway_->setResponder([&](const ReceivedRequest &r) {
      if (askedNumber(r) == 401)
        closing = true;
      return LocalGateway::soapAnswer(verify, {"x", "st_deliver"});
    });
    DeliveryRefresh pass(*connection_);
    pass.setStopFlag(&closing);
    const DeliveryRefresh::Outcome outcome = pass.run();
    QVERIFY(outcome.interrupted);
    QCOMPARE(askedNumbers(*gateway_), (QList<qint32>{400, 401}));
    QCOMPARE(table_->value(ids[1], "SEND"), QVariant(3));
    QCOMPARE(table_->value(ids[2], "SEND"), QVariant(1));
  }
};

QTEST_GUILESS_MAIN(TestDeliveryRefresh)
#include "test_delivery_refresh.moc"
