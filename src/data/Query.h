#pragma once
// A statement on a transaction with ":NAME" parameters and typed values. Values travel as
// QVariant: an invalid QVariant is NULL; integers are int (32-bit) or qlonglong (64-bit),
// floating point and scaled numbers are double, texts are QString (converted to and from
// cp1251 here, at the database boundary), dates QDate, times QTime, timestamps QDateTime.
//
// The statement is prepared on first use. A select is read row by row: open(), then
// fetch() until it returns false. execute() runs any statement; for a select it keeps the
// first row, which suits "SELECT GEN_ID(...) FROM RDB$DATABASE".
#include "data/NamedParams.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <memory>

class Transaction;

enum class ColumnType { Integer, BigInt, Double, Text, Date, Time, Timestamp, Boolean, Other };

struct Column {
  QString name;     // alias as the select names it (upper case unless quoted)
  QString relation; // table it comes from, empty for expressions
  ColumnType type = ColumnType::Other;
  int length = 0; // characters for text columns, bytes otherwise
  int scale = 0;
  bool nullable = true;
};

class Query {
public:
  Query(Transaction &transaction, const QString &sql);
  ~Query();
  Query(const Query &) = delete;
  Query &operator=(const Query &) = delete;

  Transaction &transaction() const;
  const QString &sql() const;
  // Distinct parameter names, upper case, in order of first appearance.
  const QStringList &paramNames() const;
  bool hasParam(const QString &name) const;
  // Throws DatabaseError for a name the statement does not have.
  void setParam(const QString &name, const QVariant &value);
  // Every value of the map, by parameter name.
  void setParams(const QVariantMap &values);
  QVariant param(const QString &name) const;

  void execute();
  void open();
  // Reads the next row; false at the end (the cursor is then closed).
  bool fetch();
  void close();
  bool isOpen() const;

  // Result columns (prepares the statement if needed).
  const QList<Column> &columns();
  int columnIndex(const QString &name) const; // -1 when absent; case-insensitive
  // Values of the current row.
  const QList<QVariant> &row() const;
  QVariant value(int column) const;
  QVariant value(const QString &name) const;

private:
  struct Impl;
  std::unique_ptr<Impl> d;
};
