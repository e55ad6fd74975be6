#pragma once
// The list of saved templates (and, over the saved filters, the list of filters): a read-only
// grid of the names with rename, delete and close. Renaming puts the current row into edit
// mode and deleting removes it; the data set's own row rules open the name dialog and ask
// for the confirmation.
#include "gui/base/TFParentForm.h"

class DataSet;
class DataSetModel;
class QPushButton;
class QTableView;

class TFListTemplate : public TFParentForm {
  Q_OBJECT
public:
  // formName: "FListTemplate", or "FListFilter" for the filter list.
  TFListTemplate(const QString &formName, DataSet *rows, QWidget *parent = nullptr);

  QTableView *DBTemplGrid;
  QPushButton *butTplRename, *butTplDel, *butTplClose;

  void butTplRenameClick();
  void butTplDelClick();

private:
  DataSet *rows_;
  DataSetModel *model_;
};
