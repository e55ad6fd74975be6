#include "gui/dispatch/StartButton.h"

#include <QStyle>
#include <QToolButton>

StartButton::StartButton(QToolButton &button) : button_(button), SavedStartCaption(button.text()) {}

void StartButton::showStop(const QString &stopText) {
  if (button_.text() != stopText)
    SavedStartCaption = button_.text();
  button_.setText(stopText);
  button_.setIcon(button_.style()->standardIcon(QStyle::SP_MediaStop));
}

void StartButton::restore() {
  button_.setText(SavedStartCaption);
  button_.setIcon(button_.style()->standardIcon(QStyle::SP_MediaPlay));
}
