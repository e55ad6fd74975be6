#include "data/contacts/RecordRules.h"

#include "common/Dialogs.h"
#include "common/Error.h"
#include "common/LangConstants.h"
#include "data/Query.h"
#include "data/TDModule.h"

namespace record_rules {

namespace {

using Text = QString LangConstants::*;

// The language may change while the program runs, so texts are read when the event runs.
void installDialogs(DataSet &dataSet, Text newSuffix, const OpenDialog &openDialog) {
  dataSet.afterInsert = [newSuffix, openDialog](DataSet &ds) { openDialog(ds, LangConst().*newSuffix); };
  dataSet.afterEdit = [openDialog](DataSet &ds) { openDialog(ds, LangConst().stEdit); };
}

void confirmDelete(Text question) {
  if (!Dialogs::instance().confirm(LangConst().stDel, LangConst().*question))
    throw SilentAbort();
}

// Deleted groups and contacts are committed at once: an uncommitted delete would hold its
// rows locked, and the dispatch and refresh workers, which update every contact under
// "nowait", would then fail on them.
void commitDeletes(DataSet &dataSet) {
  dataSet.afterDelete = [](DataSet &ds) { ds.transaction().commitRetaining(); };
}

} // namespace

bool groupHasContacts(Transaction &transaction, const QVariant &groupId) {
  Query q(transaction, QStringLiteral("SELECT ID FROM CONTACTS\nWHERE IDGROUP = :ID"));
  q.setParam(QStringLiteral("ID"), groupId);
  q.open();
  const bool found = q.fetch();
  q.close();
  return found;
}

void install(TDModule &module, OpenDialog openDialog) {
  installDialogs(module.IBGroups, &LangConstants::stwNew, openDialog);
  module.IBGroups.beforeDelete = [&module](DataSet &groups) {
    confirmDelete(&LangConstants::stDelGroup);
    if (groupHasContacts(module.IBTrDef, groups.value(QStringLiteral("ID"))) &&
        !Dialogs::instance().confirm(LangConst().stDel, GetIniText(LangConst().stDelAllGroup)))
      throw SilentAbort();
  };
  commitDeletes(module.IBGroups);

  installDialogs(module.IBContacts, &LangConstants::stNew, openDialog);
  module.IBContacts.beforeDelete = [](DataSet &) { confirmDelete(&LangConstants::stDelContact); };
  commitDeletes(module.IBContacts);

  installDialogs(module.IBTemplate, &LangConstants::stNew, openDialog);
  module.IBTemplate.beforeDelete = [](DataSet &) { confirmDelete(&LangConstants::stDelTemplate); };

  installDialogs(module.IBFilter, &LangConstants::stNew, openDialog);
  module.IBFilter.beforeDelete = [](DataSet &) { confirmDelete(&LangConstants::stDelFilter); };
}

void uninstall(TDModule &module) {
  for (DataSet *ds : {&module.IBGroups, &module.IBContacts, &module.IBTemplate, &module.IBFilter}) {
    ds->afterInsert = nullptr;
    ds->afterEdit = nullptr;
    ds->beforeDelete = nullptr;
    ds->afterDelete = nullptr;
  }
}

} // namespace record_rules
