#include "data/DataSetModel.h"

#include "common/Error.h"

#include <QDateTime>
#include <QItemSelectionModel>

DataSetModel::DataSetModel(DataSet *dataSet, QObject *parent) : QAbstractTableModel(parent) {
  setDataSet(dataSet);
}

void DataSetModel::setDataSet(DataSet *dataSet) {
  beginResetModel();
  if (dataSet_)
    disconnect(dataSet_, nullptr, this, nullptr);
  dataSet_ = dataSet;
  if (dataSet_) {
    connect(dataSet_, &DataSet::aboutToReset, this, [this] { beginResetModel(); });
    connect(dataSet_, &DataSet::reset, this, [this] { endResetModel(); });
    connect(dataSet_, &DataSet::rowsAboutToBeInserted, this,
            [this](int first, int last) { beginInsertRows(QModelIndex(), first, last); });
    connect(dataSet_, &DataSet::rowsInserted, this, [this] { endInsertRows(); });
    connect(dataSet_, &DataSet::rowAboutToBeRemoved, this,
            [this](int row) { beginRemoveRows(QModelIndex(), row, row); });
    connect(dataSet_, &DataSet::rowRemoved, this, [this] { endRemoveRows(); });
    connect(dataSet_, &DataSet::rowChanged, this, [this](int row) {
      if (row >= 0 && columnCount() > 0)
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    });
    connect(dataSet_, &DataSet::currentRowChanged, this, &DataSetModel::dataSetMoved);
  }
  endResetModel();
}

void DataSetModel::setHeaderTitle(const QString &field, const QString &title) {
  titles_.insert(field.toUpper(), title);
  const int column = columnOf(field);
  if (column >= 0)
    emit headerDataChanged(Qt::Horizontal, column, column);
}

QString DataSetModel::headerTitle(const QString &field) const {
  return titles_.value(field.toUpper(), field);
}

void DataSetModel::setDisplayHook(DisplayHook hook) {
  displayHook_ = std::move(hook);
  if (rowCount() > 0 && columnCount() > 0)
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

int DataSetModel::columnOf(const QString &field) const {
  return dataSet_ ? dataSet_->fieldIndex(field) : -1;
}

QVariant DataSetModel::displayText(const QVariant &value) {
  switch (value.typeId()) {
  case QMetaType::QDate:
    return value.toDate().toString(QStringLiteral("dd.MM.yyyy"));
  case QMetaType::QTime:
    return value.toTime().toString(QStringLiteral("hh:mm:ss"));
  case QMetaType::QDateTime:
    return value.toDateTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
  default:
    return value;
  }
}

int DataSetModel::rowCount(const QModelIndex &parent) const {
  return parent.isValid() || !dataSet_ ? 0 : dataSet_->rowCount();
}

int DataSetModel::columnCount(const QModelIndex &parent) const {
  return parent.isValid() || !dataSet_ ? 0 : dataSet_->fieldCount();
}

QVariant DataSetModel::data(const QModelIndex &index, int role) const {
  if (!dataSet_ || !index.isValid())
    return QVariant();
  const QVariant value = dataSet_->value(index.row(), index.column());
  switch (role) {
  case Qt::DisplayRole: {
    if (displayHook_) {
      const QVariant shown = displayHook_(*dataSet_, index.row(), index.column(), value);
      if (shown.isValid())
        return shown;
    }
    return displayText(value);
  }
  case Qt::EditRole:
    return value;
  case Qt::TextAlignmentRole: {
    const ColumnType type = dataSet_->fields()[index.column()].type;
    const bool numeric =
        type == ColumnType::Integer || type == ColumnType::BigInt || type == ColumnType::Double;
    return QVariant::fromValue(Qt::AlignVCenter | (numeric ? Qt::AlignRight : Qt::AlignLeft));
  }
  default:
    return QVariant();
  }
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || !dataSet_)
    return QVariant();
  if (orientation == Qt::Vertical)
    return section + 1;
  if (section < 0 || section >= dataSet_->fieldCount())
    return QVariant();
  return headerTitle(dataSet_->fields()[section].name);
}

Qt::ItemFlags DataSetModel::flags(const QModelIndex &index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

bool DataSetModel::canFetchMore(const QModelIndex &parent) const {
  return !parent.isValid() && dataSet_ && dataSet_->canFetchMore();
}

void DataSetModel::fetchMore(const QModelIndex &parent) {
  if (parent.isValid() || !dataSet_)
    return;
  try {
    dataSet_->fetchMore();
  } catch (const AppError &e) {
    emit errorOccurred(e.className(), e.text());
  }
}

void DataSetModel::attachSelectionModel(QItemSelectionModel *selection) {
  if (selection_)
    disconnect(selection_, nullptr, this, nullptr);
  selection_ = selection;
  if (!selection_)
    return;
  connect(selection_, &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex &current) { selectionMoved(current); });
  if (dataSet_)
    dataSetMoved(dataSet_->currentRow());
}

void DataSetModel::selectionMoved(const QModelIndex &current) {
  if (syncing_ || !dataSet_ || !current.isValid())
    return;
  syncing_ = true;
  try {
    dataSet_->setCurrentRow(current.row());
  } catch (const AppError &e) {
    emit errorOccurred(e.className(), e.text());
  } catch (const SilentAbort &) {
  }
  syncing_ = false;
  // A refused move (a pending edit that failed to post) puts the view back.
  if (dataSet_->currentRow() != current.row())
    dataSetMoved(dataSet_->currentRow());
}

void DataSetModel::dataSetMoved(int row) {
  if (syncing_ || !selection_ || selection_->model() != this)
    return;
  syncing_ = true;
  if (row < 0) {
    selection_->clearCurrentIndex();
  } else {
    const int column = selection_->currentIndex().isValid() ? selection_->currentIndex().column() : 0;
    selection_->setCurrentIndex(index(row, column),
                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  }
  syncing_ = false;
}
