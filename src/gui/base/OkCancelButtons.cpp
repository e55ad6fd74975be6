#include "gui/base/OkCancelButtons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

OkCancelButtons addOkCancelButtons(QDialog *dialog, const QString &okText) {
  auto *ok = new QPushButton(okText, dialog);
  ok->setObjectName(QStringLiteral("butOK"));
  ok->setDefault(true);
  auto *cancel = new QPushButton(QStringLiteral("Отмена"), dialog);
  cancel->setObjectName(QStringLiteral("butCancel"));
  auto *box = new QDialogButtonBox(dialog);
  box->addButton(ok, QDialogButtonBox::AcceptRole);
  box->addButton(cancel, QDialogButtonBox::RejectRole);
  QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return {box, ok, cancel};
}
