#pragma once
// Page 3: every personalised message, one per line.
#include "gui/base/PageBuilder.h"

class PreviewPage : public NotifyingPage {
  Q_OBJECT
public:
  explicit PreviewPage(QWidget *parent = nullptr);

  QLabel *lbFullText;
  QPlainTextEdit *mmPreviewAll;
};
