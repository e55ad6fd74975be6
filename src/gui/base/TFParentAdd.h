#pragma once
// Base of the add and rename dialogs (group, contact, template, filter). A dialog edits the
// current row of one data set, the data source DS, which is already in insert or edit mode
// when the dialog opens. The dialog's closing rule ends that mode:
//  - OK (butOK, the default button): beforeConfirm() runs, then the row is posted, the data
//    set's transaction is committed with retaining and the row is read back. If any step
//    fails, an information box shows the error's class name on the first line and its text
//    on the second, and the dialog stays open with the row still in its mode, so nothing the
//    operator typed is lost.
//  - Anything else (butCancel, Esc, the close box): the row's insert or edit is cancelled.
//  - Without a data source nothing happens to any row.
//
// A subclass creates its controls inside gbxData, binds them to DS, and ends its
// constructor with applyLanguage(). The row events of a data set open their dialog through
// RowDialogs, where each page registers the dialog of its own data set.
#include "gui/base/TFParentForm.h"

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
  // row here. An error thrown here is reported like a failed post.
  virtual void beforeConfirm() {}

private:
  // Posts, commits and re-reads the row; false (after telling the operator) when that failed.
  bool confirmRow();
};
