// SMS submission through the link against a simulated modem: exact bytes, splitting, refusals.
#include "GoldenFile.h"
#include "GsmTestSetup.h"
#include "ModemSimulator.h"
#include "common/Cp1251.h"
#include "gsm/TSendSMS.h"

#include <QtTest>
#include <memory>

namespace {
const QString kNumber = QStringLiteral("71234567890");

struct Part {
  QString text;
  int coding;
};
} // namespace
Q_DECLARE_METATYPE(Part)
Q_DECLARE_METATYPE(QList<Part>)

class TestGsmSend : public QObject {
  Q_OBJECT
private slots:
  void init();
  void cleanup();
  void goldenSubmission_data();
  void goldenSubmission();
  void split_data();
  void split();
  void tabAndGraveAccent_data();
  void tabAndGraveAccent();
  void escapesSplitBySeptets();
  void refusedPartInTheMiddle();
  void sendCommandRefused();
  void ucs2PartsBeyondTheLimit();
  void writtenNumber_data();
  void writtenNumber();
  void invalidNumber_data();
  void invalidNumber();

private:
  // Sends text and returns the modem's record of this send only.
  bool send(const QString &text, const QString &number = kNumber, bool flash = false);
  // The modem received exactly these parts, to kNumber, and the link counted them.
  void expectPartsSent(const QList<Part> &parts);
  std::unique_ptr<PrivatePortMap> ports_;
  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<ModemSimulator> modem_;
  std::unique_ptr<TSendSMS> link_;
  QString logName() const { return dir_->filePath(QStringLiteral("modem.log")); }
  QByteArray errorEntry(int code) const {
    return cp1251::encode(QStringLiteral(u": Ошибка при отправке SMS. Код ошибки: %1\r\n").arg(code));
  }
};

void TestGsmSend::init() {
  ports_ = std::make_unique<PrivatePortMap>();
  dir_ = std::make_unique<QTemporaryDir>();
  modem_ = std::make_unique<ModemSimulator>();
  ports_->map(1, modem_->devicePath());
  link_ = std::make_unique<TSendSMS>(1, logName());
  QCOMPARE(int(link_->LastError), 0);
  modem_->clearRecord();
  QFile::remove(logName());
}

void TestGsmSend::cleanup() {
  link_.reset();
  modem_.reset();
}

bool TestGsmSend::send(const QString &text, const QString &number, bool flash) {
  link_->MessageText = text;
  link_->DestNumber = number;
  link_->Flash = flash;
  return link_->Send();
}

void TestGsmSend::goldenSubmission_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("number");
  QTest::addColumn<bool>("flash");
  QTest::addColumn<QString>("golden");
  QTest::newRow("Hi") << "Hi" << kNumber << false << "submit/hi.bin";
  QTest::newRow("Hi flash") << "Hi" << kNumber << true << "submit/hi_flash.bin";
  QTest::newRow("Да") << u"Да"_qs << kNumber << false << "submit/da.bin";
  QTest::newRow("hellohello") << "hellohello" << kNumber << false << "submit/hellohello.bin";
  QTest::newRow("default alphabet: @ is 00, $ 02, _ 11, brackets escaped")
      << "@$_[x]" << kNumber << false << "submit/gsm_chars.bin";
  QTest::newRow("empty text: one message of length 00") << "" << kNumber << false << "submit/empty.bin";
  // The address length is the number of digits: 0A and 0C, the command length follows.
  QTest::newRow("ten-digit number: length 0A, no filler") << "Hi"
                                                          << "7123456789" << false << "submit/ten_digit.bin";
  QTest::newRow("twelve-digit number: length 0C, not cut to eleven")
      << "Hi"
      << "712345678901" << false << "submit/twelve_digit.bin";
  QTest::newRow("one Cyrillic letter: all UCS-2, line breaks as blanks")
      << u"Д\nа\r"_qs << kNumber << true << "submit/da_flash_newline.bin";
}

void TestGsmSend::goldenSubmission() {
  QFETCH(QString, text);
  QFETCH(QString, number);
  QFETCH(bool, flash);
  QFETCH(QString, golden);
  QVERIFY(send(text, number, flash));
  QCOMPARE(modem_->received(), goldenBytes(golden));
  QCOMPARE(link_->PartsSent, 1);
  QCOMPARE(int(link_->LastError), 0);
  // Only the exchange that carries the PDU waits longer.
  QCOMPARE(link_->CurrentTimeouts().ReadTotalTimeoutConstant, 300u);
}

void TestGsmSend::split_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QList<Part>>("parts");
  const QString a = QStringLiteral("a"), b = QStringLiteral("b"), c = QStringLiteral("c");
  const QString d = QStringLiteral(u"д"), e = QStringLiteral(u"е");
  QTest::newRow("7-bit 140: one message") << a.repeated(140) << QList<Part>{{a.repeated(140), 0}};
  QTest::newRow("7-bit 141: 135 + 6")
      << a.repeated(135) + b.repeated(6)
      << QList<Part>{{"(1/2)" + a.repeated(135), 0}, {"(2/2)" + b.repeated(6), 0}};
  QTest::newRow("7-bit 270: two of 135")
      << a.repeated(135) + b.repeated(135)
      << QList<Part>{{"(1/2)" + a.repeated(135), 0}, {"(2/2)" + b.repeated(135), 0}};
  QTest::newRow("7-bit 300: three") << a.repeated(135) + b.repeated(135) + c.repeated(30)
                                    << QList<Part>{{"(1/3)" + a.repeated(135), 0},
                                                   {"(2/3)" + b.repeated(135), 0},
                                                   {"(3/3)" + c.repeated(30), 0}};
  QTest::newRow("Cyrillic 64: one message") << d.repeated(64) << QList<Part>{{d.repeated(64), 8}};
  QTest::newRow("Cyrillic 65: 59 + 6")
      << d.repeated(59) + e.repeated(6)
      << QList<Part>{{"(1/2)" + d.repeated(59), 8}, {"(2/2)" + e.repeated(6), 8}};
  QTest::newRow("Cyrillic 100: 59 + 41")
      << d.repeated(59) + e.repeated(41)
      << QList<Part>{{"(1/2)" + d.repeated(59), 8}, {"(2/2)" + e.repeated(41), 8}};
  QTest::newRow("a part without Cyrillic goes 7-bit")
      << d.repeated(59) + a.repeated(10)
      << QList<Part>{{"(1/2)" + d.repeated(59), 8}, {"(2/2)" + a.repeated(10), 0}};
  QList<Part> ten7, ten16, nine16;
  for (int i = 1; i <= 10; ++i) {
    ten7.append({QStringLiteral("(%1/10)").arg(i) + a.repeated(i < 10 ? 133 : 19), 0});
    ten16.append({QStringLiteral("(%1/10)").arg(i) + d.repeated(i < 10 ? 57 : 19), 8});
  }
  for (int i = 1; i <= 9; ++i)
    nine16.append({QStringLiteral("(%1/9)").arg(i) + d.repeated(59), 8});
  QTest::newRow("7-bit 1216: ten of 133") << a.repeated(1216) << ten7;
  QTest::newRow("Cyrillic 531: nine of 59") << d.repeated(531) << nine16;
  QTest::newRow("Cyrillic 532: ten of 57") << d.repeated(532) << ten16;
}

void TestGsmSend::expectPartsSent(const QList<Part> &parts) {
  const QList<ModemSimulator::Message> got = modem_->messages();
  QCOMPARE(got.size(), parts.size());
  for (int i = 0; i < parts.size(); ++i) {
    QCOMPARE(got.at(i).text, parts.at(i).text);
    QCOMPARE(got.at(i).coding, parts.at(i).coding);
    QCOMPARE(got.at(i).number, kNumber);
  }
  QCOMPARE(link_->PartsSent, int(parts.size()));
}

void TestGsmSend::split() {
  QFETCH(QString, text);
  QFETCH(QList<Part>, parts);
  QVERIFY(send(text));
  expectPartsSent(parts);
  if (QTest::currentTestFailed())
    return;
  QCOMPARE(link_->MessageText, parts.last().text);
  QVERIFY(!QFile::exists(logName()) || !readFile(logName()).contains(errorEntry(22)));
}

void TestGsmSend::tabAndGraveAccent_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QList<Part>>("parts"); // as the modem decodes them
  const QString a = QStringLiteral("a"), b = QStringLiteral("b");
  // Neither has a septet of its own; sent in UCS-2 they would double the parts.
  QTest::newRow("100 Latin with a tab: one 7-bit message, tab as a blank")
      << a.repeated(50) + "\t" + a.repeated(49) << QList<Part>{{a.repeated(50) + " " + a.repeated(49), 0}};
  QTest::newRow("grave accent as an apostrophe") << "it`s" << QList<Part>{{"it's", 0}};
  QTest::newRow("141 Latin with a tab: split like any 7-bit text")
      << a.repeated(135) + "\t" + b.repeated(5)
      << QList<Part>{{"(1/2)" + a.repeated(135), 0}, {"(2/2) " + b.repeated(5), 0}};
  QTest::newRow("with a Cyrillic letter: UCS-2, tab as a blank, grave accent kept")
      << QStringLiteral(u"д\t`") << QList<Part>{{QStringLiteral(u"д `"), 8}};
}

void TestGsmSend::tabAndGraveAccent() {
  QFETCH(QString, text);
  QFETCH(QList<Part>, parts);
  QVERIFY(send(text));
  expectPartsSent(parts);
}

void TestGsmSend::escapesSplitBySeptets() {
  // 71 brackets are 142 septets: two parts, and the first holds 67 brackets (134 septets).
  QVERIFY(send(QStringLiteral("[").repeated(71)));
  const QList<ModemSimulator::Message> got = modem_->messages();
  QCOMPARE(got.size(), 2);
  QCOMPARE(got.at(0).septets, QByteArray("(1/2)") + QByteArray("\x1b\x3c").repeated(67));
  QCOMPARE(got.at(0).userDataLength, 139);
  QCOMPARE(got.at(1).septets, QByteArray("(2/2)") + QByteArray("\x1b\x3c").repeated(4));
}

void TestGsmSend::refusedPartInTheMiddle() {
  modem_->refusePdu(1, "\r\n+CMS ERROR: 500\r\n");
  const QString text = QStringLiteral("x").repeated(300);
  QVERIFY(!send(text));
  QCOMPARE(modem_->messages().size(), 3); // every part is attempted
  QCOMPARE(link_->PartCount, 3);
  QCOMPARE(link_->PartsSent, 2);
  QCOMPARE(int(link_->LastError), 0); // the last part went through
  QCOMPARE(link_->ErrorAnswer, QStringLiteral("\r\n+CMS ERROR: 500\r\n"));
  QCOMPARE(link_->MessageText, "(3/3)" + QStringLiteral("x").repeated(30));
  QCOMPARE(readFile(logName()).count(errorEntry(22)), 1);
}

void TestGsmSend::sendCommandRefused() {
  modem_->refusePrompt("\r\n+CMS ERROR: 304\r\n");
  QVERIFY(!send(QStringLiteral("Hi")));
  QCOMPARE(int(link_->LastError), 22);
  QCOMPARE(link_->ErrorAnswer, QStringLiteral("\r\n+CMS ERROR: 304\r\n"));
  QCOMPARE(link_->PartsSent, 0);
  QVERIFY(modem_->messages().isEmpty());                  // the PDU is not written
  QVERIFY(!readFile(logName()).contains(errorEntry(22))); // a single message logs no entry of its own
}

void TestGsmSend::ucs2PartsBeyondTheLimit() {
  // 100 parts: from the tenth on, "(10/100)" and 57 letters exceed 64 characters.
  QVERIFY(!send(QStringLiteral(u"ж").repeated(5700)));
  QCOMPARE(link_->PartCount, 100);
  QCOMPARE(link_->PartsSent, 9);
  QCOMPARE(modem_->messages().size(), 9);
  QCOMPARE(int(link_->LastError), 23);
  QCOMPARE(readFile(logName()).count(errorEntry(23)), 91);
}

void TestGsmSend::writtenNumber_data() {
  QTest::addColumn<QString>("written");
  QTest::addColumn<QString>("dialled");
  QTest::newRow("leading plus") << "+79001234501"
                                << "79001234501";
  QTest::newRow("blanks, parentheses, hyphens") << "+7 (900) 123-45-01"
                                                << "79001234501";
  QTest::newRow("dots") << "8.900.123.45.01"
                        << "89001234501";
  QTest::newRow("blank before the plus") << " +7 900 1234501"
                                         << "79001234501";
  QTest::newRow("no-break spaces") << QStringLiteral(u"+7\u00A0900\u00A01234501") << "79001234501";
  QTest::newRow("twenty digits written in groups") << "+7123 4567 8901 2345 6789"
                                                   << "71234567890123456789";
}

void TestGsmSend::writtenNumber() {
  QFETCH(QString, written);
  QFETCH(QString, dialled);
  QVERIFY(send(QStringLiteral("Hi"), written));
  const QList<ModemSimulator::Message> got = modem_->messages();
  QCOMPARE(got.size(), 1);
  QCOMPARE(got.first().number, dialled);
  QCOMPARE(got.first().addressLength, int(dialled.size()));
  QCOMPARE(link_->DestNumber, written); // the caller's number is left as written
}

void TestGsmSend::invalidNumber_data() {
  QTest::addColumn<QString>("number");
  QTest::newRow("plus inside the number") << "7+1234567890";
  QTest::newRow("two plus signs") << "++71234567890";
  QTest::newRow("letter") << "7123456789O";
  QTest::newRow("slash") << "7123/4567890";
  QTest::newRow("only what is dropped") << "+ (-.)";
  QTest::newRow("21 digits: beyond the address field") << "712345678901234567890";
  QTest::newRow("line break would end the command") << "7123\r\nAT+CMGD=1";
  QTest::newRow("Ctrl-Z would end the PDU") << QStringLiteral("7123") + QChar(26);
  QTest::newRow("empty") << "";
}

void TestGsmSend::invalidNumber() {
  QFETCH(QString, number);
  QVERIFY(!send(QStringLiteral("Hi"), number));
  QCOMPARE(int(link_->LastError), 22);
  QVERIFY(link_->ErrorAnswer.contains(QStringLiteral("Invalid destination number")));
  QVERIFY(modem_->received().isEmpty());
}

QTEST_GUILESS_MAIN(TestGsmSend)
#include "test_gsm_send.moc"
