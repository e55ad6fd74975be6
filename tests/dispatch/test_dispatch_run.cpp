// One mass dispatch without a window: the status columns per channel, the result lines, the
// reset of the run's recipients, stops, pauses, modem failures and database errors, against a
// fresh database, the local gateway and the simulated modem.
#include "DispatchFixture.h"
#include "GsmTestSetup.h"
#include "LocalGateway.h"
#include "ModemSimulator.h"

#include "common/Cp1251.h"
#include "data/DatabaseError.h"
#include "dispatch/DispatchRun.h"
#include "dispatch/ResultLine.h"
#include "dispatch/StatusStatements.h"
#include "gsm/SerialPort.h"

#include <QElapsedTimer>
#include <QSemaphore>
#include <QtTest>

#include <thread>

using namespace dispatch_test;

Q_DECLARE_METATYPE(RecipientScope)

namespace {

const QDateTime stamp(QDate(2026, 3, 14), QTime(15, 9, 26, 500));
const QString phone1 = QStringLiteral("79001234501");

QString acceptedLine(const QString &text, const QString &phone) {
  return QStringLiteral(u"Сообщение \"%1\" доставлено успешно. Номер телефона: %2").arg(text, phone);
}
QString refusedLine(const QString &text, const QString &phone, const QString &answer) {
  return QStringLiteral(
             u"При отправке сообщения \"%1\" произошла ошибка. Номер телефона: %2\r\nОтвет оператора: %3")
      .arg(text, phone, answer);
}

Status sent(const QVariant &parts, const QVariant &error, const QVariant &id) {
  return {1, stamp.date(), stamp.time(), parts, error, id};
}
Status notSent(const QVariant &parts, const QVariant &error, const QVariant &id) {
  return {2, stamp.date(), stamp.time(), parts, error, id};
}
Status resetTo(const QVariant &id) {
  return {2, QVariant(), QVariant(), 0, 0, id};
}

} // namespace

class TestDispatchRun : public QObject {
  Q_OBJECT

  std::unique_ptr<AppFolder> folder_;
  std::unique_ptr<LocalGateway> gateway_;
  std::unique_ptr<DispatchDatabase> data_;
  std::unique_ptr<RecordingWindow> window_;
  std::unique_ptr<DispatchRun> run_;
  std::unique_ptr<PrivatePortMap> ports_;

  void makeRun() {
    run_ = std::make_unique<DispatchRun>(data_->db, *window_);
    run_->setClock([] { return stamp; });
  }
  // Three contacts in group 1, two in group 2.
  void addContacts() {
    data_->addGroup(1);
    data_->addGroup(2);
    data_->addContact(1, 1, phone1, QStringLiteral("Анна"));
    data_->addContact(2, 1, QStringLiteral("79001234502"), QStringLiteral("Борис"));
    data_->addContact(3, 1, QStringLiteral("79001234503"), QStringLiteral("Вера"));
    data_->addContact(4, 2, QStringLiteral("79001234504"), QStringLiteral("Глеб"));
    data_->addContact(5, 2, QStringLiteral("79001234505"), QStringLiteral("Дина"));
  }
  QStringList requestedPhones() const {
    QStringList phones;
    for (const ReceivedRequest &r : gateway_->requests())
      phones << element(r.body, "PhoneNumber");
    return phones;
  }

private slots:
  void initTestCase() { keepTrafficLocal(); }

  void init() {
    folder_ = std::make_unique<AppFolder>();
    gateway_ = std::make_unique<LocalGateway>();
    gateway_->answerWith(accepted({57, 0, 2}));
    pointAt(*folder_, gateway_->url());
    data_ = std::make_unique<DispatchDatabase>();
    window_ = std::make_unique<RecordingWindow>();
    window_->inputs = runInputs(data_->db, QStringLiteral("Hi [NAM]"));
    window_->recipient = {QStringLiteral("shop"), QStringLiteral("secret"), false};
    ports_ = std::make_unique<PrivatePortMap>();
    makeRun();
  }

  void cleanup() {
    run_.reset();
    window_.reset();
    data_.reset();
    gateway_.reset();
    folder_.reset();
    ports_.reset();
  }

  // Every status column after one gateway answer; the earlier outcome is in every column.
  void gatewayStatusTable_data() {
    QTest::addColumn<CannedAnswer>("answer");
    QTest::addColumn<Status>("status");
    QTest::addColumn<QString>("line");
    const QString text = QStringLiteral(u"Hi Анна");
    QTest::newRow("57, 0, 2") << accepted({57, 0, 2}) << sent(2, 0, 57) << acceptedLine(text, phone1);
    QTest::newRow("two items") << accepted({57, 0}) << notSent(0, 1000, QVariant())
                               << refusedLine(text, phone1, QString());
    QTest::newRow("four items") << accepted({57, 0, 2, 1}) << notSent(0, 1000, QVariant())
                                << refusedLine(text, phone1, QString());
    QTest::newRow("no items") << accepted({}) << notSent(0, 1000, QVariant())
                              << refusedLine(text, phone1, QString());
    QTest::newRow("SOAP fault") << fault("Нет денег на счёте") << notSent(0, 1000, QVariant())
                                << refusedLine(text, phone1, QStringLiteral(u"Нет денег на счёте"));
    QTest::newRow("HTTP 404") << CannedAnswer{404, "Not Found", "text/xml", ""}
                              << notSent(0, 1000, QVariant())
                              << refusedLine(text, phone1, QStringLiteral("Not Found (404) - '@URL@'"));
  }
  void gatewayStatusTable() {
    QFETCH(CannedAnswer, answer);
    QFETCH(Status, status);
    QFETCH(QString, line);
    line.replace(QStringLiteral("@URL@"), gateway_->url());
    addContacts();
    window_->inputs.scope = groupScope(1);
    window_->inputs.filter = QStringLiteral("ID = 1");
    gateway_->answerWith(answer);
    run_->perform();
    QCOMPARE(data_->status(1), status);
    QCOMPARE(window_->lines(), QStringList{line});
    QCOMPARE(run_->ResultLine(), line);
    const QList<ReceivedRequest> requests = gateway_->requests();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(element(requests[0].body, "Login"), QStringLiteral("shop"));
    QCOMPARE(element(requests[0].body, "Password"), QStringLiteral("secret"));
    QCOMPARE(element(requests[0].body, "PhoneNumber"), phone1);
    QCOMPARE(element(requests[0].body, "Message"), QStringLiteral(u"Hi Анна"));
    QCOMPARE(window_->events(),
             (QStringList{"busy", "reopen", "started 1", "normal", "line", "reopen", "finished 0"}));
    QCOMPARE(window_->busyDepth(), 0);
  }

  // The two texts, exactly: cp1251 bytes, CR LF in the failure line, an empty answer.
  void resultLineBytes() {
    QCOMPARE(
        cp1251::encode(result_line::accepted(QStringLiteral(u"Привет"), QStringLiteral("+7900"))),
        cp1251::encode(QStringLiteral(u"Сообщение \"Привет\" доставлено успешно. Номер телефона: +7900")));
    const QByteArray refused =
        cp1251::encode(result_line::refused(QStringLiteral("T"), QStringLiteral("P"), {}));
    QCOMPARE(refused, cp1251::encode(QStringLiteral(u"При отправке сообщения \"T\" произошла ошибка. Номер "
                                                    u"телефона: P")) +
                          "\r\n" + cp1251::encode(QStringLiteral(u"Ответ оператора: ")));
    QVERIFY(refused.endsWith(cp1251::encode(QStringLiteral(u"оператора: "))));
  }

  // Login, password and flash are read for every recipient; the answer of one failed call
  // does not reach the next line.
  void perRecipientReadsAndAnswers() {
    addContacts();
    window_->inputs.scope = groupScope(1);
    int calls = 0;
    gateway_->setResponder([&](const ReceivedRequest &r) {
      ++calls;
      return element(r.body, "PhoneNumber") == QStringLiteral("79001234502") ? fault("busy")
                                                                             : accepted({5, 0, 1});
    });
    int reads = 0;
    window_->onRecipientRead = [&] { window_->recipient.login = QStringLiteral("login%1").arg(++reads); };
    run_->perform();
    QCOMPARE(calls, 3);
    QStringList logins;
    for (const ReceivedRequest &r : gateway_->requests())
      logins << element(r.body, "Login");
    QCOMPARE(logins, (QStringList{"login1", "login2", "login3"}));
    const QStringList lines = window_->lines();
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines[1].endsWith(QStringLiteral(u"Ответ оператора: busy")));
    QCOMPARE(lines[2], acceptedLine(QStringLiteral(u"Hi Вера"), QStringLiteral("79001234503")));
  }

  // Only the run's recipients are reset (scope and filter); IDMESSAGE keeps its value. A stop
  // before the first recipient leaves the rows as the reset made them.
  void resetTouchesOnlyTheRecipients_data() {
    QTest::addColumn<RecipientScope>("scope");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QList<int>>("recipients");
    QTest::newRow("all groups") << RecipientScope{} << QString() << QList<int>{1, 2, 3, 4, 5};
    QTest::newRow("all groups, filtered")
        << RecipientScope{} << QStringLiteral("NAME = 'Глеб' OR ID = 2") << QList<int>{2, 4};
    QTest::newRow("one group") << groupScope(1) << QString() << QList<int>{1, 2, 3};
    QTest::newRow("one group, filtered")
        << groupScope(2) << QStringLiteral("PHONE LIKE '%05'") << QList<int>{5};
    QTest::newRow("an empty group") << groupScope(3) << QString() << QList<int>{};
  }
  void resetTouchesOnlyTheRecipients() {
    QFETCH(RecipientScope, scope);
    QFETCH(QString, filter);
    QFETCH(QList<int>, recipients);
    addContacts();
    data_->addGroup(3);
    window_->inputs.scope = scope;
    window_->inputs.filter = filter;
    window_->onStarted = [&] { run_->requestStop(); };
    run_->perform();
    for (int id = 1; id <= 5; ++id)
      QCOMPARE(data_->status(id), recipients.contains(id) ? resetTo(99) : DispatchDatabase::earlier());
    QVERIFY(gateway_->requests().isEmpty());
    QCOMPARE(window_->end()->stopRequested, true);
    QVERIFY(!run_->stopRequested()); // cleared once the end was shown
    QCOMPARE(window_->events().at(2), QStringLiteral("started %1").arg(recipients.size()));
  }

  void resetStatementText() {
    const QString columns = QStringLiteral("PHONE, NAME, ID");
    QCOMPARE(
        status_sql::reset(QStringLiteral("SELECT PHONE, NAME, ID FROM CONTACTS"), columns),
        QStringLiteral(
            "UPDATE CONTACTS\nSET SEND = 2, DATESEND = NULL, TIMESEND = NULL, PARTSEND = 0, FERROR = 0"));
    QCOMPARE(
        status_sql::reset(
            QStringLiteral("SELECT PHONE, NAME, ID FROM CONTACTS WHERE IDGROUP = 4 AND (X = 1)"), columns),
        QStringLiteral(
            "UPDATE CONTACTS\nSET SEND = 2, DATESEND = NULL, TIMESEND = NULL, PARTSEND = 0, FERROR = "
            "0\nWHERE IDGROUP = 4 AND (X = 1)"));
    QVERIFY_THROWS_EXCEPTION(DatabaseError,
                             status_sql::reset(QStringLiteral("SELECT ID FROM LISTGROUPS"), columns));
  }

  // The stop pressed while a recipient is in hand: that recipient is finished and recorded,
  // the rest keep the reset's SEND 2.
  void stopWhileRecipientInHand() {
    addContacts();
    window_->inputs.scope = groupScope(1);
    gateway_->setResponder([&](const ReceivedRequest &r) {
      if (element(r.body, "PhoneNumber") == QStringLiteral("79001234502"))
        run_->requestStop();
      return accepted({40, 0, 1});
    });
    run_->perform();
    QCOMPARE(requestedPhones(), (QStringList{phone1, "79001234502"}));
    QCOMPARE(data_->status(1), sent(1, 0, 40));
    QCOMPARE(data_->status(2), sent(1, 0, 40));
    QCOMPARE(data_->status(3), resetTo(99));
    QCOMPARE(data_->status(4), DispatchDatabase::earlier());
    QCOMPARE(window_->lines().size(), 2);
    QCOMPARE(window_->events().last(), QStringLiteral("finished 0 stopped"));
  }

  // The pause follows every message, the last included; 0 and below mean none.
  void pauseAfterEveryMessage_data() {
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QList<qint64>>("pauses");
    QTest::newRow("5 s") << 5 << QList<qint64>{5000, 5000, 5000};
    QTest::newRow("none") << 0 << QList<qint64>{};
    QTest::newRow("negative") << -3 << QList<qint64>{};
  }
  void pauseAfterEveryMessage() {
    QFETCH(int, seconds);
    QFETCH(QList<qint64>, pauses);
    addContacts();
    window_->inputs.scope = groupScope(1);
    data_->setPause(seconds);
    QList<qint64> waited;
    QStringList order;
    window_->onLine = [&](int i) { order << QStringLiteral("line %1").arg(i); };
    run_->setPause([&](std::chrono::milliseconds ms) {
      waited << ms.count();
      order << QStringLiteral("pause");
    });
    run_->perform();
    QCOMPARE(waited, pauses);
    if (seconds > 0)
      QCOMPARE(order, (QStringList{"line 0", "pause", "line 1", "pause", "line 2", "pause"}));
  }

  // A stop during a long pause ends it at once; the next recipient is not sent.
  void stopDuringPause() {
    addContacts();
    window_->inputs.scope = groupScope(1);
    data_->setPause(3600);
    std::thread stopper;
    window_->onLine = [&](int) {
      stopper = std::thread([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        run_->requestStop();
      });
    };
    QElapsedTimer clock;
    clock.start();
    run_->perform();
    stopper.join();
    QVERIFY2(clock.elapsed() < 60000, "the pause held up the stop");
    QCOMPARE(requestedPhones(), QStringList{phone1});
    QCOMPARE(data_->status(2), resetTo(99));
    QCOMPARE(window_->end()->stopRequested, true);
  }

  // The sending page's settings sub-page is current: the run shows its start and end only.
  void settingsSubPageSendsNothing() {
    addContacts();
    window_->inputs.channel = 2;
    run_->perform();
    QVERIFY(gateway_->requests().isEmpty());
    for (int id = 1; id <= 5; ++id)
      QCOMPARE(data_->status(id), DispatchDatabase::earlier());
    QCOMPARE(window_->events(),
             (QStringList{"busy", "reopen", "started 5", "reopen", "finished 0", "normal"}));
  }

  // No port list entry selected: the port cannot be read, on the gateway channel too.
  void noPortSelectedSendsNothing() {
    addContacts();
    window_->inputs.portNumber = -1;
    run_->perform();
    QVERIFY(gateway_->requests().isEmpty());
    QCOMPARE(data_->status(1), DispatchDatabase::earlier());
    QCOMPARE(window_->end()->portError, 0);
  }

  // A failure while the texts are made ends the run before it is shown.
  void textsFailBeforeTheStart() {
    addContacts();
    window_->inputs.scope = {false, true, QVariant()}; // one group, none chosen
    QVERIFY_THROWS_EXCEPTION(DatabaseError, run_->perform());
    QCOMPARE(window_->events(), (QStringList{"busy", "reopen", "normal"}));
    QCOMPARE(data_->status(1), DispatchDatabase::earlier());
  }

  // A row another transaction holds: the recipient in hand's message went out and its line
  // shows, the run ends there with the end of the run shown, and the database's error comes
  // out of the run for the report.
  void lockedRowEndsTheRun() {
    addContacts();
    window_->inputs.scope = groupScope(1);
    Transaction locker(data_->db, Transaction::Ending::Rollback);
    Query lock(locker, QStringLiteral("UPDATE CONTACTS SET NAME = NAME WHERE ID = 2"));
    window_->onLine = [&](int i) {
      if (i == 0)
        lock.execute(); // after the reset: the outcome of recipient 2 meets the lock
    };
    try {
      run_->perform();
      QFAIL("the run ended without the lock conflict");
    } catch (const DatabaseError &e) {
      QVERIFY2(e.isLockConflict(), qPrintable(e.text()));
    }
    locker.rollback();
    QCOMPARE(requestedPhones(), (QStringList{phone1, "79001234502"}));
    QCOMPARE(window_->lines(), (QStringList{acceptedLine(QStringLiteral(u"Hi Анна"), phone1),
                                            acceptedLine(QStringLiteral(u"Hi Борис"), "79001234502")}));
    QCOMPARE(window_->events().mid(window_->events().size() - 3),
             (QStringList{"line", "reopen", "finished 0"}));
    QCOMPARE(data_->status(1), sent(2, 0, 57));
    QCOMPARE(data_->status(2), resetTo(99));
    QCOMPARE(data_->status(3), resetTo(99));
    QCOMPARE(window_->busyDepth(), 0);
  }

  // A recipient locked before the run: the reset fails, nothing goes out, nothing changes.
  void lockedRowStopsTheReset() {
    addContacts();
    Transaction locker(data_->db, Transaction::Ending::Rollback);
    Query(locker, QStringLiteral("UPDATE CONTACTS SET NAME = NAME WHERE ID = 4")).execute();
    QVERIFY_THROWS_EXCEPTION(DatabaseError, run_->perform());
    locker.rollback();
    QVERIFY(gateway_->requests().isEmpty());
    QVERIFY(window_->lines().isEmpty());
    for (int id = 1; id <= 5; ++id)
      QCOMPARE(data_->status(id), DispatchDatabase::earlier());
    QCOMPARE(window_->events().last(), QStringLiteral("normal"));
    QVERIFY(window_->events().contains(QStringLiteral("finished 0")));
  }

  // Every status column after the modem's answers; IDMESSAGE is not the modem's.
  void modemStatusTable_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("flash");
    QTest::addColumn<int>("refusedPdu"); // -1: none
    QTest::addColumn<Status>("status");
    QTest::addColumn<int>("pdus");
    QTest::newRow("one part") << QStringLiteral("Hi") << false << -1 << sent(1, 0, 99) << 1;
    QTest::newRow("flash") << QStringLiteral("Hi") << true << -1 << sent(1, 0, 99) << 1;
    QTest::newRow("refused") << QStringLiteral("Hi") << false << 0 << notSent(0, 22, 99) << 1;
    const QString long300 = QString(300, QLatin1Char('a'));
    QTest::newRow("300 characters") << long300 << false << -1 << sent(3, 0, 99) << 3;
    QTest::newRow("300 characters, middle part refused") << long300 << false << 1 << notSent(2, 0, 99) << 3;
    QTest::newRow("300 characters, last part refused") << long300 << false << 2 << notSent(2, 22, 99) << 3;
  }
  void modemStatusTable() {
    QFETCH(QString, text);
    QFETCH(bool, flash);
    QFETCH(int, refusedPdu);
    QFETCH(Status, status);
    QFETCH(int, pdus);
    ModemSimulator modem;
    ports_->map(2, modem.devicePath());
    if (refusedPdu >= 0)
      modem.refusePdu(refusedPdu, "\r\n+CMS ERROR: 500\r\n");
    addContacts();
    window_->inputs = runInputs(data_->db, text, dispatch_channel::Modem, 2);
    window_->inputs.filter = QStringLiteral("ID = 1");
    window_->recipient.flash = flash;
    run_->perform();
    QCOMPARE(data_->status(1), status);
    QCOMPARE(data_->status(2), DispatchDatabase::earlier());
    const QList<ModemSimulator::Message> messages = modem.messages();
    QCOMPARE(messages.size(), pdus);
    QCOMPARE(messages[0].number, phone1);
    QCOMPARE(messages[0].coding, flash ? 0x10 : 0x00);
    const QString line = window_->lines().value(0);
    if (status[0] == 1)
      QCOMPARE(line, acceptedLine(text, phone1));
    else
      QCOMPARE(line, refusedLine(text, phone1, QStringLiteral("\r\n+CMS ERROR: 500\r\n")));
    // The link is released with the run: the port opens again.
    SerialPort again(modem.devicePath());
  }

  // The automatic search finds no modem: code 2, no row changed, nothing shown per recipient.
  // A chosen port that does not open gives code 1; a silent one 26.
  void modemNotReady_data() {
    QTest::addColumn<int>("port");
    QTest::addColumn<int>("code");
    QTest::newRow("no modem anywhere") << 0 << 2;
    QTest::newRow("chosen port missing") << 7 << 1;
    QTest::newRow("chosen port silent") << 3 << 26;
  }
  void modemNotReady() {
    QFETCH(int, port);
    QFETCH(int, code);
    ModemSimulator silent(ModemSimulator::Behaviour::Silent);
    ports_->map(1, QStringLiteral("/dev/no-such-modem"));
    ports_->map(3, silent.devicePath());
    if (port == 0)
      ports_->map(3, QString());
    addContacts();
    window_->inputs = runInputs(data_->db, QStringLiteral("Hi"), dispatch_channel::Modem, port);
    run_->perform();
    QCOMPARE(run_->PortError(), code);
    QCOMPARE(window_->end()->portError, code);
    QVERIFY(window_->lines().isEmpty());
    for (int id = 1; id <= 5; ++id)
      QCOMPARE(data_->status(id), DispatchDatabase::earlier());
    QCOMPARE(window_->busyDepth(), 0);
  }
};

QTEST_GUILESS_MAIN(TestDispatchRun)
#include "test_dispatch_run.moc"
