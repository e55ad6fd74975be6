#pragma once
// The import and export menus of the contacts page. The imports fill the group current in
// the group list and read the contact list again afterwards:
//   pmCSV2       a CSV file, through the import dialog
//   pmMSOutlook  the address book: a vCard file the operator chooses
//   pmEmail      the POP3 mailbox of the options row, one contact per message
// The exports take the contacts the contact list shows, with the fields ticked in the field
// choice dialog:
//   CSV1         a CSV file the operator names
//   MSExcel1     a new spreadsheet in a temporary folder, opened with the desktop's program
//
// With no current group the imports say so and ask nothing. Every other failure is thrown
// from the handler, once its dialog is closed, to the general error report.
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

class ContactsPage;
class Dialogs;
class TDModule;
struct LangConstants;

// Opens a document with the desktop's program for its kind; false when none could.
using DocumentOpener = std::function<bool(const QString &path)>;

class ExchangeController : public QObject {
  Q_OBJECT
public:
  // texts: the [Constant] texts of the current language, read at each use.
  ExchangeController(ContactsPage &page, TDModule &module, Dialogs &dialogs, const LangConstants &texts,
                     DocumentOpener openDocument, QObject *parent = nullptr);

  void pmCSV2Click();
  void pmMSOutlookClick();
  void pmEmailClick();
  void CSV1Click();
  void MSExcel1Click();

  // The open-file dialog's filter for the CSV import.
  static const QString csvFilter;

private:
  // The ID of the group current in the group list; none (after telling the operator) without one.
  std::optional<int> groupToFill();
  void refreshContacts();
  QWidget *window() const;

  QPointer<ContactsPage> page_;
  TDModule &module_;
  Dialogs &dialogs_;
  const LangConstants &texts_;
  DocumentOpener openDocument_;
};
