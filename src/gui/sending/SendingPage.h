#pragma once
// Page 4: the sending method (gateway or modem sub-page), the program settings and the test message.
#include <QTabWidget>

#include "gui/base/DBCheckBox.h"
#include "gui/base/PageBuilder.h"

class QComboBox;
class GsmSubPage;

class SendingPage : public NotifyingPage {
  Q_OBJECT
public:
  explicit SendingPage(QWidget *parent = nullptr);

  // Sub-page indexes of PCSet; the current index chooses the channel.
  enum { GatewayIndex = 0, ModemIndex = 1, SettingsIndex = 2 };

  QTabWidget *PCSet;
  NotifyingPage *TSInter, *TSGSM, *TSOptions;

  // Gateway sub-page
  QLabel *lbShLogin, *lbShPass;
  QLineEdit *edLoginSh, *edPassSh;
  QPushButton *butSaveSh;

  // Modem sub-page: the serial port choice
  GsmSubPage *gsmPage;

  // Settings sub-page
  QWidget *pnlOptions;
  QCheckBox *cbGsm; // offers the modem sub-page (kyv.ini [params] GSM)
  QLabel *lbLang, *lbGsmTime, *lbEmLogin, *lbEmPass, *lbEmPOP;
  QComboBox *cbxLang;
  QPushButton *butApply, *butSave;
  DBCheckBox *dbcbLog;
  QLineEdit *dbeLogFile, *DBEdit1, *DBEdit4, *DBEdit5, *DBEdit6;
  QToolButton *sbLogFile;

  // Test message
  QGroupBox *gbxTestMes;
  QLabel *lbNPhone, *lbMessage;
  QLineEdit *mkePhone;
  QPlainTextEdit *memoSMS;
  QCheckBox *cbFlash;
  QPushButton *butSend;

private:
  void buildGatewayPage();
  void buildSettingsPage();
  void buildTestMessage();
};
