#pragma once
// Page 4: the sending method (gateway or modem sub-page), the program settings and the test message.
#include <QTabWidget>

#include "app/DBCheckBox.h"
#include "app/pages/PageBuilder.h"

class QComboBox;

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

  // Settings sub-page
  QGroupBox *gbxOptions;
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

  // Puts the modem sub-page's own widget in place (the serial port choice).
  void setModemPage(QWidget *content);

private:
  void buildGatewayPage();
  void buildSettingsPage();
  void buildTestMessage();
};
