// The fast reader of ordinary answers and the general reader must agree: on every answer the
// fast reader takes, it gives the items the general reader gives; everything else it leaves to
// the general reader, so the client's results and error texts are those of the general reader.
#include "GatewayTestFiles.h"

#include "gateway/GatewayError.h"
#include "gateway/OrdinaryAnswer.h"
#include "gateway/SoapResponse.h"

#include <QDir>
#include <QtTest>

using namespace gateway;

namespace {

struct Reading {
  QStringList items;
  QString error; // empty when the items were read
};

template <typename Read> Reading readingOf(Read read) {
  try {
    return {read(), {}};
  } catch (const GatewayError &e) {
    return {{}, e.text()};
  }
}

QByteArray inEnvelope(const QByteArray &inBody) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
         "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>" +
         inBody + "</soap:Body></soap:Envelope>";
}

QByteArray inResponse(const QByteArray &inWrapper) {
  return inEnvelope("<SendSMSResponse xmlns=\"http://sms.test/ns\">" + inWrapper + "</SendSMSResponse>");
}

QByteArray inResult(const QByteArray &items) {
  return inResponse("<SendSMSResult>" + items + "</SendSMSResult>");
}

const QByteArray three = inResult("<int>57</int><int>0</int><int>2</int>");

QByteArray replaced(QByteArray answer, const QByteArray &before, const QByteArray &after) {
  return answer.replace(before, after);
}

} // namespace

class TestGatewayAnswerReaders : public QObject {
  Q_OBJECT

private:
  // ordinary: whether the fast reader is expected to take the answer.
  static void compareReaders(const QByteArray &body, bool ordinary) {
    const Reading general = readingOf([&] { return readAnswerItems(body); });
    const std::optional<QStringList> fast = readOrdinaryAnswer(body);
    QCOMPARE(fast.has_value(), ordinary);
    if (fast) {
      QCOMPARE(general.error, QString());
      QCOMPARE(*fast, general.items);
    }
    const HttpReply reply{200, "OK", "text/xml; charset=utf-8", body};
    const Reading client =
        readingOf([&] { return readResultItems(reply, QStringLiteral("http://127.0.0.1/")); });
    QCOMPARE(client.error, general.error);
    QCOMPARE(client.items, general.items);
  }

private slots:
  void answerFiles_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("ordinary");
    const QStringList ordinary{"send-empty.xml",       "send-four.xml",     "send-no-result.xml",
                               "send-not-integer.xml", "send-three.xml",    "send-two.xml",
                               "verify-delivered.xml", "verify-return.xml", "verify-single.xml"};
    const QDir folder(gatewayDataPath(QStringLiteral("answers")));
    const QStringList names = folder.entryList(QDir::Files, QDir::Name);
    QVERIFY(!names.isEmpty());
    for (const QString &name : names)
      QTest::newRow(qPrintable(name))
          << gatewayData(QStringLiteral("answers/") + name) << ordinary.contains(name);
  }

  void answerFiles() {
    QFETCH(QByteArray, body);
    QFETCH(bool, ordinary);
    compareReaders(body, ordinary);
  }

  void variants_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("ordinary");
    const QByteArray declaration = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";
    const auto row = [](const char *name, const QByteArray &body, bool ordinary) {
      QTest::newRow(name) << body << ordinary;
    };
    // declarations and encodings
    row("no declaration", replaced(three, declaration, ""), true);
    row("declaration without encoding", replaced(three, declaration, "<?xml version=\"1.0\"?>"), true);
    row("declaration in single quotes, UTF-8 in capitals, blanks",
        replaced(three, declaration, "<?xml  version = '1.0'   encoding='UTF-8' ?>\n"), true);
    row("declaration naming windows-1251",
        replaced(replaced(three, "utf-8", "windows-1251"), "<int>0</int>", "<int>\xc4\xee</int>"), false);
    row("declaration with standalone",
        replaced(three, declaration, "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>"), false);
    row("declaration of version 1.1", replaced(three, "version=\"1.0\"", "version=\"1.1\""), false);
    row("declaration after blanks", " " + three, false);
    row("byte order mark", "\xef\xbb\xbf" + three, false);
    row("processing instruction before the envelope",
        replaced(three, declaration, declaration + "<?style x?>"), false);
    row("DOCTYPE", replaced(three, declaration, declaration + "<!DOCTYPE x>"), false);
    // prefixes and namespaces
    row("default namespace for the envelope", replaced(replaced(three, "soap:", ""), "xmlns:soap=", "xmlns="),
        true);
    row("another prefix for the envelope",
        replaced(replaced(three, "soap:", "S:"), "xmlns:soap=", "xmlns:S="), true);
    row("envelope prefix declared on the body",
        "<Envelope xmlns=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body "
        "xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><R xmlns=\"urn:r\"><Result><i>1</i></Result>"
        "</R></s:Body></Envelope>",
        true);
    row("prefixed response, result and items",
        inEnvelope("<m:R xmlns:m=\"urn:m\"><m:Result><m:i>1</m:i><m:i>2</m:i></m:Result></m:R>"), true);
    row("envelope prefix bound again inside the response",
        inEnvelope("<soap:R xmlns:soap=\"urn:other\"><soap:Return><soap:i>5</soap:i></soap:Return></soap:R>"),
        true);
    row("prefix used out of its scope",
        inEnvelope("<R><a:X xmlns:a=\"urn:a\"/><a:Result><i>1</i></a:Result></R>"), false);
    row("undeclared prefix on an item", replaced(three, "<int>0</int>", "<x:int>0</x:int>"), false);
    row("envelope in another namespace", replaced(three, "envelope/\"", "envelope/x\""), false);
    row("response element in the envelope namespace",
        inEnvelope("<soap:R><Result><i>1</i></Result></soap:R>"), false);
    row("default namespace undeclared", replaced(three, "xmlns=\"http://sms.test/ns\"", "xmlns=\"\""), false);
    row("xml prefix", replaced(three, "<int>0</int>", "<int xml:lang=\"ru\">0</int>"), false);
    // attributes
    row("typed items", gatewayData(QStringLiteral("answers/verify-delivered.xml")), true);
    row("attribute with an undeclared prefix", replaced(three, "<int>0</int>", "<int x:t=\"a\">0</int>"),
        false);
    row("repeated attribute", replaced(three, "<int>0</int>", "<int a=\"1\" a=\"2\">0</int>"), false);
    row("attributes without a blank between them",
        replaced(three, "<int>0</int>", "<int a=\"1\"b=\"2\">0</int>"), false);
    row("reference in an attribute", replaced(three, "<int>0</int>", "<int a=\"&amp;\">0</int>"), false);
    // texts, entities and references
    row("predefined entities", replaced(three, "<int>0</int>", "<int>&lt;&gt;&amp;&quot;&apos;</int>"), true);
    row("character references", replaced(three, "<int>0</int>", "<int>&#1044;&#x434;&#x1F600;&#65;</int>"),
        true);
    row("reference to a control character", replaced(three, "<int>0</int>", "<int>&#1;</int>"), false);
    row("reference to CR", replaced(three, "<int>0</int>", "<int>a&#13;b</int>"), false);
    row("reference beyond Unicode", replaced(three, "<int>0</int>", "<int>&#x110000;</int>"), false);
    row("reference with capital X", replaced(three, "<int>0</int>", "<int>&#X41;</int>"), false);
    row("reference without digits", replaced(three, "<int>0</int>", "<int>&#;</int>"), false);
    row("unknown entity", replaced(three, "<int>0</int>", "<int>&nbsp;</int>"), false);
    row("bare ampersand", replaced(three, "<int>0</int>", "<int>a & b</int>"), false);
    row("Cyrillic item", replaced(three, "<int>0</int>", "<int>Доставлено</int>"), true);
    row("four-byte character", replaced(three, "<int>0</int>", "<int>\xf0\x9f\x98\x80</int>"), true);
    row("broken UTF-8", replaced(three, "<int>0</int>", "<int>\xd0</int>"), false);
    row("overlong UTF-8", replaced(three, "<int>0</int>", "<int>\xc0\xaf</int>"), false);
    row("five-byte lead", replaced(three, "<int>0</int>", "<int>\xf8\x88\x80\x80\x80</int>"), false);
    row("lead byte beyond four bytes", replaced(three, "<int>0</int>", "<int>\xf8\x80\x80</int>"), false);
    row("encoded surrogate", replaced(three, "<int>0</int>", "<int>\xed\xa0\x80</int>"), false);
    row("U+FFFF", replaced(three, "<int>0</int>", "<int>\xef\xbf\xbf</int>"), false);
    row("control character", replaced(three, "<int>0</int>", "<int>a\x01</int>"), false);
    row("blanks, tab and line feed kept in an item", replaced(three, "<int>0</int>", "<int> \t0\n </int>"),
        true);
    row("CR LF inside an item", replaced(three, "<int>0</int>", "<int>a\r\nb</int>"), false);
    row("]]> in an item", replaced(three, "<int>0</int>", "<int>]]></int>"), false);
    row("> and ]] in an item", replaced(three, "<int>0</int>", "<int>]]&gt;></int>"), true);
    row("comment between items", replaced(three, "<int>0</int>", "<!-- c --><int>0</int>"), false);
    row("comment inside an item", replaced(three, "<int>0</int>", "<int>0<!-- c --></int>"), false);
    row("CDATA item", replaced(three, "<int>0</int>", "<int><![CDATA[0]]></int>"), false);
    row("processing instruction in the body", replaced(three, "<soap:Body>", "<soap:Body><?p x?>"), false);
    // layout between elements
    row("line feeds and indents between elements", replaced(three, "><", ">\n  <"), true);
    row("CR LF between elements", replaced(three, "</int><int>", "</int>\r\n<int>"), true);
    row("text between items", replaced(three, "</int><int>", "</int>x<int>"), true);
    row("text beside the result", inResponse("note<SendSMSResult><int>1</int></SendSMSResult>tail"), true);
    row("blanks in end tags", replaced(three, "</int>", "</int  >"), true);
    row("blank line after the envelope", three + "\r\n\n", true);
    row("text after the envelope", three + "x", false);
    row("comment after the envelope", three + "<!-- c -->", false);
    row("second root element", three + "<x/>", false);
    // shapes of the answer
    row("empty list", inResult(""), true);
    row("empty result element", inResponse("<SendSMSResult/>"), true);
    row("empty response element", inEnvelope("<SendSMSResponse xmlns=\"urn:r\"/>"), true);
    row("empty items", inResult("<int/><int></int><int />"), true);
    row("single simple value", inResponse("<SendSMSResult>57</SendSMSResult>"), true);
    row("nested element in an item", replaced(three, "<int>0</int>", "<int>5<b>7</b></int>"), false);
    row("several children, the second named result",
        inResponse("<Status>ok</Status><Result><i>1</i></Result><Note><i>9</i></Note>"), true);
    row("several children, named return in lower case",
        inResponse("<a><i>0</i></a><return><i>1</i></return>"), true);
    row("several children, the first named Result",
        inResponse("<RESULT><i>1</i></RESULT><Result><i>2</i></Result>"), true);
    row("several children, none is the result", inResponse("<A><i>1</i></A><B><i>2</i></B>"), false);
    row("result names with more letters",
        inResponse("<A><i>1</i></A><SendSMSResult><i>2</i></SendSMSResult>"), false);
    row("header before the body",
        replaced(three, "<soap:Body>", "<soap:Header><T>x</T></soap:Header><soap:Body>"), false);
    row("element after the response", replaced(three, "</soap:Body>", "<x/></soap:Body>"), false);
    row("element after the body", replaced(three, "</soap:Body>", "</soap:Body><x/>"), false);
    row("empty body", inEnvelope(""), false);
    row("self-closing body", replaced(replaced(three, "<soap:Body>", "<soap:Body/>"), "</soap:Body>", ""),
        false);
    row("fault", gatewayData(QStringLiteral("answers/fault.xml")), false);
    // broken documents
    row("mismatched end tag", replaced(three, "</int><int>2", "</in><int>2"), false);
    row("end tag with a longer name", replaced(three, "</int><int>2", "</intx><int>2"), false);
    row("truncated", three.left(three.size() - 20), false);
    row("truncated in a start tag", three.left(three.indexOf("<int>") + 3), false);
    row("truncated in a reference", inResult("<i>&am"), false);
    row("name with two colons", replaced(three, "<int>0</int>", "<a:b:c xmlns:a=\"u\">0</a:b:c>"), false);
    row("name starting with a digit", replaced(three, "<int>0</int>", "<1>0</1>"), false);
    row("unterminated attribute value", replaced(three, "xmlns=\"http://sms.test/ns\"", "xmlns=\"x"), false);
  }

  void variants() {
    QFETCH(QByteArray, body);
    QFETCH(bool, ordinary);
    compareReaders(body, ordinary);
  }

  // A client thread reads answer after answer: one that breaks off inside its envelope must
  // not lend its namespace prefixes to the next.
  void answerAfterOneCutShort() {
    QByteArray cutShort =
        inEnvelope("<R xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><Result><int>1</int>");
    cutShort.truncate(cutShort.indexOf("</int>"));
    QVERIFY(!readingOf([&] { return readAnswerItems(cutShort); }).error.isEmpty());
    const QByteArray undeclared = replaced(three, "xmlns:soap=", "xmlns:other=");
    const Reading reading = readingOf([&] { return readAnswerItems(undeclared); });
    QVERIFY2(reading.error.contains("not declared"), qPrintable(reading.error));
    compareReaders(undeclared, false);
  }
};

QTEST_GUILESS_MAIN(TestGatewayAnswerReaders)
#include "test_gateway_answer_readers.moc"
