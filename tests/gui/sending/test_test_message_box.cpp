// The test message box of the sending page: its send button against the local gateway and
// the modem simulator, failures through the general error report.
#include "GatewayFolder.h"
#include "GsmTestSetup.h"
#include "LocalGateway.h"
#include "ModemSimulator.h"
#include "common/LangConstants.h"
#include "data/Query.h"
#include "data/TDModule.h"
#include "gui/base/ErrorReport.h"
#include "gui/sending/GsmSubPage.h"
#include "gui/sending/SendingPage.h"
#include "gui/sending/TestMessageController.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDatabase.h"

#include <QComboBox>
#include <QtTest>

#include <memory>

namespace {

// Notes whether the search button was usable each time the wait cursor came or went.
class WatchingDialogs : public ScriptedDialogs {
public:
  QPushButton *watched = nullptr;
  QList<bool> enabledAtCursor;
  void setWaitCursor(bool on) override {
    if (watched)
      enabledAtCursor << watched->isEnabled();
    ScriptedDialogs::setWaitCursor(on);
  }
};

} // namespace

class TestTestMessageBox : public QObject {
  Q_OBJECT

  std::unique_ptr<PrivatePortMap> ports_;
  std::unique_ptr<WatchingDialogs> dialogs_;
  std::unique_ptr<TestDatabase> db_;
  std::unique_ptr<TDModule> module_;
  std::unique_ptr<SendingPage> page_;
  std::unique_ptr<TestMessageController> controller_;

  // The page over a database whose options row has the given serial parity.
  void openPage(int parity = 0) {
    db_ = std::make_unique<TestDatabase>();
    module_ = std::make_unique<TDModule>();
    module_->openAt(db_->path());
    Query set(module_->IBTrDef, "UPDATE RB_OPTIONS SET COMPARITY = :P");
    set.setParam("P", parity);
    set.execute();
    module_->IBTrDef.commit();
    module_->openAt(db_->path());
    page_ = std::make_unique<SendingPage>();
    page_->gsmPage->setOptions(&module_->IBOptions);
    page_->PCSet->setTabVisible(SendingPage::ModemIndex, true);
    page_->mkePhone->setText("79001234567");
    page_->memoSMS->setPlainText("Test");
    controller_ = std::make_unique<TestMessageController>(*page_, &module_->IBOptions);
    dialogs_->watched = page_->gsmPage->butAuto;
  }
  void useModem(int item) {
    page_->PCSet->setCurrentIndex(SendingPage::ModemIndex);
    page_->gsmPage->GetListPorts();
    page_->gsmPage->cbxCOM->setCurrentIndex(item);
  }
  void send() { QTest::mouseClick(page_->butSend, Qt::LeftButton); }

private slots:
  void init() {
    ports_ = std::make_unique<PrivatePortMap>();
    dialogs_.reset();
    dialogs_ = std::make_unique<WatchingDialogs>();
    LangConst().stAuto = QStringLiteral(u"Автопоиск");
    LangConst().erFindPort = QStringLiteral(u"Модем не найден");
    LangConst().erPortFalse = QStringLiteral(u"Порт не открылся");
    LangConst().erSetState = QStringLiteral(u"Параметры порта не приняты");
  }
  void cleanup() {
    controller_.reset();
    page_.reset();
    module_.reset();
    db_.reset();
    dialogs_.reset();
    ports_.reset();
  }

  void gateway_data() {
    QTest::addColumn<CannedAnswer>("answer");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("fault") << LocalGateway::soapFault(QStringLiteral(u"Неверный пароль"))
                           << QStringList{QStringLiteral(u"Неверный пароль")};
    QTest::newRow("not accepted: nothing shown")
        << LocalGateway::soapAnswer("SendSMS", {"0", "-1"}) << QStringList{};
    QTest::newRow("accepted: nothing shown")
        << LocalGateway::soapAnswer("SendSMS", {"57", "0", "1"}) << QStringList{};
  }
  void gateway() {
    QFETCH(CannedAnswer, answer);
    QFETCH(QStringList, shown);
    LocalGateway server;
    GatewayFolder folder(server.url());
    server.answerWith(answer);
    openPage();
    page_->edLoginSh->setText("login");
    page_->edPassSh->setText("secret");
    page_->cbFlash->setChecked(true); // the gateway has no flash messages: sent as usual
    send();
    QCOMPARE(server.requests().size(), 1);
    QCOMPARE(LocalGateway::argumentOf(server.requests().first(), "Login"), QByteArray("login"));
    QCOMPARE(dialogs_->messageTexts(), shown);
    QCOMPARE(dialogs_->waitCursorDepth, 0);
  }

  void settingsSubPageSendsNothing() {
    LocalGateway server;
    GatewayFolder folder(server.url());
    ModemSimulator modem;
    ports_->map(1, modem.devicePath());
    openPage();
    page_->PCSet->setCurrentIndex(SendingPage::SettingsIndex);
    controller_->butSendClick();
    QVERIFY(server.requests().isEmpty());
    QVERIFY(modem.commands().isEmpty());
    QVERIFY(dialogs_->shown.isEmpty());
  }

  void searchSelectsThePortFound() {
    ModemSimulator modem;
    ports_->map(2, modem.devicePath());
    openPage();
    useModem(0);
    send();
    QVERIFY(dialogs_->shown.isEmpty());
    QCOMPARE(modem.messages().size(), 1);
    QCOMPARE(page_->gsmPage->cbxCOM->currentText(), QStringLiteral("COM2"));
    QCOMPARE(page_->gsmPage->selectedPortNumber(), 2);
    // Off while the search ran, back afterwards.
    QCOMPARE(dialogs_->enabledAtCursor, (QList<bool>{false, false}));
    QVERIFY(page_->gsmPage->butAuto->isEnabled());
  }

  void portFoundButNotListed() {
    ModemSimulator modem;
    openPage();
    useModem(0); // the list holds the search item alone
    ports_->map(2, modem.devicePath());
    send();
    QCOMPARE(modem.messages().size(), 1);
    QCOMPARE(page_->gsmPage->cbxCOM->currentIndex(), -1);
    QVERIFY(page_->gsmPage->butAuto->isEnabled());
  }

  void storedParity_data() {
    QTest::addColumn<int>("parity");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("code 7 runs with no parity") << 7 << QStringList{};
    QTest::newRow("even parity, which the line refuses")
        << 2 << QStringList{QStringLiteral(u"Параметры порта не приняты\r\nError code: 3")};
  }
  void storedParity() {
    QFETCH(int, parity);
    QFETCH(QStringList, shown);
    ModemSimulator modem;
    ports_->map(3, modem.devicePath());
    openPage(parity);
    useModem(1); // COM3 chosen
    send();
    QCOMPARE(dialogs_->messageTexts(), shown);
    QCOMPARE(modem.messages().size(), shown.isEmpty() ? 1 : 0);
    QCOMPARE(dialogs_->enabledAtCursor, (QList<bool>{false, false})); // no search: left as it was
    QCOMPARE(dialogs_->waitCursorDepth, 0);
  }

  void longLatinTextGoesOutInTwoParts() {
    ModemSimulator modem;
    ports_->map(1, modem.devicePath());
    openPage();
    useModem(1);
    page_->memoSMS->setPlainText(QString(200, u'b'));
    send();
    const QList<ModemSimulator::Message> got = modem.messages();
    QCOMPARE(got.size(), 2);
    QCOMPARE(got[0].text, "(1/2)" + QString(135, u'b'));
    QCOMPARE(got[1].text, "(2/2)" + QString(65, u'b'));
  }

  void noModemAnywhere() {
    openPage();
    useModem(0);
    send();
    QCOMPARE(dialogs_->messageTexts(), QStringList{QStringLiteral(u"Модем не найден\r\nError code: 2")});
    QCOMPARE(dialogs_->shown.first().title, QStringLiteral("Brisklane"));
    QVERIFY(page_->gsmPage->butAuto->isEnabled());
    QCOMPARE(page_->gsmPage->cbxCOM->currentIndex(), 0);
    QCOMPARE(dialogs_->waitCursorDepth, 0);
  }
};

int main(int argc, char **argv) {
  ErrorReportingApplication app(argc, argv);
  TestTestMessageBox test;
  return QTest::qExec(&test, argc, argv);
}
#include "test_test_message_box.moc"
