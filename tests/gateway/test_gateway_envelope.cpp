// The envelope is written straight into bytes; every text must come out exactly as Qt's XML
// writer writes it (the bytes the gateway has always received), and read back unchanged.
#include "gateway/GatewayError.h"
#include "gateway/SoapRequest.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <QtTest>

using gateway::SoapRequest;

namespace {

const QString testNamespace = QStringLiteral("http://sms.test/ns");

// The envelope as QXmlStreamWriter writes it, a CR kept as a character reference.
QByteArray writtenByQt(const QString &serviceNamespace, const QString &text) {
  const QString envelopeNs = QStringLiteral("http://schemas.xmlsoap.org/soap/envelope/");
  QString out;
  QXmlStreamWriter writer(&out);
  writer.writeNamespace(envelopeNs, QStringLiteral("SOAP-ENV"));
  writer.writeNamespace(QStringLiteral("http://www.w3.org/2001/XMLSchema"), QStringLiteral("xsd"));
  writer.writeNamespace(QStringLiteral("http://www.w3.org/2001/XMLSchema-instance"), QStringLiteral("xsi"));
  writer.writeStartElement(envelopeNs, QStringLiteral("Envelope"));
  writer.writeStartElement(envelopeNs, QStringLiteral("Body"));
  writer.writeStartElement(QStringLiteral("SendSMS"));
  writer.writeDefaultNamespace(serviceNamespace);
  writer.writeStartElement(QStringLiteral("Message"));
  const QStringList pieces = text.split(QLatin1Char('\r'));
  for (qsizetype i = 0; i < pieces.size(); ++i) {
    if (i > 0)
      writer.writeEntityReference(QStringLiteral("#13"));
    if (!pieces[i].isEmpty())
      writer.writeCharacters(pieces[i]);
  }
  writer.writeEndDocument();
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + out.toUtf8();
}

QByteArray written(const QString &serviceNamespace, const QString &text) {
  SoapRequest request(serviceNamespace, QStringLiteral("SendSMS"));
  request.addText(QStringLiteral("Message"), text);
  return request.finish();
}

QString everyCarriableCharacter() {
  QString text;
  for (char32_t c = 1; c <= 0xfffd; ++c) {
    const bool allowed = c == 0x9 || c == 0xa || c == 0xd || (c >= 0x20 && c <= 0xd7ff) || c >= 0xe000;
    if (allowed)
      text.append(QChar(char16_t(c)));
  }
  for (char32_t c : {0x10000u, 0x1f600u, 0x10fffdu, 0x10ffffu}) // pairs, first to last plane
    text.append(QString::fromUcs4(&c, 1));
  return text;
}

} // namespace

class TestGatewayEnvelope : public QObject {
  Q_OBJECT

private slots:
  void textAsQtWritesIt_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("every carriable character") << everyCarriableCharacter();
    QTest::newRow("markup and quotes") << QStringLiteral("<a href=\"x\">&amp;</a> ']]>'");
    QTest::newRow("line breaks of every kind") << QStringLiteral("\r\n1\r2\n3\t\r\r");
    QTest::newRow("Cyrillic") << QStringLiteral("Привет, ёжик № 5");
    QTest::newRow("empty") << QString();
  }

  void textAsQtWritesIt() {
    QFETCH(QString, text);
    QCOMPARE(written(testNamespace, text), writtenByQt(testNamespace, text));
  }

  // Qt's writer puts the default namespace into the attribute as it is, so a namespace with a
  // quote or an ampersand made a broken request; the value now reads back as given.
  void namespaceReadsBack_data() {
    QTest::addColumn<QString>("serviceNamespace");
    QTest::newRow("plain") << testNamespace;
    QTest::newRow("query with ampersand") << QStringLiteral("http://sms.test/ns?a=1&b=<2>");
    QTest::newRow("quote") << QStringLiteral("urn:\"quoted\"");
    QTest::newRow("blanks of every kind") << QStringLiteral("urn:a\tb\nc\rd e");
    QTest::newRow("Cyrillic") << QStringLiteral("http://смс.рф/ns");
  }

  void namespaceReadsBack() {
    QFETCH(QString, serviceNamespace);
    QXmlStreamReader xml(written(serviceNamespace, QStringLiteral("m")));
    while (xml.readNextStartElement() && xml.name() != QLatin1String("SendSMS")) {
    }
    QCOMPARE(xml.namespaceUri().toString(), serviceNamespace);
    QCOMPARE(xml.readElementText(QXmlStreamReader::IncludeChildElements), QStringLiteral("m"));
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
  }

  void uncarriableCharacterIsRefused_data() {
    QTest::addColumn<QString>("serviceNamespace");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("error");
    QTest::newRow("in the text") << testNamespace << QStringLiteral("ok") + QChar(0xfffe)
                                 << "The Message holds a character that cannot be sent to the gateway "
                                    "(code fffe at position 3)";
    QTest::newRow("high surrogate at the end") << testNamespace << QStringLiteral("ok") + QChar(0xd83d)
                                               << "The Message holds a character that cannot be sent to "
                                                  "the gateway (code d83d at position 3)";
    QTest::newRow("in the namespace") << QStringLiteral("urn:\x07") << QStringLiteral("m")
                                      << "The service namespace holds a character that cannot be sent to "
                                         "the gateway (code 0007 at position 5)";
  }

  void uncarriableCharacterIsRefused() {
    QFETCH(QString, serviceNamespace);
    QFETCH(QString, text);
    QFETCH(QString, error);
    try {
      written(serviceNamespace, text);
      QFAIL("the request was written");
    } catch (const GatewayError &e) {
      QCOMPARE(e.text(), error);
    }
  }
};

QTEST_GUILESS_MAIN(TestGatewayEnvelope)
#include "test_gateway_envelope.moc"
