#include "gui/dispatch/DispatchPage.h"

#include <QVBoxLayout>

DispatchPage::DispatchPage(QWidget *parent) : NotifyingPage("TS5", parent) {
  const QStyle *s = style();
  ToolBar2 = ui::make<QToolBar>(this, "ToolBar2");
  tbTimer = ui::toolButton(ToolBar2, "tbTimer", "Таймер", s->standardIcon(QStyle::SP_BrowserReload));
  tbStart = ui::toolButton(ToolBar2, "tbStart", "Старт", s->standardIcon(QStyle::SP_MediaPlay));
  tbRefresh =
      ui::toolButton(ToolBar2, "tbRefresh", "Обновить", s->standardIcon(QStyle::SP_DialogApplyButton));
  for (QToolButton *b : {tbTimer, tbStart, tbRefresh})
    ToolBar2->addWidget(b);
  mmResult = ui::memo(this, "mmResult", true);
  pbSend = ui::make<QProgressBar>(this, "pbSend");
  pbSend->setValue(0);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(ToolBar2);
  layout->addWidget(mmResult, 1);
  layout->addWidget(pbSend);
}
