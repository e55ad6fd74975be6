#include "gui/sending/GsmSubPage.h"
#include "common/Dialogs.h"
#include "common/LangConstants.h"
#include "data/DataSet.h"
#include "gui/sending/TFSetCom.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

QString logFileName(const DataSet *options) {
  if (!options || !options->isOpen())
    return {};
  return options->value(QStringLiteral("LOGFILE")).toString();
}

} // namespace

GsmSubPage::GsmSubPage(QWidget *parent) : QWidget(parent) {
  setObjectName(QStringLiteral("TSGSM"));
  gbxOptions = new QGroupBox(this);
  gbxOptions->setObjectName(QStringLiteral("gbxOptions"));
  lbCOM = new QLabel(QStringLiteral("Порт"), gbxOptions);
  lbCOM->setObjectName(QStringLiteral("lbCOM"));
  cbxCOM = new QComboBox(gbxOptions);
  cbxCOM->setObjectName(QStringLiteral("cbxCOM"));
  butRefresh = new QPushButton(QStringLiteral("Обновить"), gbxOptions);
  butRefresh->setObjectName(QStringLiteral("butRefresh"));
  butAuto = new QPushButton(QStringLiteral("Поиск"), gbxOptions);
  butAuto->setObjectName(QStringLiteral("butAuto"));
  butPort = new QPushButton(QStringLiteral("Настройки порта"), gbxOptions);
  butPort->setObjectName(QStringLiteral("butPort"));

  auto *row = new QHBoxLayout;
  row->addWidget(lbCOM);
  row->addWidget(cbxCOM, 1);
  row->addWidget(butRefresh);
  auto *box = new QVBoxLayout(gbxOptions);
  box->addLayout(row);
  box->addWidget(butAuto);
  box->addWidget(butPort);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(gbxOptions);
  layout->addStretch();

  // As stored: the automatic search alone, selected; showing the page lists the ports.
  choice_.automaticOnly(QStringLiteral(u"Автоматический поиск"));
  showChoice();

  connect(cbxCOM, &QComboBox::currentIndexChanged, this, &GsmSubPage::cbxCOMChange);
  connect(butRefresh, &QPushButton::clicked, this, &GsmSubPage::butRefreshClick);
  connect(butAuto, &QPushButton::clicked, this, &GsmSubPage::butAutoClick);
  connect(butPort, &QPushButton::clicked, this, &GsmSubPage::butPortClick);
}

void GsmSubPage::showChoice() {
  const QSignalBlocker quiet(cbxCOM);
  cbxCOM->clear();
  cbxCOM->addItems(choice_.items());
  cbxCOM->setCurrentIndex(choice_.current());
}

int GsmSubPage::selectedPortNumber() const {
  return choice_.portNumber();
}

void GsmSubPage::selectPort(int n) {
  choice_.selectPort(n);
  const QSignalBlocker quiet(cbxCOM);
  cbxCOM->setCurrentIndex(choice_.current());
}

void GsmSubPage::GetListPorts() {
  choice_.rebuild(LangConst().stAuto);
  showChoice();
  cbxCOMChange(cbxCOM->currentIndex());
}

void GsmSubPage::TSGSMShow() {
  GetListPorts();
}

void GsmSubPage::showEvent(QShowEvent *event) {
  QWidget::showEvent(event);
  // A restored main window shows its children again (spontaneously); only the sub-page's own
  // showing rebuilds the list, so a chosen port is kept.
  if (!event->spontaneous())
    TSGSMShow();
}

void GsmSubPage::butRefreshClick() {
  WaitCursor busy;
  GetListPorts();
}

void GsmSubPage::cbxCOMChange(int index) {
  choice_.select(index);
  butAuto->setEnabled(choice_.searchEnabled());
}

void GsmSubPage::butAutoClick() {
  // The button comes back also when a port item is selected now, and after a failure.
  struct Restore {
    QPushButton *button;
    ~Restore() { button->setEnabled(true); }
  } restore{butAuto};
  WaitCursor busy;
  butAuto->setEnabled(false);
  choice_.search(logFileName(options_), LangConst().erFindPort);
  const QSignalBlocker quiet(cbxCOM);
  cbxCOM->setCurrentIndex(choice_.current());
}

void GsmSubPage::butPortClick() {
  TFSetCom dialog(options_, this);
  dialog.exec();
}
