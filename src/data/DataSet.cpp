#include "data/DataSet.h"

#include "data/DatabaseError.h"

#include <QDateTime>

DataSet::DataSet(Transaction &transaction, QObject *parent) : QObject(parent), transaction_(transaction) {}

DataSet::~DataSet() = default;

void DataSet::setStoredSelectSql(const QString &sql) {
  storedSelect_ = sql;
  select_ = sql;
}

void DataSet::setSelectSql(const QString &sql) {
  select_ = sql;
}

void DataSet::restoreSelectSql() {
  select_ = storedSelect_;
}

void DataSet::setTable(const QString &table, const QStringList &columns, const QString &keyField) {
  keyField_ = keyField;
  table_ = table;
  tableColumns_ = columns;
  QStringList values, assignments;
  for (const QString &c : columns) {
    values << u':' + c;
    assignments << QStringLiteral("  %1 = :%1").arg(c);
  }
  const QString where = QStringLiteral("where\n  %1 = :OLD_%1").arg(keyField);
  insertSql_ = QStringLiteral("insert into %1\n  (%2)\nvalues\n  (%3)")
                   .arg(table, columns.join(QStringLiteral(", ")), values.join(QStringLiteral(", ")));
  modifySql_ =
      QStringLiteral("update %1\nset\n%2\n%3").arg(table, assignments.join(QStringLiteral(",\n")), where);
  tableModifySql_ = modifySql_;
  deleteSql_ = QStringLiteral("delete from %1\n%2").arg(table, where);
  refreshSql_ = QStringLiteral("Select %2\nfrom %1\nwhere\n  %3 = :%3")
                    .arg(table, columns.join(QStringLiteral(", ")), keyField);
}

void DataSet::setMaster(DataSet *master) {
  if (master_)
    disconnect(master_, nullptr, this, nullptr);
  master_ = master;
  if (master_) {
    connect(master_, &DataSet::currentRowChanged, this, &DataSet::masterMoved);
    connect(master_, &DataSet::reset, this, &DataSet::masterMoved);
    connect(master_, &DataSet::rowChanged, this, &DataSet::masterMoved);
  }
}

void DataSet::setParam(const QString &name, const QVariant &value) {
  params_.insert(name.toUpper(), value);
}

QVariant DataSet::parameterValue(const QString &name) const {
  if (master_ && master_->hasField(name))
    return master_->currentRow() >= 0 ? master_->value(name) : QVariant();
  return params_.value(name.toUpper());
}

QList<QVariant> DataSet::masterValues() const {
  QList<QVariant> values;
  if (!master_)
    return values;
  for (const QString &name : parseNamedParams(select_).names)
    if (master_->hasField(name))
      values << parameterValue(name);
  return values;
}

void DataSet::masterMoved() {
  if (!isOpen() || masterValues() == boundMasterValues_)
    return;
  if (isEditing())
    cancel();
  load(false);
}

void DataSet::requireOpen(const char *action) const {
  if (!isOpen())
    throw DatabaseError(QStringLiteral("Cannot %1: the data set is not open.").arg(QLatin1String(action)));
}

void DataSet::open() {
  if (isOpen())
    return;
  load(false);
}

void DataSet::close() {
  if (!isOpen())
    return;
  if (isEditing())
    cancel();
  emit aboutToReset();
  cursor_.reset();
  rows_.clear();
  fields_.clear();
  buffer_.clear();
  current_ = -1;
  state_ = State::Inactive;
  emit reset();
  emit stateChanged(state_);
  emit currentRowChanged(current_);
  if (endOnClose_) {
    Transaction::Ending saved = transaction_.ending();
    transaction_.setEnding(*endOnClose_);
    try {
      transaction_.end();
    } catch (...) {
      transaction_.setEnding(saved);
      throw;
    }
    transaction_.setEnding(saved);
  }
}

void DataSet::refresh() {
  requireOpen("refresh");
  if (isEditing())
    cancel();
  load(true);
}

void DataSet::load(bool keepPosition) {
  const int key = fieldIndex(keyField_);
  const QVariant keyValue = keepPosition && key >= 0 && current_ >= 0 ? rows_[current_][key] : QVariant();
  const State before = state_;
  emit aboutToReset();
  cursor_.reset();
  rows_.clear();
  buffer_.clear();
  current_ = -1;
  try {
    auto q = std::make_unique<Query>(transaction_, select_);
    for (const QString &name : q->paramNames())
      q->setParam(name, parameterValue(name));
    boundMasterValues_ = masterValues();
    q->open();
    fields_ = q->columns();
    cursor_ = std::move(q);
    rows_ = readBatch(fetchBatch_);
  } catch (...) {
    cursor_.reset();
    rows_.clear();
    fields_.clear();
    state_ = State::Inactive;
    emit reset();
    if (before != state_)
      emit stateChanged(state_);
    emit currentRowChanged(current_);
    throw;
  }
  current_ = rows_.isEmpty() ? -1 : 0;
  state_ = State::Browse;
  emit reset();
  if (before != state_)
    emit stateChanged(state_);
  if (keyValue.isValid() && locate(keyField_, keyValue))
    return; // locate announced the row
  emit currentRowChanged(current_);
}

QList<QList<QVariant>> DataSet::readBatch(int count) {
  QList<QList<QVariant>> batch;
  if (!cursor_)
    return batch;
  batch.reserve(count);
  while (batch.size() < count && cursor_->isOpen() && cursor_->fetch())
    batch.append(cursor_->row());
  return batch;
}

bool DataSet::canFetchMore() const {
  return cursor_ && cursor_->isOpen() && state_ != State::Insert;
}

int DataSet::fetchMore(int count) {
  if (!canFetchMore())
    return 0;
  QList<QList<QVariant>> batch = readBatch(count > 0 ? count : fetchBatch_);
  if (batch.isEmpty())
    return 0;
  const int first = rowCount();
  const int last = first + int(batch.size()) - 1;
  emit rowsAboutToBeInserted(first, last);
  rows_.append(std::move(batch));
  emit rowsInserted(first, last);
  if (current_ < 0) {
    current_ = 0;
    emit currentRowChanged(current_);
  }
  return last - first + 1;
}

void DataSet::fetchAll() {
  while (fetchMore(1000) > 0) {
  }
}

void DataSet::setCurrentRow(int row) {
  if (row < 0 || row >= rowCount() || row == current_)
    return;
  if (isEditing())
    post();
  current_ = row;
  emit currentRowChanged(current_);
}

bool DataSet::next() {
  if (current_ + 1 >= rowCount() && fetchMore() == 0)
    return false;
  setCurrentRow(current_ + 1);
  return true;
}

bool DataSet::prior() {
  if (current_ <= 0)
    return false;
  setCurrentRow(current_ - 1);
  return true;
}

void DataSet::first() {
  setCurrentRow(0);
}

bool DataSet::locate(const QString &field, const QVariant &value) {
  const int column = fieldIndex(field);
  if (column < 0)
    return false;
  for (int row = 0;; ++row) {
    if (row >= rowCount() && fetchMore() == 0)
      return false;
    if (rows_[row][column] == value) {
      if (row == current_)
        emit currentRowChanged(current_);
      else
        setCurrentRow(row);
      return true;
    }
  }
}

int DataSet::fieldIndex(const QString &name) const {
  for (int i = 0; i < fields_.size(); ++i)
    if (fields_[i].name.compare(name, Qt::CaseInsensitive) == 0)
      return i;
  return -1;
}

int DataSet::fieldLength(const QString &name) const {
  const int i = fieldIndex(name);
  return i >= 0 && fields_[i].type == ColumnType::Text ? fields_[i].length : 0;
}

QVariant DataSet::value(int row, int column) const {
  if (row < 0 || row >= rowCount() || column < 0 || column >= fieldCount())
    return QVariant();
  if (row == current_ && isEditing())
    return buffer_[column];
  return rows_[row][column];
}

QVariant DataSet::value(int column) const {
  return value(current_, column);
}

QVariant DataSet::value(const QString &field) const {
  return value(current_, fieldIndex(field));
}

QVariant DataSet::normalized(int column, const QVariant &v) const {
  if (!v.isValid() || v.isNull())
    return QVariant();
  const bool isText = v.typeId() == QMetaType::QString;
  if (isText && v.toString().isEmpty())
    return QVariant();
  const Column &c = fields_[column];
  bool ok = true;
  QVariant out;
  switch (c.type) {
  case ColumnType::Text:
    return v.toString();
  case ColumnType::Integer:
    out = v.toInt(&ok);
    break;
  case ColumnType::BigInt:
    out = v.toLongLong(&ok);
    break;
  case ColumnType::Double:
    out = v.toDouble(&ok);
    break;
  case ColumnType::Date: {
    QDate d = v.typeId() == QMetaType::QDateTime ? v.toDateTime().date() : v.toDate();
    if (isText && !d.isValid())
      d = QDate::fromString(v.toString().trimmed(), QStringLiteral("dd.MM.yyyy"));
    ok = d.isValid();
    out = d;
    break;
  }
  case ColumnType::Time: {
    QTime t = v.toTime();
    if (isText && !t.isValid())
      t = QTime::fromString(v.toString().trimmed(), QStringLiteral("hh:mm"));
    ok = t.isValid();
    out = t;
    break;
  }
  case ColumnType::Timestamp: {
    const QDateTime dt = v.toDateTime();
    ok = dt.isValid();
    out = dt;
    break;
  }
  case ColumnType::Boolean:
    out = v.toBool();
    break;
  case ColumnType::Other:
    out = v;
    break;
  }
  if (!ok)
    throw DatabaseError(
        QStringLiteral("\"%1\" is not a valid value for field %2.").arg(v.toString(), c.name));
  return out;
}

void DataSet::setValue(const QString &field, const QVariant &v) {
  if (!isEditing())
    throw DatabaseError(
        QStringLiteral("Cannot set field %1: the data set is not in edit or insert mode.").arg(field));
  const int column = fieldIndex(field);
  if (column < 0)
    throw DatabaseError(QStringLiteral("The data set has no field %1.").arg(field));
  buffer_[column] = normalized(column, v);
  emit rowChanged(current_);
}

void DataSet::setState(State s) {
  if (state_ == s)
    return;
  state_ = s;
  emit stateChanged(state_);
}

void DataSet::append() {
  requireOpen("append");
  if (isEditing())
    post();
  QList<QVariant> row(fieldCount());
  const int key = fieldIndex(keyField_);
  if (!generator_.isEmpty() && key >= 0) {
    Query gen(transaction_, QStringLiteral("SELECT GEN_ID(%1, %2) FROM RDB$DATABASE").arg(generator_).arg(1));
    gen.execute();
    row[key] = normalized(key, gen.value(0));
  }
  const int at = rowCount();
  emit rowsAboutToBeInserted(at, at);
  rows_.append(row);
  emit rowsInserted(at, at);
  buffer_ = row;
  current_ = at;
  state_ = State::Insert;
  try {
    if (onNewRecord)
      onNewRecord(*this);
  } catch (...) {
    state_ = State::Browse;
    removeRowAt(at);
    throw;
  }
  emit stateChanged(state_);
  emit currentRowChanged(current_);
  if (afterInsert)
    afterInsert(*this);
}

void DataSet::edit() {
  requireOpen("edit");
  if (isEditing())
    return;
  if (isEmpty()) {
    append();
    return;
  }
  buffer_ = rows_[current_];
  setState(State::Edit);
  if (afterEdit)
    afterEdit(*this);
}

void DataSet::bindRow(Query &q, const QList<QVariant> &now, const QList<QVariant> &old) const {
  for (const QString &name : q.paramNames()) {
    const int oldColumn = name.startsWith(QLatin1String("OLD_")) ? fieldIndex(name.mid(4)) : -1;
    const int column = fieldIndex(name);
    if (oldColumn >= 0)
      q.setParam(name, old[oldColumn]);
    else if (column >= 0)
      q.setParam(name, now[column]);
    else
      q.setParam(name, parameterValue(name));
  }
}

void DataSet::post() {
  if (!isEditing())
    return;
  if (beforePost)
    beforePost(*this);
  const bool inserting = state_ == State::Insert;
  const bool ownUpdate = !inserting && !modifySql_.isEmpty() && modifySql_ == tableModifySql_;
  const QString sql = inserting ? insertSql_ : ownUpdate ? changedColumnsModifySql() : modifySql_;
  if (sql.isEmpty() && !ownUpdate)
    throw DatabaseError(QStringLiteral("This data set cannot store rows."));
  if (!sql.isEmpty()) {
    Query q(transaction_, sql);
    bindRow(q, buffer_, rows_[current_]);
    q.execute();
  }
  rows_[current_] = buffer_;
  buffer_.clear();
  setState(State::Browse);
  emit rowChanged(current_);
  if (refreshAfterPost_)
    refreshCurrentRow();
  if (afterPost)
    afterPost(*this);
}

QString DataSet::changedColumnsModifySql() const {
  // Only what this edit changed: another program's committed change to the other columns of
  // the row (a delivery status, say) must survive the operator's edit of a name.
  const QList<QVariant> &read = rows_[current_];
  QStringList assignments;
  for (const QString &c : tableColumns_) {
    const int column = fieldIndex(c);
    if (column < 0 || buffer_[column] != read[column])
      assignments << QStringLiteral("  %1 = :%1").arg(c);
  }
  if (assignments.isEmpty())
    return QString(); // nothing to write
  return QStringLiteral("update %1\nset\n%2\nwhere\n  %3 = :OLD_%3")
      .arg(table_, assignments.join(QStringLiteral(",\n")), keyField_);
}

void DataSet::cancel() {
  if (state_ == State::Insert) {
    state_ = State::Browse;
    buffer_.clear();
    removeRowAt(current_);
    emit stateChanged(state_);
  } else if (state_ == State::Edit) {
    buffer_.clear();
    setState(State::Browse);
    emit rowChanged(current_);
  } else {
    return;
  }
  if (afterCancel)
    afterCancel(*this);
}

void DataSet::removeRowAt(int row) {
  emit rowAboutToBeRemoved(row);
  rows_.removeAt(row);
  emit rowRemoved(row);
  if (current_ >= rowCount())
    current_ = rowCount() - 1;
  emit currentRowChanged(current_);
}

void DataSet::remove() {
  requireOpen("delete");
  if (state_ == State::Insert) {
    cancel();
    return;
  }
  if (state_ == State::Edit)
    cancel();
  if (current_ < 0)
    throw DatabaseError(QStringLiteral("There is no row to delete."));
  if (beforeDelete)
    beforeDelete(*this);
  if (deleteSql_.isEmpty())
    throw DatabaseError(QStringLiteral("This data set cannot delete rows."));
  Query q(transaction_, deleteSql_);
  bindRow(q, rows_[current_], rows_[current_]);
  q.execute();
  removeRowAt(current_);
  if (afterDelete)
    afterDelete(*this);
}

void DataSet::refreshCurrentRow() {
  if (current_ < 0 || isEditing() || refreshSql_.isEmpty())
    return;
  Query q(transaction_, refreshSql_);
  bindRow(q, rows_[current_], rows_[current_]);
  q.execute();
  if (q.row().isEmpty())
    return; // the row is gone; it stays shown until the next read
  QList<QVariant> &row = rows_[current_];
  const QList<Column> &cols = q.columns();
  for (int i = 0; i < cols.size(); ++i) {
    const int column = fieldIndex(cols[i].name);
    if (column >= 0)
      row[column] = q.value(i);
  }
  emit rowChanged(current_);
}
