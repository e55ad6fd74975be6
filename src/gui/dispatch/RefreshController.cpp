#include "gui/dispatch/RefreshController.h"

#include "common/Dialogs.h"
#include "dispatch/ContactListReopen.h"
#include "dispatch/TRefreshThread.h"
#include "gui/dispatch/DispatchPage.h"

#include <QScopeGuard>
#include <QToolButton>

RefreshController::RefreshController(DispatchPage &page, TRefreshThread &worker, DataSet *contacts,
                                     Dialogs *dialogs, QObject *parent)
    : QObject(parent), worker_(worker), dialogs_(dialogs) {
  if (contacts)
    reopen_ = new ContactListReopen(*contacts, this);
  connect(page.tbRefresh, &QToolButton::clicked, this, &RefreshController::tbRefreshClick);
  // Queued: the pass ends on the worker thread, the grid and the cursor belong to this one.
  connect(&worker_, &Worker::jobFinished, this, &RefreshController::passEnded, Qt::QueuedConnection);
}

RefreshController::~RefreshController() {
  if (waiting_)
    dialogs().setWaitCursor(false);
}

Dialogs &RefreshController::dialogs() const {
  return dialogs_ ? *dialogs_ : Dialogs::instance();
}

void RefreshController::tbRefreshClick() {
  if (waiting_ || !worker_.wake())
    return; // a pass is already running
  waiting_ = true;
  dialogs().setWaitCursor(true);
}

void RefreshController::passEnded() {
  if (!waiting_)
    return;
  waiting_ = false;
  const auto restore = qScopeGuard([this] { dialogs().setWaitCursor(false); });
  if (reopen_)
    reopen_->request();
}
