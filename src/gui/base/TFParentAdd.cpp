#include "gui/base/TFParentAdd.h"

#include "common/Dialogs.h"
#include "common/Error.h"
#include "data/DataSet.h"
#include "gui/base/DBEdit.h"
#include "gui/base/FieldNotices.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

TFParentAdd::TFParentAdd(const QString &formName, DataSet *dataSource, QWidget *parent)
    : TFParentForm(formName, parent), DS(dataSource) {
  gbxData = new QGroupBox(this);
  gbxData->setObjectName("gbxData");
  butOK = new QPushButton("ОК", this);
  butOK->setObjectName("butOK");
  butOK->setDefault(true);
  butCancel = new QPushButton("Отмена", this);
  butCancel->setObjectName("butCancel");
  connect(butOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(butCancel, &QPushButton::clicked, this, &QDialog::reject);

  auto *buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(butOK);
  buttons->addWidget(butCancel);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(gbxData, 1);
  layout->addLayout(buttons);
  resize(351, 168);
}

void TFParentAdd::done(int result) {
  if (DS) {
    if (result == QDialog::Accepted) {
      if (!confirmRow())
        return; // the closing is refused: the operator may correct the row or cancel
    } else {
      DS->cancel();
    }
  }
  TFParentForm::done(result);
}

QList<TFParentAdd::CheckedField> TFParentAdd::checkedFields() const {
  QList<CheckedField> fields;
  for (DBEdit *edit : findChildren<DBEdit *>())
    if (edit->dataSet() == DS && !edit->field().isEmpty())
      fields.append({edit->field(), edit});
  return fields;
}

QString TFParentAdd::fieldCaption(const CheckedField &field) const {
  return field_notices::captionOf(field.control);
}

bool TFParentAdd::checkFields() const {
  if (!DS->isEditing())
    return true;
  for (const CheckedField &checked : checkedFields()) {
    const int index = DS->fieldIndex(checked.field);
    if (index < 0)
      continue;
    const QString text = DS->value(index).toString();
    const bool unstorable = field_notices::refuseUnstorable(fieldCaption(checked), text);
    const bool missing = !unstorable && text.isEmpty() && !DS->fields()[index].nullable;
    if (missing)
      field_notices::requireFilled(fieldCaption(checked));
    if (unstorable || missing) {
      checked.control->setFocus(); // where the operator corrects it
      return false;
    }
  }
  return true;
}

bool TFParentAdd::confirmRow() {
  try {
    beforeConfirm();
    if (!checkFields())
      return false;
    if (DS->isEditing())
      DS->post();
    DS->transaction().commitRetaining();
    DS->refreshCurrentRow();
    return true;
  } catch (const AppError &error) {
    Dialogs::instance().message(QStringLiteral("Brisklane"), error.className() + u'\n' + error.text(),
                                Dialogs::Icon::Information);
  } catch (const SilentAbort &) {
    // a rule before the post refused it and has said why, or needed no word
  }
  return false;
}
