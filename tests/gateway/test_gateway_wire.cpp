// What the client puts on the wire: exact request bytes, text conversion, settings and the
// description-document form of the proxy.
#include "GatewayTestFiles.h"
#include "LocalGateway.h"

#include "common/AppPaths.h"
#include "common/Cp1251.h"
#include "gateway/GatewaySettings.h"
#include "gateway/Sms.h"

#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <functional>

namespace {

const QString testNamespace = QStringLiteral("http://sms.test/ns");

using Call = std::function<void(SMSSoap &)>;

// The port differs on every run; the golden files name it @PORT@.
QByteArray withPortPlaceholder(QByteArray raw, quint16 port) {
  return raw.replace("Host: 127.0.0.1:" + QByteArray::number(port) + "\r\n", "Host: 127.0.0.1:@PORT@\r\n");
}

// The text of the first element with the given local name in a request body.
QString elementText(const QByteArray &body, const QString &name) {
  QXmlStreamReader xml(body);
  while (!xml.atEnd()) {
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == name)
      return xml.readElementText();
  }
  return QStringLiteral("<missing>");
}

// The names of the header lines of a request, in order.
QStringList headerNames(const QByteArray &raw) {
  const QList<QByteArray> lines = raw.left(raw.indexOf("\r\n\r\n")).split('\n');
  QStringList names;
  for (const QByteArray &line : lines.mid(1))
    names.append(QString::fromLatin1(line.left(line.indexOf(':'))));
  return names;
}

} // namespace

class TestGatewayWire : public QObject {
  Q_OBJECT

private:
  LocalGateway server_;
  QTemporaryDir executableDir_;

  std::unique_ptr<GatewayProxy> proxy() {
    return std::make_unique<GatewayProxy>(server_.url(), false, testNamespace);
  }

private slots:
  void initTestCase() {
    keepTrafficLocal();
    QVERIFY(executableDir_.isValid());
    app_paths::overrideExecutableDir(executableDir_.path());
  }

  void init() {
    server_.clearRequests();
    server_.answerWith({200, "OK", "text/xml; charset=utf-8", gatewayData("answers/send-empty.xml"), false});
    QFile::remove(executableDir_.filePath("kyv.ini"));
  }

  void requestBytes_data() {
    QTest::addColumn<Call>("call");
    QTest::addColumn<QString>("golden");
    QTest::newRow("SendSMS, Cyrillic text with markup and line breaks") << Call([](SMSSoap &p) {
      p.SendSMS(QStringLiteral("shop&co"), QStringLiteral("p<a>s\"s'"), QStringLiteral("+79161234567"),
                QStringLiteral("Привет, мир!\r\nЦена < 5 & > 3"));
    }) << "requests/SendSMS.http";
    QTest::newRow("SendSMS, empty texts")
        << Call([](SMSSoap &p) { p.SendSMS({}, {}, {}, {}); }) << "requests/SendSMS-empty.http";
    QTest::newRow("VerifySMSStatus") << Call([](SMSSoap &p) { p.VerifySMSStatus(57); })
                                     << "requests/VerifySMSStatus.http";
    QTest::newRow("VerifySMSStatus, negative number")
        << Call([](SMSSoap &p) { p.VerifySMSStatus(-2147483647 - 1); })
        << "requests/VerifySMSStatus-min.http";
    QTest::newRow("SendSeveralSMS") << Call([](SMSSoap &p) {
      p.SendSeveralSMS(QStringLiteral("shop"), QStringLiteral("secret"),
                       {{QStringLiteral("+79161234567"), QStringLiteral("Первое")},
                        {QStringLiteral("+79037654321"), QStringLiteral("a&b")}});
    }) << "requests/SendSeveralSMS.http";
  }

  // Two calls through two proxies: the second may travel on the first one's connection, and
  // its bytes must be the same.
  void requestBytes() {
    QFETCH(Call, call);
    QFETCH(QString, golden);
    call(*proxy());
    call(*proxy());
    const QList<ReceivedRequest> received = server_.requests();
    QCOMPARE(received.size(), 2);
    const QByteArray expected = gatewayData(golden);
    for (const ReceivedRequest &request : received) {
      const QByteArray actual = withPortPlaceholder(request.raw, server_.port());
      if (actual != expected) {
        QFile dump(QDir::temp().filePath(QFileInfo(golden).fileName() + ".actual"));
        if (dump.open(QIODevice::WriteOnly))
          dump.write(actual);
        QFAIL(qPrintable("request differs from " + golden + ", received bytes in " + dump.fileName()));
      }
    }
  }

  // A body beyond a megabyte would make libcurl ask "Expect: 100-continue" on its own; the
  // header set stays the same.
  void longMessageKeepsTheHeaderSet() {
    proxy()->SendSMS(QStringLiteral("l"), QStringLiteral("p"), QStringLiteral("1"),
                     QString(600000, QChar(0x044f)));
    QCOMPARE(headerNames(server_.requests().value(0).raw),
             QStringList({"Host", "User-Agent", "SOAPAction", "Content-Type", "Content-Length"}));
  }

  // Texts of the system come from cp1251 storage; the gateway gets the same letters in UTF-8.
  void cyrillicTextArrivesAsUtf8() {
    const QString text = cp1251::decode("\xcf\xf0\xe8\xe2\xe5\xf2, \xb8\xe6\xe8\xea \xb9 5");
    proxy()->SendSMS(QStringLiteral("login"), QStringLiteral("password"), QStringLiteral("+7916"), text);
    const ReceivedRequest request = server_.requests().value(0);
    QVERIFY(request.body.contains("\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82, \xd1\x91\xd0\xb6\xd0\xb8"
                                  "\xd0\xba \xe2\x84\x96 5"));
    QCOMPARE(elementText(request.body, QStringLiteral("Message")), QStringLiteral("Привет, ёжик № 5"));
  }

  void uncarriableCharacterIsRefused_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("error");
    QTest::newRow("control character") << QStringLiteral("ab\x01") + QStringLiteral("c")
                                       << "The Message holds a character that cannot be sent to the gateway "
                                          "(code 0001 at position 3)";
    QTest::newRow("escape") << QStringLiteral("\x1b[1m")
                            << "The Message holds a character that cannot be sent to the gateway "
                               "(code 001b at position 1)";
    QTest::newRow("lone surrogate") << QStringLiteral("x") + QChar(0xd800)
                                    << "The Message holds a character that cannot be sent to the gateway "
                                       "(code d800 at position 2)";
    QTest::newRow("pair split in two") << QStringLiteral("😀 ") + QChar(0xde00)
                                       << "The Message holds a character that cannot be sent to the gateway "
                                          "(code de00 at position 3)";
  }

  // Nothing is sent: a request the XML writer would have to mangle never leaves the client.
  void uncarriableCharacterIsRefused() {
    QFETCH(QString, message);
    QFETCH(QString, error);
    try {
      proxy()->SendSMS(QStringLiteral("l"), QStringLiteral("p"), QStringLiteral("1"), message);
      QFAIL("the call went through");
    } catch (const GatewayError &e) {
      QCOMPARE(e.text(), error);
    }
    QCOMPARE(server_.requests().size(), 0);
  }

  void settingsFromIniFile() {
    QFile ini(executableDir_.filePath("kyv.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[params]\r\nLang=Russian\r\n[GATEWAY]\r\nurl=" + server_.url().toLatin1() +
              "\r\nNAMESPACE=urn:brisk:test\r\n");
    ini.close();
    CreateGatewayProxy()->VerifySMSStatus(1);
    const ReceivedRequest request = server_.requests().value(0);
    QCOMPARE(request.target, QByteArray("/sms.asmx"));
    QVERIFY(request.raw.contains("\r\nSOAPAction: \"urn:brisk:test/VerifySMSStatus\"\r\n"));
    QVERIFY(request.body.contains("<VerifySMSStatus xmlns=\"urn:brisk:test\">"));
  }

  // Each thread keeps what it read from the settings file; a change of the file, even one of
  // the same size at once, or its removal, is seen by the next proxy.
  void settingsFollowTheFile() {
    const QString path = executableDir_.filePath("kyv.ini");
    const QString builtIn = QString::fromUtf16(gateway::defaultServiceNamespace);
    for (const QString serviceNamespace : {"urn:brisk:aaaa", "urn:brisk:bbbb", "", "urn:brisk:cccc"}) {
      QFile::remove(path);
      if (!serviceNamespace.isEmpty()) {
        QFile ini(path);
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[gateway]\r\nUrl=" + server_.url().toLatin1() +
                  "\r\nNamespace=" + serviceNamespace.toLatin1() + "\r\n");
      }
      QCOMPARE(gateway::readGatewaySettings().serviceNamespace,
               serviceNamespace.isEmpty() ? builtIn : serviceNamespace);
      if (serviceNamespace.isEmpty())
        continue; // the built-in address is not called
      server_.clearRequests();
      CreateGatewayProxy()->VerifySMSStatus(1);
      const QByteArray action = "\r\nSOAPAction: \"" + serviceNamespace.toLatin1() + "/VerifySMSStatus\"\r\n";
      QVERIFY2(server_.requests().value(0).raw.contains(action), action.constData());
    }
  }

  void builtInSettings() {
    QCOMPARE(CreateGatewayProxy()->endpoint(), QString::fromUtf16(gateway::defaultEndpointUrl));
    const gateway::GatewaySettings settings = gateway::readGatewaySettings();
    QCOMPARE(settings.serviceNamespace, QString::fromUtf16(gateway::defaultServiceNamespace));
    QCOMPARE(CreateGatewayProxy(false, QStringLiteral("http://127.0.0.1:9/x"))->endpoint(),
             QStringLiteral("http://127.0.0.1:9/x"));
  }

  void addressMustBeHttp_data() {
    QTest::addColumn<QString>("address");
    QTest::newRow("file") << "file:///etc/passwd";
    QTest::newRow("ftp") << "ftp://127.0.0.1/sms.asmx";
    QTest::newRow("no scheme") << "127.0.0.1/sms.asmx";
    QTest::newRow("empty host") << "http:///sms.asmx";
  }

  void addressMustBeHttp() {
    QFETCH(QString, address);
    try {
      GatewayProxy(address, false, testNamespace).VerifySMSStatus(1);
      QFAIL("the call went through");
    } catch (const GatewayError &e) {
      QCOMPARE(e.text(), QStringLiteral("The gateway address '%1' is not an http or https URL").arg(address));
    }
  }

  void descriptionDocument_data() {
    QTest::addColumn<QByteArray>("location"); // put into the served description
    QTest::addColumn<QString>("endpoint");    // expected; "%URL%" stands for the server's base
    QTest::newRow("absolute address") << QByteArray("%URL%/gate/sms.asmx") << "%URL%/gate/sms.asmx";
    QTest::newRow("relative address") << QByteArray("/other/sms.asmx") << "%URL%/other/sms.asmx";
  }

  void descriptionDocument() {
    QFETCH(QByteArray, location);
    QFETCH(QString, endpoint);
    const QString base = server_.url(QString());
    const QByteArray document =
        gatewayData("sms.wsdl").replace("@LOCATION@", location.replace("%URL%", base.toLatin1()));
    server_.setResponder([document](const ReceivedRequest &request) {
      if (request.method == "GET")
        return CannedAnswer{200, "OK", "text/xml; charset=utf-8", document, false};
      return CannedAnswer{200, "OK", "text/xml", gatewayData("answers/send-three.xml"), false};
    });
    auto proxy = CreateGatewayProxy(true, server_.url(QStringLiteral("/sms.asmx?WSDL")));
    QCOMPARE(proxy->SendSMS("l", "p", "1", "m"), ArrayOfInt({57, 0, 2}));
    QCOMPARE(proxy->endpoint(), QString(endpoint).replace("%URL%", base));
    const QList<ReceivedRequest> received = server_.requests();
    QCOMPARE(received.size(), 2); // the description is read once
    QCOMPARE(received[0].target, QByteArray("/sms.asmx?WSDL"));
    // The thread's handle posted before; nothing of those posts is left in the GET.
    QCOMPARE(received[0].method, QByteArray("GET"));
    QCOMPARE(headerNames(received[0].raw), QStringList({"Host", "User-Agent"}));
    QCOMPARE(received[0].body, QByteArray());
    QCOMPARE(received[1].target, QUrl(proxy->endpoint()).path().toLatin1());
  }

  void descriptionFromSettings() {
    QFile ini(executableDir_.filePath("kyv.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[gateway]\r\nUrl=" + server_.url().toLatin1() + "\r\n");
    ini.close();
    const QByteArray document = gatewayData("sms.wsdl").replace("@LOCATION@", server_.url().toLatin1());
    server_.answerWith({200, "OK", "text/xml", document, false});
    QCOMPARE(CreateGatewayProxy(true)->endpoint(), server_.url());
    QCOMPARE(server_.requests().value(0).target, QByteArray("/sms.asmx?WSDL"));
  }

  void unusableDescription_data() {
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<QString>("error"); // "%URL%" stands for the description's URL
    QTest::newRow("no port SMSSoap")
        << 200 << gatewayData("sms.wsdl").replace("name=\"SMSSoap\" binding", "name=\"SMSHttp\" binding")
        << "The service description '%URL%' has no address for port \"SMSSoap\" of service \"SMS\"";
    QTest::newRow("not XML") << 200 << QByteArray("<wsdl:definitions")
                             << "The service description '%URL%' is not readable XML: "
                                "Premature end of document. (line 1, column 17)";
    QTest::newRow("not found") << 404 << QByteArray() << "Not Found (404) - '%URL%'";
  }

  void unusableDescription() {
    QFETCH(int, status);
    QFETCH(QByteArray, document);
    QFETCH(QString, error);
    server_.answerWith({status, status == 200 ? "OK" : "Not Found", "text/xml", document, false});
    const QString url = server_.url(QStringLiteral("/sms.asmx?WSDL"));
    try {
      CreateGatewayProxy(true, url)->SendSMS("l", "p", "1", "m");
      QFAIL("the call went through");
    } catch (const GatewayError &e) {
      QCOMPARE(e.text(), error.replace("%URL%", url));
    }
    QCOMPARE(server_.requests().size(), 1); // no call without an endpoint
  }
};

QTEST_GUILESS_MAIN(TestGatewayWire)
#include "test_gateway_wire.moc"
