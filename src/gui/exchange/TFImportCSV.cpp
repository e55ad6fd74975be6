#include "gui/exchange/TFImportCSV.h"

#include "gui/base/OkCancelButtons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

TFImportCSV::TFImportCSV(Attachment &db, DataSet &groups, DataSet &contacts, Dialogs &dialogs,
                         const LangConstants &texts, const QLocale &locale, QWidget *parent)
    : TFParentForm(QStringLiteral("FImportCSV"), parent),
      session_(db, groups, contacts, dialogs, texts, locale) {
  auto named = [](auto *widget, const QString &name) {
    widget->setObjectName(name);
    return widget;
  };

  StringGrid = named(new QTableView(this), QStringLiteral("StringGrid"));
  StringGrid->setModel(&session_.preview());
  StringGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  StringGrid->setSelectionMode(QAbstractItemView::NoSelection);
  StringGrid->verticalHeader()->hide(); // the title row is the only fixed part
  StringGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  StringGrid->setMinimumHeight(220);

  gbxImport = named(new QGroupBox(QStringLiteral("Колонки файла для полей контакта"), this),
                    QStringLiteral("gbxImport"));
  struct Row {
    QLabel *&label;
    const char *labelName;
    const char *caption;
    QComboBox *&choice;
    QToolButton *&clear;
  };
  const Row rows[] = {
      {lbImPhone, "lbImPhone", "Телефон", cbx1, sb1},       {lbImName, "lbImName", "Имя", cbx2, sb2},
      {lbImBirth, "lbImBirth", "Дата рождения", cbx3, sb3}, {lbImField1, "lbImField1", "Поле 1", cbx4, sb4},
      {lbImField2, "lbImField2", "Поле 2", cbx5, sb5},      {lbImField3, "lbImField3", "Поле 3", cbx6, sb6},
      {lbImField4, "lbImField4", "Поле 4", cbx7, sb7},
  };
  auto *grid = new QGridLayout(gbxImport);
  int n = 1;
  for (const Row &row : rows) {
    row.label =
        named(new QLabel(QString::fromUtf8(row.caption), gbxImport), QString::fromLatin1(row.labelName));
    row.choice = named(new QComboBox(gbxImport), QStringLiteral("cbx%1").arg(n));
    row.choice->setEditable(false); // a letter of the list or nothing
    row.clear = named(new QToolButton(gbxImport), QStringLiteral("sb%1").arg(n));
    row.clear->setText(QStringLiteral("×"));
    row.clear->setProperty("tag", n);
    connect(row.clear, &QToolButton::clicked, this, [this, n] { sb1Click(n); });
    choices_[n - 1] = row.choice;
    clearButtons_[n - 1] = row.clear;
    grid->addWidget(row.label, n - 1, 0);
    grid->addWidget(row.choice, n - 1, 1);
    grid->addWidget(row.clear, n - 1, 2);
    ++n;
  }
  grid->setColumnStretch(1, 1);

  cbTitle = named(new QCheckBox(QStringLiteral("Первая строка содержит заголовки"), this),
                  QStringLiteral("cbTitle"));
  cbTitle->setChecked(true);

  const OkCancelButtons foot = addOkCancelButtons(this, QStringLiteral("ОК"));
  butOK = foot.ok;
  butCancel = foot.cancel;
  auto *buttons = foot.box;

  auto *side = new QVBoxLayout;
  side->addWidget(gbxImport);
  side->addWidget(cbTitle);
  side->addStretch();
  auto *body = new QHBoxLayout;
  body->addWidget(StringGrid, 1);
  body->addLayout(side);
  auto *layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  layout->addWidget(buttons);
  resize(760, 340);
  applyLanguage();
}

TFImportCSV::~TFImportCSV() {
  StringGrid->setModel(nullptr);
}

ImportColumns TFImportCSV::columns() const {
  ImportColumns columns;
  for (int n = 1; n <= ImportColumns::fieldCount; ++n)
    columns.setChoice(n, columnChoice(n)->currentIndex());
  columns.titleLine = cbTitle->isChecked();
  return columns;
}

void TFImportCSV::showEvent(QShowEvent *event) {
  TFParentForm::showEvent(event);
  if (!shown_) {
    shown_ = true;
    FormShow();
  }
}

void TFImportCSV::FormShow() {
  session_.load(FileName); // a file that cannot be read has told its error and shows nothing
  const QStringList letters = session_.columnLetters();
  const ImportColumns &opening = session_.columns();
  for (int n = 1; n <= ImportColumns::fieldCount; ++n) {
    QComboBox *choice = columnChoice(n);
    choice->clear();
    choice->addItems(letters);
    choice->setCurrentIndex(opening.choice(n));
  }
  StringGrid->resizeColumnsToContents();
}

void TFImportCSV::sb1Click(int tag) {
  if (tag >= 1 && tag <= ImportColumns::fieldCount)
    columnChoice(tag)->setCurrentIndex(-1);
}

void TFImportCSV::FormClose(int result) {
  session_.columns() = columns();
  session_.finish(result == QDialog::Accepted);
}

void TFImportCSV::done(int result) {
  QDialog::done(result);
  if (closed_)
    return;
  closed_ = true;
  try {
    FormClose(result);
  } catch (...) {
    failure_ = std::current_exception();
  }
}

int TFImportCSV::exec() {
  const int result = TFParentForm::exec();
  if (failure_)
    std::rethrow_exception(std::exchange(failure_, nullptr));
  return result;
}
