#pragma once
// The first lines of a CSV file as the import dialog's preview grid shows them: at most ten
// lines (a title line included) and at most 26 columns, as many as the last line of the file
// has fields. The column headers are the letters "A", "B", ...; a cell beyond a line's own
// fields is empty.
#include <QAbstractTableModel>
#include <QStringList>

class TwfCSV;

class CsvPreviewModel : public QAbstractTableModel {
  Q_OBJECT
public:
  static constexpr int maxLines = 10;
  static constexpr int maxColumns = 26;

  explicit CsvPreviewModel(QObject *parent = nullptr);

  // Shows reader's lines; null shows nothing. The reader must outlive its use here.
  void setReader(const TwfCSV *reader);
  const TwfCSV *reader() const { return reader_; }

  // The letter naming column c: "A" for 0.
  static QString columnLetter(int column);
  // One letter per column of the grid: the entries of every column choice.
  QStringList columnLetters() const;

  int rowCount(const QModelIndex &parent = QModelIndex()) const override;
  int columnCount(const QModelIndex &parent = QModelIndex()) const override;
  QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
  const TwfCSV *reader_ = nullptr;
};
