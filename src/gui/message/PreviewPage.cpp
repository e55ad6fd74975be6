#include "gui/message/PreviewPage.h"

#include <QVBoxLayout>

PreviewPage::PreviewPage(QWidget *parent) : NotifyingPage("TS3", parent) {
  lbFullText = ui::label(this, "lbFullText", "Все сообщения");
  mmPreviewAll = ui::memo(this, "mmPreviewAll", true);
  mmPreviewAll->setLineWrapMode(QPlainTextEdit::NoWrap);
  mmPreviewAll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(lbFullText);
  layout->addWidget(mmPreviewAll, 1);
}
