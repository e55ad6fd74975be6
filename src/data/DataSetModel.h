#pragma once
// A read-only table model over a DataSet for grids: one column per field, rows read on
// demand (canFetchMore/fetchMore read the next batch as the view scrolls). The view hides
// columns itself (QTableView::setColumnHidden); titles are set per field here.
//
// attachSelectionModel() keeps the view's current row and the data set's current row
// together in both directions. A failure while reading more rows is reported through
// errorOccurred (the view calls fetchMore from its event handlers, where no exception
// may pass).
#include "data/DataSet.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QPointer>

#include <functional>

class QItemSelectionModel;

class DataSetModel : public QAbstractTableModel {
  Q_OBJECT
public:
  // Returns the text to show for a cell, or an invalid QVariant for the default display.
  using DisplayHook =
      std::function<QVariant(const DataSet &dataSet, int row, int column, const QVariant &value)>;

  explicit DataSetModel(DataSet *dataSet = nullptr, QObject *parent = nullptr);

  void setDataSet(DataSet *dataSet);
  DataSet *dataSet() const { return dataSet_; }
  // Titles by field name (case-insensitive); a field without one shows its name.
  void setHeaderTitle(const QString &field, const QString &title);
  QString headerTitle(const QString &field) const;
  void setDisplayHook(DisplayHook hook);
  // Column of a field, -1 when absent.
  int columnOf(const QString &field) const;
  // The default display form of a value: dates dd.MM.yyyy, times hh:mm:ss, NULL empty.
  static QVariant displayText(const QVariant &value);

  void attachSelectionModel(QItemSelectionModel *selection);

  int rowCount(const QModelIndex &parent = QModelIndex()) const override;
  int columnCount(const QModelIndex &parent = QModelIndex()) const override;
  QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex &index) const override;
  bool canFetchMore(const QModelIndex &parent) const override;
  void fetchMore(const QModelIndex &parent) override;

signals:
  void errorOccurred(const QString &className, const QString &text);

private:
  void selectionMoved(const QModelIndex &current);
  void dataSetMoved(int row);

  QPointer<DataSet> dataSet_;
  QHash<QString, QString> titles_; // upper-case field name -> title
  DisplayHook displayHook_;
  QPointer<QItemSelectionModel> selection_;
  bool syncing_ = false;
};
