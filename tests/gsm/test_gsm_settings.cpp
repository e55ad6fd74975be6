// The serial settings as the settings dialog shows and stores them, and the line state made of them.
#include "gsm/SerialSettings.h"

#include <QtTest>

Q_DECLARE_METATYPE(SerialSettings)

namespace {
SerialSettings stored(qint32 rate, qint32 bit, qint32 stop, qint32 parity, qint32 control) {
  SerialSettings s;
  s.COMRATE = rate;
  s.COMBIT = bit;
  s.COMSTOPBIT = stop;
  s.COMPARITY = parity;
  s.COMCONTROL = control;
  return s;
}
} // namespace

class TestGsmSettings : public QObject {
  Q_OBJECT
private slots:
  void preselection_data();
  void preselection();
  void storing_data();
  void storing();
  void lineState_data();
  void lineState();
};

void TestGsmSettings::preselection_data() {
  QTest::addColumn<SerialSettings>("settings");
  QTest::addColumn<QList<int>>("selected"); // rate, bit, stop, parity, control
  QTest::newRow("57600 8: as stored") << stored(57600, 8, 0, 0, 0) << QList<int>{11, 3, 0, 0, 0};
  QTest::newRow("rate 0 selects no rate") << stored(0, 8, 0, 0, 0) << QList<int>{-1, 3, 0, 0, 0};
  QTest::newRow("rate not in the list") << stored(57601, 7, 2, 0, 0) << QList<int>{-1, 2, 2, 0, 0};
  QTest::newRow("parity 3 with a one-item list") << stored(9600, 8, 1, 3, 0) << QList<int>{6, 3, 1, -1, 0};
  QTest::newRow("negative positions") << stored(110, 5, -1, -1, -1) << QList<int>{0, 0, -1, -1, -1};
}

void TestGsmSettings::preselection() {
  QFETCH(SerialSettings, settings);
  QFETCH(QList<int>, selected);
  const SerialSettingsSelection s = selectionFor(settings, SerialSettingsLists::standard());
  QCOMPARE((QList<int>{s.rate, s.bit, s.stopBit, s.parity, s.control}), selected);
}

void TestGsmSettings::storing_data() {
  QTest::addColumn<QList<int>>("selected");
  QTest::addColumn<bool>("stores");
  QTest::addColumn<SerialSettings>("settings");
  QTest::newRow("all selected") << QList<int>{12, 2, 2, 0, 0} << true << stored(115200, 7, 2, 0, 0);
  QTest::newRow("parity without selection stores -1")
      << QList<int>{6, 3, 1, -1, -1} << true << stored(9600, 8, 1, -1, -1);
  QTest::newRow("no rate: nothing stored") << QList<int>{-1, 3, 0, 0, 0} << false << SerialSettings{};
  QTest::newRow("no data bits: nothing stored") << QList<int>{11, -1, 0, 0, 0} << false << SerialSettings{};
}

void TestGsmSettings::storing() {
  QFETCH(QList<int>, selected);
  QFETCH(bool, stores);
  QFETCH(SerialSettings, settings);
  const SerialSettingsSelection s{selected[0], selected[1], selected[2], selected[3], selected[4]};
  const auto result = settingsFrom(s, SerialSettingsLists::standard());
  QCOMPARE(result.has_value(), stores);
  if (!stores)
    return;
  QCOMPARE((QList<int>{result->COMRATE, result->COMBIT, result->COMSTOPBIT, result->COMPARITY,
                       result->COMCONTROL}),
           (QList<int>{settings.COMRATE, settings.COMBIT, settings.COMSTOPBIT, settings.COMPARITY,
                       settings.COMCONTROL}));
}

void TestGsmSettings::lineState_data() {
  QTest::addColumn<SerialSettings>("settings");
  QTest::addColumn<QList<int>>("state"); // baud, bits, stop, parity
  QTest::newRow("in range") << stored(115200, 7, 2, 4, 1) << QList<int>{115200, 7, 2, 4};
  QTest::newRow("codes out of range become 0") << stored(9600, 8, 3, 5, 0) << QList<int>{9600, 8, 0, 0};
  QTest::newRow("negative codes become 0") << stored(9600, 8, -1, -1, 0) << QList<int>{9600, 8, 0, 0};
  QTest::newRow("negative rate is no rate") << stored(-5, 8, 0, 0, 0) << QList<int>{0, 8, 0, 0};
}

void TestGsmSettings::lineState() {
  QFETCH(SerialSettings, settings);
  QFETCH(QList<int>, state);
  const LineState s = lineStateFor(settings);
  QCOMPARE((QList<int>{int(s.BaudRate), s.ByteSize, s.StopBits, s.Parity}), state);
  QVERIFY(!s.HardwareFlow && !s.SoftwareFlow);
}

QTEST_GUILESS_MAIN(TestGsmSettings)
#include "test_gsm_settings.moc"
