#pragma once
// The CSV import: one new contact per line of a read file, in the group given, with the
// columns chosen in the import dialog. The statement runs in a transaction of its own that
// commits at the end; a refused line (a value longer than its column, any other refusal of
// the database, or a text the Windows Cyrillic code page cannot hold) stops the import
// there with the error, and the lines before it stay stored.
//
// A birth date that does not read as a date in the operator's short date format (an empty
// text included) shows the message "<stFormatError>\r\n<stContact>: \"<name>\"" for that
// line and waits for the operator; the line is still inserted, with no birth date. A line
// with fewer fields than a chosen column gets NULL in that contact field.
#include <QLocale>
#include <QString>
#include <QVariant>

class Attachment;
class Dialogs;
class TwfCSV;
struct ImportColumns;
struct LangConstants;

class CsvImporter {
public:
  static const QString insertSql;

  // texts: the [Constant] texts of the current language (stFormatError, stContact,
  // stCsvCharset, stNoGroup). locale: the operator's regional settings.
  CsvImporter(Attachment &db, Dialogs &dialogs, const LangConstants &texts,
              const QLocale &locale = QLocale());

  // Imports reader's lines, from line 1 when columns.titleLine, else from line 0, into the
  // group with ID group; returns the number of contacts inserted. A NULL group throws
  // CsvImportError (stNoGroup) and inserts nothing. Shows the wait cursor meanwhile.
  int run(const TwfCSV &reader, const ImportColumns &columns, const QVariant &group);

  // The birth-date message for the contact named name.
  QString dateMessage(const QString &name) const;

private:
  Attachment &db_;
  Dialogs &dialogs_;
  const LangConstants &texts_;
  QLocale locale_;
};
