#pragma once
// The dispatch timer of the dispatch page: the timer button opens the timer dialog, OK arms
// the timer, the one-second tick counts down in the status bar's second panel and, when the
// moment comes, starts the dispatch as the start button would. The start button disarms it.
#include "dispatch/DispatchSchedule.h"
#include "gui/dispatch/ArmedTimer.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

class DispatchPage;
class QLabel;
class StartButton;

class DispatchTimer : public QObject, public ArmedTimer {
  Q_OBJECT
public:
  // Asks the operator for the moment; none when the dialog was cancelled.
  using Opener = std::function<std::optional<QDateTime>(const QDateTime &now)>;

  // statusPanel: the status bar's second panel. start: wakes the dispatch worker (a run
  // already going is not started again). clock: the date and time now (default: the system's).
  // opener: by default the modal timer dialog over the page's window.
  DispatchTimer(DispatchPage &page, QLabel &statusPanel, StartButton &startButton,
                std::function<void()> start, DispatchSchedule::Clock clock = {}, Opener opener = {},
                QObject *parent = nullptr);

  void tbTimerClick();
  // The dialog's OK: arms for date + time of day (again: the target is replaced).
  void arm(const QDate &date, const QTime &time);
  // The one-second tick.
  void TimerTimer();
  bool disarmIfArmed() override;

  bool armed() const { return schedule_.armed(); }
  const QDateTime &TimerTarget() const { return schedule_.target(); }
  const QTimer &timer() const { return Timer; }

private:
  void fire();
  void repaintWindow();

  DispatchPage &page_;
  QLabel &statusPanel_;
  StartButton &startButton_;
  std::function<void()> start_;
  DispatchSchedule schedule_;
  Opener opener_;
  QTimer Timer;
};
