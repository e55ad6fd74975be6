#include "gui/message/MessageController.h"

#include "common/Dialogs.h"
#include "common/LangConstants.h"
#include "compose/FieldPlaceholders.h"
#include "compose/FormText.h"
#include "compose/MessageCount.h"
#include "compose/Templates.h"
#include "compose/Translit.h"
#include "data/TDModule.h"
#include "gui/base/RowDialogs.h"
#include "gui/base/Widgets.h"
#include "gui/message/ChunkedTextFill.h"
#include "gui/message/MessagePage.h"
#include "gui/message/PreviewPage.h"
#include "gui/message/TFAddTemplate.h"
#include "gui/message/TFListTemplate.h"
#include "gui/message/TemplateEditorStatus.h"
#include "select/RecipientSelection.h"

#include <QBoxLayout>
#include <QLabel>
#include <QMenu>

MessageController::MessageController(MessagePage *page, PreviewPage *preview, TDModule *data,
                                     RowDialogs *rowDialogs, const RecipientSelection &selection,
                                     QObject *parent)
    : QObject(parent), page_(page), preview_(preview), data_(data), rowDialogs_(rowDialogs),
      selection_(selection) {
  auto *count = new QLabel(page_);
  count->setObjectName(QStringLiteral("lbCount"));
  // Beside the editor's caption, before the menu buttons.
  if (auto *top = qobject_cast<QBoxLayout *>(page_->layout()); top && top->count() > 0)
    if (auto *tools = qobject_cast<QBoxLayout *>(top->itemAt(0)->layout()))
      tools->insertWidget(1, count);
  status_ = new TemplateEditorStatus(page_->mmTemplate, page_->cbTranslit, count, this);
  fill_ = new ChunkedTextFill(preview_->mmPreviewAll, this);
  connect(fill_, &ChunkedTextFill::finished, this, &MessageController::previewFilled);

  connect(page_->PMTemplate, &QMenu::aboutToShow, this, &MessageController::PMTemplatePopup);
  connect(page_->butPrRef, &QPushButton::clicked, this, &MessageController::butPrRefClick);
  connect(page_->butCount, &QPushButton::clicked, this, &MessageController::butCountClick);
  connect(page_->cbTranslit, &QCheckBox::clicked, this, &MessageController::cbTranslitClick);
  connect(preview_, &NotifyingPage::shown, this, &MessageController::TS3Show);
  // The language, and with it the table, may have changed while the page was away.
  connect(page_, &NotifyingPage::shown, this, &MessageController::showTranslitAvailability);
  showTranslitAvailability();

  if (data_ && rowDialogs_)
    rowDialogs_->setDialog(data_->IBTemplate, [this](QWidget *parent) {
      return new TFAddTemplate(&data_->IBTemplate, page_->mmTemplate, parent);
    });
}

MessageController::~MessageController() {
  // The dialog takes its text from this page's editor.
  if (data_ && rowDialogs_)
    rowDialogs_->setDialog(data_->IBTemplate, {});
}

TDModule &MessageController::data() const {
  if (!data_)
    throw AppError(QStringLiteral("The contact database is not open."));
  return *data_;
}

void MessageController::buildFieldMenu() {
  if (!data_ || !data_->KyvBase.isOpen())
    return;
  const FieldPlaceholders fields = readFieldPlaceholders(data_->KyvBase);
  placeholderTable() = fields.table;
  page_->PMFields->clear();
  for (const FieldMenuEntry &entry : fields.menu) {
    auto *item = new MenuItem(entry.name, langText(CurrentLang(), QStringLiteral("Fields"), entry.captionKey),
                              page_->PMFields);
    item->setProperty("tag", entry.tag);
    connect(item, &QAction::triggered, this, [this, item] { DymanicClick(item); });
    page_->PMFields->addAction(item);
  }
}

void MessageController::DymanicClick(QAction *item) {
  QPlainTextEdit *editor = page_->mmTemplate;
  if (!editor->hasFocus())
    return;
  const int position = item->property("tag").toInt() - 1;
  for (const TNameValue &entry : placeholderTable())
    if (entry.Value == position) {
      editor->textCursor().insertText(entry.Name); // replaces the selection, if any
      return;
    }
}

void MessageController::PMTemplatePopup() {
  QMenu *menu = page_->PMTemplate;
  const QString saveCaption = langText(CurrentLang(), QStringLiteral("TMenuItem"), QStringLiteral("pmSave"));
  const QString editCaption = langText(CurrentLang(), QStringLiteral("TMenuItem"), QStringLiteral("pmEdit"));
  menu->clear(); // deletes the items it owns

  QList<templates::Saved> saved;
  if (data_ && data_->IBTemplate.isOpen()) {
    DataSet &set = data_->IBTemplate;
    set.fetchAll();
    const int id = set.fieldIndex(QStringLiteral("ID")), name = set.fieldIndex(QStringLiteral("NAME"));
    for (int row = 0; row < set.rowCount(); ++row)
      saved.append({set.value(row, id).toInt(), set.value(row, name).toString()});
  }
  for (const templates::MenuItem &entry : templates::menuItems(saved, saveCaption, editCaption)) {
    auto *item = new MenuItem(entry.name, entry.caption, menu);
    item->setProperty("tag", entry.tag);
    switch (entry.kind) {
    case templates::MenuItem::Template:
      connect(item, &QAction::triggered, this, [this, item] { TemplateClick(item); });
      break;
    case templates::MenuItem::Separator:
      item->setSeparator(true);
      break;
    case templates::MenuItem::Save:
      connect(item, &QAction::triggered, this, &MessageController::N4Click);
      break;
    case templates::MenuItem::Edit:
      connect(item, &QAction::triggered, this, &MessageController::N5Click);
      break;
    }
    menu->addAction(item);
  }
}

void MessageController::TemplateClick(QAction *item) {
  const QString text = templates::loadText(data().IBTrDef, item->property("tag").toInt());
  page_->mmTemplate->setPlainText(text);
}

void MessageController::N4Click() {
  // Refused before the dialog opens, so the operator is not asked for a name in vain.
  requireCp1251Text(page_->mmTemplate->toPlainText());
  DataSet &set = data().IBTemplate;
  set.append(); // its after-insert rule opens the save dialog
}

void MessageController::N5Click() {
  TFListTemplate dialog(QStringLiteral("FListTemplate"), &data().IBTemplate, page_->window());
  dialog.exec();
}

RecipientScope MessageController::scope() const {
  return selection_.scope();
}

QString MessageController::recipientQueryText() const {
  return recipientQuery(GetListFields(data().KyvBase), scope(), selection_.currentFilter());
}

void MessageController::showTranslitAvailability() const {
  QCheckBox *box = page_->cbTranslit;
  const TranslitTable &table = translitTable();
  if (!table.usable() && box->isChecked())
    box->setChecked(false);
  box->setEnabled(table.usable());
  box->setToolTip(table.refusal());
  box->setStatusTip(table.refusal());
  status_->refresh(); // the count follows the table in force
}

const TranslitTable *MessageController::translitInUse() const {
  if (!page_->cbTranslit->isChecked())
    return nullptr;
  const TranslitTable &table = translitTable();
  if (!table.usable()) {
    // The table was refused since the box was ticked: nothing is made from it.
    showTranslitAvailability();
    throw TranslitFileError(table.refusal());
  }
  return &table;
}

TMasSMS MessageController::generate(const QString &query) const {
  return FormText(data().KyvBase, page_->mmTemplate->toPlainText(), query, placeholderTable(),
                  translitInUse());
}

bool MessageController::previewFilling() const {
  return fill_->running();
}

void MessageController::TS3Show() {
  if (page_->mmTemplate->toPlainText().isEmpty())
    return;
  WaitCursor wait;
  TDModule &dm = data();
  // The grid shows the database as it is now.
  dm.IBContacts.close();
  dm.IBContacts.open();
  const TMasSMS messages = generate(recipientQueryText());
  showPreviewLines(messages);
}

void MessageController::showPreviewLines(const TMasSMS &messages) {
  // The messages are already transliterated where the box asks for it.
  QStringList lines;
  lines.reserve(messages.size());
  for (const TRecSMS &m : messages)
    lines.append(m.Text);
  fill_->start(std::move(lines));
}

void MessageController::butPrRefClick() {
  const TMasSMS messages = generate(firstContactQuery(GetListFields(data().KyvBase)));
  if (messages.isEmpty())
    return;
  page_->mmPreview->setPlainText(messages.first().Text);
}

void MessageController::butCountClick() {
  WaitCursor wait;
  const bool translit = page_->cbTranslit->isChecked();
  const TMasSMS messages = generate(countQuery(GetListFields(data().KyvBase), scope()));
  const qint64 total = message_count::totalParts(messages, translit);
  Dialogs::instance().message(QStringLiteral("Brisklane"),
                              LangConst().stCountSMS + u' ' + QString::number(total),
                              Dialogs::Icon::Information);
}

void MessageController::cbTranslitClick() {
  QPlainTextEdit *sample = page_->mmPreview;
  if (page_->cbTranslit->isChecked()) {
    sample->setPlainText(translitInUse()->apply(sample->toPlainText()));
    return;
  }
  if (sample->toPlainText().isEmpty())
    return;
  const TMasSMS messages =
      FormText(data().KyvBase, page_->mmTemplate->toPlainText(),
               firstContactQuery(GetListFields(data().KyvBase)), placeholderTable(), nullptr);
  if (!messages.isEmpty())
    sample->setPlainText(messages.first().Text);
}
