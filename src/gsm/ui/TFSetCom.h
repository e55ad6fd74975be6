#pragma once
// The serial settings dialog: shows the stored settings of the options row and stores them
// when closed with OK. What it shows and stores is decided by gsm/SerialSettings.h.
#include "app/TFParentForm.h"
#include "gsm/SerialSettings.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

class TFSetCom : public TFParentForm {
  Q_OBJECT
public:
  explicit TFSetCom(QWidget *parent = nullptr);

  QGroupBox *gbxSetCom;
  QLabel *lbRate, *lbBit, *lbStopBit, *lbParity, *lbControl;
  QComboBox *cbxRate, *cbxBit, *cbxStopBit, *cbxParity, *cbxControl;
  QPushButton *butOK, *butCancel;

  void FormCreate();
  void FormClose(int result);

  SerialSettingsLists lists() const;
  SerialSettingsSelection selection() const;
};
