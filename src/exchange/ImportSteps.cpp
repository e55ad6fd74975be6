#include "exchange/ImportSteps.h"

#include "common/Dialogs.h"

namespace import_steps {

Finish::Finish(Dialogs &dialogs, std::function<void()> refreshContacts)
    : dialogs_(dialogs), refresh_(std::move(refreshContacts)) {
  dialogs_.setWaitCursor(true);
}

Finish::~Finish() {
  restoreCursor();
}

void Finish::done() {
  try {
    if (refresh_)
      refresh_();
  } catch (...) {
    restoreCursor();
    throw;
  }
  restoreCursor();
}

void Finish::afterFailure() noexcept {
  try {
    if (refresh_)
      refresh_();
  } catch (...) {
  }
  restoreCursor();
}

void Finish::restoreCursor() noexcept {
  if (!waiting_)
    return;
  waiting_ = false;
  try {
    dialogs_.setWaitCursor(false);
  } catch (...) {
  }
}

} // namespace import_steps
