#include "gui/base/Widgets.h"

#include <QShowEvent>

void NotifyingPage::showEvent(QShowEvent *event) {
  QWidget::showEvent(event);
  if (!event->spontaneous())
    emit shown();
}

void NotifyingPage::hideEvent(QHideEvent *event) {
  QWidget::hideEvent(event);
  if (!event->spontaneous())
    emit hidden();
}
