#pragma once
// A Dialogs implementation for tests: records every message and answers questions and file
// dialogs from queues the test fills beforehand. A question with no queued answer fails the test.
#include "common/Dialogs.h"

#include <QList>
#include <QQueue>
#include <QString>

class ScriptedDialogs : public Dialogs {
public:
  struct Shown {
    QString kind; // "message" or "confirm"
    QString title;
    QString text;
    Icon icon = Icon::Information;
  };

  ScriptedDialogs(); // installs itself
  ~ScriptedDialogs() override;

  QQueue<bool> confirmAnswers;
  QQueue<QString> fileAnswers;
  QList<Shown> shown;
  int waitCursorDepth = 0;

  void message(const QString &title, const QString &text, Icon icon) override;
  bool confirm(const QString &title, const QString &text) override;
  QString openFileName(const QString &caption, const QString &filter) override;
  QString saveFileName(const QString &caption, const QString &filter, const QString &defaultSuffix) override;
  void setWaitCursor(bool on) override;
  bool openDocument(const QString &path) override;
  QStringList openedDocuments;
  // What openDocument answers: false stands for a desktop without a program for the file.
  bool openDocumentSucceeds = true;

  QStringList messageTexts() const;
  void clear();
};
