#pragma once
// The spreadsheet export: a new .xlsx workbook whose first row holds the names of the
// ticked fields and each following row one listed contact, in list order, as typed cells:
// texts, numbers, dates and times (a NULL value leaves its cell empty). Three fields and ten
// contacts fill A1:C11; more than 26 fields go on past Z (AA, AB, ...). The workbook is not
// opened here: the caller shows it with the desktop's spreadsheet program.
#include <QList>
#include <QString>

class Attachment;
struct ContactListQuery;
struct ExportField;

namespace spreadsheet_export {

// A new, empty folder under folder (the system's temporary folder when empty) and the
// workbook's name in it: "<folder>/brisklane-XXXXXX/Contacts.xlsx". The folder is kept, so
// the spreadsheet program can open the file after the export has ended.
QString newFilePath(const QString &folder = QString());

// Writes the workbook to path and returns the number of contact rows. With no field throws
// ExportError(noFieldsText) and writes nothing; throws XlsxError when the workbook cannot be
// written and DatabaseError when the rows cannot be read, leaving no file either way.
int write(Attachment &db, const ContactListQuery &contacts, const QList<ExportField> &fields,
          const QString &path, const QString &noFieldsText);

} // namespace spreadsheet_export
