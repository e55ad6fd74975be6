// The POP3 client and the mail header decoding on their own: the server address of the
// options row, the Subject of real header shapes, the exact bytes of a session, and the
// servers that fail: one that never speaks, one that will not greet, one that hangs up, one
// that stops in the middle of a message.
#include "ExchangeTestFiles.h"
#include "ScriptedPop3.h"

#include "exchange/MailError.h"
#include "exchange/MailSubject.h"
#include "exchange/Pop3Client.h"

#include <QTest>

using namespace std::chrono_literals;
using mail::Pop3Address;
using mail::Pop3Client;

namespace {
const mail::MailTimeouts shortTimeouts{300ms, 300ms};

Pop3Address local(quint16 port) {
  return Pop3Address{QStringLiteral("127.0.0.1"), port};
}
} // namespace

class Pop3Test : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() {
    qputenv("no_proxy", "127.0.0.1,localhost");
    qputenv("NO_PROXY", "127.0.0.1,localhost");
  }

  void serverAddress_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port"); // 0: refused
    QTest::newRow("host") << "pop.example.org"
                          << "pop.example.org" << 110;
    QTest::newRow("host and port") << "pop.example.org:1110"
                                   << "pop.example.org" << 1110;
    QTest::newRow("blanks around") << "  10.0.0.1:995 "
                                   << "10.0.0.1" << 995;
    QTest::newRow("IPv6") << "[::1]"
                          << "::1" << 110;
    QTest::newRow("IPv6 and port") << "[::1]:2110"
                                   << "::1" << 2110;
    QTest::newRow("Cyrillic domain") << QString::fromUtf8("почта.рф:110") << QString::fromUtf8("почта.рф")
                                     << 110;
    QTest::newRow("empty port") << "pop.example.org:"
                                << "" << 0;
    QTest::newRow("port zero") << "pop.example.org:0"
                               << "" << 0;
    QTest::newRow("port too big") << "pop.example.org:65536"
                                  << "" << 0;
    QTest::newRow("port not a number") << "pop.example.org:pop3"
                                       << "" << 0;
    QTest::newRow("no host") << ":110"
                             << "" << 0;
    QTest::newRow("blank") << "   "
                           << "" << 0;
    QTest::newRow("URL") << "pop3://pop.example.org"
                         << "" << 0;
    QTest::newRow("user in it") << "me@pop.example.org"
                                << "" << 0;
    QTest::newRow("bare IPv6") << "::1"
                               << "" << 0;
  }
  void serverAddress() {
    QFETCH(QString, text);
    QFETCH(QString, host);
    QFETCH(int, port);
    if (port == 0) {
      QVERIFY_THROWS_EXCEPTION(MailError, Pop3Address::parse(text));
      return;
    }
    const Pop3Address address = Pop3Address::parse(text);
    QCOMPARE(address.host, host);
    QCOMPARE(int(address.port), port);
  }

  void urlOfAnIpv6Address() {
    QCOMPARE(Pop3Address::parse(QStringLiteral("[::1]:2110")).url("3"), QByteArray("pop3://[::1]:2110/3"));
  }

  void subject_data() {
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<QString>("subject");
    QTest::newRow("plain") << QByteArray("From: a@b\r\nSubject: +79001234567\r\n\r\nbody") << "+79001234567";
    QTest::newRow("B UTF-8") << QByteArray("Subject: =?UTF-8?B?0KLQtdC70LXRhNC+0L0=?=\r\n\r\n")
                             << QString::fromUtf8("Телефон");
    QTest::newRow("Q KOI8-R") << QByteArray("Subject: =?koi8-r?Q?=F4=C5=CC=C5=C6=CF=CE?=\r\n\r\n")
                              << QString::fromUtf8("Телефон");
    QTest::newRow("B windows-1251") << QByteArray("Subject: =?windows-1251?B?0uXr5fTu7Q==?=\r\n\r\n")
                                    << QString::fromUtf8("Телефон");
    QTest::newRow("Q windows-1251 with underscore")
        << QByteArray("Subject: =?windows-1251?Q?=D2=E5=EB_89001234567?=\r\n\r\n")
        << QString::fromUtf8("Тел 89001234567");
    QTest::newRow("folded, two words")
        << QByteArray("Subject: =?UTF-8?B?0KLQtdC7?=\r\n =?UTF-8?B?0LXRhNC+0L0=?=\r\n\r\n")
        << QString::fromUtf8("Телефон");
    QTest::newRow("mixed") << QByteArray("Subject: Re: =?UTF-8?Q?=D0=AF?= +7 900\r\n\r\n")
                           << QString::fromUtf8("Re: Я +7 900");
    QTest::newRow("raw UTF-8") << QByteArray("Subject: \xD0\xAF 1\r\n\r\n") << QString::fromUtf8("Я 1");
    QTest::newRow("raw cp1251") << QByteArray("Subject: \xDF 1\r\n\r\n") << QString::fromUtf8("Я 1");
    QTest::newRow("LF line ends") << QByteArray("From: a@b\nSubject: 8 800\n\nSubject: not this\n")
                                  << "8 800";
    QTest::newRow("empty") << QByteArray("From: a@b\r\nSubject:\r\n\r\nbody") << "";
    QTest::newRow("missing") << QByteArray("From: a@b\r\n\r\nSubject: in the body\r\n") << "";
  }
  void subject() {
    QFETCH(QByteArray, header);
    QFETCH(QString, subject);
    QCOMPARE(mail::messageSubject(header), subject);
  }

  // Exactly the commands of the session and nothing that deletes.
  void sessionBytes() {
    ScriptedPop3 server(servingMessages({"Subject: 1\r\n\r\nx\r\n", "Subject: 2\r\n\r\n.dot\r\n"}));
    {
      Pop3Client client;
      QCOMPARE(client.open(local(server.port()), QStringLiteral("box1"), QStringLiteral("secret")),
               Pop3Client::Opened::Open);
      QCOMPARE(client.messageCount(), 2);
      QCOMPARE(client.retrieve(1), QByteArray("Subject: 1\r\n\r\nx\r\n"));
      QCOMPARE(client.retrieve(2), QByteArray("Subject: 2\r\n\r\n.dot\r\n")); // dot-stuffing undone
    }
    QCOMPARE(server.received(), exchangeData(QStringLiteral("pop3/session.golden")));
    QCOMPARE(server.connections(), 1);
  }

  void refusedRetrievalCarriesTheServerText() {
    ScriptedPop3 server(servingMessages({"Subject: 1\r\n\r\n"}));
    Pop3Client client;
    client.open(local(server.port()), QStringLiteral("u"), QStringLiteral("p"));
    try {
      client.retrieve(5);
      QFAIL("a refused RETR passed");
    } catch (const MailError &e) {
      QVERIFY2(e.text().contains(QStringLiteral("-ERR no such message")), qPrintable(e.text()));
    }
  }

  void serverThatWillNotGreet() {
    ScriptedPop3 server(greetingWith("-ERR too many connections"));
    Pop3Client client(shortTimeouts);
    QCOMPARE(client.open(local(server.port()), QStringLiteral("u"), QStringLiteral("p")),
             Pop3Client::Opened::NotReady);
    QVERIFY(!client.isOpen());
    QVERIFY(!server.received().contains("USER"));
  }

  void serverThatHangsUp() {
    ScriptedPop3 server(hangingUpServer());
    Pop3Client client(shortTimeouts);
    QCOMPARE(client.open(local(server.port()), QStringLiteral("u"), QStringLiteral("p")),
             Pop3Client::Opened::NotReady);
  }

  // A bare socket that accepts and stays silent: the connect limit ends the wait.
  void serverThatNeverAnswers() {
    ScriptedPop3 server(silentServer());
    Pop3Client client({300ms, 60s});
    try {
      client.open(local(server.port()), QStringLiteral("u"), QStringLiteral("p"));
      QFAIL("a silent server was taken for a mailbox");
    } catch (const MailError &e) {
      QVERIFY2(e.text().contains(QStringLiteral("did not answer within 0.3 s")), qPrintable(e.text()));
      QVERIFY2(e.text().contains(QStringLiteral("127.0.0.1:%1").arg(server.port())), qPrintable(e.text()));
    }
    QCOMPARE(server.connections(), 1);
  }

  // Logged in, then nothing more: the idle limit ends the retrieval.
  void serverThatStopsInTheMiddle() {
    ScriptedPop3 server(servingMessages({"Subject: 1\r\n\r\n"}, "RETR"));
    Pop3Client client({30s, 300ms});
    client.open(local(server.port()), QStringLiteral("u"), QStringLiteral("p"));
    try {
      client.retrieve(1);
      QFAIL("a silent retrieval passed");
    } catch (const MailError &e) {
      QVERIFY2(e.text().contains(QStringLiteral("sent nothing for 0.3 s")), qPrintable(e.text()));
    }
  }

  void connectionRefused() {
    quint16 port;
    {
      ScriptedPop3 closed(Pop3Script{});
      port = closed.port();
    } // nobody listens there any more
    Pop3Client client(shortTimeouts);
    QVERIFY_THROWS_EXCEPTION(MailError, client.open(local(port), QStringLiteral("u"), QStringLiteral("p")));
  }
};

QTEST_GUILESS_MAIN(Pop3Test)
#include "test_exchange_pop3.moc"
