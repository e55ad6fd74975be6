#include "gui/contacts/TFListVis.h"

#include "common/LangConstants.h"
#include "data/DataSet.h"
#include "data/Transaction.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QPushButton *button(QWidget *parent, const char *name, const QString &caption) {
  auto *b = new QPushButton(caption, parent);
  b->setObjectName(name);
  return b;
}
} // namespace

TFListVis::TFListVis(field_choice::Mode mode, DataSet &fields, QWidget *parent)
    : QDialog(parent), mode_(mode), fields_(fields) {
  setObjectName("FListVis");
  setWindowTitle("Список полей");
  setModal(true);
  CheckListBox = new QListWidget(this);
  CheckListBox->setObjectName("CheckListBox");
  Button4 = button(this, "Button4", "Выбрать все");
  Button3 = button(this, "Button3", "Снять все");
  Button2 = button(this, "Button2", "ОК");
  Button2->setDefault(true);
  Button1 = button(this, "Button1", "Отмена");
  connect(Button4, &QPushButton::clicked, this, &TFListVis::Button4Click);
  connect(Button3, &QPushButton::clicked, this, &TFListVis::Button3Click);
  connect(Button2, &QPushButton::clicked, this, &QDialog::accept);
  connect(Button1, &QPushButton::clicked, this, &QDialog::reject);

  auto *side = new QVBoxLayout;
  side->addWidget(Button4);
  side->addWidget(Button3);
  side->addStretch();
  side->addWidget(Button2);
  side->addWidget(Button1);
  auto *layout = new QHBoxLayout(this);
  layout->addWidget(CheckListBox, 1);
  layout->addLayout(side);
  resize(320, 300);

  FormCreate();
}

void TFListVis::FormCreate() {
  for (const field_choice::Entry &entry : field_choice::loadEntries(fields_, CurrentLang(), mode_)) {
    auto *item = new QListWidgetItem(entry.text, CheckListBox);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(entry.ticked ? Qt::Checked : Qt::Unchecked);
  }
}

QList<bool> TFListVis::ticks() const {
  QList<bool> out;
  for (int k = 0; k < CheckListBox->count(); ++k)
    out << (CheckListBox->item(k)->checkState() == Qt::Checked);
  return out;
}

void TFListVis::setTicked(int entry, bool ticked) {
  CheckListBox->item(entry)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

QStringList TFListVis::entryTexts() const {
  QStringList out;
  for (int k = 0; k < CheckListBox->count(); ++k)
    out << CheckListBox->item(k)->text();
  return out;
}

void TFListVis::setAllTicked(bool ticked) {
  for (int k = 0; k < CheckListBox->count(); ++k)
    setTicked(k, ticked);
}

void TFListVis::Button4Click() {
  setAllTicked(true);
}

void TFListVis::Button3Click() {
  setAllTicked(false);
}

void TFListVis::done(int result) {
  QDialog::done(result);
  if (result == QDialog::Accepted)
    FormClose();
}

void TFListVis::FormClose() {
  switch (mode_) {
  case field_choice::Mode::Visibility:
    field_choice::storeVisibility(fields_.transaction().attachment(), fields_, ticks(), showGridColumn);
    break;
  case field_choice::Mode::Csv:
  case field_choice::Mode::Spreadsheet:
    if (exportWork)
      exportWork(*this);
    break;
  }
}
