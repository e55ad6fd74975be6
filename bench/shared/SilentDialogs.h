#pragma once
// The dialogs of a benchmark, where nobody is there to answer: a message is counted and the
// first few go to stderr, a question is answered no and a file dialog is cancelled.
#include "common/Dialogs.h"

#include <QTextStream>

class SilentDialogs : public Dialogs {
public:
  int messages = 0;
  void message(const QString &, const QString &text, Icon) override {
    if (++messages <= 10)
      QTextStream(stderr) << text << '\n';
  }
  bool confirm(const QString &, const QString &) override { return false; }
  QString openFileName(const QString &, const QString &) override { return {}; }
  QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }
  void setWaitCursor(bool) override {}
  bool openDocument(const QString &) override { return false; }
};
