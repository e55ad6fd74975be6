// The GSM sub-page and the serial settings dialog, offscreen.
#include "ModemSimulator.h"
#include "common/LangConstants.h"
#include "data/TDModule.h"
#include "gsm/GsmTestSetup.h"
#include "gui/sending/GsmSubPage.h"
#include "gui/sending/TFSetCom.h"
#include "support/AppFolder.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDatabase.h"

#include <QComboBox>
#include <QPushButton>
#include <QtTest>
#include <memory>

class TestGsmWidgets : public QObject {
  Q_OBJECT
private slots:
  void init();
  void portListAndSearchButton();
  void restoredWindowKeepsTheChosenPort();
  void searchSelectsFoundPort();
  void failedSearchIsReported();
  void settingsDialogDefaults();
  void settingsDialogStoresTheOptionsRow_data();
  void settingsDialogStoresTheOptionsRow();

private:
  std::unique_ptr<PrivatePortMap> ports_;
  std::unique_ptr<ScriptedDialogs> dialogs_;
};

void TestGsmWidgets::init() {
  ports_ = std::make_unique<PrivatePortMap>();
  dialogs_.reset(); // the old one uninstalls itself before the new one installs
  dialogs_ = std::make_unique<ScriptedDialogs>();
  LangConst().stAuto = QStringLiteral(u"Автопоиск");
  LangConst().erFindPort = QStringLiteral(u"Модем не найден");
}

void TestGsmWidgets::portListAndSearchButton() {
  ModemSimulator a(ModemSimulator::Behaviour::Silent), b(ModemSimulator::Behaviour::Silent);
  ports_->map(3, a.devicePath());
  ports_->map(7, b.devicePath());
  GsmSubPage page;
  page.show(); // showing the page builds the list
  QCOMPARE(page.cbxCOM->count(), 3);
  QCOMPARE(page.cbxCOM->itemText(0), QStringLiteral(u"Автопоиск"));
  QCOMPARE(page.cbxCOM->itemText(1), QStringLiteral("COM3"));
  QCOMPARE(page.cbxCOM->itemText(2), QStringLiteral("COM7"));
  QCOMPARE(page.cbxCOM->currentIndex(), 0);
  QVERIFY(page.butAuto->isEnabled());
  page.cbxCOM->setCurrentIndex(1);
  QVERIFY(!page.butAuto->isEnabled());
  QCOMPARE(page.selectedPortNumber(), 3);
  page.cbxCOM->setCurrentIndex(0);
  QVERIFY(page.butAuto->isEnabled());
  page.cbxCOM->setCurrentIndex(2);
  page.hide();
  page.show(); // coming back resets the choice
  QCOMPARE(page.cbxCOM->currentIndex(), 0);
  QCOMPARE(page.selectedPortNumber(), 0);
}

void TestGsmWidgets::restoredWindowKeepsTheChosenPort() {
  ModemSimulator a(ModemSimulator::Behaviour::Silent);
  ports_->map(3, a.devicePath());
  QWidget window;
  auto *page = new GsmSubPage(&window);
  window.show();
  QCOMPARE(page->cbxCOM->count(), 2);
  page->cbxCOM->setCurrentIndex(1);
  // Minimising and restoring the window shows the sub-page again, spontaneously.
  window.showMinimized();
  QVERIFY(window.isMinimized());
  window.showNormal();
  QVERIFY(!window.isMinimized());
  QCOMPARE(page->cbxCOM->currentIndex(), 1);
  QCOMPARE(page->selectedPortNumber(), 3);
  // The refresh button still rebuilds it.
  page->butRefreshClick();
  QCOMPARE(page->cbxCOM->currentIndex(), 0);
}

void TestGsmWidgets::searchSelectsFoundPort() {
  ModemSimulator modem;
  ports_->map(2, modem.devicePath());
  GsmSubPage page;
  page.GetListPorts();
  try {
    page.butAutoClick();
  } catch (const AppError &e) {
    QFAIL(qPrintable(e.text()));
  }
  QCOMPARE(page.cbxCOM->currentText(), QStringLiteral("COM2"));
  QCOMPARE(page.selectedPortNumber(), 2);
  QVERIFY(page.butAuto->isEnabled()); // enabled again although a port item is selected
  QCOMPARE(dialogs_->waitCursorDepth, 0);
}

void TestGsmWidgets::failedSearchIsReported() {
  GsmSubPage page;
  page.GetListPorts();
  try {
    page.butAutoClick();
    QFAIL("a search without ports found a modem");
  } catch (const ModemSearchError &e) {
    QCOMPARE(e.text(), QStringLiteral(u"Модем не найден\r\nError code: 2"));
  }
  QVERIFY(page.butAuto->isEnabled());
  QCOMPARE(dialogs_->waitCursorDepth, 0);
}

void TestGsmWidgets::settingsDialogDefaults() {
  // A language file without lists of its own: the dialog's own items and choices show.
  AppFolder folder;
  folder.writeText("langs/Russian.ini", "[TForm]\r\nFSetCom=Порт\r\n");
  folder.writeText("translit/Russian.trs", "а-a\r\n");
  reloadLangFiles();
  CurrentLang() = "Russian";
  TFSetCom dialog(nullptr);
  QCOMPARE(dialog.objectName(), QStringLiteral("FSetCom"));
  QCOMPARE(dialog.cbxRate->currentText(), QStringLiteral("57600"));
  QCOMPARE(dialog.cbxBit->currentText(), QStringLiteral("8"));
  QCOMPARE(dialog.cbxStopBit->currentIndex(), 0);
  QVERIFY(dialog.butOK->isDefault());
  for (const char *name : {"lbRate", "lbBit", "lbStopBit", "lbParity", "lbControl", "gbxSetCom", "cbxParity",
                           "cbxControl", "butCancel"})
    QVERIFY2(dialog.findChild<QWidget *>(QLatin1String(name)), name);
}

void TestGsmWidgets::settingsDialogStoresTheOptionsRow_data() {
  QTest::addColumn<int>("result");
  QTest::addColumn<QVariantList>("stored"); // COMRATE, COMBIT, COMSTOPBIT, COMPARITY
  QTest::newRow("OK stores the choice") << int(QDialog::Accepted) << QVariantList{9600, 7, 2, 1};
  QTest::newRow("Cancel keeps the row") << int(QDialog::Rejected) << QVariantList{57600, 8, 0, 0};
}

void TestGsmWidgets::settingsDialogStoresTheOptionsRow() {
  QFETCH(int, result);
  QFETCH(QVariantList, stored);
  AppFolder folder; // the dialog's lists come from the language file
  folder.copyShippedFiles();
  TestDatabase db;
  TDModule module;
  module.openAt(db.path());
  {
    TFSetCom dialog(&module.IBOptions);
    // The dialog shows the stored row: 57600 baud, 8 data bits, one stop bit, no parity.
    QCOMPARE(dialog.cbxRate->currentText(), QStringLiteral("57600"));
    QCOMPARE(dialog.cbxBit->currentText(), QStringLiteral("8"));
    dialog.cbxRate->setCurrentText(QStringLiteral("9600"));
    dialog.cbxBit->setCurrentText(QStringLiteral("7"));
    dialog.cbxStopBit->setCurrentIndex(2);
    dialog.cbxParity->setCurrentIndex(1);
    dialog.done(result);
  }
  const DataSet &options = module.IBOptions;
  const QVariantList row{options.value("COMRATE"), options.value("COMBIT"), options.value("COMSTOPBIT"),
                         options.value("COMPARITY")};
  QCOMPARE(row, stored);
  QCOMPARE(options.state(), DataSet::State::Browse);
}

QTEST_MAIN(TestGsmWidgets)
#include "test_gsm_widgets.moc"
