#pragma once
// The OK and Cancel buttons at the foot of a dialog: named "butOK" and "butCancel" for the
// language files, OK the default button, in the desktop's order, accepting and rejecting it.
#include <QString>

class QDialog;
class QDialogButtonBox;
class QPushButton;

struct OkCancelButtons {
  QDialogButtonBox *box;
  QPushButton *ok;
  QPushButton *cancel;
};

// The buttons belong to the dialog; the caller places the box in its layout.
OkCancelButtons addOkCancelButtons(QDialog *dialog, const QString &okText = QStringLiteral("OK"));
