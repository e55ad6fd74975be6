#include "app/TFParentForm.h"

#include "app/Language.h"
#include "common/LangConstants.h"

TFParentForm::TFParentForm(const QString &formName, QWidget *parent) : QDialog(parent) {
  setObjectName(formName);
  setModal(true);
}

void TFParentForm::applyLanguage() {
  SetLangForm(CurrentLang(), this);
  SetLang(CurrentLang(), this);
}
