#include "gui/message/TFAddTemplate.h"

#include "compose/FormText.h"
#include "compose/Templates.h"
#include "data/DataSet.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

TFAddTemplate::TFAddTemplate(DataSet *templates, QPlainTextEdit *editor, QWidget *parent)
    : TFParentAdd(QStringLiteral("FAddTemplate"), templates, parent), editor_(editor) {
  setWindowTitle(QStringLiteral("Шаблон"));
  Label1 = new QLabel(QStringLiteral("Наименование"), gbxData);
  Label1->setObjectName(QStringLiteral("Label1"));
  DBEdit1 = new QLineEdit(gbxData);
  DBEdit1->setObjectName(QStringLiteral("DBEdit1"));
  if (DS) {
    if (const int length = DS->fieldLength(QStringLiteral("NAME")); length > 0)
      DBEdit1->setMaxLength(length);
    DBEdit1->setText(DS->value(QStringLiteral("NAME")).toString());
  }
  auto *layout = new QVBoxLayout(gbxData);
  layout->addWidget(Label1);
  layout->addWidget(DBEdit1);
  layout->addStretch();
  DBEdit1->setFocus();
  applyLanguage();
}

void TFAddTemplate::beforeConfirm() {
  if (!DS || !DS->isEditing())
    return;
  const QString text = editor_ ? editor_->toPlainText() : QString();
  requireCp1251Text(text);
  DS->setValue(QStringLiteral("NAME"), DBEdit1->text());
  DS->setValue(QStringLiteral("FTEXT"), templates::textForStore(text));
}
