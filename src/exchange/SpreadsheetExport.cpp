#include "exchange/SpreadsheetExport.h"

#include "data/Query.h"
#include "data/Transaction.h"
#include "exchange/ContactListQuery.h"
#include "exchange/ExchangeError.h"
#include "exchange/ExportField.h"
#include "exchange/XlsxWorkbook.h"

#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>

namespace spreadsheet_export {

QString newFilePath(const QString &folder) {
  const QString base = folder.isEmpty() ? QDir::tempPath() : folder;
  QTemporaryDir dir(QDir(base).filePath(QStringLiteral("brisklane-XXXXXX")));
  if (!dir.isValid())
    throw ExportError(QStringLiteral("%1: %2").arg(base, dir.errorString()));
  dir.setAutoRemove(false);
  return dir.filePath(QStringLiteral("Contacts.xlsx"));
}

namespace {
void writeCell(XlsxWorkbook &book, int row, int column, const QVariant &value, ColumnType type) {
  if (!value.isValid() || value.isNull())
    return;
  switch (type) {
  case ColumnType::Integer:
  case ColumnType::BigInt:
  case ColumnType::Double:
    book.writeNumber(row, column, value.toDouble());
    break;
  case ColumnType::Date:
    book.writeDate(row, column, value.toDate());
    break;
  case ColumnType::Time:
    book.writeTime(row, column, value.toTime());
    break;
  case ColumnType::Timestamp: {
    const QDateTime dt = value.toDateTime();
    book.writeDateTime(row, column, dt.date(), dt.time());
    break;
  }
  default:
    book.writeText(row, column, value.toString());
  }
}
} // namespace

int write(Attachment &db, const ContactListQuery &contacts, const QList<ExportField> &fields,
          const QString &path, const QString &noFieldsText) {
  if (fields.isEmpty())
    throw ExportError(noFieldsText);
  Transaction transaction(db, Transaction::Ending::Commit);
  Query query(transaction, contacts.sql);
  query.setParams(contacts.params);
  query.open();
  const QList<Column> &columns = query.columns();

  XlsxWorkbook book(path);
  for (int k = 0; k < fields.size(); ++k)
    book.writeText(0, k, fields[k].title);
  int rows = 0;
  while (query.fetch()) {
    ++rows;
    const QList<QVariant> &row = query.row();
    for (int k = 0; k < fields.size(); ++k) {
      const int c = fields[k].column;
      if (c >= 0 && c < row.size())
        writeCell(book, rows, k, row[c], columns[c].type);
    }
  }
  book.close();
  return rows;
}

} // namespace spreadsheet_export
