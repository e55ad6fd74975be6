#pragma once
// The CSV import dialog: the first lines of the chosen file in a preview grid, a column
// choice per contact field with its clear button, and the title line tick. Showing it reads
// FileName; closing it imports on OK into the group current then, and in every case reads the
// contact list again. The work itself is CsvImportSession's.
//
// The import runs once the dialog is closed, from within its closing; an error of it (a
// refused line, a text the code page cannot hold) is kept and thrown from exec(), once the
// modal loop has ended, so it reaches the caller (the general error report) and never
// travels through the event loop.
#include "exchange/CsvImportSession.h"
#include "exchange/ImportColumns.h"
#include "gui/base/TFParentForm.h"

#include <QLocale>
#include <QString>

#include <array>
#include <exception>

class Attachment;
class DataSet;
class Dialogs;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTableView;
class QToolButton;
struct LangConstants;

class TFImportCSV : public TFParentForm {
  Q_OBJECT
public:
  // groups: the group list, whose current row is the group imported into; contacts: the
  // contact list, read again when the dialog closes.
  TFImportCSV(Attachment &db, DataSet &groups, DataSet &contacts, Dialogs &dialogs,
              const LangConstants &texts, const QLocale &locale = QLocale(), QWidget *parent = nullptr);
  ~TFImportCSV() override;

  QGroupBox *gbxImport;
  QLabel *lbImPhone, *lbImName, *lbImBirth, *lbImField1, *lbImField2, *lbImField3, *lbImField4;
  QComboBox *cbx1, *cbx2, *cbx3, *cbx4, *cbx5, *cbx6, *cbx7;
  QToolButton *sb1, *sb2, *sb3, *sb4, *sb5, *sb6, *sb7;
  QCheckBox *cbTitle;
  QTableView *StringGrid;
  QPushButton *butOK, *butCancel;

  // The file chosen before the dialog opens.
  QString FileName;

  // The column choice cbx<n> and the clear button sb<n>, n from 1 to 7.
  QComboBox *columnChoice(int n) const { return choices_.at(n - 1); }
  QToolButton *clearButton(int n) const { return clearButtons_.at(n - 1); }
  // The choices as the dialog shows them now.
  ImportColumns columns() const;
  CsvImportSession &session() { return session_; }

  // Reads FileName and fills the grid and the column choices; runs when the dialog is first shown.
  void FormShow();
  // The shared handler of the clear buttons: button n (its tag) clears cbx<n>.
  void sb1Click(int tag);
  // With OK, imports; in every case reads the contact list again and discards the reader.
  // Throws what the import threw, after that.
  void FormClose(int result);

  // Shows the dialog modally; throws an error of the import once it is closed.
  int exec() override;
  void done(int result) override;

protected:
  void showEvent(QShowEvent *event) override;

private:
  CsvImportSession session_;
  std::array<QComboBox *, ImportColumns::fieldCount> choices_{};
  std::array<QToolButton *, ImportColumns::fieldCount> clearButtons_{};
  bool shown_ = false;
  bool closed_ = false;
  std::exception_ptr failure_;
};
