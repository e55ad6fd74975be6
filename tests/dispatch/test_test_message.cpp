// The test message through the local gateway and through the modem simulator on a
// pseudo-terminal.
#include "GatewayFolder.h"
#include "GsmTestSetup.h"
#include "LocalGateway.h"
#include "ModemSimulator.h"
#include "data/Query.h"
#include "data/TDModule.h"
#include "dispatch/TestMessage.h"
#include "gateway/GatewayError.h"
#include "gsm/TWorkCom.h"
#include "support/TestDatabase.h"

#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(SerialSettings)
namespace {

const TestMessageTexts texts{QStringLiteral(u"Модем не найден"), QStringLiteral(u"Порт не открылся"),
                             QStringLiteral(u"Параметры порта не приняты")};

SerialSettings settings(qint32 rate, qint32 bits, qint32 stop, qint32 parity) {
  SerialSettings s;
  s.COMRATE = rate;
  s.COMBIT = bits;
  s.COMSTOPBIT = stop;
  s.COMPARITY = parity;
  return s;
}

TestMessage::ModemRequest request(int port, const SerialSettings &line = {}) {
  TestMessage::ModemRequest r;
  r.portNumber = port;
  r.settings = line;
  r.phone = QStringLiteral("79001234567");
  r.text = QStringLiteral("Test");
  return r;
}

// The failure's text, empty when the message went out.
QString failureOf(const TestMessage::ModemRequest &r, int *portReady = nullptr) {
  try {
    TestMessage::sendByModem(r, texts, [portReady](int n) {
      if (portReady)
        *portReady = n;
    });
    return {};
  } catch (const TestMessageError &e) {
    return e.text();
  }
}

} // namespace

class TestTestMessage : public QObject {
  Q_OBJECT

  std::unique_ptr<PrivatePortMap> ports_;

private slots:
  void init() { ports_ = std::make_unique<PrivatePortMap>(); }
  void cleanup() { ports_.reset(); }

  void gateway_data() {
    QTest::addColumn<CannedAnswer>("answer");
    QTest::addColumn<QString>("error"); // empty: nothing to report
    QTest::newRow("accepted") << LocalGateway::soapAnswer("SendSMS", {"57", "0", "1"}) << QString();
    QTest::newRow("not accepted: nothing to report")
        << LocalGateway::soapAnswer("SendSMS", {"0", "-1"}) << QString();
    QTest::newRow("fault") << LocalGateway::soapFault(QStringLiteral(u"Неверный пароль"))
                           << QStringLiteral(u"Неверный пароль");
  }
  void gateway() {
    QFETCH(CannedAnswer, answer);
    QFETCH(QString, error);
    LocalGateway server;
    GatewayFolder folder(server.url());
    server.answerWith(answer);
    QString failure;
    try {
      TestMessage::sendByGateway("login", "secret", "79001234567", QStringLiteral(u"Проверка связи"));
    } catch (const GatewayError &e) {
      failure = e.text();
    }
    QCOMPARE(failure, error);
    QCOMPARE(server.requests().size(), 1);
    const ReceivedRequest sent = server.requests().first();
    QCOMPARE(LocalGateway::operationOf(sent), QByteArray("SendSMS"));
    QCOMPARE(LocalGateway::argumentOf(sent, "Login"), QByteArray("login"));
    QCOMPARE(LocalGateway::argumentOf(sent, "Password"), QByteArray("secret"));
    QCOMPARE(LocalGateway::argumentOf(sent, "PhoneNumber"), QByteArray("79001234567"));
    QCOMPARE(QString::fromUtf8(LocalGateway::argumentOf(sent, "Message")), QStringLiteral(u"Проверка связи"));
  }

  void unreachableGatewayIsReported() {
    const RefusingPort nobody;
    GatewayFolder folder(nobody.url());
    QVERIFY_THROWS_EXCEPTION(GatewayError, TestMessage::sendByGateway("l", "p", "79001234567", "x"));
  }

  // The link starts at the defaults; the stored settings reach the port only after the
  // initialisation, just before the message.
  void storedSettingsFollowTheInitialisation() {
    ModemSimulator modem;
    ports_->map(2, modem.devicePath());
    QCOMPARE(failureOf(request(2, settings(9600, 8, 2, 0))), QString());
    const QList<QByteArray> commands = modem.commands();
    const QList<quint32> speeds = modem.commandSpeeds();
    QCOMPARE(commands.size(), speeds.size());
    qsizetype submit = 0;
    while (submit < commands.size() && !commands[submit].startsWith("AT+CMGS="))
      ++submit;
    QVERIFY2(submit > 0 && submit < commands.size(), commands.join(' ').constData());
    for (qsizetype i = 0; i < submit; ++i)
      QCOMPARE(speeds[i], 57600u);
    QCOMPARE(speeds[submit], 9600u);
    QCOMPARE(modem.messages().size(), 1);
  }

  void lineSettings_data() {
    QTest::addColumn<SerialSettings>("line");
    QTest::addColumn<QString>("error");
    QTest::newRow("defaults") << settings(57600, 8, 0, 0) << QString();
    // A parity code outside 0..4 means none: the line, which carries no parity, takes it.
    QTest::newRow("parity code 7 runs with no parity") << settings(57600, 8, 0, 7) << QString();
    QTest::newRow("stop-bit code 5 runs with one stop bit") << settings(115200, 8, 5, 0) << QString();
    QTest::newRow("even parity refused by the line")
        << settings(57600, 8, 0, 2) << texts.setState + QStringLiteral("\r\nError code: 3");
    QTest::newRow("no data bits chosen")
        << settings(57600, -1, 0, 0) << texts.setState + QStringLiteral("\r\nError code: 3");
  }
  void lineSettings() {
    QFETCH(SerialSettings, line);
    QFETCH(QString, error);
    ModemSimulator modem;
    ports_->map(4, modem.devicePath());
    QCOMPARE(failureOf(request(4, line)), error);
    QCOMPARE(modem.messages().size(), error.isEmpty() ? 1 : 0);
    // The port is free again, also after a refusal.
    TWorkCom again(4, QString());
    QCOMPARE(int(again.LastError), 0);
  }

  void longLatinTextGoesOutInTwoParts() {
    ModemSimulator modem;
    ports_->map(1, modem.devicePath());
    TestMessage::ModemRequest r = request(1);
    r.text = QString(200, u'a');
    const TestMessage::ModemOutcome outcome = TestMessage::sendByModem(r, texts);
    QVERIFY(outcome.accepted);
    QCOMPARE(outcome.partsSent, 2);
    const QList<ModemSimulator::Message> got = modem.messages();
    QCOMPARE(got.size(), 2);
    QCOMPARE(got[0].text, "(1/2)" + QString(135, u'a'));
    QCOMPARE(got[1].text, "(2/2)" + QString(65, u'a'));
    QCOMPARE(got[0].number, QStringLiteral("79001234567"));
  }

  void searchReportsThePortFound() {
    ModemSimulator silent(ModemSimulator::Behaviour::Silent), modem;
    ports_->map(1, silent.devicePath());
    ports_->map(3, modem.devicePath());
    int ready = -1;
    QCOMPARE(failureOf(request(0), &ready), QString());
    QCOMPARE(ready, 3);
    QCOMPARE(modem.messages().size(), 1);
  }

  void linkNotReady_data() {
    QTest::addColumn<int>("port");
    QTest::addColumn<bool>("silentModemOnCom1");
    QTest::addColumn<QString>("error");
    QTest::newRow("search, no modem anywhere")
        << 0 << true << texts.findPort + QStringLiteral("\r\nError code: 2");
    QTest::newRow("chosen port, silent modem")
        << 1 << true << texts.portFalse + QStringLiteral("\r\nError code: 26");
    QTest::newRow("chosen port without a device")
        << 5 << false << texts.portFalse + QStringLiteral("\r\nError code: 1");
    QTest::newRow("no port chosen") << -1 << false << texts.portFalse + QStringLiteral("\r\nError code: 1");
  }
  void linkNotReady() {
    QFETCH(int, port);
    QFETCH(bool, silentModemOnCom1);
    QFETCH(QString, error);
    ModemSimulator silent(ModemSimulator::Behaviour::Silent);
    if (silentModemOnCom1)
      ports_->map(1, silent.devicePath());
    int ready = -1;
    QCOMPARE(failureOf(request(port), &ready), error);
    QCOMPARE(ready, -1);
    QVERIFY(silent.messages().isEmpty());
  }

  void storedSerialSettings() {
    TestDatabase db;
    {
      TDModule module;
      module.openAt(db.path());
      Query q(module.IBTrDef,
              "UPDATE RB_OPTIONS SET COMRATE = NULL, COMBIT = 7, COMSTOPBIT = NULL, COMPARITY = 7");
      q.execute();
      module.IBTrDef.commit();
    }
    TDModule module;
    module.openAt(db.path());
    const SerialSettings read = TestMessage::storedSerialSettings(&module.IBOptions);
    QCOMPARE(read.COMRATE, 57600);
    QCOMPARE(read.COMBIT, 7);
    QCOMPARE(read.COMSTOPBIT, 0);
    QCOMPARE(read.COMPARITY, 7);
    QCOMPARE(TestMessage::storedSerialSettings(nullptr).COMRATE, 57600);
  }
};

QTEST_GUILESS_MAIN(TestTestMessage)
#include "test_test_message.moc"
