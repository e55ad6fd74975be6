#include "gui/contacts/ContactsController.h"

#include "common/Dialogs.h"
#include "common/Error.h"
#include "common/LangConstants.h"
#include "data/DataSetModel.h"
#include "data/TDModule.h"
#include "data/contacts/ContactGrid.h"
#include "gui/base/RowDialogs.h"
#include "gui/contacts/ContactsPage.h"
#include "gui/contacts/TFAddContact.h"
#include "gui/contacts/TFAddGroup.h"
#include "gui/contacts/TFListVis.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>

ContactsController::ContactsController(ContactsPage &page, RecordActions actions, TDModule &module,
                                       RowDialogs &rowDialogs, QObject *parent)
    : QObject(parent), page_(&page), groupsGrid_(page.DBGridGroups), contactsGrid_(page.DBGridContacts),
      actInsert_(actions.insert), actEdit_(actions.edit), actDelete_(actions.remove), module_(module),
      rowDialogs_(rowDialogs) {
  setObjectName("ContactsController");
  groupsModel_ = new DataSetModel(&module.IBGroups, this);
  contactsModel_ = new DataSetModel(&module.IBContacts, this);
  contactsModel_->setDisplayHook([](const DataSet &ds, int, int column, const QVariant &value) {
    return contact_grid::statusWord(ds.fields()[column].name, value);
  });
  setUpGrids();

  rowDialogs.setDialog(module.IBGroups,
                       [&module](QWidget *parent) { return new TFAddGroup(&module.IBGroups, parent); });
  rowDialogs.setDialog(module.IBContacts,
                       [&module](QWidget *parent) { return new TFAddContact(&module.IBContacts, parent); });

  connect(&page, &NotifyingPage::shown, this, &ContactsController::TS1Show);
  connect(page.tbFields, &QToolButton::clicked, this, &ContactsController::tbFieldsClick);
  connect(actInsert_, &QAction::triggered, this, &ContactsController::ActInsertExecute);
  connect(actEdit_, &QAction::triggered, this, &ContactsController::ActEditExecute);
  connect(actDelete_, &QAction::triggered, this, &ContactsController::ActDeleteExecute);
  connect(qApp, &QApplication::focusChanged, this, &ContactsController::updateActions);
  watch(module.IBGroups);
  watch(module.IBContacts);
  for (DataSetModel *model : {groupsModel_, contactsModel_})
    connect(model, &DataSetModel::errorOccurred, this, [](const QString &className, const QString &text) {
      Dialogs::instance().message(QStringLiteral("Brisklane"), className + u'\n' + text,
                                  Dialogs::Icon::Error);
    });
  if (page.isVisible())
    TS1Show();
  updateActions();
}

ContactsController::~ContactsController() {
  // The dialogs open over this page's grids; without the page there is nothing to confirm.
  rowDialogs_.setDialog(module_.IBGroups, {});
  rowDialogs_.setDialog(module_.IBContacts, {});
}

void ContactsController::setUpGrids() {
  QTableView *groups = groupsGrid_;
  QTableView *contacts = contactsGrid_;
  groups->setModel(groupsModel_);
  contacts->setModel(contactsModel_);
  groupsModel_->attachSelectionModel(groups->selectionModel());
  contactsModel_->attachSelectionModel(contacts->selectionModel());
  for (const contact_grid::Column &column : contact_grid::columns())
    columnWidths_.insert(column.field, column.width);
  // A view forgets its column layout when its model is read again (another group, a filter):
  // operator-sized widths are kept until then and put back with the visibility.
  connect(contactsModel_, &QAbstractItemModel::modelAboutToBeReset, this,
          &ContactsController::keepColumnWidths);
  connect(contactsModel_, &QAbstractItemModel::modelReset, this, &ContactsController::layOutContacts);
  connect(groupsModel_, &QAbstractItemModel::modelReset, this, &ContactsController::layOutGroups);
  // The grid is a window onto rows read on demand; per-row height measuring would read them all.
  for (QTableView *grid : {groups, contacts}) {
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid->installEventFilter(this);
  }
  layOutGroups();
  layOutContacts();
}

void ContactsController::layOutGroups() {
  QTableView *groups = groupsGrid_;
  const int name = groupsModel_->columnOf("NAME");
  for (int c = 0; c < groupsModel_->columnCount(); ++c)
    groups->setColumnHidden(c, c != name);
  if (name >= 0)
    groups->setColumnWidth(name, contact_grid::groupsNameWidth);
}

void ContactsController::keepColumnWidths() {
  QTableView *contacts = contactsGrid_;
  for (const contact_grid::Column &column : contact_grid::columns()) {
    const int c = contactsModel_->columnOf(column.field);
    if (c >= 0 && !contacts->isColumnHidden(c))
      columnWidths_.insert(column.field, contacts->columnWidth(c));
  }
}

void ContactsController::layOutContacts() {
  QTableView *contacts = contactsGrid_;
  // Only the twelve grid fields show; ID, IDGROUP and IDMESSAGE never do.
  for (int c = 0; c < contactsModel_->columnCount(); ++c)
    contacts->setColumnHidden(c, true);
  for (const contact_grid::Column &column : contact_grid::columns()) {
    const int c = contactsModel_->columnOf(column.field);
    if (c < 0)
      continue;
    contacts->setColumnHidden(c, !columnVisible_.value(column.field, true));
    if (const int width = columnWidths_.value(column.field); width > 0)
      contacts->setColumnWidth(c, width);
  }
}

bool ContactsController::isColumnShown(const QString &field) const {
  const int c = contactsModel_->columnOf(field);
  return c >= 0 && !contactsGrid_->isColumnHidden(c);
}

void ContactsController::setColumnShown(const QString &field, bool visible) {
  columnVisible_.insert(field, visible);
  const int c = contactsModel_->columnOf(field);
  if (c >= 0)
    contactsGrid_->setColumnHidden(c, !visible);
}

void ContactsController::TS1Show() {
  // The record actions follow the focus: coming to the page puts it in the contacts grid
  // unless one of the grids already has it.
  if (const QWidget *focus = page_->window()->focusWidget(); focus != groupsGrid_ && focus != contactsGrid_)
    contactsGrid_->setFocus();
  // langText notices a language file changed on disk, so each showing reads it afresh.
  const QString lang = CurrentLang();
  for (const contact_grid::Column &column : contact_grid::columns()) {
    contactsModel_->setHeaderTitle(column.field, contact_grid::columnTitle(lang, column.field));
    if (const std::optional<bool> visible = contact_grid::descriptorVisible(module_.IBFields, column.field))
      setColumnShown(column.field, *visible);
  }
  groupsModel_->setHeaderTitle("NAME", contact_grid::groupsTitle(lang));
}

void ContactsController::showGridColumn(int column, bool visible) {
  const QList<contact_grid::Column> &columns = contact_grid::columns();
  if (column >= 0 && column < columns.size())
    setColumnShown(columns[column].field, visible);
}

void ContactsController::tbFieldsClick() {
  TFListVis dialog(field_choice::Mode::Visibility, module_.IBFields, page_ ? page_->window() : nullptr);
  dialog.showGridColumn = [this](int column, bool visible) { showGridColumn(column, visible); };
  dialog.exec();
}

DataSet *ContactsController::focusedDataSet() const {
  // The window's focus widget stays while a dialog over it is active.
  const QWidget *focus = page_ ? page_->window()->focusWidget() : nullptr;
  if (!focus || !focus->isVisible())
    return nullptr;
  if (focus == groupsGrid_)
    return &module_.IBGroups;
  if (focus == contactsGrid_)
    return &module_.IBContacts;
  return nullptr;
}

void ContactsController::ActInsertExecute() {
  updateActions();
  if (DataSet *ds = focusedDataSet(); ds && actInsert_->isEnabled())
    ds->append();
  updateActions();
}

void ContactsController::ActEditExecute() {
  updateActions();
  if (DataSet *ds = focusedDataSet(); ds && actEdit_->isEnabled())
    ds->edit();
  updateActions();
}

void ContactsController::ActDeleteExecute() {
  updateActions();
  try {
    if (DataSet *ds = focusedDataSet(); ds && actDelete_->isEnabled())
      ds->remove();
  } catch (const SilentAbort &) {
    // the operator refused: the row stays, nothing to say
  }
  updateActions();
}

void ContactsController::updateActions() {
  const DataSet *ds = focusedDataSet();
  const bool open = ds && ds->isOpen();
  bool canInsert = open && !ds->isEditing();
  // A contact belongs to a group: with no current group a new contact would be stored
  // in no group and never shown again.
  if (ds == &module_.IBContacts && module_.IBGroups.currentRow() < 0)
    canInsert = false;
  const bool hasRows = open && !ds->isEmpty();
  if (actInsert_)
    actInsert_->setEnabled(canInsert);
  if (actEdit_)
    actEdit_->setEnabled(hasRows);
  if (actDelete_)
    actDelete_->setEnabled(hasRows && !deleteBlocked_);
}

void ContactsController::setDeleteBlocked(bool blocked) {
  deleteBlocked_ = blocked;
  updateActions();
}

bool ContactsController::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() == QEvent::KeyPress) {
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_End && key->modifiers() == Qt::ControlModifier) {
      goToLastRow(static_cast<QTableView *>(watched));
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

// Ctrl+End means the last row of the group, not the last row read so far: the rest is
// read in one go (a second or so for a hundred thousand contacts).
void ContactsController::goToLastRow(QTableView *grid) {
  auto *model = static_cast<DataSetModel *>(grid->model());
  DataSet *ds = model->dataSet();
  if (!ds || !ds->isOpen())
    return;
  {
    WaitCursor busy;
    ds->fetchAll();
  }
  if (ds->rowCount() == 0)
    return;
  int column = grid->currentIndex().isValid() ? grid->currentIndex().column() : 0;
  while (column + 1 < model->columnCount() && grid->isColumnHidden(column))
    ++column;
  grid->setCurrentIndex(model->index(ds->rowCount() - 1, column));
}

void ContactsController::watch(DataSet &dataSet) {
  connect(&dataSet, &DataSet::stateChanged, this, &ContactsController::updateActions);
  connect(&dataSet, &DataSet::reset, this, &ContactsController::updateActions);
  connect(&dataSet, &DataSet::rowsInserted, this, &ContactsController::updateActions);
  connect(&dataSet, &DataSet::rowRemoved, this, &ContactsController::updateActions);
  connect(&dataSet, &DataSet::currentRowChanged, this, &ContactsController::updateActions);
}
