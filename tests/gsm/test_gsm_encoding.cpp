// The PDU texts, the GSM alphabet and the cutting of long texts, without a modem.
#include "GoldenFile.h"
#include "gsm/GsmAlphabet.h"
#include "gsm/PduEncoder.h"
#include "gsm/SmsSplit.h"

#include <QtTest>

class TestGsmEncoding : public QObject {
  Q_OBJECT
private slots:
  void encodePhone_data();
  void encodePhone();
  void packSeptets_data();
  void packSeptets();
  void ucs2_data();
  void ucs2();
  void alphabet_data();
  void alphabet();
  void goldenSubmission_data();
  void goldenSubmission();
  void slices_data();
  void slices();
  void escapeNeverSplit();
};

void TestGsmEncoding::encodePhone_data() {
  QTest::addColumn<QString>("number");
  QTest::addColumn<QString>("address");
  QTest::newRow("eleven digits") << "71234567890"
                                 << "1732547698F0";
  QTest::newRow("ten digits: no filler") << "7123456789"
                                         << "1732547698";
  QTest::newRow("twelve digits") << "380123456789"
                                 << "831032547698";
  QTest::newRow("empty") << ""
                         << "";
}

void TestGsmEncoding::encodePhone() {
  QFETCH(QString, number);
  QFETCH(QString, address);
  QCOMPARE(pdu::EncodePhone(number), address);
}

void TestGsmEncoding::packSeptets_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("packed");
  QTest::newRow("Hi") << "Hi"
                      << "C834";
  QTest::newRow("hellohello") << "hellohello"
                              << "E8329BFD4697D9EC37";
  QTest::newRow("empty") << ""
                         << "";
  // Eight septets fill exactly seven octets; the ninth starts a new one.
  QTest::newRow("eight septets") << "12345678"
                                 << "31D98C56B3DD70";
  QTest::newRow("nine septets") << "123456789"
                                << "31D98C56B3DD7039";
  QTest::newRow("commercial at is septet 00") << "@"
                                              << "00";
  QTest::newRow("dollar and underscore") << "$_"
                                         << "8208";
  QTest::newRow("bracket takes escape and code") << "["
                                                 << "1B1E";
  QTest::newRow("euro from the extension table") << u"€"_qs << "9B32";
  QTest::newRow("tab goes as a blank") << "a\tb"
                                       << "619018"; // same as "a b"
  QTest::newRow("grave accent goes as an apostrophe") << "`"
                                                      << "27";
}

void TestGsmEncoding::packSeptets() {
  QFETCH(QString, text);
  QFETCH(QString, packed);
  QCOMPARE(pdu::PackSeptets(text), packed);
}

void TestGsmEncoding::ucs2_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("hex");
  QTest::newRow("Да") << u"Да"_qs << "04140430";
  QTest::newRow("Ё ё capital and small") << u"Ёё"_qs << "04010451";
  QTest::newRow("А Я а я ends") << u"АЯая"_qs << "0410042F0430044F";
  QTest::newRow("numero sign") << u"№"_qs << "2116";
  QTest::newRow("ascii blank and tilde") << " ~"
                                         << "0020007E";
  QTest::newRow("grave accent keeps its code") << "`"
                                               << "0060";
  QTest::newRow("CR LF tab become blanks") << "\r\n\t"
                                           << "002000200020";
  QTest::newRow("guillemets euro dash Ukrainian become blanks") << u"«»€—ї"_qs << "00200020002000200020";
}

void TestGsmEncoding::ucs2() {
  QFETCH(QString, text);
  QFETCH(QString, hex);
  QCOMPARE(pdu::TextToUcs2Hex(text), hex);
}

void TestGsmEncoding::alphabet_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("gsm");
  QTest::addColumn<int>("septets");
  QTest::newRow("empty is 7-bit") << "" << true << 0;
  QTest::newRow("plain ascii") << "Hello, world!" << true << 13;
  QTest::newRow("CR LF belong to the alphabet") << "a\r\nb" << true << 4;
  QTest::newRow("extension characters count two") << "^{}\\[~]|" << true << 16;
  QTest::newRow("grave accent goes as an apostrophe") << "a`b" << true << 3;
  QTest::newRow("tab goes as a blank") << "a\tb" << true << 3;
  QTest::newRow("form feed is an extension character") << "a\fb" << true << 4;
  QTest::newRow("one Cyrillic letter") << u"Hi д"_qs << false << 0;
  QTest::newRow("Latin letters of the alphabet") << u"é£¥§"_qs << true << 4;
}

void TestGsmEncoding::alphabet() {
  QFETCH(QString, text);
  QFETCH(bool, gsm);
  QFETCH(int, septets);
  QCOMPARE(gsm_alphabet::isGsmText(text), gsm);
  if (gsm)
    QCOMPARE(sms_split::unitLength(text, true), septets);
}

void TestGsmEncoding::goldenSubmission_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("number");
  QTest::addColumn<bool>("flash");
  QTest::addColumn<QString>("golden");
  const QString n = QStringLiteral("71234567890");
  QTest::newRow("Hi") << "Hi" << n << false << "submit/hi.bin";
  QTest::newRow("Hi flash") << "Hi" << n << true << "submit/hi_flash.bin";
  QTest::newRow("Да") << u"Да"_qs << n << false << "submit/da.bin";
  QTest::newRow("hellohello") << "hellohello" << n << false << "submit/hellohello.bin";
  QTest::newRow("default alphabet and escapes") << "@$_[x]" << n << false << "submit/gsm_chars.bin";
  QTest::newRow("empty text") << "" << n << false << "submit/empty.bin";
  // The address length counts digits; the filler F only completes an odd count.
  QTest::newRow("ten-digit number") << "Hi"
                                    << "7123456789" << false << "submit/ten_digit.bin";
  QTest::newRow("twelve-digit number") << "Hi"
                                       << "712345678901" << false << "submit/twelve_digit.bin";
  QTest::newRow("one-digit number") << "Hi"
                                    << "7" << false << "submit/one_digit.bin";
  QTest::newRow("twenty-digit number") << "Hi"
                                       << "71234567890123456789" << false << "submit/twenty_digit.bin";
  QTest::newRow("UCS-2 flash with line breaks") << u"Д\nа\r"_qs << n << true << "submit/da_flash_newline.bin";
}

void TestGsmEncoding::goldenSubmission() {
  QFETCH(QString, text);
  QFETCH(QString, number);
  QFETCH(bool, flash);
  QFETCH(QString, golden);
  const pdu::Submission s = pdu::build(text, gsm_alphabet::isGsmText(text), number, flash);
  QCOMPARE("AT+CMGS=" + QByteArray::number(s.length) + "\r\n" + s.pduText, goldenBytes(golden));
}

void TestGsmEncoding::slices_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("single");
  QTest::addColumn<QList<int>>("lengths"); // slice lengths in characters, when split
  const QString a = QStringLiteral("a");
  const QString d = QStringLiteral(u"д");
  auto times = [](int n, int len) { return QList<int>(n, len); };
  QTest::newRow("7-bit 140: one message") << a.repeated(140) << true << QList<int>{};
  QTest::newRow("7-bit 141: 135 + 6") << a.repeated(141) << false << QList<int>{135, 6};
  QTest::newRow("7-bit 160 is split too") << a.repeated(160) << false << QList<int>{135, 25};
  QTest::newRow("7-bit 270: two full") << a.repeated(270) << false << times(2, 135);
  QTest::newRow("7-bit 300: 135 135 30") << a.repeated(300) << false << QList<int>{135, 135, 30};
  QTest::newRow("7-bit 1215: nine of 135") << a.repeated(1215) << false << times(9, 135);
  QTest::newRow("7-bit 1216: ten of 133") << a.repeated(1216) << false << (times(9, 133) << 19);
  QTest::newRow("Cyrillic 64: one message") << d.repeated(64) << true << QList<int>{};
  QTest::newRow("Cyrillic 65: 59 + 6") << d.repeated(65) << false << QList<int>{59, 6};
  QTest::newRow("Cyrillic 100: 59 + 41") << d.repeated(100) << false << QList<int>{59, 41};
  QTest::newRow("Cyrillic 531: nine of 59") << d.repeated(531) << false << times(9, 59);
  QTest::newRow("Cyrillic 532: ten of 57") << d.repeated(532) << false << (times(9, 57) << 19);
  // Seventy brackets are 140 septets: one message; one more character makes two.
  QTest::newRow("escapes 140 septets: one message")
      << QStringLiteral("[").repeated(70) << true << QList<int>{};
  QTest::newRow("escapes 142 septets: split by septets")
      << QStringLiteral("[").repeated(71) << false << QList<int>{67, 4};
  // 1215 septets fill nine slices of 135 exactly, but the escape may not end the first one.
  QTest::newRow("escape pushes to ten parts")
      << (a.repeated(134) + QStringLiteral("[") + a.repeated(1079)) << false
      << (QList<int>{133, 132} + times(7, 133) + QList<int>{18});
}

void TestGsmEncoding::slices() {
  QFETCH(QString, text);
  QFETCH(bool, single);
  QFETCH(QList<int>, lengths);
  const bool seven = gsm_alphabet::isGsmText(text);
  QCOMPARE(sms_split::fitsOneMessage(text, seven), single);
  if (single)
    return;
  const QStringList parts = sms_split::slices(text, seven);
  QList<int> got;
  for (const QString &p : parts)
    got.append(int(p.size()));
  QCOMPARE(got, lengths);
  QCOMPARE(parts.join(QString()), text);
}

void TestGsmEncoding::escapeNeverSplit() {
  // 134 plain characters, then a bracket: the bracket's escape would be septet 135.
  const QString text =
      QStringLiteral("a").repeated(134) + QStringLiteral("[b") + QStringLiteral("c").repeated(10);
  const QStringList parts = sms_split::slices(text, true);
  QCOMPARE(parts.size(), 2);
  QCOMPARE(parts.at(0), QStringLiteral("a").repeated(134));
  QVERIFY(parts.at(1).startsWith(QLatin1Char('[')));
  QCOMPARE(sms_split::label(3, 12), QStringLiteral("(3/12)"));
}

QTEST_GUILESS_MAIN(TestGsmEncoding)
#include "test_gsm_encoding.moc"
