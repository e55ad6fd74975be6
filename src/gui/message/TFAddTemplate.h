#pragma once
// The template save and rename dialog: one edit for the template's name. Confirming also
// stores the editor's whole current text as the template's text (cut to what FTEXT holds,
// and the operator told so), so renaming a template replaces its text as well. A text the
// code page cannot hold is refused and the dialog stays open.
#include "gui/base/TFParentAdd.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;

class TFAddTemplate : public TFParentAdd {
  Q_OBJECT
public:
  TFAddTemplate(DataSet *templates, QPlainTextEdit *editor, QWidget *parent = nullptr);

  QLabel *Label1;
  QLineEdit *DBEdit1; // NAME

protected:
  void beforeConfirm() override;
  QList<CheckedField> checkedFields() const override;

private:
  QPlainTextEdit *editor_;
};
