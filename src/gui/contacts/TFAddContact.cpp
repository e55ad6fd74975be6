#include "gui/contacts/TFAddContact.h"

#include "common/LangConstants.h"
#include "data/DataSet.h"
#include "gui/base/DBDateEdit.h"
#include "gui/base/DBEdit.h"
#include "gui/base/FieldNotices.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

TFAddContact::TFAddContact(DataSet *contacts, QWidget *parent)
    : TFParentAdd("FAddContact", contacts, parent) {
  setWindowTitle("Контакт");
  auto label = [this](const char *name, const QString &caption) {
    auto *l = new QLabel(caption, gbxData);
    l->setObjectName(name);
    return l;
  };
  auto edit = [this](const char *name, const QString &field) {
    auto *e = new DBEdit(gbxData);
    e->setObjectName(name);
    e->bind(DS, field);
    return e;
  };
  Label1 = label("Label1", "Имя");
  DBEdit1 = edit("DBEdit1", "NAME");
  Label2 = label("Label2", "Телефон");
  mkePhone = new QLineEdit(gbxData);
  mkePhone->setObjectName("mkePhone");
  Label3 = label("Label3", "Дата рождения");
  DBDateEdit1 = new DBDateEdit(gbxData);
  DBDateEdit1->setObjectName("DBDateEdit1");
  DBDateEdit1->bind(DS, "BIRTHDATE");
  Label7 = label("Label7", "Поле 1");
  DBEdit3 = edit("DBEdit3", "DFIELD");
  Label4 = label("Label4", "Поле 2");
  DBEdit4 = edit("DBEdit4", "EFIELD");
  Label5 = label("Label5", "Поле 3");
  DBEdit5 = edit("DBEdit5", "FFIELD");
  Label6 = label("Label6", "Поле 4");
  DBEdit6 = edit("DBEdit6", "GFIELD");

  auto *form = new QFormLayout(gbxData);
  const QList<std::pair<QLabel *, QWidget *>> rows{
      {Label1, DBEdit1}, {Label2, mkePhone}, {Label3, DBDateEdit1}, {Label7, DBEdit3},
      {Label4, DBEdit4}, {Label5, DBEdit5},  {Label6, DBEdit6}};
  QWidget *previous = nullptr;
  for (const auto &[l, control] : rows) {
    l->setBuddy(control);
    form->addRow(l, control);
    if (previous)
      setTabOrder(previous, control);
    previous = control;
  }
  setTabOrder(previous, butOK);
  setTabOrder(butOK, butCancel);
  resize(351, 300);
  applyLanguage();
}

void TFAddContact::showEvent(QShowEvent *event) {
  TFParentAdd::showEvent(event);
  if (!event->spontaneous())
    FormShow();
}

void TFAddContact::FormShow() {
  DBEdit1->setFocus();
  mkePhone->setText(DS ? DS->value("PHONE").toString() : QString());
}

void TFAddContact::beforeConfirm() {
  const int length = DS->fieldLength("PHONE");
  QString phone = mkePhone->text();
  if (length > 0 && phone.size() > length) {
    // Stored cut, as always, but never without a word; the edit shows what is stored.
    field_notices::tellCut(fieldCaption({"PHONE", mkePhone}), length, phone.size());
    phone.truncate(length);
    mkePhone->setText(phone);
  }
  DS->setValue("PHONE", phone);
}

QList<TFParentAdd::CheckedField> TFAddContact::checkedFields() const {
  return TFParentAdd::checkedFields() << CheckedField{"PHONE", mkePhone};
}

QString TFAddContact::fieldCaption(const CheckedField &field) const {
  // A contact field is known by its title in the grid.
  const QString title = langText(CurrentLang(), "Fields", "DS" + field.field);
  return title.isEmpty() ? TFParentAdd::fieldCaption(field) : title;
}
