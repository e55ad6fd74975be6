#pragma once
// What the field choice dialog does on OK in its export modes, without its widgets: the
// listed contacts (the contact list's rows as they stand: current group, filter in force,
// list order) with the ticked fields, to a CSV file or a new spreadsheet. With no field
// ticked either export shows nothing and throws ExportError(stNoExportFields).
//
//   toCsv(entries)          mode 1: asks for the file name; nothing when cancelled
//   toSpreadsheet(entries)  mode 2: returns the new workbook's path; the window then opens
//                           it with the desktop's spreadsheet program
#include "exchange/FieldChoice.h"

#include <QLocale>
#include <QString>

#include <optional>

class Attachment;
class DataSet;
class Dialogs;
struct LangConstants;

class ContactExporter {
public:
  // The save dialog's filter.
  static const QString csvFilter;

  // contacts: the contact list; texts: the [Constant] texts of the current language.
  ContactExporter(Attachment &db, DataSet &contacts, Dialogs &dialogs, const LangConstants &texts,
                  const QLocale &locale = QLocale());

  // Asks for the file name (filter csvFilter) and writes fileNameFor(name); returns the path
  // written, or nothing when the operator cancelled.
  std::optional<QString> toCsv(const QList<field_choice::Entry> &entries);
  // Writes a new workbook under folder (the temporary folder when empty); returns its path.
  QString toSpreadsheet(const QList<field_choice::Entry> &entries, const QString &folder = QString());

private:
  Attachment &db_;
  DataSet &contacts_;
  Dialogs &dialogs_;
  const LangConstants &texts_;
  QLocale locale_;
};
