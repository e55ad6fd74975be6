#include "common/Dialogs.h"

#include <stdexcept>

namespace {
Dialogs *installed = nullptr;
}

Dialogs &Dialogs::instance() {
  if (!installed)
    throw std::logic_error("no dialog interface installed");
  return *installed;
}

void Dialogs::install(Dialogs *dialogs) {
  installed = dialogs;
}
