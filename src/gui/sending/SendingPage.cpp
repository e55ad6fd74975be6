#include "gui/sending/SendingPage.h"

#include "gui/base/FieldNotices.h"
#include "gui/sending/GsmSubPage.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

SendingPage::SendingPage(QWidget *parent) : NotifyingPage("TS4", parent) {
  PCSet = ui::make<QTabWidget>(this, "PCSet");
  TSInter = new NotifyingPage("TSInter");
  TSGSM = new NotifyingPage("TSGSM");
  TSOptions = new NotifyingPage("TSOptions");
  PCSet->addTab(TSInter, "Интернет-шлюз");
  PCSet->addTab(TSGSM, "Мобильный телефон или GSM-модем");
  PCSet->addTab(TSOptions, "Настройки программы");
  // As stored, the modem sub-page's tab is hidden: the operator cannot select it.
  PCSet->setTabVisible(ModemIndex, false);
  gsmPage = new GsmSubPage(TSGSM);
  auto *modem = new QVBoxLayout(TSGSM);
  modem->addWidget(gsmPage);

  buildGatewayPage();
  buildSettingsPage();
  buildTestMessage();

  auto *layout = new QVBoxLayout(this);
  layout->addWidget(PCSet, 1);
  layout->addWidget(gbxTestMes);
}

void SendingPage::buildGatewayPage() {
  lbShLogin = ui::label(TSInter, "lbShLogin", "Логин");
  edLoginSh = ui::edit(TSInter, "edLoginSh");
  lbShPass = ui::label(TSInter, "lbShPass", "Пароль");
  edPassSh = ui::edit(TSInter, "edPassSh");
  edPassSh->setEchoMode(QLineEdit::Password);
  butSaveSh = ui::button(TSInter, "butSaveSh", "Сохранить");
  // As long as the columns they are stored in.
  for (QLineEdit *e : {edLoginSh, edPassSh})
    field_notices::limitLength(e, 30);
  lbShLogin->setBuddy(edLoginSh);
  lbShPass->setBuddy(edPassSh);
  auto *form = new QFormLayout;
  form->addRow(lbShLogin, edLoginSh);
  form->addRow(lbShPass, edPassSh);
  auto *layout = new QVBoxLayout(TSInter);
  layout->addLayout(form);
  layout->addWidget(butSaveSh, 0, Qt::AlignLeft);
  layout->addStretch();
}

void SendingPage::buildSettingsPage() {
  pnlOptions = ui::make<QWidget>(TSOptions, "pnlOptions");
  QWidget *gbxOptions = pnlOptions;
  lbLang = ui::label(gbxOptions, "lbLang", "Язык");
  cbxLang = ui::make<QComboBox>(gbxOptions, "cbxLang");
  butApply = ui::button(gbxOptions, "butApply", "Применить");
  dbcbLog = ui::make<DBCheckBox>(gbxOptions, "dbcbLog", "Вести журнал модема");
  dbeLogFile = ui::edit(gbxOptions, "dbeLogFile");
  dbeLogFile->setEnabled(false);
  sbLogFile = ui::toolButton(gbxOptions, "sbLogFile", "...");
  sbLogFile->setEnabled(false);
  lbGsmTime = ui::label(gbxOptions, "lbGsmTime", "Пауза между сообщениями, с");
  DBEdit1 = ui::edit(gbxOptions, "DBEdit1");
  lbEmLogin = ui::label(gbxOptions, "lbEmLogin", "Почтовый ящик: логин");
  DBEdit4 = ui::edit(gbxOptions, "DBEdit4");
  lbEmPass = ui::label(gbxOptions, "lbEmPass", "Пароль");
  DBEdit5 = ui::edit(gbxOptions, "DBEdit5");
  DBEdit5->setEchoMode(QLineEdit::Password);
  lbEmPOP = ui::label(gbxOptions, "lbEmPOP", "POP3-сервер");
  DBEdit6 = ui::edit(gbxOptions, "DBEdit6");
  butSave = ui::button(gbxOptions, "butSave", "Сохранить");
  cbGsm = ui::checkBox(gbxOptions, "cbGsm", "Отправка через мобильный телефон или GSM-модем");

  auto *langRow = new QHBoxLayout;
  langRow->addWidget(cbxLang, 1);
  langRow->addWidget(butApply);
  auto *logRow = new QHBoxLayout;
  logRow->addWidget(dbeLogFile, 1);
  logRow->addWidget(sbLogFile);
  // The messages about a field name it by its label.
  for (auto [label, edit] :
       {std::pair{lbGsmTime, DBEdit1}, {lbEmLogin, DBEdit4}, {lbEmPass, DBEdit5}, {lbEmPOP, DBEdit6}})
    label->setBuddy(edit);
  auto *form = new QFormLayout(gbxOptions);
  form->addRow(lbLang, langRow);
  form->addRow(dbcbLog, logRow);
  form->addRow(lbGsmTime, DBEdit1);
  form->addRow(lbEmLogin, DBEdit4);
  form->addRow(lbEmPass, DBEdit5);
  form->addRow(lbEmPOP, DBEdit6);
  form->addRow(cbGsm);
  form->addRow(butSave);
  auto *layout = new QVBoxLayout(TSOptions);
  layout->addWidget(pnlOptions);
  layout->addStretch();
}

void SendingPage::buildTestMessage() {
  gbxTestMes = ui::groupBox(this, "gbxTestMes", "Тестовое сообщение");
  lbNPhone = ui::label(gbxTestMes, "lbNPhone", "Номер телефона");
  mkePhone = ui::edit(gbxTestMes, "mkePhone");
  lbMessage = ui::label(gbxTestMes, "lbMessage", "Сообщение");
  memoSMS = ui::memo(gbxTestMes, "memoSMS");
  memoSMS->setMaximumHeight(90);
  cbFlash = ui::checkBox(gbxTestMes, "cbFlash", "Flash-сообщение");
  butSend = ui::button(gbxTestMes, "butSend", "Отправить");
  auto *form = new QFormLayout(gbxTestMes);
  form->addRow(lbNPhone, mkePhone);
  form->addRow(lbMessage, memoSMS);
  form->addRow(cbFlash, butSend);
}
