#include "gui/sending/TestMessageController.h"

#include "common/Dialogs.h"
#include "common/LangConstants.h"
#include "data/DataSet.h"
#include "dispatch/TestMessage.h"
#include "gui/sending/GsmSubPage.h"
#include "gui/sending/SendingPage.h"

#include <QComboBox>
#include <QScopeGuard>

TestMessageController::TestMessageController(SendingPage &page, DataSet *options, Dialogs *dialogs,
                                             QObject *parent)
    : QObject(parent), page_(page), options_(options), dialogs_(dialogs) {
  connect(page_.butSend, &QPushButton::clicked, this, &TestMessageController::butSendClick);
}

Dialogs &TestMessageController::dialogs() const {
  return dialogs_ ? *dialogs_ : Dialogs::instance();
}

void TestMessageController::butSendClick() {
  switch (page_.PCSet->currentIndex()) {
  case SendingPage::GatewayIndex:
    sendByGateway();
    break;
  case SendingPage::ModemIndex:
    sendByModem();
    break;
  default:
    break; // the settings sub-page has no channel
  }
}

void TestMessageController::sendByGateway() {
  WaitCursor busy(dialogs());
  TestMessage::sendByGateway(page_.edLoginSh->text(), page_.edPassSh->text(), page_.mkePhone->text(),
                             page_.memoSMS->toPlainText());
}

void TestMessageController::sendByModem() {
  GsmSubPage &gsm = *page_.gsmPage;
  const int port = gsm.selectedPortNumber();
  const bool search = port == 0;
  // The search button stays off for the whole search and comes back after the cursor.
  if (search)
    gsm.butAuto->setEnabled(false);
  const auto enableSearch = qScopeGuard([&] {
    if (search)
      gsm.butAuto->setEnabled(true);
  });
  WaitCursor busy(dialogs());
  TestMessage::ModemRequest request;
  request.portNumber = port;
  request.logFileName =
      options_ && options_->isOpen() ? options_->value(QStringLiteral("LOGFILE")).toString() : QString();
  request.settings = TestMessage::storedSerialSettings(options_);
  request.phone = page_.mkePhone->text();
  request.text = page_.memoSMS->toPlainText();
  request.flash = page_.cbFlash->isChecked();
  const LangConstants &texts = LangConst();
  TestMessage::sendByModem(request, {texts.erFindPort, texts.erPortFalse, texts.erSetState},
                           [&gsm](int found) { gsm.selectPort(found); });
}
