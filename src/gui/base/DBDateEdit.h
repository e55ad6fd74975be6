#pragma once
// A date edit with a drop-down calendar bound to a date column of a data set's current row.
// An empty (NULL) date shows as a blank edit; Delete or Backspace with the whole text
// selected empties it again. Like DBEdit, a change puts a browsed row into edit mode.
#include <QDateEdit>
#include <QPointer>

#include "data/DataSet.h"

class DBDateEdit : public QDateEdit {
  Q_OBJECT
public:
  explicit DBDateEdit(QWidget *parent = nullptr);
  void bind(DataSet *dataSet, const QString &field);
  // The shown value: an invalid date when empty.
  QDate value() const;
  // Sets the value as the operator would, writing it into the row.
  void setValueByOperator(const QDate &date);

protected:
  void keyPressEvent(QKeyEvent *event) override;

private:
  void showValue();
  void userChanged(const QDate &date);

  QPointer<DataSet> dataSet_;
  QString field_;
  bool showing_ = false;
};
