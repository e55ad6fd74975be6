#pragma once
// A data set: the rows of one select, read on demand through a cursor that stays open,
// with a current row, field access by name, and single-row editing written back with
// stored insert/update/delete statements. Grids show it through DataSetModel; dialogs
// edit the current row with value()/setValue() between edit()/append() and post()/cancel().
//
// Values are QVariant with NULL as an invalid QVariant (see Query.h for the types). An
// empty text set into a field stores NULL, as data-bound edits expect: clearing a
// required field then fails on post with the database's "value required" error.
//
// Row events are std::function hooks. A hook may throw SilentAbort to cancel the operation
// it precedes (beforePost, beforeDelete); after-hooks run once the state has changed, so
// afterInsert/afterEdit may open a modal dialog that itself calls post() or cancel().
//
// Stored statements name their parameters after the fields (":NAME"); ":OLD_NAME" is the
// field's value as it was read, so an update may change the key too. Other parameters of
// the select (":ID" of a detail set) come from the master's current row or from setParam().
#include "data/Query.h"
#include "data/Transaction.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

class DataSet : public QObject {
  Q_OBJECT
public:
  enum class State { Inactive, Browse, Edit, Insert };
  Q_ENUM(State)
  using Hook = std::function<void(DataSet &)>;

  explicit DataSet(Transaction &transaction, QObject *parent = nullptr);
  ~DataSet() override;

  Transaction &transaction() const { return transaction_; }

  // --- statements (take effect at the next open) ---
  // The stored select, also made current; restoreSelectSql() returns to it.
  void setStoredSelectSql(const QString &sql);
  const QString &storedSelectSql() const { return storedSelect_; }
  void setSelectSql(const QString &sql); // the data set should be closed meanwhile
  const QString &selectSql() const { return select_; }
  void restoreSelectSql();
  // Stored statements for one table listing all its columns; the key addresses rows. An
  // edit then writes only the columns it changed (nothing when it changed none), so changes
  // committed meanwhile by others to the other columns are kept.
  void setTable(const QString &table, const QStringList &columns,
                const QString &keyField = QStringLiteral("ID"));
  void setInsertSql(const QString &sql) { insertSql_ = sql; }
  void setModifySql(const QString &sql) { modifySql_ = sql; }
  void setDeleteSql(const QString &sql) { deleteSql_ = sql; }
  void setRefreshSql(const QString &sql) { refreshSql_ = sql; }
  const QString &insertSql() const { return insertSql_; }
  const QString &modifySql() const { return modifySql_; }
  const QString &deleteSql() const { return deleteSql_; }
  const QString &refreshSql() const { return refreshSql_; }
  // New rows take their key from this generator (step 1) at once.
  void setGenerator(const QString &generator) { generator_ = generator; }
  const QString &keyField() const { return keyField_; }
  // Re-read a posted row by its key at once.
  void setRefreshAfterPost(bool on) { refreshAfterPost_ = on; }
  // How the transaction ends when this data set closes (none by default).
  void setEndOnClose(std::optional<Transaction::Ending> ending) { endOnClose_ = ending; }

  // Select parameters named after a master column follow the master's current row (NULL
  // when it has none) and the data set is read again whenever that value changes.
  void setMaster(DataSet *master);
  DataSet *master() const { return master_; }
  void setParam(const QString &name, const QVariant &value);

  // Rows read at open and by each fetchMore() without a count.
  void setFetchBatch(int rows) { fetchBatch_ = rows > 0 ? rows : 1; }

  // --- life cycle ---
  // Throws DatabaseError with the client's text; the data set then stays closed.
  void open();
  void close(); // cancels a pending edit first
  bool isOpen() const { return state_ != State::Inactive; }
  // Reads the rows again keeping the current row's key when it is still there.
  void refresh();
  State state() const { return state_; }
  bool isEditing() const { return state_ == State::Edit || state_ == State::Insert; }

  // --- rows ---
  int rowCount() const { return int(rows_.size()); } // rows read so far
  bool isEmpty() const { return rows_.isEmpty(); }
  bool canFetchMore() const;
  int fetchMore(int rows = 0); // returns the number read
  void fetchAll();
  int currentRow() const { return current_; } // -1 when empty
  void setCurrentRow(int row);                // posts a pending edit first
  bool next();
  bool prior();
  void first();
  // Moves to the first row whose field equals value, reading more rows as needed.
  bool locate(const QString &field, const QVariant &value);

  // --- fields ---
  const QList<Column> &fields() const { return fields_; }
  int fieldCount() const { return int(fields_.size()); }
  int fieldIndex(const QString &name) const; // -1 when absent; case-insensitive
  bool hasField(const QString &name) const { return fieldIndex(name) >= 0; }
  // Maximum characters of a text field (0 for other types): bound edits accept no more.
  int fieldLength(const QString &name) const;
  // The current row (its edit buffer while editing); NULL when there is none.
  QVariant value(const QString &field) const;
  QVariant value(int column) const;
  // Any read row; the current row shows its edit buffer while editing.
  QVariant value(int row, int column) const;
  // Only while editing; throws DatabaseError for an unknown field or a value the field's
  // type cannot take.
  void setValue(const QString &field, const QVariant &value);

  // --- editing ---
  void append(); // new row at the end, key taken from the generator at once
  void edit();   // on an empty data set appends instead
  void post();   // writes the row; on failure the row keeps its state
  void cancel();
  void remove(); // deletes the current row at once
  void refreshCurrentRow();

  // Row events.
  Hook onNewRecord; // after the key is set, before the row shows as inserted
  Hook afterInsert;
  Hook afterEdit;
  Hook beforePost;
  Hook afterPost;
  Hook afterCancel;
  Hook beforeDelete;
  Hook afterDelete;

signals:
  void stateChanged(DataSet::State state);
  void currentRowChanged(int row);
  void rowsAboutToBeInserted(int first, int last);
  void rowsInserted(int first, int last);
  void rowAboutToBeRemoved(int row);
  void rowRemoved(int row);
  void rowChanged(int row);
  void aboutToReset(); // every aboutToReset is followed by reset
  void reset();        // opened, closed or read again

private:
  void requireOpen(const char *action) const;
  void load(bool keepPosition);
  QList<QList<QVariant>> readBatch(int rows);
  QVariant parameterValue(const QString &name) const;
  QList<QVariant> masterValues() const;
  void masterMoved();
  QVariant normalized(int column, const QVariant &value) const;
  void bindRow(Query &q, const QList<QVariant> &now, const QList<QVariant> &old) const;
  // The table's own update narrowed to the columns the current edit changed (empty when
  // it changed none).
  QString changedColumnsModifySql() const;
  void setState(State s);
  void removeRowAt(int row);

  Transaction &transaction_;
  QString storedSelect_, select_, insertSql_, modifySql_, deleteSql_, refreshSql_;
  QString generator_, keyField_ = QStringLiteral("ID");
  QString table_, tableModifySql_;
  QStringList tableColumns_;
  bool refreshAfterPost_ = false;
  std::optional<Transaction::Ending> endOnClose_;
  DataSet *master_ = nullptr;
  QList<QVariant> boundMasterValues_;
  QHash<QString, QVariant> params_;
  int fetchBatch_ = 100;

  std::unique_ptr<Query> cursor_;
  QList<Column> fields_;
  QList<QList<QVariant>> rows_;
  int current_ = -1;
  State state_ = State::Inactive;
  QList<QVariant> buffer_; // edit buffer of the current row
};
