#pragma once
// The condition in force for the contact list, the preview and the dispatch, over CONTACTS
// columns without WHERE; empty when none. Set by the filter builder and the birthday
// selection, cleared when the filter is removed. One object of the main window holds it;
// every part that reads or sets it is given that object.
#include <QString>

struct FilterState {
  QString CurrentFilter;
};
