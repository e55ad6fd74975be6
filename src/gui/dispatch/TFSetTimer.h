#pragma once
// The timer dialog: the date and the time of day the dispatch is to start at. Both pickers
// start at the moment the dialog opens.
#include "gui/base/TFParentForm.h"

#include <QDateTime>

class QDateEdit;
class QGroupBox;
class QLabel;
class QPushButton;
class QTimeEdit;

class TFSetTimer : public TFParentForm {
  Q_OBJECT
public:
  explicit TFSetTimer(const QDateTime &now, QWidget *parent = nullptr);

  QGroupBox *gbxTimePar;
  QLabel *lbDateTimer, *lbTimeTimer;
  QDateEdit *DateTimePicker1;
  QTimeEdit *DateTimePicker2;
  QPushButton *butOK, *butCancel;

  QDate chosenDate() const;
  QTime chosenTime() const;
};
