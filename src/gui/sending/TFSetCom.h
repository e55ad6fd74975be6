#pragma once
// The serial settings dialog: shows the stored settings of the options row and stores them
// when closed with OK. What it shows and stores is decided by gsm/SerialSettings.h.
#include "gsm/SerialSettings.h"
#include "gui/base/TFParentForm.h"

class DataSet;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

class TFSetCom : public TFParentForm {
  Q_OBJECT
public:
  // options: the options row the settings are read from and stored in (may be null).
  explicit TFSetCom(DataSet *options, QWidget *parent = nullptr);

  QGroupBox *gbxSetCom;
  QLabel *lbRate, *lbBit, *lbStopBit, *lbParity, *lbControl;
  QComboBox *cbxRate, *cbxBit, *cbxStopBit, *cbxParity, *cbxControl;
  QPushButton *butOK, *butCancel;

  void FormCreate();
  void FormClose(int result);

  SerialSettingsLists lists() const;
  SerialSettingsSelection selection() const;

private:
  DataSet *options_;
};
