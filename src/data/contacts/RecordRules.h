#pragma once
// The row events of the editable data sets of the data module: entering insert or edit mode
// opens the data set's add or rename dialog with a caption suffix, and a delete asks the
// operator first (a group that still has contacts is asked about twice). A refused delete
// throws SilentAbort, so the row stays and nothing is reported.
//
// The dialogs themselves are windows and are reached through the OpenDialog callback.
#include <QString>
#include <QVariant>

#include <functional>

class DataSet;
class TDModule;
class Transaction;

namespace record_rules {

// Opens the dialog of the data set's current row with " [suffix]" after its caption.
using OpenDialog = std::function<void(DataSet &dataSet, const QString &suffix)>;

// Installs afterInsert, afterEdit, beforeDelete and afterDelete on IBGroups, IBContacts,
// IBTemplate and IBFilter. The data module's own new-row and before-post rules stay.
void install(TDModule &module, OpenDialog openDialog);
// Removes what install put there.
void uninstall(TDModule &module);

// True when at least one contact names the group, read on the given transaction.
bool groupHasContacts(Transaction &transaction, const QVariant &groupId);

} // namespace record_rules
