#include "gui/dispatch/DispatchTimer.h"

#include "common/LangConstants.h"
#include "gui/dispatch/DispatchPage.h"
#include "gui/dispatch/StartButton.h"
#include "gui/dispatch/TFSetTimer.h"

#include <QLabel>
#include <QLocale>

DispatchTimer::DispatchTimer(DispatchPage &page, QLabel &statusPanel, StartButton &startButton,
                             std::function<void()> start, DispatchSchedule::Clock clock, Opener opener,
                             QObject *parent)
    : QObject(parent), page_(page), statusPanel_(statusPanel), startButton_(startButton),
      start_(std::move(start)), schedule_(std::move(clock)), opener_(std::move(opener)) {
  if (!opener_)
    opener_ = [this](const QDateTime &now) -> std::optional<QDateTime> {
      TFSetTimer dialog(now, page_.window());
      if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
      return QDateTime(dialog.chosenDate(), dialog.chosenTime());
    };
  Timer.setInterval(1000);
  connect(&Timer, &QTimer::timeout, this, &DispatchTimer::TimerTimer);
  connect(page_.tbTimer, &QToolButton::clicked, this, &DispatchTimer::tbTimerClick);
}

void DispatchTimer::tbTimerClick() {
  if (const std::optional<QDateTime> chosen = opener_(schedule_.now()))
    arm(chosen->date(), chosen->time());
}

void DispatchTimer::arm(const QDate &date, const QTime &time) {
  const LangConstants &texts = LangConst();
  const QLocale locale;
  page_.mmResult->clear();
  page_.mmResult->appendPlainText(texts.stAutoSend + u' ' + locale.toString(date, QLocale::ShortFormat) +
                                  u' ' + locale.toString(time, DispatchSchedule::longTimeFormat()));
  schedule_.arm(date, time);
  page_.pbSend->setValue(0);
  startButton_.showStop(texts.stStop);
  Timer.start();
}

void DispatchTimer::TimerTimer() {
  if (!schedule_.armed())
    return;
  const LangConstants &texts = LangConst();
  statusPanel_.setText(schedule_.countdown(texts.stTime, texts.stSpan, DispatchSchedule::longTimeFormat()));
  if (schedule_.due())
    fire();
}

void DispatchTimer::fire() {
  Timer.stop();
  schedule_.disarm();
  statusPanel_.clear();
  page_.pbSend->setValue(0);
  repaintWindow();
  if (start_)
    start_();
}

bool DispatchTimer::disarmIfArmed() {
  if (!schedule_.armed())
    return false;
  Timer.stop();
  schedule_.disarm();
  statusPanel_.clear();
  page_.mmResult->appendPlainText(LangConst().stAutoStop);
  page_.pbSend->setValue(0);
  startButton_.restore();
  repaintWindow();
  return true;
}

void DispatchTimer::repaintWindow() {
  page_.window()->repaint();
}
