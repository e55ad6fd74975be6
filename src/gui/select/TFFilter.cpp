#include "gui/select/TFFilter.h"

#include "common/LangConstants.h"
#include "select/FilterCommands.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFFilter::TFFilter(DataSet &fields, DataSet &operators, FilterCommands &commands, QWidget *parent)
    : TFParentForm(QStringLiteral("FFilter"), parent),
      choices_(FilterChoices::read(fields, operators, CurrentLang())), builder_(choices_.fieldNames),
      commands_(commands) {
  setWindowTitle(QStringLiteral("Фильтр"));
  gbxOptions = new QGroupBox(QStringLiteral("Условия"), this);
  gbxOptions->setObjectName(QStringLiteral("gbxOptions"));
  auto label = [this](const char *name, const QString &caption) {
    auto *l = new QLabel(caption, gbxOptions);
    l->setObjectName(QLatin1String(name));
    return l;
  };
  lbFilterField = label("lbFilterField", QStringLiteral("Поле"));
  lbFilterOper = label("lbFilterOper", QStringLiteral("Условие"));
  lbFilterValue = label("lbFilterValue", QStringLiteral("Значение"));

  QComboBox **fieldMembers[] = {&ComboBox1, &ComboBox2, &ComboBox3, &ComboBox4, &ComboBox5};
  QComboBox **operatorMembers[] = {&ComboBox6, &ComboBox7, &ComboBox8, &ComboBox9, &ComboBox10};
  QLineEdit **valueMembers[] = {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5};
  auto *rows = new QGridLayout;
  rows->addWidget(lbFilterField, 0, 0);
  rows->addWidget(lbFilterOper, 0, 1);
  rows->addWidget(lbFilterValue, 0, 2);
  for (int row = 0; row < FilterBuilder::rowCount; ++row) {
    auto *field = new QComboBox(gbxOptions);
    field->setObjectName(QStringLiteral("ComboBox%1").arg(row + 1));
    auto *oper = new QComboBox(gbxOptions);
    oper->setObjectName(QStringLiteral("ComboBox%1").arg(row + 6));
    auto *value = new QLineEdit(gbxOptions);
    value->setObjectName(QStringLiteral("Edit%1").arg(row + 1));
    *fieldMembers[row] = fieldLists_[row] = field;
    *operatorMembers[row] = operatorLists_[row] = oper;
    *valueMembers[row] = values_[row] = value;
    rows->addWidget(field, row + 1, 0);
    rows->addWidget(oper, row + 1, 1);
    rows->addWidget(value, row + 1, 2);
  }
  rows->setColumnStretch(2, 1);
  cbAnd = new QCheckBox(QStringLiteral("Все условия (И)"), gbxOptions);
  cbAnd->setObjectName(QStringLiteral("cbAnd"));
  cbOr = new QCheckBox(QStringLiteral("Любое условие (ИЛИ)"), gbxOptions);
  cbOr->setObjectName(QStringLiteral("cbOr"));
  auto *options = new QVBoxLayout(gbxOptions);
  options->addLayout(rows);
  options->addWidget(cbAnd);
  options->addWidget(cbOr);

  butApply = new QPushButton(QStringLiteral("Применить"), this);
  butApply->setObjectName(QStringLiteral("butApply"));
  butApply->setDefault(true);
  butSave = new QPushButton(QStringLiteral("Сохранить"), this);
  butSave->setObjectName(QStringLiteral("butSave"));
  butCancel = new QPushButton(QStringLiteral("Отмена"), this);
  butCancel->setObjectName(QStringLiteral("butCancel"));
  auto *buttons = new QHBoxLayout;
  buttons->addWidget(butSave);
  buttons->addStretch();
  buttons->addWidget(butApply);
  buttons->addWidget(butCancel);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(gbxOptions, 1);
  layout->addLayout(buttons);
  resize(520, 300);

  // The language file leaves the lists alone (their keys are empty), so they are filled after it.
  applyLanguage();
  for (int row = 0; row < FilterBuilder::rowCount; ++row) {
    FormCbx(fieldLists_[row]);
    FormCbxOper(operatorLists_[row]);
    connect(fieldLists_[row], &QComboBox::currentIndexChanged, this,
            [this, row](int position) { builder_.setField(row, position); });
    connect(operatorLists_[row], &QComboBox::currentIndexChanged, this,
            [this, row](int position) { builder_.setOperator(row, position); });
    connect(values_[row], &QLineEdit::textChanged, this,
            [this, row](const QString &text) { builder_.setValue(row, text); });
  }
  showConjunction();
  connect(cbAnd, &QCheckBox::clicked, this, &TFFilter::cbAndClick);
  connect(cbOr, &QCheckBox::clicked, this, &TFFilter::cbOrClick);
  connect(butApply, &QPushButton::clicked, this, &QDialog::accept);
  connect(butSave, &QPushButton::clicked, this, &TFFilter::butSaveClick);
  connect(butCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFFilter::FormCbx(QComboBox *list) const {
  list->clear();
  list->addItems(choices_.fieldCaptions); // an empty text still holds its position
  list->setCurrentIndex(-1);
}

void TFFilter::FormCbxOper(QComboBox *list) const {
  list->clear();
  list->addItems(choices_.operatorCaptions);
  list->setCurrentIndex(-1);
}

void TFFilter::showConjunction() {
  cbAnd->setChecked(builder_.andTicked());
  cbOr->setChecked(builder_.orTicked());
}

void TFFilter::cbAndClick() {
  builder_.cbAndClick(cbAnd->isChecked());
  showConjunction();
}

void TFFilter::cbOrClick() {
  builder_.cbOrClick(cbOr->isChecked());
  showConjunction();
}

void TFFilter::butSaveClick() {
  commands_.saveBuilt(FormFilter());
}

void TFFilter::done(int result) {
  const QString condition = FormFilter();
  TFParentForm::done(result);
  if (result == QDialog::Accepted)
    commands_.applyBuilt(condition);
}
