#pragma once
// The behaviour of the contacts page of the main window: the two grids over the groups and
// the contacts of the current group, their titles and column visibility on every showing
// of the page, the status words of the contacts grid, the field choice button, the record
// actions (insert, edit, delete in the grid that has the focus) with their enabled state,
// and the add and rename dialogs of groups and contacts opened by the row events.
//
// The record actions act only on a grid of this page that has the keyboard focus; with the
// focus anywhere else (another page, the template editor) they are disabled.
#include <QAction>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTableView>

class ContactsPage;
class DataSet;
class DataSetModel;
class RowDialogs;
class TDModule;

// The main window's record actions, which the contacts page's tool buttons trigger.
struct RecordActions {
  QAction *insert;
  QAction *edit;
  QAction *remove;
};

class ContactsController : public QObject {
  Q_OBJECT
public:
  ContactsController(ContactsPage &page, RecordActions actions, TDModule &module, RowDialogs &rowDialogs,
                     QObject *parent = nullptr);
  ~ContactsController() override;

  DataSetModel *groupsModel() const { return groupsModel_; }
  DataSetModel *contactsModel() const { return contactsModel_; }
  // The data set the record actions act on: the groups while the groups grid has the focus,
  // the contacts of the current group while the contacts grid has it, none otherwise.
  DataSet *focusedDataSet() const;

  void TS1Show();
  void tbFieldsClick();
  void ActInsertExecute();
  void ActEditExecute();
  void ActDeleteExecute();
  // Enables each record action exactly while the focused data set can take it.
  void updateActions();
  // While the sending page shows, delete is disabled (its options row is being edited).
  void setDeleteBlocked(bool blocked);
  // Whether the contacts grid shows the column of field.
  bool isColumnShown(const QString &field) const;

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  void setUpGrids();
  void layOutGroups();
  void keepColumnWidths();
  void layOutContacts();
  void setColumnShown(const QString &field, bool visible);
  void showGridColumn(int column, bool visible);
  void watch(DataSet &dataSet);
  void goToLastRow(QTableView *grid);

  // The parts this controller drives, held as they are, since focus changes still arrive
  // while the window is being torn down.
  QPointer<ContactsPage> page_;
  QPointer<QTableView> groupsGrid_, contactsGrid_;
  QPointer<QAction> actInsert_, actEdit_, actDelete_;
  TDModule &module_;
  RowDialogs &rowDialogs_;
  DataSetModel *groupsModel_;
  DataSetModel *contactsModel_;
  bool deleteBlocked_ = false;
  QHash<QString, bool> columnVisible_; // grid field -> shown; absent: shown
  QHash<QString, int> columnWidths_;   // grid field -> width; 0: the view's default
};
