#include "gui/contacts/TFAddGroup.h"

#include "gui/base/DBEdit.h"

#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

TFAddGroup::TFAddGroup(DataSet *groups, QWidget *parent) : TFParentAdd("FAddGroup", groups, parent) {
  setWindowTitle("Группа");
  Label1 = new QLabel("Наименование", gbxData);
  Label1->setObjectName("Label1");
  DBEdit1 = new DBEdit(gbxData);
  DBEdit1->setObjectName("DBEdit1");
  DBEdit1->bind(DS, "NAME");
  Label1->setBuddy(DBEdit1);
  auto *layout = new QVBoxLayout(gbxData);
  layout->addWidget(Label1);
  layout->addWidget(DBEdit1);
  layout->addStretch();
  applyLanguage();
}

void TFAddGroup::showEvent(QShowEvent *event) {
  TFParentAdd::showEvent(event);
  DBEdit1->setFocus();
}
