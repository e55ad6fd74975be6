#include "gui/dispatch/DispatchController.h"

#include "common/Dialogs.h"
#include "common/LangConstants.h"
#include "compose/FieldPlaceholders.h"
#include "compose/Translit.h"
#include "data/TDModule.h"
#include "dispatch/TSmsThread.h"
#include "gsm/TWorkCom.h"
#include "gui/dispatch/ArmedTimer.h"
#include "gui/dispatch/DispatchPage.h"
#include "gui/dispatch/WindowThreadCall.h"
#include "gui/sending/GsmSubPage.h"
#include "select/RecipientSelection.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabWidget>
#include <QToolButton>

namespace {
const QString title = QStringLiteral("Brisklane");
}

DispatchController::DispatchController(DispatchPage &page, QLabel &statusPanel, const DispatchInputs &inputs,
                                       const RecipientSelection &selection, TDModule &data,
                                       TSmsThread &thread, ArmedTimer *timer, QObject *parent)
    : QObject(parent), page_(page), statusPanel_(statusPanel), inputs_(inputs), selection_(selection),
      data_(data), thread_(thread), timer_(timer), startButton_(*page.tbStart), run_(data.KyvBase, *this) {
  thread_.setRun(&run_);
  connect(page_.tbStart, &QToolButton::clicked, this, &DispatchController::tbStartClick);
  connect(&thread_, &Worker::jobFailed, this, [this](const QString &text) { pendingError_ = text; });
  connect(&thread_, &Worker::jobFinished, this, &DispatchController::jobEnded);
}

DispatchController::~DispatchController() {
  detached_ = true;
  run_.requestStop();
  // The worker may be waiting for a call onto this thread: serve it until the run is over.
  while (thread_.busy()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(2);
  }
  thread_.setRun(nullptr);
}

void DispatchController::tbStartClick() {
  if (running()) {
    run_.requestStop();
    return;
  }
  if (timer_ && timer_->disarmIfArmed())
    return;
  startRun();
}

bool DispatchController::startRun() {
  if (running())
    return false;
  run_.clearStop();
  return thread_.wake();
}

bool DispatchController::running() const {
  return thread_.busy();
}

bool DispatchController::mayClose() {
  if (!running())
    return true;
  closing_ = true;
  run_.requestStop();
  return false;
}

void DispatchController::jobEnded() {
  if (!pendingError_.isEmpty()) {
    const QString text = pendingError_;
    pendingError_.clear();
    Dialogs::instance().message(title, text, Dialogs::Icon::Error);
  }
  emit runEnded();
  if (closing_)
    emit closeReady();
}

void DispatchController::setBusy(bool on) {
  onWindowThread(*this, [&] {
    if (on == busy_)
      return;
    busy_ = on;
    Dialogs::instance().setWaitCursor(on);
  });
}

void DispatchController::reopenContacts() {
  onWindowThread(*this, [&] {
    DataSet &contacts = data_.IBContacts;
    // A contact being edited in its dialog keeps its edit; the list shows the run's rows
    // when the dialog is done.
    if (detached_ || contacts.isEditing())
      return;
    contacts.close();
    contacts.open();
  });
}

RunInputs DispatchController::runInputs() {
  return onWindowThread(*this, [&] {
    RunInputs in;
    in.templateText = inputs_.mmTemplate->toPlainText();
    in.placeholders = placeholderTable();
    if (inputs_.cbTranslit->isChecked())
      in.translit = translitTable();
    in.scope = selection_.scope();
    in.filter = selection_.currentFilter();
    in.channel = inputs_.PCSet->currentIndex();
    in.portNumber = inputs_.gsm->selectedPortNumber();
    return in;
  });
}

RecipientInputs DispatchController::recipientInputs() {
  return onWindowThread(*this, [&] {
    return RecipientInputs{inputs_.edLoginSh->text(), inputs_.edPassSh->text(),
                           inputs_.cbFlashAll->isChecked()};
  });
}

void DispatchController::RunStarted(int messageCount) {
  onWindowThread(*this, [&] {
    if (detached_)
      return;
    statusPanel_.clear();
    page_.pbSend->setValue(0);
    startButton_.showStop(LangConst().stStop);
    page_.mmResult->clear();
    // A range of 0 to 0 would show a busy bar: an empty run shows an empty one.
    page_.pbSend->setRange(0, messageCount > 0 ? messageCount : 1);
    page_.pbSend->setValue(0);
  });
}

void DispatchController::RecipientDone(const QString &resultLine) {
  onWindowThread(*this, [&] {
    if (detached_)
      return;
    QString shown = resultLine;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    page_.mmResult->appendPlainText(shown);
    page_.pbSend->setValue(page_.pbSend->value() + 1);
  });
}

void DispatchController::RunFinished(const RunEnd &end) {
  onWindowThread(*this, [&] {
    if (detached_)
      return;
    startButton_.restore();
    if (run_.MessageCount() > 0)
      page_.pbSend->setValue(page_.pbSend->maximum());
    // The operator who closes the window has said all there is to say.
    if (closing_)
      return;
    if (end.portError == link_error::OpenFailed)
      Dialogs::instance().message(title, LangConst().erPortFalse, Dialogs::Icon::Information);
    else if (end.portError == link_error::SearchFailed)
      Dialogs::instance().message(title, LangConst().erFindPort, Dialogs::Icon::Information);
    if (end.stopRequested)
      Dialogs::instance().message(title, LangConst().stASendStop, Dialogs::Icon::Information);
  });
}
