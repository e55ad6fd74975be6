#include "gui/base/TFParentForm.h"

#include "common/LangConstants.h"
#include "gui/base/Language.h"

TFParentForm::TFParentForm(const QString &formName, QWidget *parent) : QDialog(parent) {
  setObjectName(formName);
  setModal(true);
}

void TFParentForm::applyLanguage() {
  SetLangForm(CurrentLang(), this);
  SetLang(CurrentLang(), this);
}
