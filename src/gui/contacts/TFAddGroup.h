#pragma once
// The add and rename dialog of a contact group: its name, bound to NAME of IBGroups.
#include "gui/base/TFParentAdd.h"

class DBEdit;
class QLabel;

class TFAddGroup : public TFParentAdd {
  Q_OBJECT
public:
  explicit TFAddGroup(DataSet *groups, QWidget *parent = nullptr);

  QLabel *Label1;
  DBEdit *DBEdit1;

protected:
  void showEvent(QShowEvent *event) override;
};
