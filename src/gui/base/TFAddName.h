#pragma once
// An add and rename dialog of a row that has nothing to edit but its name: one edit,
// "DBEdit1", bound to NAME of the data source, under its label "Label1", and given the
// focus whenever the dialog shows.
#include "gui/base/TFParentAdd.h"

class DBEdit;
class QLabel;

class TFAddName : public TFParentAdd {
  Q_OBJECT
public:
  TFAddName(const QString &formName, const QString &title, DataSet *dataSource, QWidget *parent = nullptr);

  QLabel *Label1;
  DBEdit *DBEdit1;

protected:
  void showEvent(QShowEvent *event) override;
};
