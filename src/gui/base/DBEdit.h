#pragma once
// An edit bound to a text column of a data set's current row. It shows the row's value,
// accepts at most the column's length (a longer text is cut, and the operator told), and writes each change
// into the row; typing into a row that is only being browsed puts it into edit mode first (which runs the
// data set's after-edit event).
#include <QLineEdit>
#include <QPointer>

#include "data/DataSet.h"

class DBEdit : public QLineEdit {
  Q_OBJECT
public:
  explicit DBEdit(QWidget *parent = nullptr);
  void bind(DataSet *dataSet, const QString &field);
  DataSet *dataSet() const { return dataSet_; }
  const QString &field() const { return field_; }

private:
  void showValue();
  void userEdited(const QString &text);

  QPointer<DataSet> dataSet_;
  QString field_;
};
