#pragma once
// Everything the CSV import dialog does, without its widgets: read the chosen file, give
// the preview grid and the column choices, and on closing import into the current group and
// read the contact list again. The dialog shows preview(), fills every column choice with
// columnLetters(), mirrors columns() in cbx1..cbx7 and cbTitle, and calls finish() once.
//
//   load(FileName)          FormShow: read the file; a file that cannot be read shows its
//                           error, leaves the preview empty and discards the reader
//   preview()               the StringGrid's rows (at most ten lines, 26 columns)
//   columnLetters()         "A", "B", ... one per grid column
//   columns()               cbx1..cbx7 (A..G preselected where the grid has the column), cbTitle
//   finish(accepted)        FormClose: with OK import; in every case reopen the contact list
//                           and discard the reader. Import errors propagate afterwards.
#include "exchange/CsvPreviewModel.h"
#include "exchange/ImportColumns.h"

#include <QLocale>
#include <QString>

#include <memory>

class Attachment;
class DataSet;
class Dialogs;
class TwfCSV;
struct LangConstants;

class CsvImportSession {
public:
  // groups: the group list (its current row is the group imported into); contacts: the
  // contact list, read again when the dialog closes.
  CsvImportSession(Attachment &db, DataSet &groups, DataSet &contacts, Dialogs &dialogs,
                   const LangConstants &texts, const QLocale &locale = QLocale());
  ~CsvImportSession();
  CsvImportSession(const CsvImportSession &) = delete;
  CsvImportSession &operator=(const CsvImportSession &) = delete;

  // Reads fileName and sets the column choices to their opening state. Returns false when
  // the file cannot be read; its error has then been shown (title "Brisklane").
  bool load(const QString &fileName);
  // The reader while the dialog is open; null before load, after a failed load and after finish.
  const TwfCSV *reader() const { return reader_.get(); }

  CsvPreviewModel &preview() { return preview_; }
  QStringList columnLetters() const { return preview_.columnLetters(); }
  ImportColumns &columns() { return columns_; }
  const ImportColumns &columns() const { return columns_; }

  // With accepted, imports (nothing without a reader) into the group current now; returns
  // the number of contacts inserted. Then, also after a failure, reopens the contact list
  // and discards the reader.
  int finish(bool accepted);

private:
  Attachment &db_;
  DataSet &groups_;
  DataSet &contacts_;
  Dialogs &dialogs_;
  const LangConstants &texts_;
  QLocale locale_;
  std::unique_ptr<TwfCSV> reader_;
  CsvPreviewModel preview_;
  ImportColumns columns_ = ImportColumns::defaults(0);
};
