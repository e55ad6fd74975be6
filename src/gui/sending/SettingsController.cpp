#include "gui/sending/SettingsController.h"

#include "common/AppPaths.h"
#include "common/Cp1251.h"
#include "common/Dialogs.h"
#include "common/LangConstants.h"
#include "data/TDModule.h"
#include "gui/base/FieldNotices.h"
#include "gui/base/Language.h"
#include "gui/sending/SendingPage.h"

#include <QComboBox>
#include <QRegularExpressionValidator>
#include <QScopeGuard>

namespace {
// The pause takes the characters of an integer only: an optional sign and digits, few
// enough that any value fits the column.
const QRegularExpression pauseCharacters(QStringLiteral("[+-]?[0-9]{0,9}"));
} // namespace

SettingsController::SettingsController(SendingPage *page, QWidget *window, TDModule *data, QObject *parent)
    : QObject(parent), page_(page), window_(window), data_(data) {
  if (data_)
    row_ = std::make_unique<OptionsRow>(data_->IBOptions);
  page_->DBEdit1->setValidator(new QRegularExpressionValidator(pauseCharacters, page_->DBEdit1));

  connect(page_, &NotifyingPage::shown, this, &SettingsController::TS4Show);
  connect(page_, &NotifyingPage::hidden, this, &SettingsController::TS4Hide);
  connect(page_->TSOptions, &NotifyingPage::shown, this, &SettingsController::TSOptionsShow);
  connect(page_->TSOptions, &NotifyingPage::hidden, this, &SettingsController::TSOptionsHide);
  connect(page_->TSInter, &NotifyingPage::shown, this, &SettingsController::TSInterShow);
  connect(page_->butSaveSh, &QPushButton::clicked, this, &SettingsController::butSaveShClick);
  connect(page_->butSave, &QPushButton::clicked, this, &SettingsController::butSaveClick);
  connect(page_->sbLogFile, &QToolButton::clicked, this, &SettingsController::sbLogFileClick);
  connect(page_->butApply, &QPushButton::clicked, this, &SettingsController::butApplyClick);
  connect(page_->dbcbLog, &QCheckBox::toggled, this, &SettingsController::dbcbLogClick);
  connect(page_->dbcbLog, &QCheckBox::clicked, this,
          [this](bool ticked) { edited(QStringLiteral("GSMLOG"), ticked ? 1 : 0); });
  connect(page_->DBEdit1, &QLineEdit::textEdited, this, [this](const QString &text) {
    bool ok = false;
    const int pause = text.toInt(&ok);
    edited(QStringLiteral("GSMTIME"), ok ? QVariant(pause) : QVariant());
  });
  const std::pair<QLineEdit *, QString> textFields[] = {
      {page_->DBEdit4, "EMLOGIN"}, {page_->DBEdit5, "EMPASS"}, {page_->DBEdit6, "EMPOP"}};
  for (const auto &[edit, field] : textFields)
    connect(edit, &QLineEdit::textEdited, this, [this, field](const QString &text) { edited(field, text); });

  if (data_) {
    DataSet &options = data_->IBOptions;
    connect(&options, &DataSet::reset, this, &SettingsController::showRow);
    connect(&options, &DataSet::stateChanged, this, &SettingsController::showRow);
    connect(&options, &DataSet::currentRowChanged, this, &SettingsController::showRow);
    connect(&options, &DataSet::rowChanged, this, &SettingsController::showRow);
    showRow();
  }
}

OptionsRow &SettingsController::row() {
  if (!row_)
    throw AppError(QStringLiteral("The contact database is not open."));
  return *row_;
}

void SettingsController::showRow() {
  if (showing_ || !row_)
    return;
  showing_ = true;
  const auto done = qScopeGuard([this] { showing_ = false; });
  const DataSet &options = row_->dataSet();
  auto text = [&](const char *field) { return options.value(QString::fromLatin1(field)).toString(); };
  page_->dbcbLog->setChecked(options.value(QStringLiteral("GSMLOG")).toInt() == 1);
  page_->dbeLogFile->setText(text("LOGFILE"));
  page_->DBEdit1->setText(text("GSMTIME"));
  page_->DBEdit4->setText(text("EMLOGIN"));
  page_->DBEdit5->setText(text("EMPASS"));
  page_->DBEdit6->setText(text("EMPOP"));
  const std::pair<QLineEdit *, const char *> limits[] = {
      {page_->DBEdit4, "EMLOGIN"}, {page_->DBEdit5, "EMPASS"}, {page_->DBEdit6, "EMPOP"}};
  for (const auto &[edit, field] : limits)
    if (const int length = options.isOpen() ? options.fieldLength(QString::fromLatin1(field)) : 0; length > 0)
      field_notices::limitLength(edit, length);
  dbcbLogClick();
}

void SettingsController::edited(const QString &field, const QVariant &value) {
  if (showing_ || !row_)
    return;
  DataSet &options = row_->dataSet();
  if (!options.isOpen())
    return;
  // The operator's text stays as typed: neither entering edit mode nor the new value (an
  // unfinished "-" reads as empty) is shown back into the controls.
  showing_ = true;
  const auto done = qScopeGuard([this] { showing_ = false; });
  if (!options.isEditing())
    options.edit();
  options.setValue(field, value);
  refused_.clear();
}

bool SettingsController::refuseUnstorableRow() {
  if (!row_ || !row_->pending())
    return false;
  const DataSet &options = row_->dataSet();
  const std::pair<const char *, QString> fields[] = {
      {"EMLOGIN", field_notices::captionOf(page_->lbEmLogin)},
      {"EMPASS", field_notices::captionOf(page_->lbEmPass)},
      {"EMPOP", field_notices::captionOf(page_->lbEmPOP)},
      {"LOGFILE", page_->dbcbLog->text()},
  };
  for (const auto &[field, caption] : fields) {
    const QString text = options.value(QString::fromLatin1(field)).toString();
    if (cp1251::canEncode(text))
      continue;
    const QString refusal = QString::fromLatin1(field) + u'\n' + text;
    if (refusal != refused_)
      field_notices::refuseUnstorable(caption, text);
    refused_ = refusal;
    return true;
  }
  refused_.clear();
  return false;
}

void SettingsController::TS4Show() {
  if (row_)
    row_->enterEdit();
}

void SettingsController::TS4Hide() {
  if (row_ && !refuseUnstorableRow())
    row_->leave();
}

void SettingsController::TSOptionsShow() {
  TS4Show();
}

void SettingsController::TSOptionsHide() {
  TS4Hide();
}

void SettingsController::TSInterShow() {
  if (!page_->edLoginSh->text().isEmpty() || !page_->edPassSh->text().isEmpty() || !row_)
    return;
  const DataSet &options = row_->dataSet();
  page_->edLoginSh->setText(options.value(QStringLiteral("SHLOGIN")).toString());
  page_->edPassSh->setText(options.value(QStringLiteral("SHPASSWORD")).toString());
}

void SettingsController::butSaveShClick() {
  // Refused before the row is touched: the edits keep what was typed.
  if (field_notices::refuseUnstorable(field_notices::captionOf(page_->lbShLogin), page_->edLoginSh->text()) ||
      field_notices::refuseUnstorable(field_notices::captionOf(page_->lbShPass), page_->edPassSh->text()))
    return;
  row().saveGateway(page_->edLoginSh->text(), page_->edPassSh->text());
}

void SettingsController::butSaveClick() {
  if (!row().pending())
    return;
  refused_.clear(); // the operator asked: tell again
  if (refuseUnstorableRow())
    return;
  if (row().save())
    Dialogs::instance().message(QStringLiteral("Brisklane"), LangConst().stSuccOp,
                                Dialogs::Icon::Information);
}

void SettingsController::sbLogFileClick() {
  // No default suffix: ".txt" is appended to whatever name is chosen.
  const QString chosen =
      Dialogs::instance().saveFileName(QString(), QStringLiteral("Текстовый файл (*.txt)"), QString());
  if (chosen.isEmpty())
    return;
  if (field_notices::refuseUnstorable(page_->dbcbLog->text(), chosen + QStringLiteral(".txt")))
    return;
  row().chooseLogFile(chosen);
}

void SettingsController::dbcbLogClick() {
  page_->sbLogFile->setEnabled(page_->dbcbLog->isChecked());
}

void SettingsController::butApplyClick() {
  CurrentLang() = page_->cbxLang->currentIndex() >= 0 ? page_->cbxLang->currentText() : QString();
  SetLang(CurrentLang(), window_, LanguageReport::Always);
  OptionsRow::storeLanguage(app_paths::besideExecutable(QStringLiteral("kyv.ini")), CurrentLang());
}
