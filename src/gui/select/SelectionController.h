#pragma once
// The filter button of the contacts page and what hangs on it: the button opens the filter
// builder, its arrow opens the menu of saved filters (rebuilt at each opening), which
// applies a saved filter, applies the birthday selection, removes the filter in force or
// opens the list of saved filters. It registers the name dialog of saved filters.
//
// The contact list and CurrentFilter (in the RecipientSelection) change together through
// the select core's FilterCommands; a handler that fails past its own failure path throws,
// so the general error report shows the database's text.
#include "select/FilterCommands.h"

#include <QDate>
#include <QObject>
#include <QPointer>

#include <functional>

class ContactsPage;
class Dialogs;
class QAction;
class RecipientSelection;
class RowDialogs;
class TDModule;

class SelectionController : public QObject {
  Q_OBJECT
public:
  using Clock = std::function<QDate()>;

  // today: the date of the birthday selection (the system date when empty).
  SelectionController(ContactsPage &page, TDModule &module, RowDialogs &rowDialogs,
                      RecipientSelection &selection, Dialogs &dialogs, Clock today = {},
                      QObject *parent = nullptr);
  ~SelectionController() override;

  FilterCommands &commands() { return commands_; }

  // The filter button: opens the filter builder modally.
  void tbFilterClick();
  // Rebuilds the filter button's menu from the saved filters and the list's state.
  void PMFilterPopup();
  // The menu item of a saved filter: applies it (its ID is the item's tag).
  void FilterClick(QAction *item);
  // The birthday selection: today's day and month, within the current group.
  void pmBirthDayClick();
  void BreakFiltClick();
  // The list of saved filters, modally.
  void ListFiltClick();

private:
  QPointer<ContactsPage> page_;
  TDModule &module_;
  RowDialogs &rowDialogs_;
  RecipientSelection &selection_;
  Dialogs &dialogs_;
  Clock today_;
  FilterCommands commands_;
};
