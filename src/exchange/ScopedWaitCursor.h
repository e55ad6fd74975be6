#pragma once
// The wait cursor of the given dialogs for a scope, also when it ends with an exception.
#include "common/Dialogs.h"

class ScopedWaitCursor {
public:
  explicit ScopedWaitCursor(Dialogs &dialogs) : dialogs_(dialogs) { dialogs_.setWaitCursor(true); }
  ~ScopedWaitCursor() { dialogs_.setWaitCursor(false); }
  ScopedWaitCursor(const ScopedWaitCursor &) = delete;
  ScopedWaitCursor &operator=(const ScopedWaitCursor &) = delete;

private:
  Dialogs &dialogs_;
};
