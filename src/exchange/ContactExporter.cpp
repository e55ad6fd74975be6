#include "exchange/ContactExporter.h"

#include "common/Dialogs.h"
#include "common/LangConstants.h"
#include "exchange/ContactListQuery.h"
#include "exchange/CsvExport.h"
#include "exchange/ExchangeError.h"
#include "exchange/ExportField.h"
#include "common/Dialogs.h"
#include "exchange/SpreadsheetExport.h"

const QString ContactExporter::csvFilter = QStringLiteral("Файлы CSV (*.csv)");

ContactExporter::ContactExporter(Attachment &db, DataSet &contacts, Dialogs &dialogs,
                                 const LangConstants &texts, const QLocale &locale)
    : db_(db), contacts_(contacts), dialogs_(dialogs), texts_(texts), locale_(locale) {}

std::optional<QString> ContactExporter::toCsv(const QList<field_choice::Entry> &entries) {
  const QList<ExportField> fields = ExportField::ticked(entries);
  if (fields.isEmpty())
    throw ExportError(texts_.stNoExportFields);
  const QString chosen = dialogs_.saveFileName(QString(), csvFilter, QStringLiteral("csv"));
  if (chosen.isEmpty())
    return std::nullopt;
  const QString path = csv_export::fileNameFor(chosen);
  WaitCursor wait(dialogs_);
  csv_export::write(db_, ContactListQuery::of(contacts_), fields, path, locale_);
  return path;
}

QString ContactExporter::toSpreadsheet(const QList<field_choice::Entry> &entries, const QString &folder) {
  const QList<ExportField> fields = ExportField::ticked(entries);
  if (fields.isEmpty())
    throw ExportError(texts_.stNoExportFields);
  WaitCursor wait(dialogs_);
  const QString path = spreadsheet_export::newFilePath(folder);
  spreadsheet_export::write(db_, ContactListQuery::of(contacts_), fields, path, texts_.stNoExportFields);
  return path;
}
