#pragma once
// The dispatch page's start button and the run it starts on the dispatch worker. The run
// reads the window's state and shows its start, each recipient's line and its end through
// this controller, each as a call onto the window thread that the worker waits for.
//
// The start button starts a run; while one goes it asks it to stop (the recipient in hand is
// finished first); while the timer is armed it disarms the timer instead. Closing the main
// window during a run asks the run to stop and closes once the run has ended.
#include "dispatch/DispatchRun.h"
#include "dispatch/DispatchWindow.h"
#include "gui/dispatch/StartButton.h"

#include <QObject>
#include <QString>

#include <atomic>

class ArmedTimer;
class DispatchPage;
class GsmSubPage;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;
class RecipientSelection;
class TDModule;
class TSmsThread;

// The pieces of the sending and message pages a run reads.
struct DispatchInputs {
  QTabWidget *PCSet;    // the current sub-page chooses the channel
  GsmSubPage *gsm;      // its port list (cbxCOM)
  QLineEdit *edLoginSh; // gateway account, read for each recipient
  QLineEdit *edPassSh;
  QPlainTextEdit *mmTemplate;
  QCheckBox *cbFlashAll; // read for each recipient
  QCheckBox *cbTranslit;
};

class DispatchController : public QObject, private DispatchWindow {
  Q_OBJECT
public:
  // statusPanel: the status bar's second panel. timer may be null (no timer to disarm).
  DispatchController(DispatchPage &page, QLabel &statusPanel, const DispatchInputs &inputs,
                     const RecipientSelection &selection, TDModule &data, TSmsThread &thread,
                     ArmedTimer *timer, QObject *parent = nullptr);
  // Waits for a run still going (asked to stop) so that the worker never waits for a window
  // that is gone.
  ~DispatchController() override;

  void setArmedTimer(ArmedTimer *timer) { timer_ = timer; }
  // The start button's faces, shared with the timer.
  StartButton &startButton() { return startButton_; }
  DispatchRun &run() { return run_; }

  void tbStartClick();
  // Wakes the worker for one run, as the start button does; false when a run is going.
  bool startRun();
  bool running() const;
  // The main window is about to close: true when it may; during a run false, the run is
  // asked to stop and closeReady() follows its end.
  bool mayClose();

signals:
  // A run has ended and its end (and any error) has been shown.
  void runEnded();
  void closeReady();

private:
  void setBusy(bool on) override;
  void reopenContacts() override;
  RunInputs runInputs() override;
  RecipientInputs recipientInputs() override;
  void RunStarted(int messageCount) override;
  void RecipientDone(const QString &resultLine) override;
  void RunFinished(const RunEnd &end) override;

  void jobEnded();

  DispatchPage &page_;
  QLabel &statusPanel_;
  DispatchInputs inputs_;
  const RecipientSelection &selection_;
  TDModule &data_;
  TSmsThread &thread_;
  ArmedTimer *timer_;
  StartButton startButton_;
  DispatchRun run_;
  bool busy_ = false;
  bool closing_ = false;
  // Set while the controller goes: the worker's last calls no longer touch the window.
  std::atomic<bool> detached_{false};
  QString pendingError_;
};
