#pragma once
// Page 5: the dispatch tool bar, the result list and the progress bar.
#include <QProgressBar>
#include <QToolBar>

#include "gui/base/PageBuilder.h"

class DispatchPage : public NotifyingPage {
  Q_OBJECT
public:
  explicit DispatchPage(QWidget *parent = nullptr);

  QToolBar *ToolBar2;
  QToolButton *tbTimer, *tbStart, *tbRefresh;
  QPlainTextEdit *mmResult;
  QProgressBar *pbSend;
};
