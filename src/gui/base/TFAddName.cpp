#include "gui/base/TFAddName.h"

#include "gui/base/DBEdit.h"

#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

TFAddName::TFAddName(const QString &formName, const QString &title, DataSet *dataSource, QWidget *parent)
    : TFParentAdd(formName, dataSource, parent) {
  setWindowTitle(title);
  Label1 = new QLabel(QStringLiteral("Наименование"), gbxData);
  Label1->setObjectName(QStringLiteral("Label1"));
  DBEdit1 = new DBEdit(gbxData);
  DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
  DBEdit1->bind(DS, QStringLiteral("NAME"));
  Label1->setBuddy(DBEdit1);
  auto *layout = new QVBoxLayout(gbxData);
  layout->addWidget(Label1);
  layout->addWidget(DBEdit1);
  layout->addStretch();
  applyLanguage();
}

void TFAddName::showEvent(QShowEvent *event) {
  TFParentAdd::showEvent(event);
  DBEdit1->setFocus();
}
