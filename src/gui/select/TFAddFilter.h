#pragma once
// The name dialog of a saved filter, opened by the row events of IBFilter: one edit bound
// to NAME. The condition itself is not shown: a new row takes it from PendingFilter when
// it is posted, and a renamed row keeps its own.
#include "gui/base/TFParentAdd.h"

class DBEdit;
class QLabel;

class TFAddFilter : public TFParentAdd {
  Q_OBJECT
public:
  explicit TFAddFilter(DataSet *filters, QWidget *parent = nullptr);

  QLabel *Label1;
  DBEdit *DBEdit1;

protected:
  void showEvent(QShowEvent *event) override;
};
