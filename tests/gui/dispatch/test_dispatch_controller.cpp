// The start button and the run it starts, in the main window: what the dispatch page shows,
// stopping, the timer's disarm, closing the window during a run, modem and database errors.
#include "../contacts/ContactsFixture.h"
#include "GsmTestSetup.h"
#include "LocalGateway.h"
#include "ModemSimulator.h"

#include "common/LangConstants.h"
#include "dispatch/TSmsThread.h"
#include "gui/dispatch/ArmedTimer.h"
#include "gui/dispatch/DispatchController.h"
#include "gui/dispatch/DispatchPage.h"
#include "gui/message/MessagePage.h"
#include "gui/sending/GsmSubPage.h"
#include "gui/sending/SendingPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace {

QByteArray sendAnswer(const QList<int> &items) {
  QByteArray ints;
  for (int i : items)
    ints += "<int>" + QByteArray::number(i) + "</int>";
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
         "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body><SendSMSResponse "
         "xmlns=\"http://sms.test/ns\"><SendSMSResult>" +
         ints + "</SendSMSResult></SendSMSResponse></soap:Body></soap:Envelope>";
}

CannedAnswer accepted(const QList<int> &items) {
  return {200, "OK", "text/xml; charset=utf-8", sendAnswer(items)};
}

class FakeTimer : public ArmedTimer {
public:
  int armed = 0;
  int disarmed = 0;
  bool disarmIfArmed() override {
    if (armed == 0)
      return false;
    armed = 0;
    ++disarmed;
    return true;
  }
};

constexpr int runTimeout = 60000;

} // namespace

class TestDispatchController : public QObject {
  Q_OBJECT

  TestDatabase database_;
  std::unique_ptr<ContactsFixture> f_;
  std::unique_ptr<LocalGateway> gateway_;
  std::unique_ptr<PrivatePortMap> ports_;
  int group_ = 0;
  QList<int> ids_;

  DispatchController &controller() { return *f_->window->dispatchController(); }
  DispatchPage &page() { return *f_->window->TS5; }
  QString caption() { return page().tbStart->text(); }

  // Presses start and waits for the run's end to be shown.
  void runToEnd() {
    QSignalSpy ended(&controller(), &DispatchController::runEnded);
    QTest::mouseClick(page().tbStart, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, runTimeout);
  }
  QVariantList status(int id) {
    QVariantList s;
    for (const char *column : {"SEND", "PARTSEND", "FERROR", "IDMESSAGE"})
      s << f_->scalar(QStringLiteral("SELECT %1 FROM CONTACTS WHERE ID = :ID").arg(column), {{"ID", id}});
    return s;
  }
  QStringList dialogTexts() { return f_->dialogs.messageTexts(); }

private slots:
  void initTestCase() {
    qputenv("no_proxy", "127.0.0.1,localhost");
    qputenv("NO_PROXY", "127.0.0.1,localhost");
  }

  void init() {
    ports_ = std::make_unique<PrivatePortMap>();
    gateway_ = std::make_unique<LocalGateway>();
    gateway_->answerWith(accepted({57, 0, 2}));
    f_ = std::make_unique<ContactsFixture>(database_);
    f_->folder.writeText("kyv.ini",
                         QStringLiteral("[params]\r\nLang=English\r\n[gateway]\r\nUrl=%1\r\nNamespace=http://"
                                        "sms.test/ns\r\n")
                             .arg(gateway_->url()));
    group_ = f_->addGroup(QStringLiteral("Clients"));
    ids_.clear();
    for (int i = 1; i <= 4; ++i)
      ids_ << f_->addContact(group_, QStringLiteral("Name%1").arg(i), QStringLiteral("7900123450%1").arg(i),
                             3, 7);
    f_->addContact(f_->addGroup(QStringLiteral("Others")), QStringLiteral("Other"),
                   QStringLiteral("79009999999"), 3, 7);
    f_->reload();
    f_->window->Selection.cbGroupClick(true, group_);
    f_->window->TS2->mmTemplate->setPlainText(QStringLiteral("Hello [NAM]"));
    f_->window->TS4->edLoginSh->setText(QStringLiteral("shop"));
    f_->window->TS4->edPassSh->setText(QStringLiteral("pw"));
    f_->window->lbContactsClick(f_->window->lbSend); // the dispatch page shows
  }

  void cleanup() {
    f_.reset();
    gateway_.reset();
    ports_.reset();
  }

  // A whole run: the lines, the progress bar, the caption, the rows and the contact list.
  void runShowsLinesAndRows() {
    const QString before = caption();
    QSemaphore release;
    QString midRunCaption;
    gateway_->setResponder([&](const ReceivedRequest &r) {
      if (r.body.contains("79001234501"))
        release.acquire();
      return accepted({57, 0, 2});
    });
    QSignalSpy ended(&controller(), &DispatchController::runEnded);
    f_->window->StatusPanel1->setText(QStringLiteral("old"));
    QTest::mouseClick(page().tbStart, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(gateway_->requests().size(), 1, runTimeout);
    QCOMPARE(caption(), LangConst().stStop);
    QCOMPARE(page().pbSend->maximum(), 4);
    QVERIFY(f_->window->StatusPanel1->text().isEmpty());
    QVERIFY(controller().running());
    release.release();
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, runTimeout);
    QCOMPARE(caption(), before);
    QCOMPARE(page().pbSend->value(), 4);
    const QStringList lines = page().mmResult->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines[0],
             QStringLiteral(u"Сообщение \"Hello Name1\" доставлено успешно. Номер телефона: 79001234501"));
    for (int id : ids_)
      QCOMPARE(status(id), (QVariantList{1, 2, 0, 57}));
    QCOMPARE(f_->dialogs.waitCursorDepth, 0);
    QVERIFY(dialogTexts().isEmpty());
    // The contact list was reopened at the end: it shows the new status.
    f_->selectGroup(group_);
    QCOMPARE(f_->module->IBContacts.value(QStringLiteral("SEND")).toInt(), 1);
  }

  // The failure line's CR LF shows as two lines of the result list.
  void failureLineShowsAsTwoLines() {
    gateway_->answerWith(accepted({57, 0}));
    f_->window->Selection.setCurrentFilter(QStringLiteral("NAME = 'Name2'"));
    runToEnd();
    QCOMPARE(page().mmResult->toPlainText(),
             QStringLiteral(
                 u"При отправке сообщения \"Hello Name2\" произошла ошибка. Номер телефона: 79001234502\n"
                 u"Ответ оператора: "));
    QCOMPARE(page().mmResult->document()->blockCount(), 2);
    QCOMPARE(status(ids_[1]), (QVariantList{2, 0, 1000, QVariant()}));
    QCOMPARE(status(ids_[0]), (QVariantList{3, QVariant(), 7, QVariant()}));
  }

  // Pressing start during a run: the recipient in hand is finished, the stop message shows,
  // the rest keep the reset's status; the next press starts a new run.
  void stopDuringRun() {
    QSemaphore inHand, release;
    gateway_->setResponder([&](const ReceivedRequest &r) {
      if (r.body.contains("79001234502")) {
        inHand.release();
        release.acquire();
      }
      return accepted({60, 0, 1});
    });
    QSignalSpy ended(&controller(), &DispatchController::runEnded);
    QTest::mouseClick(page().tbStart, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(inHand.available() > 0, runTimeout); // the window keeps serving the run
    QTest::mouseClick(page().tbStart, Qt::LeftButton);         // stop
    release.release();
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, runTimeout);
    QCOMPARE(dialogTexts(), QStringList{LangConst().stASendStop});
    QCOMPARE(status(ids_[1]), (QVariantList{1, 1, 0, 60}));
    QCOMPARE(status(ids_[2]), (QVariantList{2, 0, 0, QVariant()}));
    QCOMPARE(status(ids_[3]), (QVariantList{2, 0, 0, QVariant()}));
    QCOMPARE(page().mmResult->document()->blockCount(), 2);
    QVERIFY(!controller().run().stopRequested());
    gateway_->answerWith(accepted({61, 0, 1}));
    runToEnd();
    QCOMPARE(status(ids_[3]), (QVariantList{1, 1, 0, 61}));
  }

  // While the timer is armed a press disarms it and starts nothing.
  void pressDisarmsTheTimer() {
    FakeTimer timer;
    timer.armed = 1;
    controller().setArmedTimer(&timer);
    QTest::mouseClick(page().tbStart, Qt::LeftButton);
    QCOMPARE(timer.disarmed, 1);
    QVERIFY(!controller().running());
    QTest::qWait(50);
    QVERIFY(gateway_->requests().isEmpty());
    runToEnd(); // no longer armed: a run
    QCOMPARE(gateway_->requests().size(), 4);
    controller().setArmedTimer(nullptr);
  }

  // The timer's firing wakes the worker as the button does.
  void startRunFromTheTimer() {
    QSignalSpy ended(&controller(), &DispatchController::runEnded);
    QVERIFY(controller().startRun());
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, runTimeout);
    QCOMPARE(gateway_->requests().size(), 4);
  }

  // Closing the main window during a run: the recipient in hand is finished and recorded,
  // then the window closes; no stop message.
  void closeDuringRun() {
    QSemaphore inHand, release;
    gateway_->setResponder([&](const ReceivedRequest &r) {
      if (r.body.contains("79001234502")) {
        inHand.release();
        release.acquire();
      }
      return accepted({70, 0, 1});
    });
    QTest::mouseClick(page().tbStart, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(inHand.available() > 0, runTimeout); // the window keeps serving the run
    QVERIFY(!f_->window->close());
    QVERIFY(f_->window->isVisible());
    release.release();
    QTRY_VERIFY_WITH_TIMEOUT(!f_->window->isVisible(), runTimeout);
    QVERIFY(!controller().running());
    QCOMPARE(status(ids_[1]), (QVariantList{1, 1, 0, 70}));
    QCOMPARE(status(ids_[2]), (QVariantList{2, 0, 0, QVariant()}));
    QVERIFY(dialogTexts().isEmpty());
  }

  // A status row another connection holds: the line of the recipient in hand shows, the run
  // ends, then the database's message is reported.
  void lockedRowIsReported() {
    Attachment other;
    other.open(database_.path());
    Transaction locker(other, Transaction::Ending::Rollback);
    Query lock(locker, QStringLiteral("UPDATE CONTACTS SET NAME = NAME WHERE ID = :ID"));
    lock.setParam(QStringLiteral("ID"), ids_[1]);
    gateway_->setResponder([&](const ReceivedRequest &r) {
      if (r.body.contains("79001234501"))
        lock.execute(); // after the reset
      return accepted({57, 0, 2});
    });
    runToEnd();
    locker.rollback();
    QCOMPARE(page().mmResult->document()->blockCount(), 2);
    QCOMPARE(gateway_->requests().size(), 2);
    QCOMPARE(f_->dialogs.shown.size(), 1);
    QCOMPARE(f_->dialogs.shown[0].icon, Dialogs::Icon::Error);
    QVERIFY2(f_->dialogs.shown[0].text.contains(QLatin1String("lock")),
             qPrintable(f_->dialogs.shown[0].text));
    QCOMPARE(caption(), controller().startButton().savedStartCaption());
    QCOMPARE(status(ids_[1]), (QVariantList{2, 0, 0, QVariant()}));
    QCOMPARE(f_->dialogs.waitCursorDepth, 0);
  }

  // The texts cannot be made (one group ticked, none chosen): the run does not start and the
  // database's message is reported.
  void textsFailureIsReported() {
    f_->window->Selection.chooseGroup(QVariant());
    page().mmResult->setPlainText(QStringLiteral("earlier"));
    runToEnd();
    QCOMPARE(page().mmResult->toPlainText(), QStringLiteral("earlier"));
    QCOMPARE(f_->dialogs.shown.size(), 1);
    QCOMPARE(f_->dialogs.shown[0].icon, Dialogs::Icon::Error);
    QVERIFY(gateway_->requests().isEmpty());
    QCOMPARE(f_->dialogs.waitCursorDepth, 0);
  }

  // The settings sub-page current, an empty selection: a start and an end, nothing else.
  void nothingToSend() {
    f_->window->TS4->PCSet->setCurrentIndex(SendingPage::SettingsIndex);
    runToEnd();
    QVERIFY(gateway_->requests().isEmpty());
    QCOMPARE(status(ids_[0]), (QVariantList{3, QVariant(), 7, QVariant()}));
    f_->window->TS4->PCSet->setCurrentIndex(SendingPage::GatewayIndex);
    f_->window->Selection.chooseGroup(f_->addGroup(QStringLiteral("Empty")));
    runToEnd();
    QVERIFY(page().mmResult->toPlainText().isEmpty());
    QCOMPARE(page().pbSend->value(), 0);
    QVERIFY(dialogTexts().isEmpty());
  }

  // The modem sub-page: the flash box is read, the search without a modem says so, a
  // silent chosen port says nothing; no row changes.
  void modemChannel() {
    ModemSimulator modem;
    ports_->map(1, modem.devicePath());
    f_->window->cbGsmClick(true);
    SendingPage &sending = *f_->window->TS4;
    sending.PCSet->setCurrentIndex(SendingPage::ModemIndex);
    sending.gsmPage->butRefreshClick();
    f_->window->TS2->cbFlashAll->setChecked(true);
    f_->window->Selection.setCurrentFilter(QStringLiteral("NAME = 'Name1'"));
    runToEnd();
    QCOMPARE(modem.messages().size(), 1);
    QCOMPARE(modem.messages()[0].coding, 0x10);
    QCOMPARE(status(ids_[0]), (QVariantList{1, 1, 0, QVariant()}));

    ports_->map(1, QStringLiteral("/dev/no-such-modem"));
    sending.gsmPage->butRefreshClick(); // the automatic search alone
    runToEnd();
    QCOMPARE(dialogTexts(), QStringList{LangConst().erFindPort});
    QCOMPARE(status(ids_[0]), (QVariantList{1, 1, 0, QVariant()}));
    QCOMPARE(caption(), controller().startButton().savedStartCaption());

    ModemSimulator silent(ModemSimulator::Behaviour::Silent);
    ports_->map(2, silent.devicePath());
    sending.gsmPage->butRefreshClick();
    sending.gsmPage->cbxCOM->setCurrentIndex(sending.gsmPage->cbxCOM->findText(QStringLiteral("COM2")));
    QCOMPARE(sending.gsmPage->selectedPortNumber(), 2);
    f_->dialogs.clear();
    runToEnd();
    QVERIFY(dialogTexts().isEmpty());
    QCOMPARE(status(ids_[0]), (QVariantList{1, 1, 0, QVariant()}));
  }
};

QTEST_MAIN(TestDispatchController)
#include "test_dispatch_controller.moc"
