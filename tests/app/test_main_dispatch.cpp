// The dispatch page's tools as the main window wires them: the refresh button, the test
// message and the timer.
#include "support/ContactTable.h"
#include "GatewayFolder.h"
#include "LocalGateway.h"
#include "app/TFMain.h"
#include "common/LangConstants.h"
#include "data/TDModule.h"
#include "dispatch/TRefreshThread.h"
#include "gui/base/RowDialogs.h"
#include "gui/dispatch/DispatchPage.h"
#include "gui/dispatch/DispatchTimer.h"
#include "gui/dispatch/TFSetTimer.h"
#include "gui/sending/SendingPage.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QDateEdit>
#include <QtTest>

#include <memory>

class TestMainDispatch : public QObject {
  Q_OBJECT

  std::unique_ptr<LocalGateway> gateway_;
  std::unique_ptr<GatewayFolder> folder_;
  std::unique_ptr<ScriptedDialogs> dialogs_;
  std::unique_ptr<TestDatabase> db_;
  std::unique_ptr<TDModule> module_;
  std::unique_ptr<RowDialogs> rowDialogs_;
  std::unique_ptr<ContactTable> table_;
  std::unique_ptr<TFMain> window_;

private slots:
  void init() {
    gateway_ = std::make_unique<LocalGateway>();
    folder_ = std::make_unique<GatewayFolder>(gateway_->url());
    folder_->copyShippedFiles();
    reloadLangFiles();
    dialogs_ = std::make_unique<ScriptedDialogs>();
    db_ = std::make_unique<TestDatabase>();
    module_ = std::make_unique<TDModule>();
    module_->openAt(db_->path());
    rowDialogs_ = std::make_unique<RowDialogs>(*module_);
    table_ = std::make_unique<ContactTable>(module_->KyvBase);
    window_ = std::make_unique<TFMain>(module_.get(), rowDialogs_.get());
    window_->show();
  }
  void cleanup() {
    window_.reset();
    table_.reset();
    rowDialogs_.reset();
    module_.reset();
    db_.reset();
    dialogs_.reset();
    folder_.reset();
    gateway_.reset();
  }

  void refreshButtonRunsAPass() {
    const int group = table_->addGroup("Clients");
    const int contact = table_->addContact(group, {{"SEND", 1}, {"IDMESSAGE", 77}});
    gateway_->answerWith(LocalGateway::soapAnswer("VerifySMSStatus", {"77", "st_deliver"}));
    module_->IBGroups.refresh();
    QVERIFY(module_->IBGroups.locate("ID", group));
    QTest::mouseClick(window_->TS5->tbRefresh, Qt::LeftButton);
    QTRY_COMPARE(table_->value(contact, "SEND"), QVariant(3));
    QTRY_COMPARE(dialogs_->waitCursorDepth, 0);
    QTRY_COMPARE(module_->IBContacts.value("SEND"), QVariant(3)); // the grid was reopened
  }

  void testMessageGoesThroughTheGateway() {
    gateway_->answerWith(LocalGateway::soapAnswer("SendSMS", {"57", "0", "1"}));
    window_->PCMain->setCurrentWidget(window_->TS4);
    SendingPage &page = *window_->TS4;
    page.PCSet->setCurrentIndex(SendingPage::GatewayIndex);
    page.edLoginSh->setText("login");
    page.mkePhone->setText("79001234567");
    page.memoSMS->setPlainText("Hello");
    QTest::mouseClick(page.butSend, Qt::LeftButton);
    QCOMPARE(gateway_->requests().size(), 1);
    const ReceivedRequest sent = gateway_->requests().first();
    QCOMPARE(LocalGateway::operationOf(sent), QByteArray("SendSMS"));
    QCOMPARE(LocalGateway::argumentOf(sent, "Login"), QByteArray("login"));
    QCOMPARE(LocalGateway::argumentOf(sent, "Message"), QByteArray("Hello"));
    QVERIFY(dialogs_->shown.isEmpty());
  }

  // The timer button opens the timer dialog over the main window; OK arms the timer, whose
  // countdown shows in the second status panel.
  void timerButtonArmsTheTimer() {
    const QString caption = window_->TS5->tbStart->text();
    const QDateTime target = QDateTime::currentDateTime().addDays(2);
    QTimer::singleShot(0, qApp, [target] {
      auto *dialog = qobject_cast<TFSetTimer *>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      dialog->DateTimePicker1->setDate(target.date());
      QTest::mouseClick(dialog->butOK, Qt::LeftButton);
    });
    QTest::mouseClick(window_->TS5->tbTimer, Qt::LeftButton);
    auto *timer = window_->findChild<DispatchTimer *>();
    QVERIFY(timer && timer->armed());
    QCOMPARE(window_->TS5->tbStart->text(), LangConst().stStop);
    QVERIFY(window_->TS5->mmResult->toPlainText().startsWith(LangConst().stAutoSend + u' '));
    timer->TimerTimer();
    QVERIFY(window_->StatusPanel1->text().startsWith(LangConst().stTime + u' '));
    QVERIFY(timer->disarmIfArmed());
    QCOMPARE(window_->TS5->tbStart->text(), caption);
    QVERIFY(window_->StatusPanel1->text().isEmpty());
  }
};

QTEST_MAIN(TestMainDispatch)
#include "test_main_dispatch.moc"
