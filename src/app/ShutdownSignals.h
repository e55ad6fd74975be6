#pragma once
// SIGTERM, SIGINT and SIGHUP (a log-out, kill, Ctrl+C in a terminal) close the program the
// way the operator does: open dialogs are dismissed and the main window is closed, so the
// workers end after the recipient in hand and the database is closed before the exit.
//
// The embedded database engine installs handlers of its own for these signals, so they are
// blocked in every thread from the start (block() must run before any thread exists) and
// read on the window thread from a signalfd instead.
#include <QObject>
#include <QPointer>

class QSocketNotifier;
class QWidget;

class ShutdownSignals : public QObject {
  Q_OBJECT
public:
  // Blocks the three signals for this thread and every thread created after it.
  static void block();

  explicit ShutdownSignals(QObject *parent = nullptr);
  ~ShutdownSignals() override;

  // The window a signal closes.
  void closeOnSignal(QWidget *window) { window_ = window; }

private:
  void readSignal();

  int fd_ = -1;
  QSocketNotifier *notifier_ = nullptr;
  QPointer<QWidget> window_;
};
