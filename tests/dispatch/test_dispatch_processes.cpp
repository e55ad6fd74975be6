// A run against real processes that fail in its middle: the dispatch itself killed with
// SIGKILL, the gateway killed or frozen, the modem's process killed. Each leaves every row
// consistent with what the run showed.
#include "DispatchFixture.h"
#include "GsmTestSetup.h"

#include "dispatch/DispatchRun.h"
#include "dispatch/GatewayChannel.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

using namespace dispatch_test;

namespace {

QString testProgram(const QString &name) {
  return QCoreApplication::applicationDirPath() + QLatin1Char('/') + name;
}

// The number a result line names.
QString phoneOfLine(const QString &line) {
  const QString mark = QStringLiteral(u"Номер телефона: ");
  const qsizetype at = line.indexOf(mark);
  return at < 0 ? QString() : line.mid(at + mark.size()).section(QLatin1Char('\r'), 0, 0);
}

// Short limits, so that a silent gateway costs a fraction of a second per recipient.
const gateway::HttpTimeouts shortLimits{std::chrono::milliseconds(500), std::chrono::milliseconds(300)};

// The demo gateway in a process of its own, answering at once.
class DemoGatewayProcess {
public:
  DemoGatewayProcess() {
    process.setProgram(qEnvironmentVariable("BL_BIN_DIR") + QStringLiteral("/brisklane-demo-gateway"));
    process.setArguments({"--port", "0", "--delivery-seconds", "0", "--url-file", dir.filePath("url")});
    process.start();
  }
  ~DemoGatewayProcess() {
    if (process.state() != QProcess::NotRunning) {
      ::kill(pid_t(process.processId()), SIGCONT);
      process.kill();
      process.waitForFinished();
    }
  }
  QString url() {
    QFile file(dir.filePath("url"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
  }
  void signal(int number) { ::kill(pid_t(process.processId()), number); }

  QTemporaryDir dir;
  QProcess process;
};

bool holdsFile(const QString &path) {
  const QDir fds(QStringLiteral("/proc/self/fd"));
  for (const QString &fd : fds.entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot))
    if (QFileInfo(fds.filePath(fd)).symLinkTarget() == path)
      return true;
  return false;
}

} // namespace

class TestDispatchProcesses : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { keepTrafficLocal(); }

  // SIGKILL in the middle of a 1000-recipient run: every recipient whose line was shown has
  // its outcome committed; at most the recipient in hand has one without a line; the rest
  // of the group keeps the reset, the other group is untouched.
  void dispatchKilledInTheMiddle() {
    DispatchDatabase data;
    data.addGroup(1);
    data.addGroup(2);
    data.addContacts(1, 1, 1000);
    data.addContacts(2, 1001, 10);
    const QString path = data.database.path();
    data.db.close(); // the run's process has the file alone

    LocalGateway gateway;
    gateway.setResponder([](const ReceivedRequest &r) {
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      return accepted({element(r.body, "PhoneNumber").right(6).toInt(), 0, 1});
    });
    AppFolder folder;
    pointAt(folder, gateway.url());

    QProcess child;
    child.start(testProgram("dispatch_child"), {path, folder.path(), "1"});
    QVERIFY(child.waitForStarted());
    QByteArray output;
    auto shownLines = [&] { return output.count("\nLINE ") + (output.startsWith("LINE ") ? 1 : 0); };
    while (shownLines() < 250 && child.state() == QProcess::Running) {
      child.waitForReadyRead(30000);
      output += child.readAllStandardOutput();
    }
    ::kill(pid_t(child.processId()), SIGKILL);
    QVERIFY(child.waitForFinished(30000));
    output += child.readAllStandardOutput();
    QVERIFY2(!output.contains("END"), "the run ended before it was killed");
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);

    QSet<QString> shown;
    // Only whole lines count as shown.
    for (const QByteArray &line : output.left(output.lastIndexOf('\n')).split('\n'))
      if (line.startsWith("LINE "))
        shown.insert(phoneOfLine(QString::fromUtf8(line)));
    QVERIFY(shown.size() >= 250);

    data.db.open(path);
    int recordedWithoutLine = 0;
    for (int id = 1; id <= 1000; ++id) {
      const Status s = data.status(id);
      if (shown.contains(DispatchDatabase::phoneOf(id))) {
        QCOMPARE(s[0], QVariant(1));
        QVERIFY(s[1].isValid() && s[2].isValid());
        QCOMPARE(s.mid(3), (QVariantList{1, 0, id}));
      } else if (s[0] == QVariant(1)) {
        ++recordedWithoutLine;
        QCOMPARE(s.mid(3), (QVariantList{1, 0, id}));
      } else {
        QCOMPARE(s, (Status{2, QVariant(), QVariant(), 0, 0, 99}));
      }
    }
    QVERIFY(recordedWithoutLine <= 1);
    for (int id = 1001; id <= 1010; ++id)
      QCOMPARE(data.status(id), DispatchDatabase::earlier());
  }

  // The gateway's process is killed, or frozen, in the middle: each remaining recipient gets
  // SEND 2, FERROR 1000 and a failure line, and the run ends within the time limits.
  void gatewayGoneInTheMiddle_data() {
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("killed") << SIGKILL;
    QTest::newRow("frozen") << SIGSTOP;
  }
  void gatewayGoneInTheMiddle() {
    QFETCH(int, signalNumber);
    DemoGatewayProcess demo;
    QTRY_VERIFY_WITH_TIMEOUT(!demo.url().isEmpty(), 30000);
    AppFolder folder;
    pointAt(folder, demo.url());
    DispatchDatabase data;
    data.addGroup(1);
    data.addContacts(1, 1, 8);
    RecordingWindow window;
    window.inputs = runInputs(data.db, QStringLiteral("[NAM]"));
    window.onLine = [&](int i) {
      if (i == 2)
        demo.signal(signalNumber);
    };
    DispatchRun run(
        data.db, window,
        {[] { return std::make_unique<GatewayChannel>(shortLimits); }, DispatchChannels::standard().modem});
    QElapsedTimer clock;
    clock.start();
    run.perform();
    QVERIFY2(clock.elapsed() < 60000, "the run waited beyond its time limits");
    const QStringList lines = window.lines();
    QCOMPARE(lines.size(), 8);
    for (int id = 1; id <= 8; ++id) {
      const Status s = data.status(id);
      if (id <= 3) {
        QCOMPARE(s[0], QVariant(1));
        QCOMPARE(s[5], QVariant(id)); // the demo's own numbers
        QVERIFY(lines[id - 1].startsWith(QStringLiteral(u"Сообщение ")));
      } else {
        QCOMPARE(s.mid(3), (QVariantList{0, 1000, QVariant()}));
        QCOMPARE(s[0], QVariant(2));
        QVERIFY2(lines[id - 1].startsWith(QStringLiteral(u"При отправке сообщения ")),
                 qPrintable(lines[id - 1]));
        QVERIFY2(!lines[id - 1].endsWith(QStringLiteral(u"Ответ оператора: ")), qPrintable(lines[id - 1]));
      }
    }
  }

  // The modem's process is killed in the middle: the rest are refused, the run ends and the
  // port is released.
  void modemKilledInTheMiddle() {
    QProcess modem;
    modem.start(testProgram("modem_child"));
    QVERIFY(modem.waitForStarted());
    QVERIFY(modem.waitForReadyRead(30000));
    const QString device = QString::fromLocal8Bit(modem.readLine()).trimmed();
    QVERIFY(device.startsWith(QLatin1String("/dev/")));
    PrivatePortMap ports;
    ports.map(1, device);

    DispatchDatabase data;
    data.addGroup(1);
    data.addContacts(1, 1, 5);
    RecordingWindow window;
    window.inputs = runInputs(data.db, QStringLiteral("Hi"), dispatch_channel::Modem, 1);
    window.onLine = [&](int i) {
      if (i == 1) {
        modem.kill();
        modem.waitForFinished();
      }
    };
    DispatchRun run(data.db, window);
    run.perform();
    QCOMPARE(run.PortError(), 0);
    QCOMPARE(window.lines().size(), 5);
    for (int id = 1; id <= 5; ++id) {
      const Status s = data.status(id);
      if (id <= 2) {
        QCOMPARE(s.mid(3), (QVariantList{1, 0, 99}));
        QCOMPARE(s[0], QVariant(1));
      } else {
        QCOMPARE(s[0], QVariant(2));
        QCOMPARE(s.mid(3), (QVariantList{0, 22, 99}));
        QVERIFY(window.lines()[id - 1].startsWith(QStringLiteral(u"При отправке сообщения ")));
      }
    }
    QVERIFY2(!holdsFile(device), "the run kept the port open");
  }
};

QTEST_GUILESS_MAIN(TestDispatchProcesses)
#include "test_dispatch_processes.moc"
