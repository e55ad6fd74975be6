#pragma once
// Base of the add and rename dialogs (group, contact, template, filter). A dialog edits the
// current row of one data set, the data source DS, which is already in insert or edit mode
// when the dialog opens. The dialog's closing rule ends that mode:
//  - OK (butOK, the default button): beforeConfirm() runs, then the texts of the row's
//    checked fields are checked: a required field left empty, or a character the database's
//    code page cannot hold, is refused with a message naming the field (by its label) and
//    the dialog stays open. Then the row is posted, the data set's transaction is committed
//    with retaining and the row is read back. If any step fails, an information box shows
//    the error's class name on the first line and its text on the second, and the dialog
//    stays open with the row still in its mode, so nothing the operator typed is lost.
//  - Anything else (butCancel, Esc, the close box): the row's insert or edit is cancelled.
//  - Without a data source nothing happens to any row.
//
// A subclass creates its controls inside gbxData, binds them to DS, and ends its
// constructor with applyLanguage(). The row events of a data set open their dialog through
// RowDialogs, where each page registers the dialog of its own data set.
#include "gui/base/TFParentForm.h"

#include <QList>
#include <QString>

#include <functional>

class DataSet;
class QGroupBox;
class QPushButton;

class TFParentAdd : public TFParentForm {
  Q_OBJECT
public:
  TFParentAdd(const QString &formName, DataSet *dataSource, QWidget *parent = nullptr);

  DataSet *DS;
  QGroupBox *gbxData;
  QPushButton *butOK, *butCancel;

  void done(int result) override;

protected:
  // Runs on OK before the row is posted; the contact dialog copies its phone edit into the
  // row here. An error thrown here is reported like a failed post; SilentAbort keeps the
  // dialog open without a further word (the subclass has said why).
  virtual void beforeConfirm() {}

  // A field of DS whose text is checked on OK, and the control the operator types it in.
  struct CheckedField {
    QString field;
    QWidget *control;
  };
  // The checked fields: every DBEdit of the dialog bound to DS, and the subclass's own.
  virtual QList<CheckedField> checkedFields() const;
  // How the messages name a field: by the caption of its control's label.
  virtual QString fieldCaption(const CheckedField &field) const;

private:
  // Posts, commits and re-reads the row; false (after telling the operator) when that failed.
  bool confirmRow();
  // False (after telling the operator) when a checked field cannot be stored as it is.
  bool checkFields() const;
};
