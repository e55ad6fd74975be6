#pragma once
// The CSV export: one line per listed contact, in list order, holding the ticked fields
// joined by ",", each line ended by CR LF, no title line, in the Windows Cyrillic code page.
// Texts as stored, integers in decimal, dates in the operator's short date format, times in
// the long time format without a zone; a NULL value is an empty field. A value holding a
// comma, a quotation mark or a line break is written between quotation marks with its own
// marks doubled (RFC 4180), so the file reads back field for field.
#include <QList>
#include <QLocale>
#include <QString>

class Attachment;
struct ContactListQuery;
struct ExportField;

namespace csv_export {

// The file name for the name chosen in the save dialog: ".csv" is added unless the name
// already ends with it (in any case).
QString fileNameFor(const QString &chosen);

// value as one CSV field: quoted only when it holds a comma, a quotation mark or a line break.
QString field(const QString &value);

// Writes the rows of contacts (its columns by position) to path, replacing a file of that
// name only once every line is written, and returns the number of lines. Throws
// ExportError when the file cannot be written (the file system's message) and
// DatabaseError when the rows cannot be read; an existing file then stays as it was.
int write(Attachment &db, const ContactListQuery &contacts, const QList<ExportField> &fields,
          const QString &path, const QLocale &locale = QLocale());

} // namespace csv_export
