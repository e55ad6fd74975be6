#include "gui/base/DBEdit.h"
#include "gui/base/FieldNotices.h"
#include "gui/base/FollowValue.h"

#include "data/DataSet.h"

DBEdit::DBEdit(QWidget *parent) : QLineEdit(parent) {
  connect(this, &QLineEdit::textEdited, this, &DBEdit::userEdited);
}

void DBEdit::bind(DataSet *dataSet, const QString &field) {
  if (dataSet_)
    disconnect(dataSet_, nullptr, this, nullptr);
  dataSet_ = dataSet;
  field_ = field;
  if (dataSet_)
    followValue(dataSet_, this, &DBEdit::showValue);
  showValue();
}

void DBEdit::showValue() {
  const int length = dataSet_ ? dataSet_->fieldLength(field_) : 0;
  field_notices::limitLength(this, length);
  const QString text = dataSet_ ? dataSet_->value(field_).toString() : QString();
  // Rewriting the same text would move the cursor while the operator types.
  if (text != this->text())
    setText(text);
}

void DBEdit::userEdited(const QString &text) {
  if (!dataSet_)
    return;
  if (!dataSet_->isEditing()) {
    dataSet_->edit();
    // The after-edit event may have run a dialog that already ended the edit.
    if (!dataSet_->isEditing()) {
      showValue();
      return;
    }
  }
  dataSet_->setValue(field_, text);
}
