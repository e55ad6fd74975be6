#pragma once
// What the filter builder, the filter button's menu and the saved-filter list do to the
// data module, without their windows. One object lives as long as the main window, beside
// the RecipientSelection it keeps CurrentFilter in.
//
// The contact list (IBContacts) shows the filter in force and CurrentFilter is the same
// condition: applying a built filter or a saved one sets both, removing the filter and
// every failure path clears both. Saving a filter changes neither.
//
// Message boxes go through Dialogs; texts come from the [Constant] section of the current
// language when the command runs.
#include "select/ContactListFilter.h"
#include "select/FilterMenu.h"

#include <QString>

#include <optional>

class RecipientSelection;
class TDModule;

class FilterCommands {
public:
  FilterCommands(TDModule &module, RecipientSelection &selection);

  // The builder closed with OK (FormClose): the contact list shows the condition's
  // contacts of the current group and the condition becomes CurrentFilter. An empty
  // condition, or one the database rejects, takes the failure path instead: CurrentFilter
  // empty, the whole current group shown again, then the message stParamFilter titled
  // stError. Returns true when the filter was applied. A failure to show the whole group
  // again throws DatabaseError for the general error report.
  bool applyBuilt(const QString &condition);

  // The builder's save button (butSaveClick). Refuses, with a message and before any name
  // dialog, an empty condition (stFilterEmpty) or one longer than LISTFILT.FILT holds
  // (stFilterLong): a stored condition is never cut short. Otherwise appends a row to
  // IBFilter with the condition as PendingFilter; the row rules open the name dialog,
  // which posts (FILT taken from PendingFilter) or cancels. PendingFilter is empty again
  // afterwards. Returns true when a new row was stored.
  bool saveBuilt(const QString &condition);

  // PMFilterPopup: the menu's items as they stand now.
  QList<FilterMenuItem> PMFilterPopup() const;
  QList<FilterMenuItem> menuItems(const FilterMenuTexts &texts) const;

  // FilterClick: applies the saved filter with this ID to the contact list and makes its
  // text CurrentFilter. A filter the database rejects clears CurrentFilter, leaves the list
  // closed (the menu then offers FI_Break) and throws DatabaseError with the database's
  // text for the general error report. A filter deleted meanwhile changes nothing and says
  // so (stFilterGone). A text that could reach past its parentheses (and so past the group
  // condition) throws FilterConditionError and changes nothing.
  void FilterClick(int id);

  // BreakFiltClick: CurrentFilter empty, the contact list shows the whole group again.
  void BreakFiltClick();

  bool contactListFiltered() const { return contactList_.isFiltered(); }
  ContactListFilter &contactList() { return contactList_; }

  // The condition of a saved filter; nothing when there is no such row.
  std::optional<QString> savedCondition(int id) const;
  // Characters LISTFILT.FILT holds.
  int maxConditionLength() const;

private:
  TDModule &module_;
  RecipientSelection &selection_;
  ContactListFilter contactList_;
};
