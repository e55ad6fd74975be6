#include "gui/exchange/ExchangeController.h"

#include "common/Dialogs.h"
#include "common/LangConstants.h"
#include "data/TDModule.h"
#include "exchange/AddressBookImport.h"
#include "exchange/ContactExporter.h"
#include "exchange/FieldChoice.h"
#include "exchange/MailboxAccount.h"
#include "exchange/MailboxImport.h"
#include "gui/contacts/ContactsPage.h"
#include "gui/contacts/TFListVis.h"
#include "gui/exchange/TFImportCSV.h"

#include <exception>

const QString ExchangeController::csvFilter = QStringLiteral("Файлы CSV (*.csv)");

namespace {

const QString title = QStringLiteral("Brisklane");

QList<field_choice::Entry> entriesOf(const TFListVis &dialog) {
  const QStringList texts = dialog.entryTexts();
  const QList<bool> ticks = dialog.ticks();
  QList<field_choice::Entry> entries;
  for (int k = 0; k < texts.size(); ++k)
    entries.append({texts[k], ticks[k]});
  return entries;
}

// Shows the field choice in an export mode; with OK, work runs with the entries as the dialog
// closes. Its error is thrown here, after the modal loop, never through it.
void exportChosenFields(field_choice::Mode mode, DataSet &fields, QWidget *parent,
                        const std::function<void(const QList<field_choice::Entry> &)> &work) {
  TFListVis dialog(mode, fields, parent);
  std::exception_ptr failure;
  dialog.exportWork = [&](const TFListVis &closing) {
    try {
      work(entriesOf(closing));
    } catch (...) {
      failure = std::current_exception();
    }
  };
  dialog.exec();
  if (failure)
    std::rethrow_exception(failure);
}

} // namespace

ExchangeController::ExchangeController(ContactsPage &page, TDModule &module, Dialogs &dialogs,
                                       const LangConstants &texts, DocumentOpener openDocument,
                                       QObject *parent)
    : QObject(parent), page_(&page), module_(module), dialogs_(dialogs), texts_(texts),
      openDocument_(std::move(openDocument)) {
  setObjectName(QStringLiteral("ExchangeController"));
  connect(page.pmCSV2, &QAction::triggered, this, &ExchangeController::pmCSV2Click);
  connect(page.pmMSOutlook, &QAction::triggered, this, &ExchangeController::pmMSOutlookClick);
  connect(page.pmEmail, &QAction::triggered, this, &ExchangeController::pmEmailClick);
  connect(page.CSV1, &QAction::triggered, this, &ExchangeController::CSV1Click);
  connect(page.MSExcel1, &QAction::triggered, this, &ExchangeController::MSExcel1Click);
}

QWidget *ExchangeController::window() const {
  return page_ ? page_->window() : nullptr;
}

std::optional<int> ExchangeController::groupToFill() {
  DataSet &groups = module_.IBGroups;
  if (groups.isOpen() && groups.currentRow() >= 0) {
    const QVariant id = groups.value(QStringLiteral("ID"));
    if (!id.isNull())
      return id.toInt();
  }
  // Contacts stored without a group would show in no list.
  dialogs_.message(title, texts_.stNoGroup, Dialogs::Icon::Information);
  return std::nullopt;
}

void ExchangeController::refreshContacts() {
  module_.IBContacts.close();
  module_.IBContacts.open();
}

void ExchangeController::pmCSV2Click() {
  if (!groupToFill())
    return;
  const QString file = dialogs_.openFileName(QString(), csvFilter);
  if (file.isEmpty())
    return;
  TFImportCSV dialog(module_.KyvBase, module_.IBGroups, module_.IBContacts, dialogs_, texts_, QLocale(),
                     window());
  dialog.FileName = file;
  dialog.exec();
}

void ExchangeController::pmMSOutlookClick() {
  const std::optional<int> group = groupToFill();
  if (!group)
    return;
  AddressBookImport(module_.KyvBase, dialogs_, texts_).run(*group, [this] { refreshContacts(); });
}

void ExchangeController::pmEmailClick() {
  const std::optional<int> group = groupToFill();
  if (!group)
    return;
  MailboxImport(module_.KyvBase, dialogs_, texts_)
      .run(MailboxAccount::fromOptions(module_.IBOptions), *group, [this] { refreshContacts(); });
}

void ExchangeController::CSV1Click() {
  exportChosenFields(field_choice::Mode::Csv, module_.IBFields, window(),
                     [this](const QList<field_choice::Entry> &entries) {
                       ContactExporter(module_.KyvBase, module_.IBContacts, dialogs_, texts_).toCsv(entries);
                     });
}

void ExchangeController::MSExcel1Click() {
  exportChosenFields(
      field_choice::Mode::Spreadsheet, module_.IBFields, window(),
      [this](const QList<field_choice::Entry> &entries) {
        const QString path =
            ContactExporter(module_.KyvBase, module_.IBContacts, dialogs_, texts_).toSpreadsheet(entries);
        // The workbook is kept; without a program to show it the operator
        // still learns where it is.
        if (!openDocument_ || !openDocument_(path))
          dialogs_.message(title, texts_.stSheetNotOpened.arg(path), Dialogs::Icon::Information);
      });
}
