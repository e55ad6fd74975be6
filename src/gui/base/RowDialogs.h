#pragma once
// The add and rename dialogs that the row events of the data module's editable data sets
// open. Made once, right after the data module, it installs the row rules (the dialogs on
// insert and edit, the questions before a delete) for as long as it lives; each page then
// registers the dialog of its own data set. Without a registered dialog nothing could
// confirm the row, so an insert or edit is cancelled at once.
#include <QHash>
#include <QString>

#include <functional>

class DataSet;
class QWidget;
class TDModule;
class TFParentAdd;

// The dialog of a data set: created for one showing, parented to parent.
using RowDialogFactory = std::function<TFParentAdd *(QWidget *parent)>;

class RowDialogs {
public:
  explicit RowDialogs(TDModule &module);
  ~RowDialogs();
  RowDialogs(const RowDialogs &) = delete;
  RowDialogs &operator=(const RowDialogs &) = delete;

  // Registers (or, with an empty factory, removes) the dialog of a data set.
  void setDialog(const DataSet &dataSet, RowDialogFactory factory);
  bool hasDialog(const DataSet &dataSet) const;
  // Opens the data set's dialog modally with " [suffix]" appended to its caption, over the
  // active window, and destroys it once it has closed; false (and the row's insert or edit
  // cancelled) when none is registered.
  bool open(DataSet &dataSet, const QString &suffix) const;

private:
  TDModule &module_;
  QHash<const DataSet *, RowDialogFactory> factories_;
};
