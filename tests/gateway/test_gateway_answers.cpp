// How the client reads what the gateway answers, and how every kind of failure reads.
#include "GatewayTestFiles.h"
#include "LocalGateway.h"

#include "gateway/Sms.h"

#include <QtTest>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

namespace {

const QString testNamespace = QStringLiteral("http://sms.test/ns");

QStringList asTexts(const ArrayOfInt &numbers) {
  QStringList texts;
  for (qint32 n : numbers)
    texts.append(QString::number(n));
  return texts;
}

// A listening socket whose queue is full: further connection attempts get no reply at all.
class UnansweredPort {
public:
  UnansweredPort() {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(listener_, reinterpret_cast<sockaddr *>(&address), sizeof address);
    ::listen(listener_, 0);
    ::getsockname(listener_, reinterpret_cast<sockaddr *>(&address), &length);
    port_ = ntohs(address.sin_port);
    for (int i = 0; i < 4; ++i) { // fills the accept queue; SYNs beyond it are dropped
      const int client = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
      ::connect(client, reinterpret_cast<sockaddr *>(&address), sizeof address);
      fillers_.push_back(client);
    }
  }
  ~UnansweredPort() {
    for (int fd : fillers_)
      ::close(fd);
    ::close(listener_);
  }
  quint16 port() const { return port_; }

private:
  int listener_ = -1;
  quint16 port_ = 0;
  std::vector<int> fillers_;
};

// A port nobody listens on: taken from the system, then released.
quint16 closedPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
  ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length);
  ::close(fd);
  return ntohs(address.sin_port);
}

} // namespace

class TestGatewayAnswers : public QObject {
  Q_OBJECT

private:
  LocalGateway server_;

  GatewayProxy proxy() { return GatewayProxy(server_.url(), false, testNamespace); }

  // Calls operation ("send" or "verify") and gives its items as texts.
  QStringList callOperation(const QString &operation) {
    GatewayProxy p = proxy();
    if (operation == QLatin1String("send"))
      return asTexts(
          p.SendSMS(QStringLiteral("l"), QStringLiteral("p"), QStringLiteral("+7"), QStringLiteral("m")));
    return p.VerifySMSStatus(57);
  }

  void addAnswerColumns() {
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("reason");
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<QByteArray>("body");
  }

  void serveFetchedAnswer() {
    QFETCH(int, status);
    QFETCH(QByteArray, reason);
    QFETCH(QByteArray, contentType);
    QFETCH(QByteArray, body);
    server_.answerWith({status, reason, contentType, body, false, false});
  }

private slots:
  void initTestCase() { keepTrafficLocal(); }

  void resultItems_data() {
    addAnswerColumns();
    QTest::addColumn<QStringList>("items");
    const QByteArray xml = "text/xml; charset=utf-8";
    QTest::newRow("three integers: message 57, 2 parts")
        << "send" << 200 << QByteArray("OK") << xml << gatewayData("answers/send-three.xml")
        << QStringList{"57", "0", "2"};
    QTest::newRow("two integers") << "send" << 200 << QByteArray("OK") << xml
                                  << gatewayData("answers/send-two.xml") << QStringList{"57", "0"};
    QTest::newRow("four integers") << "send" << 200 << QByteArray("OK") << xml
                                   << gatewayData("answers/send-four.xml")
                                   << QStringList{"57", "0", "2", "9"};
    QTest::newRow("empty result") << "send" << 200 << QByteArray("OK") << xml
                                  << gatewayData("answers/send-empty.xml") << QStringList{};
    QTest::newRow("wrapper without result") << "send" << 200 << QByteArray("OK") << xml
                                            << gatewayData("answers/send-no-result.xml") << QStringList{};
    QTest::newRow("result named RESULT among others, header, prefixes, blanks")
        << "send" << 200 << QByteArray("OK") << QByteArray("text/xml")
        << gatewayData("answers/send-formatted.xml") << QStringList{"-12", "0", "2147483647"};
    QTest::newRow("delivered") << "verify" << 200 << QByteArray("OK") << xml
                               << gatewayData("answers/verify-delivered.xml")
                               << QStringList{"57", "st_deliver", "Доставлено & принято"};
    QTest::newRow("single item") << "verify" << 200 << QByteArray("OK") << xml
                                 << gatewayData("answers/verify-single.xml") << QStringList{"57"};
    QTest::newRow("result named Return among others")
        << "verify" << 200 << QByteArray("OK") << xml << gatewayData("answers/verify-return.xml")
        << QStringList{"1", "st_wait"};
    QTest::newRow("status 202") << "verify" << 202 << QByteArray("Accepted") << xml
                                << gatewayData("answers/verify-single.xml") << QStringList{"57"};
    QTest::newRow("html type with parameters is not refused by its type")
        << "verify" << 200 << QByteArray("OK") << QByteArray("text/html; charset=utf-8")
        << gatewayData("answers/verify-single.xml") << QStringList{"57"};
    QTest::newRow("no content type") << "verify" << 200 << QByteArray("OK") << QByteArray()
                                     << gatewayData("answers/verify-single.xml") << QStringList{"57"};
    // A server error that still carries the gateway's verdict: reading it as a failure would
    // mark an accepted message as not sent and invite a duplicate.
    QTest::newRow("500 with an ordinary answer: accepted")
        << "send" << 500 << QByteArray("Internal Server Error") << xml
        << gatewayData("answers/send-three.xml") << QStringList{"57", "0", "2"};
    QTest::newRow("500 with an answer for the general reader")
        << "send" << 500 << QByteArray("Internal Server Error") << QByteArray("text/xml")
        << gatewayData("answers/send-formatted.xml") << QStringList{"-12", "0", "2147483647"};
    QTest::newRow("500 with a delivery state") << "verify" << 500 << QByteArray("Internal Server Error")
                                               << xml << gatewayData("answers/verify-delivered.xml")
                                               << QStringList{"57", "st_deliver", "Доставлено & принято"};
  }

  void resultItems() {
    QFETCH(QString, operation);
    QFETCH(QStringList, items);
    serveFetchedAnswer();
    QCOMPARE(callOperation(operation), items);
  }

  void failures_data() {
    addAnswerColumns();
    QTest::addColumn<QString>("error"); // "%URL%" stands for the endpoint
    const QByteArray xml = "text/xml; charset=utf-8";
    const QByteArray fault = gatewayData("answers/fault.xml");
    QTest::newRow("fault with status 500") << "send" << 500 << QByteArray("Internal Server Error") << xml
                                           << fault << "Неверный логин или пароль";
    QTest::newRow("fault with status 200")
        << "verify" << 200 << QByteArray("OK") << xml << fault << "Неверный логин или пароль";
    QTest::newRow("fault without fault string") << "send" << 500 << QByteArray("Internal Server Error") << xml
                                                << gatewayData("answers/fault-no-string.xml")
                                                << "The gateway reported a SOAP fault without a fault string";
    QTest::newRow("404 page") << "send" << 404 << QByteArray("Not Found") << QByteArray("text/html")
                              << gatewayData("answers/page.html") << "Not Found (404) - '%URL%'";
    QTest::newRow("redirect is not followed")
        << "verify" << 302 << QByteArray("Found") << QByteArray("text/html") << QByteArray()
        << "Found (302) - '%URL%'";
    QTest::newRow("503 with an envelope")
        << "send" << 503 << QByteArray("Service Unavailable") << xml << gatewayData("answers/send-three.xml")
        << "Service Unavailable (503) - '%URL%'";
    QTest::newRow("500 with an envelope that is no answer")
        << "verify" << 500 << QByteArray("Internal Server Error") << xml << gatewayData("answers/no-body.xml")
        << "Internal Server Error (500) - '%URL%'";
    QTest::newRow("500 with a result that is not an integer")
        << "send" << 500 << QByteArray("Internal Server Error") << xml
        << gatewayData("answers/send-not-integer.xml")
        << "Item 2 of the gateway's answer is not a 32-bit integer: 'zero'";
    QTest::newRow("500 with broken XML")
        << "send" << 500 << QByteArray("Internal Server Error") << xml << gatewayData("answers/broken.xml")
        << "Internal Server Error (500) - '%URL%'";
    QTest::newRow("html page")
        << "send" << 200 << QByteArray("OK") << QByteArray("text/html") << gatewayData("answers/page.html")
        << "The gateway answered with content of type text/html; SOAP expects text/xml";
    QTest::newRow("plain text in capitals")
        << "verify" << 200 << QByteArray("OK") << QByteArray("TEXT/PLAIN") << QByteArray("busy")
        << "The gateway answered with content of type TEXT/PLAIN; SOAP expects text/xml";
    QTest::newRow("html page with status 500")
        << "send" << 500 << QByteArray("Internal Server Error") << QByteArray("text/html")
        << gatewayData("answers/page.html")
        << "The gateway answered with content of type text/html; SOAP expects text/xml";
    QTest::newRow("broken XML") << "send" << 200 << QByteArray("OK") << xml
                                << gatewayData("answers/broken.xml")
                                << "The gateway's answer is not readable XML: Premature end of document. "
                                   "(line 1, column 302)";
    QTest::newRow("empty body") << "verify" << 200 << QByteArray("OK") << xml << QByteArray()
                                << "The gateway's answer is not readable XML: Premature end of document. "
                                   "(line 1, column 0)";
    QTest::newRow("not an envelope") << "verify" << 200 << QByteArray("OK") << xml
                                     << gatewayData("answers/not-envelope.xml")
                                     << "The gateway's answer is not a SOAP envelope (root element html)";
    QTest::newRow("envelope without body")
        << "verify" << 200 << QByteArray("OK") << xml << gatewayData("answers/no-body.xml")
        << "The gateway's answer has no SOAP body";
    QTest::newRow("several elements, none is the result")
        << "verify" << 200 << QByteArray("OK") << xml << gatewayData("answers/verify-no-result-name.xml")
        << "The gateway's answer VerifySMSStatusResponse holds several elements and none of them is the "
           "result";
    QTest::newRow("item that is not an integer")
        << "send" << 200 << QByteArray("OK") << xml << gatewayData("answers/send-not-integer.xml")
        << "Item 2 of the gateway's answer is not a 32-bit integer: 'zero'";
    QTest::newRow("item beyond 32 bits")
        << "send" << 200 << QByteArray("OK") << xml
        << gatewayData("answers/send-three.xml").replace("<int>57</int>", "<int>2147483648</int>")
        << "Item 1 of the gateway's answer is not a 32-bit integer: '2147483648'";
  }

  void failures() {
    QFETCH(QString, operation);
    QFETCH(QString, error);
    serveFetchedAnswer();
    try {
      callOperation(operation);
      QFAIL("the call succeeded");
    } catch (const GatewayError &e) {
      QCOMPARE(e.text(), error.replace(QLatin1String("%URL%"), server_.url()));
      QCOMPARE(e.className(), QStringLiteral("GatewayError"));
    }
  }

  void noAnswer_data() {
    QTest::addColumn<bool>("silent");
    QTest::addColumn<QString>("error");
    QTest::newRow("gateway keeps silent")
        << true << "The gateway sent nothing for 0.5 s; the call was abandoned - '%URL%'";
    QTest::newRow("gateway hangs up") << false << "Empty reply from server - '%URL%'";
  }

  // The call ends (with the idle limit shortened to half a second) instead of waiting for ever.
  void noAnswer() {
    QFETCH(bool, silent);
    QFETCH(QString, error);
    server_.answerWith({200, "OK", "text/xml", {}, silent, !silent});
    GatewayProxy p = proxy();
    p.setTimeouts({std::chrono::milliseconds(2000), std::chrono::milliseconds(500)});
    try {
      p.SendSMS(QStringLiteral("l"), QStringLiteral("p"), QStringLiteral("+7"), QStringLiteral("m"));
      QFAIL("the call succeeded");
    } catch (const GatewayError &e) {
      QCOMPARE(e.text(), error.replace(QLatin1String("%URL%"), server_.url()));
    }
  }

  void connectionNotAccepted() {
    UnansweredPort port;
    const QString url = QStringLiteral("http://127.0.0.1:%1/sms.asmx").arg(port.port());
    GatewayProxy p(url, false, testNamespace);
    p.setTimeouts({std::chrono::milliseconds(500), std::chrono::milliseconds(200)});
    try {
      p.VerifySMSStatus(1);
      QFAIL("the call succeeded");
    } catch (const GatewayError &e) {
      QCOMPARE(e.text(), QStringLiteral("No connection to the gateway within 0.5 s - '%1'").arg(url));
    }
  }

  void connectionRefused() {
    const QString url = QStringLiteral("http://127.0.0.1:%1/sms.asmx").arg(closedPort());
    try {
      GatewayProxy(url, false, testNamespace).VerifySMSStatus(1);
      QFAIL("the call succeeded");
    } catch (const GatewayError &e) {
      QVERIFY2(e.text().startsWith(QStringLiteral("Failed to connect to 127.0.0.1 port")),
               qPrintable(e.text()));
      QVERIFY2(e.text().endsWith(QStringLiteral(" - '%1'").arg(url)), qPrintable(e.text()));
    }
  }

  void defaultTimeouts() {
    const GatewayProxy p = proxy();
    QCOMPARE(p.timeouts().connect, std::chrono::milliseconds(30000));
    QCOMPARE(p.timeouts().idle, std::chrono::milliseconds(60000));
  }

  // Several threads, each with proxies of its own, get the answers to their own requests.
  void callsFromSeveralThreads() {
    server_.setResponder([](const ReceivedRequest &request) {
      // The phone number "thread-call" comes back as the first two items.
      const qsizetype start = request.body.indexOf("<PhoneNumber>") + 13;
      const QList<QByteArray> ids =
          request.body.mid(start, request.body.indexOf('<', start) - start).split('-');
      const QByteArray items = "<int>" + ids.value(0) + "</int><int>" + ids.value(1) + "</int><int>1</int>";
      return CannedAnswer{
          200,
          "OK",
          "text/xml",
          gatewayData("answers/send-three.xml").replace("<int>57</int><int>0</int><int>2</int>", items),
          false,
          false};
    });
    const QString url = server_.url();
    constexpr int threads = 4;
    constexpr int calls = 25;
    std::vector<QStringList> mismatches(threads);
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
      workers.emplace_back([&, t] {
        for (int c = 0; c < calls; ++c) {
          try {
            const ArrayOfInt items =
                CreateGatewayProxy(false, url)
                    ->SendSMS(QStringLiteral("l"), QStringLiteral("p"), QStringLiteral("%1-%2").arg(t).arg(c),
                              QStringLiteral("m"));
            if (items != ArrayOfInt{t, c, 1})
              mismatches[t].append(QStringLiteral("%1-%2").arg(t).arg(c));
          } catch (const GatewayError &e) {
            mismatches[t].append(e.text());
          }
        }
      });
    for (std::thread &worker : workers)
      worker.join();
    for (const QStringList &m : mismatches)
      QVERIFY2(m.isEmpty(), qPrintable(m.join(", ")));
  }
};

QTEST_GUILESS_MAIN(TestGatewayAnswers)
#include "test_gateway_answers.moc"
