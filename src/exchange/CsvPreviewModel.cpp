#include "exchange/CsvPreviewModel.h"

#include "exchange/TwfCSV.h"

#include <algorithm>

CsvPreviewModel::CsvPreviewModel(QObject *parent) : QAbstractTableModel(parent) {}

void CsvPreviewModel::setReader(const TwfCSV *reader) {
  beginResetModel();
  reader_ = reader;
  endResetModel();
}

QString CsvPreviewModel::columnLetter(int column) {
  return QString(QChar(u'A' + column));
}

QStringList CsvPreviewModel::columnLetters() const {
  QStringList letters;
  for (int c = 0; c < columnCount(); ++c)
    letters << columnLetter(c);
  return letters;
}

int CsvPreviewModel::rowCount(const QModelIndex &parent) const {
  return parent.isValid() || !reader_ ? 0 : std::min<int>(reader_->RecordCount, maxLines);
}

int CsvPreviewModel::columnCount(const QModelIndex &parent) const {
  return parent.isValid() || !reader_ ? 0 : std::clamp<int>(reader_->FieldCount, 0, maxColumns);
}

QVariant CsvPreviewModel::data(const QModelIndex &index, int role) const {
  if (!reader_ || !index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
    return {};
  const QStringList &fields = reader_->Records.at(index.row());
  return index.column() < fields.size() ? QVariant(fields.at(index.column())) : QVariant();
}

QVariant CsvPreviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole)
    return {};
  if (orientation == Qt::Horizontal)
    return columnLetter(section);
  return section + 1; // the line of the file
}
