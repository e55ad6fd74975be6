#include "data/ui/ContactsController.h"

#include "app/TFMain.h"
#include "app/TFParentAdd.h"
#include "app/pages/ContactsPage.h"
#include "app/pages/SendingPage.h"
#include "common/Dialogs.h"
#include "common/Error.h"
#include "common/LangConstants.h"
#include "data/DataSetModel.h"
#include "data/TDModule.h"
#include "data/contacts/ContactGrid.h"
#include "data/contacts/RecordRules.h"
#include "data/ui/TFAddContact.h"
#include "data/ui/TFAddGroup.h"
#include "exchange/TFListVis.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>

ContactsController::ContactsController(TFMain &main, TDModule &module)
    : QObject(&main), window_(&main), groupsGrid_(main.TS1->DBGridGroups),
      contactsGrid_(main.TS1->DBGridContacts), actInsert_(main.ActInsert), actEdit_(main.ActEdit),
      actDelete_(main.ActDelete), module_(module) {
  setObjectName("ContactsController");
  ContactsPage *page = main.TS1;
  groupsModel_ = new DataSetModel(&module.IBGroups, this);
  contactsModel_ = new DataSetModel(&module.IBContacts, this);
  contactsModel_->setDisplayHook([](const DataSet &ds, int, int column, const QVariant &value) {
    return contact_grid::statusWord(ds.fields()[column].name, value);
  });
  setUpGrids();

  registerRowDialog(&module.IBGroups,
                    [&module](QWidget *parent) { return new TFAddGroup(&module.IBGroups, parent); });
  registerRowDialog(&module.IBContacts,
                    [&module](QWidget *parent) { return new TFAddContact(&module.IBContacts, parent); });
  record_rules::install(module,
                        [this](DataSet &ds, const QString &suffix) { openRowDialog(ds, suffix, window_); });

  connect(page, &NotifyingPage::shown, this, &ContactsController::TS1Show);
  connect(page->tbFields, &QToolButton::clicked, this, &ContactsController::tbFieldsClick);
  connect(main.ActInsert, &QAction::triggered, this, &ContactsController::ActInsertExecute);
  connect(main.ActEdit, &QAction::triggered, this, &ContactsController::ActEditExecute);
  connect(main.ActDelete, &QAction::triggered, this, &ContactsController::ActDeleteExecute);
  // Connected after the main window's own handlers, so the data-set rule has the last word.
  connect(main.TS4, &NotifyingPage::shown, this, &ContactsController::TS4Show);
  connect(main.TS4, &NotifyingPage::hidden, this, &ContactsController::TS4Hide);
  connect(qApp, &QApplication::focusChanged, this, &ContactsController::updateActions);
  watch(module.IBGroups);
  watch(module.IBContacts);
  for (DataSetModel *model : {groupsModel_, contactsModel_})
    connect(model, &DataSetModel::errorOccurred, this, [](const QString &className, const QString &text) {
      Dialogs::instance().message(QStringLiteral("Brisklane"), className + u'\n' + text,
                                  Dialogs::Icon::Error);
    });
  if (page->isVisible())
    TS1Show();
  updateActions();
}

ContactsController::~ContactsController() {
  registerRowDialog(&module_.IBGroups, {});
  registerRowDialog(&module_.IBContacts, {});
  for (DataSet *ds : {&module_.IBGroups, &module_.IBContacts, &module_.IBTemplate, &module_.IBFilter}) {
    ds->afterInsert = nullptr;
    ds->afterEdit = nullptr;
    ds->beforeDelete = nullptr;
    ds->afterDelete = nullptr;
  }
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
  TFListVis dialog(field_choice::Mode::Visibility, module_.IBFields, window_);
  dialog.showGridColumn = [this](int column, bool visible) { showGridColumn(column, visible); };
  dialog.exec();
}

DataSet &ContactsController::focusedDataSet() const {
  return window_ && groupsGrid_ && window_->focusWidget() == groupsGrid_ ? module_.IBGroups
                                                                         : module_.IBContacts;
}

void ContactsController::ActInsertExecute() {
  DataSet &ds = focusedDataSet();
  ds.append();
  updateActions();
}

void ContactsController::ActEditExecute() {
  focusedDataSet().edit();
  updateActions();
}

void ContactsController::ActDeleteExecute() {
  try {
    focusedDataSet().remove();
  } catch (const SilentAbort &) {
    // the operator refused: the row stays, nothing to say
  }
  updateActions();
}

void ContactsController::updateActions() {
  const DataSet &ds = focusedDataSet();
  const bool open = ds.isOpen();
  bool canInsert = open && !ds.isEditing();
  // A contact belongs to a group: with no current group a new contact would be stored
  // in no group and never shown again.
  if (&ds == &module_.IBContacts && module_.IBGroups.currentRow() < 0)
    canInsert = false;
  const bool hasRows = open && !ds.isEmpty();
  if (actInsert_)
    actInsert_->setEnabled(canInsert);
  if (actEdit_)
    actEdit_->setEnabled(hasRows);
  if (actDelete_)
    actDelete_->setEnabled(hasRows && !sendingPageShown_);
}

void ContactsController::TS4Show() {
  sendingPageShown_ = true;
  updateActions();
}

void ContactsController::TS4Hide() {
  sendingPageShown_ = false;
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
