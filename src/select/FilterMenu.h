#pragma once
// The items of the filter button's drop-down menu, rebuilt each time it is about to open:
//   FI_<ID>   one per saved filter, in the table's order, captioned with its NAME, tagged
//             with its ID; checked while the contact list shows that filter
//   FI_Space  a separator
//   FI_Birth  the birthday selection
//   FI_Break  removing the filter, only while the contact list is filtered
//   FI_Edit   the list of saved filters
// The window turns each item into a menu action of that object name and runs the item's
// action when it is chosen.
#include <QList>
#include <QString>

class DataSet;

struct FilterMenuItem {
  enum class Action { ApplySaved, None, BirthDay, RemoveFilter, ListFilters };

  QString name;    // object name: "FI_" + ID, "FI_Space", "FI_Birth", "FI_Break", "FI_Edit"
  QString caption; // "-" for the separator
  int tag = 0;     // the saved filter's ID; 0 for the other items
  Action action = Action::None;
  bool separator = false;
  bool enabled = true;
  bool checked = false;
};

struct FilterMenuTexts {
  QString birthDay;    // [Constant] stBirthDay
  QString breakFilter; // [Constant] pmBreak
  QString edit;        // [TMenuItem] pmEdit
  // The texts of the current language.
  static FilterMenuTexts current();
};

// filters: the saved filters (IBFilter), read whole without moving its current row; while
// it is closed the menu has no saved-filter items and the list item is disabled.
// filtered: the contact list is filtered; checkedId: the saved filter it shows (0: none).
QList<FilterMenuItem> buildFilterMenu(DataSet &filters, bool filtered, int checkedId,
                                      const FilterMenuTexts &texts);
