// The serial link and its AT dialogue against simulated modems on pseudo-terminals.
#include "GoldenFile.h"
#include "GsmTestSetup.h"
#include "ModemSimulator.h"
#include "common/Cp1251.h"
#include "gsm/ModemLog.h"
#include "gsm/TWorkCom.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>
#include <QtTest>
#include <memory>
#include <thread>

using Behaviour = ModemSimulator::Behaviour;
Q_DECLARE_METATYPE(Behaviour)
Q_DECLARE_METATYPE(LineState)

namespace {
const QList<QByteArray> kInitCommands = {"AT", "AT+CMEE=2", "ATQ0", "ATV1", "ATE0"};

// The log with every entry header replaced by "<COMn>", so the rest can be compared exactly.
QString withoutHeaders(const QByteArray &log) {
  QString text = cp1251::decode(log);
  text.replace(QRegularExpression(QStringLiteral("Port: COM(\\d+) .*?: ")), QStringLiteral("<COM\\1>"));
  return text;
}
} // namespace

class TestGsmLink : public QObject {
  Q_OBJECT
private slots:
  void init();
  void createOutcome_data();
  void createOutcome();
  void absentPort_data();
  void absentPort();
  void exchangeStops_data();
  void exchangeStops();
  void answerInTwoPieces();
  void pendingInputDiscarded();
  void twoLinksOnOnePort();
  void searchFindsModemBehindSilentPorts();
  void searchWithoutModem();
  void lineState_data();
  void lineState();
  void logFileHoldsEveryExchange();
  void logWithoutName();
  void unusableLogDoesNotStopTheLink();
  void logAppends_data();
  void logAppends();
  void logEntriesOfTwoLinksDoNotInterleave();

private:
  std::unique_ptr<PrivatePortMap> ports_;
  std::unique_ptr<QTemporaryDir> dir_;
  QString logName() const { return dir_->filePath(QStringLiteral("modem.log")); }
};

void TestGsmLink::init() {
  ports_ = std::make_unique<PrivatePortMap>();
  dir_ = std::make_unique<QTemporaryDir>();
}

void TestGsmLink::createOutcome_data() {
  QTest::addColumn<Behaviour>("behaviour");
  QTest::addColumn<int>("lastError");
  QTest::addColumn<QList<QByteArray>>("commands");
  QTest::newRow("modem answers") << Behaviour::Normal << 0 << kInitCommands;
  QTest::newRow("ERROR to AT still counts as present") << Behaviour::ErrorToAll << 0 << kInitCommands;
  QTest::newRow("silent: only AT is sent") << Behaviour::Silent << 26 << QList<QByteArray>{"AT"};
}

void TestGsmLink::createOutcome() {
  QFETCH(Behaviour, behaviour);
  QFETCH(int, lastError);
  QFETCH(QList<QByteArray>, commands);
  ModemSimulator modem(behaviour);
  ports_->map(5, modem.devicePath());
  TWorkCom link(5, QString());
  QCOMPARE(int(link.LastError), lastError);
  QCOMPARE(int(link.PortNumber), 5);
  QCOMPARE(modem.commands(), commands);
  // A port whose modem stayed silent remains open until the link goes.
  QVERIFY(link.IsOpen());
  if (lastError == 0)
    QCOMPARE(modem.received(), goldenBytes(QStringLiteral("init.bin")));
}

void TestGsmLink::absentPort_data() {
  QTest::addColumn<QString>("path"); // what COM2 maps to; empty: not mapped
  QTest::newRow("no such device") << "/dev/no-such-modem";
  QTest::newRow("number not mapped") << "";
  QTest::newRow("a plain file is no serial device") << "FILE";
}

void TestGsmLink::absentPort() {
  QFETCH(QString, path);
  if (path == QLatin1String("FILE")) {
    path = dir_->filePath(QStringLiteral("plain"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
  }
  ModemSimulator other; // a modem on another number is not touched
  ports_->map(1, other.devicePath());
  if (!path.isEmpty())
    ports_->map(2, path);
  TWorkCom link(2, logName());
  QCOMPARE(int(link.LastError), 1);
  QVERIFY(!link.IsOpen());
  QVERIFY(!QFile::exists(logName())); // nothing was sent, so nothing was logged
  QVERIFY(other.commands().isEmpty());
}

void TestGsmLink::exchangeStops_data() {
  QTest::addColumn<QByteArray>("expected");
  QTest::addColumn<QByteArray>("reply");
  QTest::addColumn<int>("lastError");
  QTest::newRow("OK") << QByteArray("OK") << QByteArray("\r\nOK\r\n") << 0;
  QTest::newRow("lower-case ok") << QByteArray("OK") << QByteArray("\r\nok\r\n") << 0;
  QTest::newRow("+CME ERROR ends it") << QByteArray("OK") << QByteArray("\r\n+CME ERROR: 10\r\n") << 0;
  QTest::newRow("+CMS ERROR ends it") << QByteArray(">") << QByteArray("\r\n+CMS ERROR: 304\r\n") << 0;
  QTest::newRow("prompt") << QByteArray(">") << QByteArray("\r\n> ") << 0;
  QTest::newRow("expected text with OK")
      << QByteArray("+CSQ") << QByteArray("\r\n+CSQ: 15,0\r\n\r\nOK\r\n") << 0;
  QTest::newRow("OK without the expected text") << QByteArray("+CSQ") << QByteArray("\r\nOK\r\n") << 26;
  QTest::newRow("no final answer") << QByteArray("OK") << QByteArray("\r\nBUSY\r\n") << 26;
  QTest::newRow("prompt while OK expected") << QByteArray("OK") << QByteArray("\r\n> ") << 26;
}

void TestGsmLink::exchangeStops() {
  QFETCH(QByteArray, expected);
  QFETCH(QByteArray, reply);
  QFETCH(int, lastError);
  ModemSimulator modem;
  modem.setReply("AT+TEST", reply);
  ports_->map(1, modem.devicePath());
  TWorkCom link(1, QString());
  QCOMPARE(int(link.LastError), 0);
  QCOMPARE(link.Exchange("AT+TEST\r\n", expected), reply);
  QCOMPARE(int(link.LastError), lastError);
}

void TestGsmLink::answerInTwoPieces() {
  ModemSimulator modem;
  ports_->map(1, modem.devicePath());
  TWorkCom link(1, logName());
  QCOMPARE(int(link.LastError), 0);
  modem.setSplitAnswers(true);
  QFile::remove(logName());
  // "\r\n" comes first, "OK\r\n" in the second read; the answer holds both in order.
  QCOMPARE(link.Exchange("AT\r\n", "OK"), QByteArray("\r\nOK\r\n"));
  QCOMPARE(int(link.LastError), 0);
  QCOMPARE(withoutHeaders(readFile(logName())),
           QStringLiteral("<COM1>WRITE\r\nAT\r\n\r\n<COM1>READ\r\n\r\nOK\r\n\r\n"));
}

void TestGsmLink::pendingInputDiscarded() {
  ModemSimulator modem;
  ports_->map(1, modem.devicePath());
  TWorkCom link(1, QString());
  modem.sendUnsolicited("\r\nRING\r\n");
  QCOMPARE(link.Exchange("AT\r\n", "OK"), QByteArray("\r\nOK\r\n"));
}

void TestGsmLink::twoLinksOnOnePort() {
  ModemSimulator modem;
  ports_->map(1, modem.devicePath());
  {
    TWorkCom first(1, QString());
    QCOMPARE(int(first.LastError), 0);
    TWorkCom second(1, QString());
    QCOMPARE(int(second.LastError), 1);
    // The first link is not disturbed.
    QCOMPARE(first.Exchange("AT\r\n", "OK"), QByteArray("\r\nOK\r\n"));
    QCOMPARE(int(first.LastError), 0);
  }
  // Once the first link is gone the port opens again.
  TWorkCom third(1, QString());
  QCOMPARE(int(third.LastError), 0);
}

void TestGsmLink::searchFindsModemBehindSilentPorts() {
  ModemSimulator silent1(Behaviour::Silent), silent2(Behaviour::Silent), modem;
  ports_->map(1, silent1.devicePath());
  ports_->map(2, silent2.devicePath());
  ports_->map(3, modem.devicePath());
  {
    TWorkCom link(logName());
    QCOMPARE(int(link.LastError), 0);
    QCOMPARE(int(link.PortNumber), 3);
    QVERIFY(link.IsOpen());
  }
  QCOMPARE(silent1.commands(), QList<QByteArray>{"AT"});
  QCOMPARE(silent2.commands(), QList<QByteArray>{"AT"});
  QCOMPARE(modem.commands(), kInitCommands);
  const QString log = withoutHeaders(readFile(logName()));
  QVERIFY(
      log.startsWith(QStringLiteral("<COM1>WRITE\r\nAT\r\n\r\n<COM1>READ\r\n\r\n<COM2>WRITE\r\nAT\r\n\r\n")));
  // The silent ports were closed again.
  TWorkCom again(1, QString());
  QCOMPARE(int(again.LastError), 26);
}

void TestGsmLink::searchWithoutModem() {
  ModemSimulator silent(Behaviour::Silent);
  ports_->map(1, silent.devicePath());
  TWorkCom link{QString()};
  QCOMPARE(int(link.LastError), 2); // the search ended at a COM30 that does not exist
  QCOMPARE(int(link.PortNumber), 30);
  QVERIFY(!link.IsOpen());
}

void TestGsmLink::lineState_data() {
  QTest::addColumn<LineState>("state");
  QTest::addColumn<bool>("accepted");
  auto s = [](quint32 baud, quint8 bits, quint8 parity, quint8 stop) {
    LineState st;
    st.BaudRate = baud;
    st.ByteSize = bits;
    st.Parity = parity;
    st.StopBits = stop;
    return st;
  };
  QTest::newRow("9600 8N1") << s(9600, 8, 0, 0) << true;
  QTest::newRow("115200 8N1") << s(115200, 8, 0, 0) << true;
  QTest::newRow("14400 8N2 (not a POSIX rate)") << s(14400, 8, 0, 2) << true;
  QTest::newRow("256000 8N1") << s(256000, 8, 0, 0) << true;
  // A pseudo-terminal carries eight bits without parity only; the kernel's refusal comes through.
  QTest::newRow("7E1 on a pseudo-terminal") << s(115200, 7, 2, 0) << false;
  QTest::newRow("nine data bits") << s(9600, 9, 0, 0) << false;
  QTest::newRow("parity code 5") << s(9600, 8, 5, 0) << false;
  QTest::newRow("stop-bit code 3") << s(9600, 8, 0, 3) << false;
  QTest::newRow("one and a half stop bits with eight data bits") << s(9600, 8, 0, 1) << false;
  QTest::newRow("speed 0") << s(0, 8, 0, 0) << false;
}

void TestGsmLink::lineState() {
  QFETCH(LineState, state);
  QFETCH(bool, accepted);
  ModemSimulator modem;
  ports_->map(1, modem.devicePath());
  TWorkCom link(1, QString());
  QCOMPARE(int(link.LastError), 0);
  QCOMPARE(link.CurrentState().BaudRate, 57600u); // the link's default
  QCOMPARE(link.ApplyState(state), accepted);
  if (!accepted) {
    QCOMPARE(int(link.LastError), 3);
    QVERIFY(!link.IsOpen());
    return;
  }
  const LineState now = link.CurrentState();
  QCOMPARE(now.BaudRate, state.BaudRate);
  QCOMPARE(now.ByteSize, state.ByteSize);
  QCOMPARE(now.Parity, state.Parity);
  QCOMPARE(now.StopBits, state.StopBits);
  QVERIFY(!now.HardwareFlow && !now.SoftwareFlow);
}

void TestGsmLink::logFileHoldsEveryExchange() {
  ModemSimulator modem;
  ports_->map(5, modem.devicePath());
  QFile(logName()).open(QIODevice::WriteOnly); // the settings page creates it empty
  TWorkCom link(5, logName());
  QCOMPARE(int(link.LastError), 0);
  const QByteArray log = readFile(logName());
  QString expected;
  for (const QByteArray &command : kInitCommands)
    expected += QStringLiteral("<COM5>WRITE\r\n%1\r\n\r\n<COM5>READ\r\n\r\nOK\r\n\r\n")
                    .arg(QString::fromLatin1(command));
  QCOMPARE(withoutHeaders(log), expected);
  const QString header = QStringLiteral("Port: COM5 ") +
                         QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat) +
                         QLatin1Char(' ');
  QVERIFY2(log.startsWith(header.toLatin1()), log.left(40).constData());
}

void TestGsmLink::logWithoutName() {
  ModemSimulator modem;
  ports_->map(1, modem.devicePath());
  TWorkCom link(1, QString());
  QVERIFY(!link.LogEnabled);
  link.Log(QStringLiteral("entry"));
  QVERIFY(QDir(dir_->path()).entryList(QDir::Files).isEmpty());
}

void TestGsmLink::unusableLogDoesNotStopTheLink() {
  ModemSimulator modem;
  ports_->map(1, modem.devicePath());
  TWorkCom link(1, dir_->path()); // a folder cannot be opened as the log
  QVERIFY(link.LogEnabled);
  QCOMPARE(int(link.LastError), 0);
  QCOMPARE(modem.commands(), kInitCommands);
  QVERIFY(!modem_log::append(dir_->filePath(QStringLiteral("missing/dir/modem.log")), 1, "x"));
}

void TestGsmLink::logAppends_data() {
  QTest::addColumn<QByteArray>("before");
  QTest::addColumn<QString>("after");
  QTest::newRow("empty file") << QByteArray() << "<COM7>READ\r\nOK\r\n\r\n";
  QTest::newRow("lines kept") << QByteArray("old\r\n") << "old\r\n<COM7>READ\r\nOK\r\n\r\n";
  QTest::newRow("unfinished last line gets its break")
      << QByteArray("old") << "old\r\n<COM7>READ\r\nOK\r\n\r\n";
}

void TestGsmLink::logAppends() {
  QFETCH(QByteArray, before);
  QFETCH(QString, after);
  QFile f(logName());
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(before);
  f.close();
  QVERIFY(modem_log::append(logName(), 7, "READ\r\nOK\r\n"));
  QCOMPARE(withoutHeaders(readFile(logName())), after);
}

void TestGsmLink::logEntriesOfTwoLinksDoNotInterleave() {
  constexpr int kEntries = 300;
  auto writer = [this](int port) {
    for (int i = 0; i < kEntries; ++i)
      modem_log::append(logName(), port, cp1251::encode(QStringLiteral(u"запись %1 ").arg(i).repeated(20)));
  };
  std::thread a(writer, 1), b(writer, 2);
  a.join();
  b.join();
  const QStringList lines = cp1251::decode(readFile(logName())).split(QStringLiteral("\r\n"));
  QCOMPARE(lines.size(), 2 * kEntries + 1);
  QVERIFY(lines.last().isEmpty());
  const QRegularExpression rx(QStringLiteral(u"^Port: COM[12] .*?: (запись \\d+ ){20}$"));
  for (int i = 0; i < 2 * kEntries; ++i)
    QVERIFY2(rx.match(lines.at(i)).hasMatch(), qPrintable(lines.at(i)));
}

QTEST_GUILESS_MAIN(TestGsmLink)
#include "test_gsm_link.moc"
