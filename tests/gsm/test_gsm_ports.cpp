// The port list and the modem search behind the GSM sub-page.
#include "GsmTestSetup.h"
#include "ModemSimulator.h"
#include "gsm/PortChoice.h"
#include "gsm/TWorkCom.h"

#include <QtTest>
#include <memory>

using Behaviour = ModemSimulator::Behaviour;

namespace {
const QString kAuto = QStringLiteral(u"Автоматически");
const QString kNotFound = QStringLiteral(u"Модем не найден");
} // namespace

class TestGsmPorts : public QObject {
  Q_OBJECT
private slots:
  void init();
  void listHoldsPresentPortsOnly();
  void heldPortIsNotListed();
  void selection_data();
  void selection();
  void searchSelectsFoundPort();
  void searchFindsUnlistedPort();
  void searchWithoutModemReportsCode();
  void machinePortsWithoutMap();

private:
  std::unique_ptr<PrivatePortMap> ports_;
};

void TestGsmPorts::init() {
  ports_ = std::make_unique<PrivatePortMap>();
}

void TestGsmPorts::listHoldsPresentPortsOnly() {
  ModemSimulator modem, other(Behaviour::Silent);
  ports_->map(3, modem.devicePath());
  ports_->map(5, QStringLiteral("/dev/no-such-modem"));
  ports_->map(7, other.devicePath());
  QCOMPARE(GetListPorts(), (QList<int>{3, 7}));
  PortChoice choice;
  choice.rebuild(kAuto);
  QCOMPARE(choice.items(), (QStringList{kAuto, "COM3", "COM7"}));
  QCOMPARE(choice.current(), 0);
  QVERIFY(modem.commands().isEmpty()); // no modem is talked to
}

void TestGsmPorts::heldPortIsNotListed() {
  ModemSimulator modem, other;
  ports_->map(3, modem.devicePath());
  ports_->map(7, other.devicePath());
  TWorkCom link(3, QString());
  QCOMPARE(int(link.LastError), 0);
  QCOMPARE(GetListPorts(), QList<int>{7});
  // Probing does not disturb the link.
  QCOMPARE(link.Exchange("AT\r\n", "OK"), QByteArray("\r\nOK\r\n"));
}

void TestGsmPorts::selection_data() {
  QTest::addColumn<int>("index");
  QTest::addColumn<bool>("searchEnabled");
  QTest::addColumn<int>("portNumber");
  QTest::newRow("automatic search") << 0 << true << 0;
  QTest::newRow("COM3") << 1 << false << 3;
  QTest::newRow("COM7") << 2 << false << 7;
  QTest::newRow("no selection") << -1 << false << -1;
}

void TestGsmPorts::selection() {
  QFETCH(int, index);
  QFETCH(bool, searchEnabled);
  QFETCH(int, portNumber);
  ModemSimulator a(Behaviour::Silent), b(Behaviour::Silent);
  ports_->map(3, a.devicePath());
  ports_->map(7, b.devicePath());
  PortChoice choice;
  choice.rebuild(kAuto);
  choice.select(index);
  QCOMPARE(choice.searchEnabled(), searchEnabled);
  QCOMPARE(choice.portNumber(), portNumber);
  choice.rebuild(kAuto); // rebuilding goes back to the automatic search
  QCOMPARE(choice.current(), 0);
}

void TestGsmPorts::searchSelectsFoundPort() {
  ModemSimulator silent(Behaviour::Silent), modem;
  ports_->map(1, silent.devicePath());
  ports_->map(2, modem.devicePath());
  PortChoice choice;
  choice.rebuild(kAuto);
  QCOMPARE(choice.search(QString(), kNotFound), 2);
  QCOMPARE(choice.items().at(choice.current()), QStringLiteral("COM2"));
  QCOMPARE(choice.portNumber(), 2);
  // The search released the port.
  QCOMPARE(GetListPorts(), (QList<int>{1, 2}));
}

void TestGsmPorts::searchFindsUnlistedPort() {
  PortChoice choice;
  choice.rebuild(kAuto); // built while no port was present
  ModemSimulator modem;
  ports_->map(4, modem.devicePath());
  QCOMPARE(choice.search(QString(), kNotFound), 4);
  QCOMPARE(choice.current(), PortChoice::kNoSelection);
  QCOMPARE(choice.portNumber(), -1);
}

void TestGsmPorts::searchWithoutModemReportsCode() {
  ports_->map(1, QStringLiteral("/dev/no-such-modem"));
  PortChoice choice;
  choice.rebuild(kAuto);
  try {
    choice.search(QString(), kNotFound);
    QFAIL("the search found a modem where there is none");
  } catch (const ModemSearchError &e) {
    QCOMPARE(e.text(), kNotFound + QStringLiteral("\r\nError code: 2"));
  }
  QCOMPARE(choice.current(), 0);
}

void TestGsmPorts::machinePortsWithoutMap() {
  ports_->clear();
  const QStringList paths = port_map::devicePaths();
  QVERIFY(paths.size() <= 30);
  for (const QString &path : paths)
    QVERIFY2(path.startsWith(QLatin1String("/dev/tty")) && QFile::exists(path), qPrintable(path));
}

QTEST_GUILESS_MAIN(TestGsmPorts)
#include "test_gsm_ports.moc"
