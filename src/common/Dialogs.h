#pragma once
// Every question the system asks the operator goes through this interface, so tests can
// answer message boxes, confirmations and file dialogs without a window manager.
#include <QString>

class Dialogs {
public:
  enum class Icon { Information, Question, Warning, Error };

  virtual ~Dialogs() = default;
  // A modal message with an OK button.
  virtual void message(const QString &title, const QString &text, Icon icon = Icon::Information) = 0;
  // OK and Cancel, Cancel the default; true when the operator chose OK.
  virtual bool confirm(const QString &title, const QString &text) = 0;
  // Empty when the operator cancelled.
  virtual QString openFileName(const QString &caption, const QString &filter) = 0;
  virtual QString saveFileName(const QString &caption, const QString &filter,
                               const QString &defaultSuffix) = 0;
  virtual void setWaitCursor(bool on) = 0;
  // Opens a document with the desktop's default program; false when that failed.
  virtual bool openDocument(const QString &path) = 0;

  // The process-wide instance; the program installs the real one, tests a scripted one.
  static Dialogs &instance();
  static void install(Dialogs *dialogs);
};

// Shows the wait cursor for a scope, restoring it also when the scope ends with an exception.
class WaitCursor {
public:
  explicit WaitCursor(Dialogs &dialogs = Dialogs::instance()) : dialogs_(dialogs) { dialogs_.setWaitCursor(true); }
  ~WaitCursor() { dialogs_.setWaitCursor(false); }
  WaitCursor(const WaitCursor &) = delete;
  WaitCursor &operator=(const WaitCursor &) = delete;

private:
  Dialogs &dialogs_;
};
