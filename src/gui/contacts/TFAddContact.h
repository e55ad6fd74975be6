#pragma once
// The add and edit dialog of a contact of IBContacts. The phone edit is not bound: the
// row's PHONE is copied into it when the dialog is shown and back, cut to the column's
// length (the operator is told), when the operator confirms. Its messages name a field by
// its title in [Fields].
#include "gui/base/TFParentAdd.h"

class DBDateEdit;
class DBEdit;
class QLabel;
class QLineEdit;

class TFAddContact : public TFParentAdd {
  Q_OBJECT
public:
  explicit TFAddContact(DataSet *contacts, QWidget *parent = nullptr);

  QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7;
  DBEdit *DBEdit1, *DBEdit3, *DBEdit4, *DBEdit5, *DBEdit6;
  QLineEdit *mkePhone;
  DBDateEdit *DBDateEdit1;

  // Runs when the dialog is shown: focus on the name, the row's phone into the phone edit.
  void FormShow();

protected:
  void showEvent(QShowEvent *event) override;
  void beforeConfirm() override;
  QList<CheckedField> checkedFields() const override;
  QString fieldCaption(const CheckedField &field) const override;
};
