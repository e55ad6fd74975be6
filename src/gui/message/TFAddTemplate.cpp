#include "gui/message/TFAddTemplate.h"

#include "common/Dialogs.h"
#include "common/Error.h"
#include "common/LangConstants.h"
#include "compose/FormText.h"
#include "compose/Templates.h"
#include "data/DataSet.h"
#include "gui/base/FieldNotices.h"

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
      field_notices::limitLength(DBEdit1, length);
    DBEdit1->setText(DS->value(QStringLiteral("NAME")).toString());
  }
  Label1->setBuddy(DBEdit1);
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
  try {
    requireCp1251Text(text);
  } catch (const TemplateTextError &error) {
    Dialogs::instance().message(QStringLiteral("Brisklane"), error.text(), Dialogs::Icon::Warning);
    throw SilentAbort();
  }
  DS->setValue(QStringLiteral("NAME"), DBEdit1->text());
  const QString stored = templates::textForStore(text);
  if (stored.size() < text.size()) {
    // Stored cut, as always, but the operator hears of it now, not when messages fail.
    // The editor is known by the caption of its label on the message page.
    const QString caption = field_notices::plainCaption(
        langText(CurrentLang(), QStringLiteral("TLabel"), QStringLiteral("lbTempl")));
    field_notices::tellCut(caption.isEmpty() ? windowTitle() : caption, stored.size(), text.size());
  }
  DS->setValue(QStringLiteral("FTEXT"), stored);
}

QList<TFParentAdd::CheckedField> TFAddTemplate::checkedFields() const {
  return {{QStringLiteral("NAME"), DBEdit1}};
}
