#pragma once
// The behaviour of the contacts page of the main window: the two grids over the groups and
// the contacts of the current group, their titles and column visibility on every showing
// of the page, the status words of the contacts grid, the field choice button, the record
// actions (insert, edit, delete in the grid that has the focus) with their enabled state,
// and the add and rename dialogs of groups and contacts opened by the row events.
#include <QAction>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTableView>

class DataSet;
class DataSetModel;
class TDModule;
class TFMain;

class ContactsController : public QObject {
  Q_OBJECT
public:
  ContactsController(TFMain &main, TDModule &module);
  ~ContactsController() override;

  DataSetModel *groupsModel() const { return groupsModel_; }
  DataSetModel *contactsModel() const { return contactsModel_; }
  // The data set the record actions act on: the groups while the groups grid has the focus,
  // the contacts of the current group otherwise.
  DataSet &focusedDataSet() const;

  void TS1Show();
  void tbFieldsClick();
  void ActInsertExecute();
  void ActEditExecute();
  void ActDeleteExecute();
  // Enables each record action exactly while the focused data set can take it.
  void updateActions();
  void TS4Show();
  void TS4Hide();
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

  // The main window's parts this controller drives, held as they are, since focus changes
  // still arrive while the window is being torn down.
  QPointer<QWidget> window_;
  QPointer<QTableView> groupsGrid_, contactsGrid_;
  QPointer<QAction> actInsert_, actEdit_, actDelete_;
  TDModule &module_;
  DataSetModel *groupsModel_;
  DataSetModel *contactsModel_;
  bool sendingPageShown_ = false;
  QHash<QString, bool> columnVisible_; // grid field -> shown; absent: shown
  QHash<QString, int> columnWidths_;   // grid field -> width; 0: the view's default
};
