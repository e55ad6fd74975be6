#include "gui/message/TFListTemplate.h"

#include "common/LangConstants.h"
#include "data/DataSet.h"
#include "data/DataSetModel.h"
#include "gui/base/ErrorReport.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TFListTemplate::TFListTemplate(const QString &formName, DataSet *rows, QWidget *parent)
    : TFParentForm(formName, parent), rows_(rows), model_(new DataSetModel(rows, this)) {
  DBTemplGrid = new QTableView(this);
  DBTemplGrid->setObjectName(QStringLiteral("DBTemplGrid"));
  DBTemplGrid->setModel(model_);
  DBTemplGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  DBTemplGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
  DBTemplGrid->setSelectionMode(QAbstractItemView::SingleSelection);
  DBTemplGrid->verticalHeader()->hide();
  DBTemplGrid->horizontalHeader()->setStretchLastSection(true);
  // Only the name is shown.
  for (int c = 0; c < model_->columnCount(); ++c)
    DBTemplGrid->setColumnHidden(c, c != model_->columnOf(QStringLiteral("NAME")));
  model_->setHeaderTitle(QStringLiteral("NAME"),
                         langText(CurrentLang(), QStringLiteral("Other"), QStringLiteral("FieldTplName")));
  model_->attachSelectionModel(DBTemplGrid->selectionModel());
  connect(model_, &DataSetModel::errorOccurred, this, [](const QString &, const QString &text) {
    try {
      throw AppError(text);
    } catch (...) {
      reportCurrentException();
    }
  });

  butTplRename = new QPushButton(QStringLiteral("Переименовать"), this);
  butTplRename->setObjectName(QStringLiteral("butTplRename"));
  butTplDel = new QPushButton(QStringLiteral("Удалить"), this);
  butTplDel->setObjectName(QStringLiteral("butTplDel"));
  butTplClose = new QPushButton(QStringLiteral("Закрыть"), this);
  butTplClose->setObjectName(QStringLiteral("butTplClose"));
  connect(butTplRename, &QPushButton::clicked, this, &TFListTemplate::butTplRenameClick);
  connect(butTplDel, &QPushButton::clicked, this, &TFListTemplate::butTplDelClick);
  connect(butTplClose, &QPushButton::clicked, this, &QDialog::accept);

  auto *buttons = new QVBoxLayout;
  buttons->addWidget(butTplRename);
  buttons->addWidget(butTplDel);
  buttons->addStretch();
  buttons->addWidget(butTplClose);
  auto *layout = new QHBoxLayout(this);
  layout->addWidget(DBTemplGrid, 1);
  layout->addLayout(buttons);
  resize(420, 300);
  applyLanguage();
}

void TFListTemplate::butTplRenameClick() {
  if (rows_ && rows_->isOpen() && rows_->currentRow() >= 0)
    rows_->edit(); // its after-edit rule opens the name dialog
}

void TFListTemplate::butTplDelClick() {
  if (rows_ && rows_->isOpen() && rows_->currentRow() >= 0)
    rows_->remove(); // its before-delete rule asks first
}
