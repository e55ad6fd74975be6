#pragma once
// The GSM sub-page of the sending page: the port choice, the search button and the serial
// settings dialog. The port list and the search live in PortChoice.
#include "gsm/PortChoice.h"

#include <QWidget>

class DataSet;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

class GsmSubPage : public QWidget {
  Q_OBJECT
public:
  explicit GsmSubPage(QWidget *parent = nullptr);

  // The options row (log file name, serial settings); without one the search writes no log
  // and the port settings dialog stores nothing.
  void setOptions(DataSet *options) { options_ = options; }

  QGroupBox *gbxOptions;
  QLabel *lbCOM;
  QComboBox *cbxCOM;
  QPushButton *butRefresh, *butAuto, *butPort;

  // 0: automatic search; n: COMn; -1: no item selected (a dispatch then cannot start).
  int selectedPortNumber() const;
  // Selects "COM" + n after a search elsewhere; no item when the list has none.
  void selectPort(int n);

  void GetListPorts();
  void TSGSMShow();
  void butRefreshClick();
  void cbxCOMChange(int index);
  void butAutoClick(); // throws the search's failure to the general error report
  void butPortClick();

protected:
  void showEvent(QShowEvent *event) override;

private:
  void showChoice();
  PortChoice choice_;
  DataSet *options_ = nullptr;
};
