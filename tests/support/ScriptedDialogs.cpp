#include "support/ScriptedDialogs.h"

#include <QTest>

ScriptedDialogs::ScriptedDialogs() {
  Dialogs::install(this);
}
ScriptedDialogs::~ScriptedDialogs() {
  Dialogs::install(nullptr);
}

void ScriptedDialogs::message(const QString &title, const QString &text, Icon icon) {
  shown.append({"message", title, text, icon});
}

bool ScriptedDialogs::confirm(const QString &title, const QString &text) {
  shown.append({"confirm", title, text, Icon::Question});
  if (confirmAnswers.isEmpty()) {
    QTest::qFail(qPrintable("unexpected confirmation: " + text), __FILE__, __LINE__);
    return false;
  }
  return confirmAnswers.dequeue();
}

QString ScriptedDialogs::openFileName(const QString &caption, const QString &) {
  shown.append({"open", caption, {}, Icon::Question});
  return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
}

QString ScriptedDialogs::saveFileName(const QString &caption, const QString &, const QString &) {
  shown.append({"save", caption, {}, Icon::Question});
  return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
}

void ScriptedDialogs::setWaitCursor(bool on) {
  waitCursorDepth += on ? 1 : -1;
}

bool ScriptedDialogs::openDocument(const QString &path) {
  openedDocuments << path;
  return openDocumentSucceeds;
}

QStringList ScriptedDialogs::messageTexts() const {
  QStringList texts;
  for (const Shown &s : shown)
    if (s.kind == "message")
      texts << s.text;
  return texts;
}

void ScriptedDialogs::clear() {
  shown.clear();
  confirmAnswers.clear();
  fileAnswers.clear();
}
