#pragma once
// The real message boxes, file dialogs, wait cursor and document opening of the desktop.
#include "common/Dialogs.h"

class QtDialogs : public Dialogs {
public:
  void message(const QString &title, const QString &text, Icon icon) override;
  bool confirm(const QString &title, const QString &text) override;
  QString openFileName(const QString &caption, const QString &filter) override;
  QString saveFileName(const QString &caption, const QString &filter, const QString &defaultSuffix) override;
  void setWaitCursor(bool on) override;
  bool openDocument(const QString &path) override;
};
