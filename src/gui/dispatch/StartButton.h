#pragma once
// The dispatch start button's two faces: its own caption with the start image while nothing
// is going, the stop text with the stop image while a run goes or the timer is armed. The
// caption it had before is kept so that whichever of the run and the timer ends last can give
// it back, also when the timer was armed twice or a run starts while it is armed.
#include <QString>

class QToolButton;

class StartButton {
public:
  explicit StartButton(QToolButton &button);

  // Shows the stop face; the earlier caption is kept unless the button already shows stopText.
  void showStop(const QString &stopText);
  // Gives back the kept caption and the start image.
  void restore();

  QString savedStartCaption() const { return SavedStartCaption; }
  QToolButton &button() const { return button_; }

private:
  QToolButton &button_;
  QString SavedStartCaption;
};
